// LIRCAC.LST (the button column, 45 lines) and LIRCHT.LST (the user key texts, 20 lines),
// beside the executable, in code page 1251 with CR LF line ends.
#pragma once

#include "platform/Platform.h"
#include "toolkit/Controls.h"

namespace kivra {

// Loads both files into the grid; a missing or unreadable file loads nothing, silently.
void LoadBindingFiles(Files& files, ui::Grid& grid);
// Writes both files, each replaced atomically. Throws KivraError with
// "Cannot create file "%s". %s" or "Stream write error"; LIRCHT.LST is not written when
// LIRCAC.LST fails.
void SaveBindingFiles(Files& files, const ui::Grid& grid);

}  // namespace kivra
