#include "app/TForm2.h"
#include "platform/WindowsConstants.h"

namespace kivra {
TForm2::TForm2()
    : ui::Form("Form2", ui::FormStyle{514, 492, false, false, false}),
      sLabel1("sLabel1", this, {16, 10, 482, 34}, "Kivra"),
      sLabel2("sLabel2", this, {16, 48, 482, 16}, "Клиент WinLIRC и интерпретатор команд для пульта ДУ"),
      sLabel3("sLabel3", this, {16, 68, 482, 16}, ""),
      sMemo1("sMemo1", this, {16, 92, 482, 262}, AboutHelpText()),
      sLabel4("sLabel4", this, {16, 362, 482, 16}, "Благодарности:"),
      sLabel5("sLabel5", this, {28, 380, 470, 16}, "авторам WinLIRC и LIRC — за приём и расшифровку сигналов пульта;"),
      sLabel6("sLabel6", this, {28, 396, 470, 16}, "всем, кто испытывал программу и присылал замечания."),
      sLabel7("sLabel7", this, {16, 418, 482, 16}, "Почта: kivra@example.org"),
      sLabel8("sLabel8", this, {16, 434, 482, 16}, "Сайт: https://example.org/kivra"),
      sButton1("sButton1", this, {207, 456, 100, 28}, "OK") {
    sLabel1.setFontHeight(28);
    sButton1.onClick = [this] { sButton1Click(); };
    // The close box only hides the window: it lives until the program ends.
    onCloseQuery = [this] {
        show(kSwHide);
        return false;
    };
}

void TForm2::FormCreate() {
    setTitle(kAboutTitle);
    sLabel3.setCaption(kVersionLine);
}

void TForm2::sButton1Click() { show(kSwHide); }

}  // namespace kivra
