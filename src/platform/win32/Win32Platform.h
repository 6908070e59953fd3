// Every Win32 service of the program in one place, for the entry to hand to the main window.
#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Audio.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32Mci.h"
#include "platform/win32/Win32Network.h"
#include "platform/win32/Win32Power.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Tray.h"
#include "platform/win32/Win32WindowSystem.h"

namespace kivra::win32 {

// Owns one of each service. Create it on the user-interface thread (socket notifications
// arrive at a window of that thread; the network service starts Winsock itself) and keep it
// alive until the message loop has ended and the forms are gone.
class Win32Platform {
public:
    explicit Win32Platform(Probe& probe);
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    kivra::Platform& platform() { return platform_; }

private:
    Win32Keyboard keyboard_;
    Win32Clock clock_;
    Win32WindowSystem windows_;
    Win32Shell shell_;
    Win32Audio audio_;
    Win32Mci mci_;
    Win32Power power_;
    Win32Registry registry_;
    Win32Files files_;
    Win32Profile profile_{files_};
    Win32Network network_;
    Win32Tray tray_;
    kivra::Platform platform_;
};

}  // namespace kivra::win32
