// The main window's controls: where each one sits, its caption, range and design state, and
// which handler each event goes to.
//
// Client area 656 x 502: the tabs on the left (530 px wide), the four big buttons in a column
// at the right, "Сохранить настройки" across the window below them, the frame with
// "Режим настройки" under it, and the status bar at the bottom. Positions are relative to
// the parent (the window or a tab page); a tab page's inside is about 522 x 372.
#include "app/TForm1.h"

#include <memory>

namespace kivra {
namespace {

constexpr int kBigButtonX = 543;
constexpr int kBigButtonWidth = 105;
constexpr int kBigButtonHeight = 97;
constexpr int kBigButtonGap = 4;
constexpr int kBigButtonFont = 19;

ui::Rect BigButton(int index) {
    return {kBigButtonX, 8 + index * (kBigButtonHeight + kBigButtonGap), kBigButtonWidth, kBigButtonHeight};
}

}  // namespace

TForm1::TForm1(Platform& platform, WindowHandle applicationWindow)
    : ui::Form("Form1", ui::FormStyle{656, 502, true, false, false}),
      sPageControl1("sPageControl1", this, {8, 8, 530, 400}),
      sTabSheet1("sTabSheet1", &sPageControl1, "Функции"),
      sTabSheet2("sTabSheet2", &sPageControl1, "Kivra menu"),
      sTabSheet3("sTabSheet3", &sPageControl1, "Настройки"),
      // Page "Функции"
      StringGrid1("StringGrid1", &sTabSheet1, {8, 8, 505, 297}, kBindingRows, 2),
      hotKeyFrame("sGroupBox1", &sTabSheet1, {8, 309, 505, 54}),
      sLabel1("sLabel1", &sTabSheet1, {18, 331, 200, 16}, "Эмулируемая комбинация клавиш:"),
      HotKey1("HotKey1", &sTabSheet1, {222, 328, 160, 22}),
      sButton2("sButton2", &sTabSheet1, {392, 326, 110, 26}, "Добавить"),
      // Page "Kivra menu"
      sButton4("sButton4", &sTabSheet2, {8, 8, 160, 26}, "Загрузить из файла"),
      menuTreeLabel("sLabel3", &sTabSheet2, {8, 42, 200, 16}, "Kivra меню"),
      sTreeView1("sTreeView1", &sTabSheet2, {8, 60, 505, 300}),
      fontSizeLabel("sLabel4", &sTabSheet2, {300, 13, 100, 16}, "Размер шрифта"),
      sSpinEdit4("sSpinEdit4", &sTabSheet2, {405, 10, 60, 22}, 8, 48, 1, 32),
      // Page "Настройки"
      sCheckBox2("sCheckBox2", &sTabSheet3, {12, 12, 480, 20}, "Запускаться свёрнутым в трей", false),
      sCheckBox3("sCheckBox3", &sTabSheet3, {12, 36, 480, 20}, "Запускаться вместе с Windows", false),
      sCheckBox4("sCheckBox4", &sTabSheet3, {12, 60, 480, 20}, "Запускать WinLIRC при старте", true),
      pathLabel("sLabel5", &sTabSheet3, {12, 94, 40, 16}, "Путь"),
      sEdit1("sEdit1", &sTabSheet3, {56, 90, 400, 22}, ""),
      sButton3("sButton3", &sTabSheet3, {462, 89, 40, 24}, ">>"),
      portLabel("sLabel6", &sTabSheet3, {12, 124, 40, 16}, "Порт"),
      sEdit2("sEdit2", &sTabSheet3, {56, 120, 80, 22}, "8765", 9),
      sCheckBox5("sCheckBox5", &sTabSheet3, {12, 154, 360, 20}, "При потере сервера пытаться соединиться с периодом",
                 true),
      sSpinEdit1("sSpinEdit1", &sTabSheet3, {376, 152, 56, 22}, 5, 60, 5, 5),
      sLabel2("sLabel2", &sTabSheet3, {438, 156, 60, 16}, "секунд"),
      sCheckBox6("sCheckBox6", &sTabSheet3, {12, 186, 480, 20}, "Не обрабатывать команды при запущенном Light Alloy",
                 true),
      gapLabel("sLabel7", &sTabSheet3, {12, 221, 356, 16}, "Минимальные промежуток между командами, милисекунд"),
      sSpinEdit2("sSpinEdit2", &sTabSheet3, {376, 218, 80, 22}, 10, 10000, 10, 100),
      keyDelayLabel("sLabel8", &sTabSheet3, {12, 251, 356, 16}, "Задержка при нажатии клавиш, милисекунд"),
      sSpinEdit3("sSpinEdit3", &sTabSheet3, {376, 248, 80, 22}, 10, 10000, 10, 100),
      sCheckBox7("sCheckBox7", &sTabSheet3, {12, 286, 170, 20}, "Использовать скины", true),
      sComboBox1("sComboBox1", &sTabSheet3, {190, 284, 266, 24}),
      // Beside and below the tabs
      sSpeedButton1("sSpeedButton1", this, BigButton(0), "Активен", ui::ControlKind::SpeedButton),
      sSpeedButton2("sSpeedButton2", this, BigButton(1), "Помощь", ui::ControlKind::SpeedButton),
      sSpeedButton3("sSpeedButton3", this, BigButton(2), "Свернуть", ui::ControlKind::SpeedButton),
      sSpeedButton4("sSpeedButton4", this, BigButton(3), "Выход", ui::ControlKind::SpeedButton),
      sButton1("sButton1", this, {8, 416, 640, 28}, "Сохранить настройки"),
      setupFrame("sGroupBox2", this, {8, 446, 640, 32}),
      sCheckBox1("sCheckBox1", this, {20, 455, 300, 18}, "Режим настройки", false),
      sStatusBar1("sStatusBar1", this, {200, 300, 50}),
      Memo1("Memo1", this),
      Memo2("Memo2", this),
      PopupMenu1("PopupMenu1"),
      PopupMenu2("PopupMenu2"),
      PopupMenu3("PopupMenu3"),
      platform_(platform),
      utils_(platform),
      menuCommands_(utils_, 0),
      skins_(platform.files),
      bindings_(StringGrid1, utils_,
                RowSeams{[this] { ShowRemoteMenu(); }, [this] { SaveConfiguration(); },
                         [this] { return StringGrid1.handle() ? StringGrid1.handle() : handle(); }}),
      reception_(platform, ReceptionContext{[this] { return sCheckBox1.checked(); },
                                            [this] { return sCheckBox6.checked(); },
                                            [this](const std::string& text) { sStatusBar1.setPanel(1, text); },
                                            [this](const std::string& name) { AssignButton(name); },
                                            [this](const std::string& name) { ProcessCommands(name); }}),
      remoteMenu_(platform.profile, PopupMenu1, sTreeView1,
                  [this](const std::string& command, const std::string& parameters) {
                      CommandParser(command, parameters);
                  }),
      ClientSocket1(platform.network, *this) {
    utils_.setApplicationWindow(applicationWindow);

    sPageControl1.setActivePage(2);

    StringGrid1.colWidths = {250, 229};
    StringGrid1.rowHeight = 18;
    StringGrid1.headerColor = 0xD1D1D1;
    StringGrid1.contextMenu = &PopupMenu3;

    fontSizeLabel.setVisible(false);
    sSpinEdit4.setVisible(false);

    for (ui::Button* big : {&sSpeedButton1, &sSpeedButton2, &sSpeedButton3, &sSpeedButton4})
        big->setFontHeight(kBigButtonFont);

    N1 = &PopupMenu2.root.add(std::make_unique<ui::MenuItem>("Свернуть"));
    N2 = &PopupMenu2.root.add(std::make_unique<ui::MenuItem>("Активен"));
    N2->checked = true;
    N3 = &PopupMenu2.root.add(std::make_unique<ui::MenuItem>("Выход"));
    N4 = &PopupMenu3.root.add(std::make_unique<ui::MenuItem>("Очистить"));

    sOpenDialog1.filter = "Файлы меню (*.mnu)|*.mnu";

    // The timer is armed by the start-up, from the retry option.
    Timer1.setEnabled(false);
    Timer1.setInterval(5000);

    popupMenus = {&PopupMenu1, &PopupMenu2, &PopupMenu3};
    timers = {&Timer1};
    openDialogs = {&sOpenDialog1, &sOpenDialog2};
    folderDialogs = {&skinFolderDialog};

    WireHandlers();
    skins_.addForm(*this);
}

TForm1::~TForm1() = default;

void TForm1::WireHandlers() {
    onShow = [this] { FormShow(); };
    onActivate = [this] { FormActivate(); };
    onCloseQuery = [this] { return FormClose(); };
    onDestroy = [this] { FormDestroy(); };
    onMessage = [this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        return HandleMessage(message, wParam, lParam);
    };

    sSpeedButton1.onClick = [this] { sSpeedButton1Click(); };
    sSpeedButton2.onClick = [this] { sSpeedButton2Click(); };
    sSpeedButton3.onClick = [this] { sSpeedButton3Click(); };
    sSpeedButton4.onClick = [this] { sSpeedButton4Click(); };
    N1->onClick = [this](ui::MenuItem&) { N1Click(); };
    N2->onClick = [this](ui::MenuItem&) { N2Click(); };
    N3->onClick = [this](ui::MenuItem&) { N3Click(); };
    N4->onClick = [this](ui::MenuItem&) { N4Click(); };
    sButton1.onClick = [this] { sButton1Click(); };
    sButton2.onClick = [this] { sButton2Click(); };
    sButton3.onClick = [this] { sButton3Click(); };
    sButton4.onClick = [this] { sButton4Click(); };
    sCheckBox3.onClick = [this] { sCheckBox3Click(); };
    sCheckBox5.onClick = [this] { sCheckBox5Click(); };
    sCheckBox7.onClick = [this] { sCheckBox7Click(); };
    sSpinEdit1.onChange = [this] { sSpinEdit1Change(); };
    sSpinEdit2.onChange = [this] { sSpinEdit2Change(); };
    sSpinEdit3.onChange = [this] { sSpinEdit3Change(); };
    sEdit2.onKeyPress = [this](char key) { return sEdit2KeyPress(key); };
    Timer1.onTimer = [this] { Timer1Timer(); };
    sComboBox1.onChange = [this] { sComboBox1Change(); };
}

}  // namespace kivra
