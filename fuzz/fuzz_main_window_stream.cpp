// The WinLIRC byte stream into the whole main window (the fixture over the recording fake):
// ClientSocket1Read, reception, the binding table with every row bound, the remote menu with
// reads nested in its loop, the menu commands. Input: a mode byte, a chunk size, a seed, then
// the stream; every row r is bound to the button "R<r>", row 1 also answers "MENU".
//   mode bit 0: setup mode   bit 1: Light Alloy runs and gates   bit 2: the server resets now
//   and then and the retry brings the link back
// Properties:
//   - after every read the window handles: no failure escaped the handler, nothing was
//     reported, no key is left held, and the last command panel shows the last complete line
//     that carried a button, as a plain model of the framing gives it (a half line left by a
//     reset connection never glued to the next one);
//   - in setup mode only column 1 of the selected row changed; column 0 never changes;
//   - nothing powers off unless a signal named the power-off row.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/native/TestMainWindow.h"
#include "StreamModel.h"

#include "FuzzSupport.h"

namespace {

using kivra::fuzzing::Check;

const char kMenu[] =
    "[Sub]\nSubs=3\n"
    "[Sub1]\nCaption=Keys\nSubs=2\n"
    "[Sub11]\nCaption=Alt+F4\nCommand=SENDKEY\nParameters=Alt+F4\n"
    "[Sub12]\nCaption=Ctrl+Shift+Tab\nCommand=sendkey\nParameters=Ctrl+Shift+Tab\n"
    "[Sub2]\nCaption=Volume\nCommand=VOLUMEUP\n"
    "[Sub3]\nCaption=Notepad\nCommand=OPEN\nParameters=notepad.exe\n";

class Harness {
public:
    Harness(const std::uint8_t* data, std::size_t size)
        : setupMode_(data[0] & 1), resets_(data[0] & 4), random_(0x9E3779B9u ^ (data[2] * 0x01000193u)) {
        const std::size_t chunk = 1 + data[1];
        sawPowerRow_ = std::string(reinterpret_cast<const char*>(data) + 3, size - 3).find("R14") != std::string::npos;
        for (std::size_t at = 3; at < size; at += chunk)
            chunks_.emplace_back(reinterpret_cast<const char*>(data) + at, std::min(chunk, size - at));
        window_.SetSettings(std::string("[Common]\nTryConnect=1\nSignalTimeOut=10\nKeyboardDelay=10\nisMode=") +
                            (setupMode_ ? "1" : "0") + "\nSleepIfLightAlloy=" + ((data[0] & 2) ? "1" : "0") + "\n");
        window_.fake.profile.setText("Kivra.mnu", kMenu);
        if (data[0] & 2) window_.fake.windows.classes.insert("LightAlloyFront");
        form_ = &window_.StartUp();
        window_.fake.network.last->completeConnect();
        for (int row = 1; row < kivra::kBindingRows; ++row)
            if (!kivra::IsCategoryRow(row)) form_->StringGrid1.setCell(row, 1, "R" + std::to_string(row));
        form_->StringGrid1.setCell(25, 0, "Shift+Ctrl+Alt+F10");
        form_->StringGrid1.setCell(26, 0, "Alt+Tab");
        form_->StringGrid1.select(8, 1);
        // The menu loop: further reads are handled inside it, then an item may be chosen. A
        // second pop-up while one is open opens nothing, as with Windows' menus.
        form_->PopupMenu1.runModal = [this](kivra::ui::PopupMenu& popup, kivra::Point) -> kivra::ui::MenuItem* {
            if (menuOpen_) return nullptr;
            menuOpen_ = true;
            for (int reads = draw() % 3; reads > 0 && next_ < chunks_.size(); --reads) deliverNext();
            menuOpen_ = false;
            std::vector<kivra::ui::MenuItem*> items;
            for (auto& item : popup.root.items) {
                items.push_back(item.get());
                for (auto& child : item->items) items.push_back(child.get());
            }
            const std::size_t pick = draw() % (items.size() + 1);
            return pick < items.size() ? items[pick] : nullptr;
        };
        window_.fake.log.clear();
        labels_ = Column(0);
        buttons_ = Column(1);
    }

    void run() {
        while (next_ < chunks_.size()) {
            if (resets_ && draw() % 16 == 0 && window_.fake.network.last) {
                window_.fake.network.last->closeByPeer(10054);
                form_->Timer1.tick();
                Check(window_.fake.network.last != nullptr);
                model_.reset();
                window_.fake.network.last->completeConnect();
            }
            deliverNext();
            window_.fake.clock.now += 20;

            Check(window_.fake.windows.errorBoxes.empty());
            int held = 0;
            for (const std::string& call : window_.Calls("keybd_event(")) held += call[call.size() - 2] == '1' ? 1 : -1;
            Check(held == 0);
            powered_ = powered_ || !window_.Calls("ExitWindowsEx(").empty() || !window_.Calls("Suspend(").empty();
            window_.fake.log.clear();
            Check(form_->sStatusBar1.panel(1) == lastShown_);
        }
        if (powered_) Check(!setupMode_ && sawPowerRow_);
        Check(Column(0) == labels_);
        if (setupMode_) {
            const std::vector<std::string> now = Column(1);
            for (std::size_t row = 0; row < now.size(); ++row)
                if (row != 8) Check(now[row] == buttons_[row]);
            Check(now[8].find_first_of(" \n") == std::string::npos);
        }
    }

private:
    std::vector<std::string> Column(int col) const {
        std::vector<std::string> cells;
        for (int row = 0; row < kivra::kBindingRows; ++row) cells.push_back(form_->StringGrid1.cell(row, col));
        return cells;
    }

    unsigned draw() { return random_.next(); }

    void deliverNext() {
        const std::string& bytes = chunks_[next_++];
        if (!window_.fake.network.last) return;
        for (const std::string& line : model_.push(bytes)) {
            std::string shown;
            if (fuzzmodel::ExpectedShow(line, shown)) lastShown_ = shown;
        }
        window_.fake.network.last->deliver(bytes);  // any failure escaping is a finding
    }

    kivra::testing::TestMainWindow window_;
    kivra::TForm1* form_ = nullptr;
    const bool setupMode_, resets_;
    kivra::fuzzing::XorShift random_;
    std::vector<std::string> chunks_;
    std::size_t next_ = 0;
    bool menuOpen_ = false;
    bool sawPowerRow_ = false;
    bool powered_ = false;
    std::vector<std::string> labels_, buttons_;  // the table before the stream
    fuzzmodel::ModelFramer model_;
    std::string lastShown_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    Harness harness(data, size);
    harness.run();
    return 0;
}
