// The about window: what the program is, its version, a help text, thanks and contacts.
// Created hidden at start-up; "Помощь" shows it, "OK" and the close box hide it.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Form.h"

namespace kivra {

inline constexpr char kAboutTitle[] = "О программе Kivra 0.91 beta";
inline constexpr char kVersionLine[] = "версия 0.91 beta";

// The help text, line by line: four numbered sections.
const std::vector<std::string>& AboutHelpText();

class TForm2 : public ui::Form {
public:
    TForm2();

    void FormCreate();     // the title and the version line
    void sButton1Click();  // "OK": hides the window

    ui::Label sLabel1;  // the program's name, large, in place of an icon
    ui::Label sLabel2;  // what the program is
    ui::Label sLabel3;  // the version line
    ui::Memo sMemo1;    // the help text
    ui::Label sLabel4;  // "Благодарности:"
    ui::Label sLabel5;
    ui::Label sLabel6;
    ui::Label sLabel7;  // contacts
    ui::Label sLabel8;
    ui::Button sButton1;
};

}  // namespace kivra
