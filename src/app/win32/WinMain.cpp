// The program's entry: one instance only, then the start-up and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "app/TForm1.h"
#include "app/TForm2.h"
#include "app/win32/DirectoryListing.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Probe.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/win32/Win32Toolkit.h"

namespace {

// A running instance (shown or in the tray; any window titled so counts) is brought to view
// and this start ends without touching anything.
bool ShowRunningInstance() {
    const HWND existing = FindWindowW(nullptr, L"Kivra 0.91 beta");
    if (!existing) return false;
    ShowWindow(existing, SW_SHOW);
    return true;
}

// Start-up runs outside any window procedure: its failures are reported here, and start-up
// goes on with the next step.
template <typename Step>
void RunReported(kivra::Platform& platform, Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        kivra::ShowErrorReport(platform, error.what());
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    kivra::win32::Win32Probe probe;
    probe.mark("start");
    if (ShowRunningInstance()) return 0;

    // COM for the folder chooser and the audio endpoint, entered before the services that use
    // it and left after them.
    kivra::win32::ComApartment com;
    com.ensure();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_HOTKEY_CLASS | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    namespace ui32 = kivra::ui::win32;
    kivra::win32::Win32Platform services(probe);
    kivra::Platform& platform = services.platform();
    ui32::SetErrorReporter([&platform](const std::string& message) { kivra::ShowErrorReport(platform, message); });

    const HWND applicationWindow = ui32::CreateApplicationWindow("Kivra");
    int exitCode = 0;
    {
        kivra::TForm1 mainForm(platform, reinterpret_cast<kivra::WindowHandle>(applicationWindow));
        mainForm.skins().setDirectoryLister(kivra::win32::ListFiles);
        mainForm.taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
        ui32::Realize(mainForm, applicationWindow, ui32::FormRole::Main);
        RunReported(platform, [&] { mainForm.FormCreate(); });

        // The first showing runs FormShow, with the first connection attempt; the activation
        // that follows runs FormActivate. The about window, hidden until asked for, is made
        // after it: the link comes up some 20 ms sooner under Wine.
        RunReported(platform, [&] { mainForm.show(SW_SHOWNORMAL); });
        kivra::TForm2 aboutForm;
        ui32::Realize(aboutForm, applicationWindow, ui32::FormRole::Secondary);
        aboutForm.FormCreate();
        mainForm.setAboutWindow(aboutForm);
        exitCode = ui32::RunMessageLoop([&probe](const MSG& message) { probe.observe(message); });
        // Leaving this scope releases the about window, then the main window's remaining
        // parts: the WinLIRC link, the menu command table and the menu painter.
    }
    return exitCode;
}
