// The Win32 realisation of the widget toolkit: real windows for the portable forms and
// controls, the application's taskbar window and the message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Form.h"

namespace kivra::ui::win32 {

// Which part a form plays in the program's life: destroying the main form ends the message loop.
enum class FormRole { Main, Secondary };

// Where the message boundary sends a failure that a handler let through (the program shows its
// error report). Without a reporter the failure is dropped; it never reaches Windows.
void SetErrorReporter(std::function<void(const std::string&)> reporter);

// Creates the form's window (hidden, fixed client size, caption from the form's title) and a
// child window with a peer for every control under it, and hooks up the form's pop-up menus,
// timers and dialogs. The form must outlive its window. Show it with Form::show afterwards,
// so that the first showing runs onShow.
void Realize(Form& form, HWND owner, FormRole role = FormRole::Main);

// The application's taskbar window: visible but without size or content. It carries the
// taskbar button and owns the main form; hiding it (SW_HIDE) removes the button, SW_RESTORE
// brings it back. WM_SYSCOMMAND sent to it (SC_SCREENSAVE, SC_MONITORPOWER) takes the default
// course. It lives until the process ends.
HWND CreateApplicationWindow(const std::string& title);

// GetMessage / TranslateMessage / DispatchMessage until WM_QUIT; returns its exit code. The
// observer, if any, sees each message before it is dispatched.
int RunMessageLoop(const std::function<void(const MSG&)>& observer = {});

}  // namespace kivra::ui::win32
