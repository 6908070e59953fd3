// The menu command language: sixteen command words, each run as an operation of KivraUtils or
// as a request to another program's window found by its title.
#include "actions/CommandParser.h"

#include <array>
#include <optional>
#include <string_view>

#include "platform/WindowsConstants.h"

namespace kivra {
namespace {

// Only a to z change: a Cyrillic or other byte stays as written, and nothing is trimmed, so
// " OPEN" is no command.
std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The SHUTDOWN words, compared with their case: any other parameter, a typo included, must
// never power the computer off, so it does nothing at all.
std::optional<int> PowerTypeOf(const std::string& parameters) {
    constexpr std::array<std::string_view, 4> words{"POWEROFF", "WAIT", "LOGOFF", "HIBERNATE"};
    for (std::size_t type = 0; type < words.size(); ++type)
        if (parameters == words[type]) return static_cast<int>(type);
    return std::nullopt;
}

}  // namespace

void MenuCommands::CommandParser(const std::string& command, const std::string& parameters) {
    Platform& platform = utils_.platform();
    const std::string word = AsciiUpper(command);

    // The title goes to the look-up unchanged: "" looks for an untitled window, never for any.
    auto withWindow = [&](auto&& request) {
        if (const WindowHandle window = platform.windows.findByTitle(parameters)) request(window);
    };

    if (word == "OPEN") {
        platform.shell.execute(utils_.applicationWindow(), std::nullopt, parameters, "", "", kSwShowNormal);
    } else if (word == "SENDKEY") {
        utils_.SendKeyCombination(parameters);
    } else if (word == "WINDOWCLOSE") {
        withWindow([&](WindowHandle w) { platform.windows.sendMessage(w, kWmClose, 0, 0); });
    } else if (word == "WINDOWMINIMIZE") {
        withWindow([&](WindowHandle w) { platform.windows.showWindow(w, kSwMinimize); });
    } else if (word == "WINDOWRESTORE") {
        withWindow([&](WindowHandle w) { platform.windows.showWindow(w, kSwRestore); });
    } else if (word == "VOLUMEUP") {
        utils_.VolumeStepUp();
    } else if (word == "VOLUMEDOWN") {
        utils_.VolumeStepDown();
    } else if (word == "MUTE") {
        utils_.SetWaveVolume(0, 0);  // the remembered volume stays as it was
    } else if (word == "SCREENSAVER") {
        utils_.StartScreenSaver();
    } else if (word == "MONITORPOWER") {
        utils_.TurnMonitorOff();
    } else if (word == "MYDOCS") {
        utils_.OpenSpecialFolder(mainWindow_, kCsidlPersonal);
    } else if (word == "MYCOMP") {
        utils_.OpenSpecialFolder(mainWindow_, kCsidlDesktop);
    } else if (word == "EXPLORER") {
        utils_.OpenExplorer(mainWindow_);
    } else if (word == "SHUTDOWN") {
        if (const std::optional<int> powerType = PowerTypeOf(parameters)) utils_.PowerControl(*powerType);
    } else if (word == "CDDOOR") {
        utils_.ToggleCdTray(mainWindow_);
    } else if (word == "SETACTIVEWINDOW") {
        withWindow([&](WindowHandle w) { platform.windows.showWindow(w, kSwShow); });
    }
}

}  // namespace kivra
