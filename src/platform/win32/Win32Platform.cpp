#include "platform/win32/Win32Platform.h"

namespace kivra::win32 {

Win32Platform::Win32Platform(Probe& probe)
    : platform_{keyboard_, clock_, windows_, shell_, audio_, mci_, power_, registry_, profile_, files_, network_,
                tray_, probe} {}

}  // namespace kivra::win32
