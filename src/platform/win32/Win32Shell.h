// ShellExecute and the shell's special folders.
#pragma once

#include "platform/Platform.h"
#include "platform/win32/ComApartment.h"

namespace kivra::win32 {

class Win32Shell : public kivra::Shell {
public:
    Win32Shell() = default;
    void execute(WindowHandle owner, const std::optional<std::string>& verb, const std::string& file,
                 const std::string& parameters, const std::string& directory, int showCommand) override;
    std::string specialFolderPath(WindowHandle owner, int csidl) override;

private:
    ComApartment com_;
};

}  // namespace kivra::win32
