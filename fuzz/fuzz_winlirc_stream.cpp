// The WinLIRC byte stream through the link, framing, parsing, capture and dispatch, as the main
// window wires them. Input: a mode byte, a chunk size, a seed for the faults, then the stream.
//   mode bit 0: setup mode      bit 1: Light Alloy gate on   bit 2: a Light Alloy window exists
//        bit 3: reads nested in the actions (the remote menu's loop)
//        bit 4: actions that fail  bit 5: connection resets and receive errors
// Properties checked against a plain model of the framing:
//   - the signals shown are exactly the complete, short-enough lines that carry a button, in
//     order, each once (only a subsequence when an action failed and dropped its companions);
//   - captured and dispatched signals never outnumber the signals shown;
//   - the framer never holds more than its cap, and frames exactly as the model does;
//   - every button handed on is valid UTF-8 and holds no blank or line end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "StreamModel.h"
#include "link/SignalReception.h"
#include "link/WinLircLink.h"
#include "platform/fake/FakePlatform.h"
#include "toolkit/ErrorReport.h"

#include "FuzzSupport.h"

namespace {

using kivra::fuzzing::Check;

bool ValidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra;
        if (lead < 0x80) extra = 0;
        else if (lead >= 0xC2 && lead < 0xE0) extra = 1;
        else if (lead >= 0xE0 && lead < 0xF0) extra = 2;
        else if (lead >= 0xF0 && lead < 0xF5) extra = 3;
        else return false;
        if (text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

class Harness : public kivra::LinkHandlers {
public:
    Harness(const std::uint8_t* data, std::size_t size)
        : setupMode_(data[0] & 1),
          gate_(data[0] & 2),
          nested_(data[0] & 8),
          failing_(data[0] & 16),
          faults_(data[0] & 32),
          random_(0x9E3779B9u ^ (data[2] * 0x01000193u)) {
        if (data[0] & 4) fake_.windows.classes.insert("LightAlloyFront");
        const std::size_t chunk = 1 + data[1];
        for (std::size_t at = 3; at < size; at += chunk)
            chunks_.emplace_back(reinterpret_cast<const char*>(data) + at, std::min(chunk, size - at));
        reception_ = std::make_unique<kivra::SignalReception>(
            fake_.platform,
            kivra::ReceptionContext{
                [this] { return setupMode_; },
                [this] { return gate_; },
                [this](const std::string& text) { shown_.push_back(text); },
                [this](const std::string& button) { act(button, assigned_); },
                [this](const std::string& button) { act(button, dispatched_); },
            });
        link_.setActive(true);
        fake_.network.last->completeConnect();
    }

    void run() {
        while (next_ < chunks_.size()) {
            const unsigned roll = draw() % 256;
            if (faults_ && roll < 8) {
                fake_.network.last->closeByPeer(10054);  // reset in the middle of anything
                reconnect();
            } else if (faults_ && roll < 12) {
                fake_.network.last->receiveError = 10054;
                deliverNext();  // the read fails: the link closes and the bytes are lost
                reconnect();
            } else {
                deliverNext();
            }
            fake_.clock.now += 3;
            Check(framer_.pending() <= kivra::LineFramer::kMaxPartial);
        }
        checkShown();
    }

    // LinkHandlers, as the main window has them.
    void ClientSocket1Lookup() override {}
    void ClientSocket1Connecting() override {}
    void ClientSocket1Connect() override {
        reception_->restartStream();
        framer_.reset();
        model_.reset();
    }
    void ClientSocket1Disconnect() override {}
    void ClientSocket1Error(kivra::SocketErrorKind, int) override {}
    void ClientSocket1Read() override {
        const std::string bytes = link_.receiveText();
        const std::vector<std::string> framed = framer_.push(bytes);
        const std::vector<std::string> modelled = model_.push(bytes);
        Check(framed == modelled);
        for (const std::string& line : modelled) {
            std::string shown;
            if (fuzzmodel::ExpectedShow(line, shown)) expected_.push_back(shown);
        }
        reception_->receive(bytes);
    }

private:
    unsigned draw() { return random_.next(); }

    // One message: what the window procedure's boundary does with a failure is to report it.
    void deliverNext() {
        const std::string& bytes = chunks_[next_++];
        try {
            fake_.network.last->deliver(bytes);
        } catch (const kivra::KivraError&) {
            ++failures_;
        }
    }

    void reconnect() {
        if (!link_.active()) {
            fake_.network.last = nullptr;
            link_.setActive(true);
            Check(fake_.network.last != nullptr);
            fake_.network.last->completeConnect();
        }
        Check(link_.active());
    }

    void act(const std::string& button, std::size_t& count) {
        Check(!button.empty() && ValidUtf8(button));
        Check(button.find_first_of(" \n") == std::string::npos);
        ++count;
        fake_.clock.now += 7;
        const unsigned roll = draw();
        if (nested_ && roll % 4 == 0 && next_ < chunks_.size() && link_.active()) deliverNext();
        if (failing_ && roll % 8 == 1) {
            ++failures_;
            throw kivra::KivraError("action failed");
        }
    }

    void checkShown() {
        Check(assigned_ + dispatched_ <= shown_.size());
        if (setupMode_ || (gate_ && fake_.windows.classes.count("LightAlloyFront"))) Check(dispatched_ == 0);
        if (failures_ == 0) {
            Check(shown_ == expected_);
            if (setupMode_) Check(assigned_ == shown_.size());
        } else {
            // In order, each at most once.
            std::size_t at = 0;
            for (const std::string& text : shown_) {
                while (at < expected_.size() && expected_[at] != text) ++at;
                Check(at < expected_.size());
                ++at;
            }
        }
    }

    kivra::fake::FakePlatform fake_;
    kivra::WinLircLink link_{fake_.network, *this};
    std::unique_ptr<kivra::SignalReception> reception_;
    kivra::LineFramer framer_;  // fed alongside the reception's own, to watch its memory
    fuzzmodel::ModelFramer model_;
    const bool setupMode_, gate_, nested_, failing_, faults_;
    kivra::fuzzing::XorShift random_;
    std::vector<std::string> chunks_;
    std::size_t next_ = 0;
    std::vector<std::string> shown_, expected_;
    std::size_t assigned_ = 0, dispatched_ = 0, failures_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    Harness harness(data, size);
    harness.run();
    return 0;
}
