// The skin box and "Использовать скины": the user's side of the skin engine.
#include "app/TForm1.h"

namespace kivra {
namespace {
constexpr char kSkinFolderEntry[] = "Папка со скинами...";
constexpr char kNoSkinsEntry[] = "Нет скинов";
}  // namespace

// The program's own selections must not count as the user's choice.
void TForm1::SetSkinBoxIndexGuarded(int index) {
    skinListGuard_ = true;
    sComboBox1.setItemIndex(index);
    skinListGuard_ = false;
}

void TForm1::FillSkinBox() {
    const SkinList list = skins_.listSkins();
    sComboBox1.clearItems();
    sComboBox1.addItem(kSkinFolderEntry);
    for (const std::string& name : list.names) sComboBox1.addItem(name);
    if (list.names.empty()) sComboBox1.addItem(kNoSkinsEntry);
    SetSkinBoxIndexGuarded(1);
}

void TForm1::sComboBox1Change() {
    if (skinListGuard_) return;
    if (sComboBox1.itemIndex() != 0) {
        skins_.setName(sComboBox1.text());
        return;
    }
    const std::optional<std::string> folder = skinFolderDialog.execute(handle());
    if (!folder) return;
    skins_.setDirectory(*folder);
    const SkinList list = skins_.listSkins();
    skins_.setName(list.firstChoice);
    sComboBox1.clearItems();
    sComboBox1.addItem(kSkinFolderEntry);
    for (const std::string& name : list.names) sComboBox1.addItem(name);
}

void TForm1::sCheckBox7Click() { skins_.setActive(sCheckBox7.checked()); }

}  // namespace kivra
