// The settings file: the main window's start-up (FormCreate with LoadConfiguration, FormShow)
// over any Kivra.ini text, then a save, and LoadConfiguration of a second window from what was
// saved. An input starting with "#!" makes the registry refuse the autostart value, one starting
// with "#?" makes Kivra.ini refuse the save, "#*" both.
// Properties:
//   - loading never lets a failure escape and never writes Kivra.ini; only a refused autostart
//     value and a port that is no number from 1 to 65535 are reported;
//   - the first connection attempt goes to the port of the settings, else to 8765;
//   - every integer and boolean is the plain reading of the format (decimal, or hexadecimal
//     after "0x"/"$"; anything else the default) clamped into its field's range, and the gap,
//     the key delay and the retry timer follow their fields;
//   - the autostart value exists exactly when its box is ticked (unless the registry refuses);
//   - a save writes the sixteen keys, and a start from the saved file loads the same settings;
//   - a refused save stops at its first key with "Unable to write to Kivra.ini".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "../tests/native/TestMainWindow.h"
#include "toolkit/ErrorReport.h"

#include "FuzzSupport.h"

namespace {

using kivra::fuzzing::Check;
using kivra::fuzzing::ModelInteger;

// What a settings file says, read the plain way through the same profile service.
struct Model {
    kivra::fake::FakeProfile& profile;
    long long integer(const char* key, long long fallback) {
        return ModelInteger(profile.readString("Kivra.ini", "Common", key, "")).value_or(fallback);
    }
    bool boolean(const char* key, bool fallback) { return integer(key, fallback) != 0; }
    int field(const char* key, long long fallback, long long low, long long high) {
        return static_cast<int>(std::clamp(integer(key, fallback), low, high));
    }
    std::string text(const char* section, const char* key, const char* fallback) {
        return profile.readString("Kivra.ini", section, key, fallback);
    }
};

// Everything LoadConfiguration sets, in one comparable record.
struct Loaded {
    bool lightAlloy, startInTray, setupMode, startWinLirc, tryConnect, autoStart, active, skinned;
    int tryPeriod, gap, keyDelay;
    std::string path, port, menuPath, skinDirectory, skinName;
    bool operator==(const Loaded&) const = default;
};

Loaded Snapshot(kivra::TForm1& form) {
    return Loaded{form.sCheckBox6.checked(), form.sCheckBox2.checked(), form.sCheckBox1.checked(),
                  form.sCheckBox4.checked(), form.sCheckBox5.checked(), form.sCheckBox3.checked(),
                  form.activeFlag(),         form.sCheckBox7.checked(), form.sSpinEdit1.value(),
                  form.sSpinEdit2.value(),   form.sSpinEdit3.value(),   form.sEdit1.text(),
                  form.sEdit2.text(),        form.sOpenDialog1.fileName, form.skins().directory(),
                  form.skins().name()};
}

bool QuotedOrPadded(const std::string& value) {
    return !value.empty() && (value.front() == '"' || value.front() == '\'' || value.front() == ' ' ||
                              value.front() == '\t' || value.back() == ' ' || value.back() == '\t');
}

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Kivra";

// A TCP port: one to five digits, 1 to 65535.
std::optional<int> ModelPort(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int port = std::stoi(text);
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

// Starts the window (the whole start-up, or LoadConfiguration alone) and checks what the
// settings gave; returns the window's state.
Loaded LoadAndCheck(kivra::testing::TestMainWindow& window, const std::string& text, bool registryRefuses,
                    bool wholeStartUp) {
    window.SetSettings(text);
    if (registryRefuses) {
        window.fake.registry.failures[kivra::RegistryRoot::LocalMachine] = kivra::RegistryWrite::CreateKeyFailed;
        window.fake.registry.failures[kivra::RegistryRoot::CurrentUser] = kivra::RegistryWrite::CreateKeyFailed;
    }
    // A failure escaping from here ends the run as a finding.
    if (wholeStartUp) {
        window.StartUp();
    } else {
        window.Build();
        window.form->LoadConfiguration();
    }
    kivra::TForm1& form = *window.form;

    Check(window.Calls("WritePrivateProfileString(").empty());
    Model model{window.fake.profile};
    const Loaded loaded = Snapshot(form);
    std::size_t reports = registryRefuses && loaded.autoStart ? 1 : 0;
    if (wholeStartUp) {
        const std::optional<int> port = ModelPort(loaded.port);
        if (!loaded.port.empty() && !port) ++reports;
        const std::vector<std::string> attempts = window.Calls("connect(");
        if (loaded.active)
            Check(attempts == std::vector<std::string>{"connect(127.0.0.1:" + std::to_string(port.value_or(8765)) + ")"});
        else
            Check(attempts.empty());
    }
    Check(window.fake.windows.errorBoxes.size() == reports);
    Check(loaded.lightAlloy == model.boolean("SleepIfLightAlloy", true));
    Check(loaded.startInTray == model.boolean("StartInTray", false));
    Check(loaded.setupMode == model.boolean("isMode", true));
    Check(loaded.startWinLirc == model.boolean("StartWinLIRC", false));
    Check(loaded.tryConnect == model.boolean("TryConnect", false));
    Check(loaded.autoStart == model.boolean("AutoStart", false));
    Check(loaded.active == model.boolean("isActive", true));
    Check(loaded.skinned == model.boolean("isSkinned", true));
    Check(loaded.tryPeriod == model.field("TryPeriod", 5, 5, 60));
    Check(loaded.gap == model.field("SignalTimeOut", 100, 10, 10000));
    Check(loaded.keyDelay == model.field("KeyboardDelay", 100, 10, 10000));
    Check(loaded.path == model.text("Common", "WinLIRCPath", ""));
    Check(loaded.menuPath == model.text("Common", "MenuPath", "Kivra.mnu"));
    Check(form.reception().minimumGap == loaded.gap);
    Check(form.utils().keyDelay == loaded.keyDelay);
    Check(form.Timer1.interval() == static_cast<unsigned>(loaded.tryPeriod) * 1000u);
    const bool registered = window.fake.registry.values.count(std::string("HKLM\\") + kRunKey) != 0 ||
                            window.fake.registry.values.count(std::string("HKCU\\") + kRunKey) != 0;
    Check(registered == (loaded.autoStart && !registryRefuses));
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool registryRefuses = text.rfind("#!", 0) == 0 || text.rfind("#*", 0) == 0;
    const bool settingsRefuse = text.rfind("#?", 0) == 0 || text.rfind("#*", 0) == 0;

    kivra::testing::TestMainWindow first;
    const Loaded loaded = LoadAndCheck(first, text, registryRefuses, true);
    first.fake.log.clear();
    if (settingsRefuse) {
        first.fake.profile.readOnlyFiles.insert("Kivra.ini");
        const std::string before = first.Settings();
        try {
            first.form->SaveConfiguration();
            Check(false);
        } catch (const kivra::KivraError& error) {
            Check(std::string(error.what()) == "Unable to write to Kivra.ini");
        }
        Check(first.Calls("WritePrivateProfileString(").size() == 1 && first.Settings() == before);
        return 0;
    }
    first.form->SaveConfiguration();
    const std::vector<std::string> writes = first.Calls("WritePrivateProfileString(");
    Check(writes.size() == 16);
    Check(writes.front().rfind("WritePrivateProfileString(Kivra.ini,Common,SleepIfLightAlloy,", 0) == 0);
    Check(writes.back().rfind("WritePrivateProfileString(Kivra.ini,Interface,Skin,", 0) == 0);

    // A second start from the file the first one saved.
    kivra::testing::TestMainWindow second;
    Loaded again = LoadAndCheck(second, first.Settings(), registryRefuses, false);
    // The profile service takes blanks and one pair of quotes off a value; such texts come
    // back without them, as they always have.
    for (auto [before, after] : {std::pair{&loaded.path, &again.path}, std::pair{&loaded.port, &again.port},
                                 std::pair{&loaded.menuPath, &again.menuPath},
                                 std::pair{&loaded.skinDirectory, &again.skinDirectory},
                                 std::pair{&loaded.skinName, &again.skinName}})
        if (QuotedOrPadded(*before)) *after = *before;
    Check(again == loaded);
    return 0;
}
