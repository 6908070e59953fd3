// The WinLIRC link as the main window sees it: its notifications in the status bar, the
// active button, the retry timer, the port and the launch of WinLIRC at start-up.
#include "app/TForm1.h"

#include <algorithm>

#include "toolkit/ErrorReport.h"

namespace kivra {
namespace {

constexpr char kBackspace = 8;

// A TCP port: decimal digits only, 1 to 65535.
std::optional<std::uint16_t> ParsePort(const std::string& text) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const long value = std::stol(text);
    if (value < 1 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// The retry period in seconds as a timer interval. A value typed beyond the field's range
// counts until the field loses the focus; it must not wrap around.
unsigned RetryInterval(int seconds) {
    constexpr long long kLongestInterval = 0x7FFFFFFF;  // the longest a Windows timer waits
    return static_cast<unsigned>(std::clamp(seconds * 1000LL, 0LL, kLongestInterval));
}

}  // namespace

void TForm1::ClientSocket1Lookup() { sStatusBar1.setPanel(0, "Поиск WinLIRC..."); }

void TForm1::ClientSocket1Connecting() {
    platform_.probe.mark("connect-attempt");
    sStatusBar1.setPanel(0, "Подключение...");
    ArmRetryTimer();
}

// A new connection starts a new byte stream: half a line left by the old one must not be glued
// to the first line of this one.
void TForm1::ClientSocket1Connect() {
    reception_.restartStream();
    sStatusBar1.setPanel(0, "WinLIRC подключён");
}

void TForm1::ClientSocket1Disconnect() {
    sStatusBar1.setPanel(0, "WinLIRC отключён");
    ArmRetryTimer();
}

void TForm1::ClientSocket1Error(SocketErrorKind, int code) {
    sStatusBar1.setPanel(0, "Ошибка " + std::to_string(code));
    ArmRetryTimer();
}

void TForm1::ClientSocket1Read() {
    const std::string text = ClientSocket1.receiveText();
    platform_.probe.mark("read", text.size());
    reception_.receive(text);
}

// The caption of the active button and the check mark of the tray item always agree with the
// active flag; they are set before the link is switched, which may fail with a report.
void TForm1::ShowActiveState() {
    N2->checked = activeFlag_;
    sSpeedButton1.setCaption(activeFlag_ ? "Активен" : "Не активен");
}

void TForm1::sSpeedButton1Click() {
    activeFlag_ = !activeFlag_;
    ShowActiveState();
    ArmRetryTimer();
    ClientSocket1.setActive(activeFlag_);
}

void TForm1::N2Click() { sSpeedButton1.click(); }

// The retry brings back a link that was lost; a link the user switched off stays off.
void TForm1::Timer1Timer() {
    if (sCheckBox5.checked() && activeFlag_ && !ClientSocket1.active()) ClientSocket1.setActive(true);
}

// Ticking the retry option starts the periodic retries (and one attempt at once); unticking
// stops them.
void TForm1::sCheckBox5Click() {
    ArmRetryTimer();
    if (sCheckBox5.checked() && activeFlag_ && !ClientSocket1.active()) ClientSocket1.setActive(true);
}

void TForm1::sSpinEdit1Change() { Timer1.setInterval(RetryInterval(sSpinEdit1.value())); }

void TForm1::sSpinEdit2Change() { reception_.minimumGap = sSpinEdit2.value(); }

void TForm1::sSpinEdit3Change() { utils_.keyDelay = sSpinEdit3.value(); }

bool TForm1::sEdit2KeyPress(char key) { return (key >= '0' && key <= '9') || key == kBackspace; }

void TForm1::sButton3Click() {
    if (sOpenDialog2.execute(handle())) sEdit1.setText(sOpenDialog2.fileName);
}

// Start-up step: launch WinLIRC if so set. Nothing waits for it; the retry finds it later.
void TForm1::StartWinLirc() {
    if (sCheckBox4.checked() && !sEdit1.text().empty())
        platform_.shell.execute(0, std::string(), sEdit1.text(), "", "", kSwHide);
}

void TForm1::SetUpRetryTimer() {
    Timer1.setInterval(RetryInterval(sSpinEdit1.value()));
    ArmRetryTimer();
}

// The retry timer runs only while there is a lost link to bring back: a connected program in
// the tray is not woken every few seconds for nothing. An attempt under way disarms it; the
// attempt's failure or the link's loss arms it again, for a full period.
void TForm1::ArmRetryTimer() {
    const bool wanted = sCheckBox5.checked() && activeFlag_ && ClientSocket1.closed();
    if (Timer1.enabled() != wanted) Timer1.setEnabled(wanted);
}

// Start-up step: the port in effect for this run. A text that is no port keeps 8765.
void TForm1::TakePort() {
    const std::string& text = sEdit2.text();
    if (text.empty()) return;
    const std::optional<std::uint16_t> port = ParsePort(text);
    if (!port) throw KivraError("'" + text + "' is not a valid integer value");
    ClientSocket1.setPort(*port);
}

}  // namespace kivra
