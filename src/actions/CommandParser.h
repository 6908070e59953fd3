// The menu command language: a command word and its parameter text, as a menu item carries
// them, run as an operation.
#pragma once

#include <string>

#include "actions/KivraUtils.h"

namespace kivra {

class MenuCommands {
public:
    // mainWindow: owner of the folder and CD requests; the application window comes from utils.
    MenuCommands(KivraUtils& utils, WindowHandle mainWindow) : utils_(utils), mainWindow_(mainWindow) {}
    void setMainWindow(WindowHandle window) { mainWindow_ = window; }
    // Runs the command; an unknown word does nothing.
    void CommandParser(const std::string& command, const std::string& parameters);

private:
    KivraUtils& utils_;
    WindowHandle mainWindow_;
};

}  // namespace kivra
