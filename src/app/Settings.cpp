// Kivra.ini: the options of the page "Настройки", the active flag, the timings, the menu file
// and the skin. A bare file name: the profile service keeps it in the Windows directory.
//
// Loading puts every value into its control the way the user would set it, so the control's
// own handler runs (the autostart value is written, the retry timer re-armed, the gap taken).
#include "app/TForm1.h"

#include <algorithm>
#include <climits>

#include "bindings/BindingFiles.h"
#include "platform/ProfileValues.h"
#include "toolkit/ErrorReport.h"

namespace kivra {
namespace {

constexpr char kCommon[] = "Common";
constexpr char kInterface[] = "Interface";
constexpr char kDefaultMenuFile[] = "Kivra.mnu";

class SettingsReader {
public:
    explicit SettingsReader(Profile& profile) : profile_(profile) {}

    std::string text(const char* section, const char* key, const std::string& fallback) {
        return profile_.readString(kSettingsFile, section, key, fallback);
    }
    // A missing key, an empty value or anything that is no whole number gives the default.
    int integer(const char* key, int fallback) {
        const std::optional<long long> value = ParseProfileInteger(text(kCommon, key, ""));
        if (!value) return fallback;
        return static_cast<int>(std::clamp<long long>(*value, INT_MIN, INT_MAX));
    }
    bool boolean(const char* key, bool fallback) { return integer(key, fallback ? 1 : 0) != 0; }

private:
    Profile& profile_;
};

class SettingsWriter {
public:
    explicit SettingsWriter(Profile& profile) : profile_(profile) {}

    // The first refused write stops the save; the keys before it stay written.
    void text(const char* section, const char* key, const std::string& value) {
        if (!profile_.writeString(kSettingsFile, section, key, value))
            throw KivraError(std::string("Unable to write to ") + kSettingsFile);
    }
    void integer(const char* key, int value) { text(kCommon, key, std::to_string(value)); }
    void boolean(const char* key, bool value) { text(kCommon, key, value ? "1" : "0"); }

private:
    Profile& profile_;
};

}  // namespace

void TForm1::LoadConfiguration() {
    LoadBindingFiles(platform_.files, StringGrid1);

    SettingsReader read(platform_.profile);
    // One value that cannot be applied (an autostart value the registry refuses) is reported,
    // and the rest still load: the active flag, the menu and the skin have nothing to do with it.
    auto apply = [this](const std::function<void()>& step) { RunStartupStep(step); };

    apply([&] { sCheckBox6.setChecked(read.boolean("SleepIfLightAlloy", true)); });
    apply([&] { sCheckBox2.setChecked(read.boolean("StartInTray", false)); });
    apply([&] { sCheckBox1.setChecked(read.boolean("isMode", true)); });
    apply([&] { sCheckBox4.setChecked(read.boolean("StartWinLIRC", false)); });
    apply([&] { sEdit1.setText(read.text(kCommon, "WinLIRCPath", "")); });
    apply([&] { sEdit2.setText(read.text(kCommon, "WinLIRCPort", "")); });
    apply([&] { sCheckBox5.setChecked(read.boolean("TryConnect", false)); });
    apply([&] { sSpinEdit1.setValue(read.integer("TryPeriod", 5)); });
    apply([&] { sCheckBox3.setChecked(read.boolean("AutoStart", false)); });
    apply([&] { activeFlag_ = read.boolean("isActive", true); });
    apply([&] { sSpinEdit2.setValue(read.integer("SignalTimeOut", 100)); });
    apply([&] { sSpinEdit3.setValue(read.integer("KeyboardDelay", 100)); });
    apply([&] { sCheckBox7.setChecked(read.boolean("isSkinned", true)); });
    apply([&] { sOpenDialog1.fileName = read.text(kCommon, "MenuPath", kDefaultMenuFile); });

    apply([&] {
        FillTree(sOpenDialog1.fileName);
        ChangeMenuFont(sSpinEdit4.value());
    });

    apply([&] {
        if (sCheckBox7.checked()) {
            skins_.setDirectory(read.text(kInterface, "SkinPath", ""));
            skins_.setName(read.text(kInterface, "Skin", ""));
        } else {
            skins_.setActive(false);
        }
    });
}

void TForm1::SaveConfiguration() {
    SettingsWriter write(platform_.profile);
    write.boolean("SleepIfLightAlloy", sCheckBox6.checked());
    write.boolean("StartInTray", sCheckBox2.checked());
    write.boolean("isMode", sCheckBox1.checked());
    write.boolean("StartWinLIRC", sCheckBox4.checked());
    write.text(kCommon, "WinLIRCPath", sEdit1.text());
    write.text(kCommon, "WinLIRCPort", sEdit2.text());
    write.boolean("TryConnect", sCheckBox5.checked());
    write.integer("TryPeriod", sSpinEdit1.value());
    write.boolean("AutoStart", sCheckBox3.checked());
    write.boolean("isActive", activeFlag_);
    write.integer("SignalTimeOut", reception_.minimumGap);
    write.integer("KeyboardDelay", utils_.keyDelay);
    write.boolean("isSkinned", sCheckBox7.checked());
    write.text(kCommon, "MenuPath", sOpenDialog1.fileName);
    write.text(kInterface, "SkinPath", skins_.directory());
    write.text(kInterface, "Skin", skins_.name());
}

// The autostart value follows the check box, also when the settings set it at start-up.
void TForm1::sCheckBox3Click() { utils_.ApplyAutostart(sCheckBox3.checked()); }

}  // namespace kivra
