// The modal file and folder choosers.
#pragma once

#include <optional>
#include <string>

#include "toolkit/Controls.h"

namespace kivra::ui::win32 {

// GetOpenFileName with the dialog's "Name|*.ext" filter; the dialog's file name is preset.
std::optional<std::string> RunOpenDialog(const OpenDialog& dialog, WindowHandle owner);

// SHBrowseForFolder; nothing is preselected.
std::optional<std::string> RunFolderDialog(WindowHandle owner);

// "Name|*.ext|Other|*.o" -> "Name\0*.ext\0Other\0*.o\0\0".
std::wstring OpenDialogFilter(const std::string& filter);

}  // namespace kivra::ui::win32
