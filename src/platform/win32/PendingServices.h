// TODO(win32 branch only): stand-ins for Win32Audio, Win32Shell, Win32Mci, Win32Power and
// Win32Registry until their real sources are merged; delete this file then.
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Shell : public kivra::Shell {
public:
    void execute(WindowHandle, const std::optional<std::string>&, const std::string&, const std::string&,
                 const std::string&, int) override {}
    std::string specialFolderPath(WindowHandle, int) override { return {}; }
};

class Win32Audio : public kivra::Audio {
public:
    bool getVolume(std::uint16_t&, std::uint16_t&) override { return false; }
    void setVolume(std::uint16_t, std::uint16_t) override {}
};

class Win32Mci : public kivra::Mci {
public:
    void sendString(const std::string&, WindowHandle) override {}
};

class Win32Power : public kivra::Power {
public:
    void enablePrivilege(const std::string&) override {}
    void exitWindows(unsigned) override {}
    void suspend(bool, bool) override {}
};

class Win32Registry : public kivra::Registry {
public:
    RegistryWrite writeString(RegistryRoot, const std::string&, const std::string&, const std::string&) override {
        return RegistryWrite::CreateKeyFailed;
    }
    void deleteValue(RegistryRoot, const std::string&, const std::string&) override {}
    std::optional<std::string> readString(RegistryRoot, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

}  // namespace kivra::win32
