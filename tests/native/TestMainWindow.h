// The main window on the recording fake, with a stand-in for the realised window: showing,
// hiding and closing it are logged like the platform calls, and closing runs the close query
// and the destruction as a real window would. Pop-up menus record where they were opened
// and choose nothing; dialogs answer what a test puts in the queues.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "app/TForm1.h"
#include "app/TForm2.h"
#include "platform/fake/FakePlatform.h"

namespace kivra::testing {

class RecordingFormPeer : public ui::FormPeer {
public:
    RecordingFormPeer(ui::Form& form, fake::CallLog& log, WindowHandle handle)
        : form_(form), log_(log), handle_(handle) {}
    void sync() override {}
    WindowHandle handle() const override { return handle_; }
    void show(int showCommand) override {
        log_.push_back("FormShow(" + form_.name() + "," + std::to_string(showCommand) + ")");
        visible = showCommand != 0;
    }
    void close() override {
        log_.push_back("FormClose(" + form_.name() + ")");
        if (form_.onCloseQuery && !form_.onCloseQuery()) return;
        destroyed = true;
        if (form_.onDestroy) form_.onDestroy();
    }
    bool visible = false;
    bool destroyed = false;

private:
    ui::Form& form_;
    fake::CallLog& log_;
    WindowHandle handle_;
};

struct TestMainWindow {
    static constexpr WindowHandle kMainWindow = 4096;
    static constexpr WindowHandle kApplicationWindow = 8192;
    static constexpr WindowHandle kAboutWindow = 12288;

    fake::FakePlatform fake;
    std::unique_ptr<TForm1> form;
    RecordingFormPeer* peer = nullptr;
    std::unique_ptr<TForm2> about;
    RecordingFormPeer* aboutPeer = nullptr;
    std::deque<std::optional<std::string>> fileChoices;    // answers of the open dialogs
    std::deque<std::optional<std::string>> folderChoices;  // answers of the folder chooser

    void SetSettings(const std::string& text) { fake.profile.setText("Kivra.ini", text); }
    std::string Settings() const { return fake.profile.text("Kivra.ini"); }

    // The window as the entry creates it, before FormCreate.
    TForm1& Build() {
        form = std::make_unique<TForm1>(fake.platform, kApplicationWindow);
        auto recording = std::make_unique<RecordingFormPeer>(*form, fake.log, kMainWindow);
        peer = recording.get();
        form->attachPeer(std::move(recording));
        for (ui::PopupMenu* menu : form->popupMenus) {
            menu->runModal = [this](ui::PopupMenu& popup, Point at) -> ui::MenuItem* {
                fake.log.push_back("Popup(" + popup.name() + "," + std::to_string(at.x) + "," +
                                   std::to_string(at.y) + ")");
                return nullptr;
            };
        }
        for (ui::OpenDialog* dialog : form->openDialogs) {
            dialog->runModal = [this](ui::OpenDialog&, WindowHandle) { return Next(fileChoices); };
        }
        for (ui::FolderDialog* dialog : form->folderDialogs) {
            dialog->runModal = [this](WindowHandle) { return Next(folderChoices); };
        }
        about = std::make_unique<TForm2>();
        auto aboutRecording = std::make_unique<RecordingFormPeer>(*about, fake.log, kAboutWindow);
        aboutPeer = aboutRecording.get();
        about->attachPeer(std::move(aboutRecording));
        return *form;
    }

    // Start-up as the entry runs it: FormCreate, the about window, the first showing and
    // the activation that follows it.
    TForm1& StartUp() {
        Build();
        form->FormCreate();
        about->FormCreate();
        form->setAboutWindow(*about);
        form->show(1);
        form->onActivate();
        return *form;
    }

    std::vector<std::string> Calls(const std::string& prefix) const { return fake.calls(prefix); }

    // Position of the first log line starting with prefix, or -1.
    int IndexOf(const std::string& prefix) const {
        for (size_t i = 0; i < fake.log.size(); ++i)
            if (fake.log[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
        return -1;
    }

private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& queue) {
        if (queue.empty()) return std::nullopt;
        std::optional<std::string> answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

}  // namespace kivra::testing
