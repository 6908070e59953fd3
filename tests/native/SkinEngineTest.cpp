// The skin engine's four operations and its skin files, and the skin box of the main window.
#include <gtest/gtest.h>

#include "TestMainWindow.h"

namespace kivra {
namespace {

std::vector<std::string> SkinFolder(const std::string&) { return {"Ocean.skin", "readme.txt", "Dark.SKIN", "x.skin.bak"}; }

TEST(SkinEngineTest, ListsBuiltInAndDirectorySkinsSortedWithTheFirstBuiltInAsFirstChoice) {
    fake::FakePlatform fake;
    SkinEngine engine(fake.files, SkinFolder);
    ASSERT_GE(BuiltInSkins().size(), 3u);
    SkinList list = engine.listSkins();
    EXPECT_EQ(list.firstChoice, BuiltInSkins().front().name);
    EXPECT_TRUE(std::is_sorted(list.names.begin(), list.names.end()));
    EXPECT_EQ(list.names.size(), BuiltInSkins().size()) << "no directory yet";

    engine.setDirectory("C:\\Skins");
    list = engine.listSkins();
    EXPECT_TRUE(std::is_sorted(list.names.begin(), list.names.end()));
    EXPECT_EQ(list.names.size(), BuiltInSkins().size() + 2);
    EXPECT_NE(std::find(list.names.begin(), list.names.end(), "Ocean"), list.names.end());
    EXPECT_NE(std::find(list.names.begin(), list.names.end(), "Dark"), list.names.end());
    EXPECT_EQ(list.firstChoice, BuiltInSkins().front().name);
}

TEST(SkinEngineTest, SkinFileColoursAreReadAsRrggbb) {
    struct Case {
        const char* text;
        bool isSkin;
        std::uint32_t face;
        std::uint32_t accentText;
    };
    const std::uint32_t baseFace = BuiltInSkins().front().scheme.face;
    const std::uint32_t baseAccentText = BuiltInSkins().front().scheme.accentText;
    const Case cases[] = {
        {"face=112233\r\naccentText=#A0B0C0\r\n", true, 0x332211, 0xC0B0A0},
        {"; a comment\n# another\nFACE = 0000FF\n", true, 0xFF0000, baseAccentText},
        {"accenttext=ffffff\n", true, baseFace, 0xFFFFFF},
        {"face=12345\nface=GGGGGG\ncolour=112233\n", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Case& c : cases) {
        const std::optional<ui::ColorScheme> scheme = ParseSkinFile(c.text);
        ASSERT_EQ(scheme.has_value(), c.isSkin) << c.text;
        if (!scheme) continue;
        EXPECT_EQ(scheme->face, c.face) << c.text;
        EXPECT_EQ(scheme->accentText, c.accentText) << c.text;
    }
}

TEST(SkinEngineTest, SettingANameAppliesItToEveryFormAndUnknownNamesKeepTheSkin) {
    fake::FakePlatform fake;
    fake.files.contents["C:\\Skins\\Ocean.skin"] = "face=102030\n";
    SkinEngine engine(fake.files, SkinFolder);
    ui::Form one("One", {}), two("Two", {});
    engine.addForm(one);
    engine.addForm(two);
    ASSERT_TRUE(one.colorScheme());
    EXPECT_EQ(one.colorScheme()->face, BuiltInSkins().front().scheme.face);

    engine.setName(BuiltInSkins()[2].name);
    EXPECT_EQ(two.colorScheme()->face, BuiltInSkins()[2].scheme.face);

    for (const char* unknown : {"", "Ocea", "Ocean", "..\\Ocean"}) {
        engine.setName(unknown);
        EXPECT_EQ(engine.name(), BuiltInSkins()[2].name) << unknown;
    }
    engine.setDirectory("C:\\Skins");
    engine.setName("Ocean");
    EXPECT_EQ(engine.name(), "Ocean");
    EXPECT_EQ(one.colorScheme()->face, 0x302010u);
    engine.setName("..\\Skins\\Ocean");
    EXPECT_EQ(engine.name(), "Ocean") << "a name never reaches outside the directory";
}

TEST(SkinEngineTest, OffMeansTheSystemColoursOnBringsTheSkinBack) {
    fake::FakePlatform fake;
    SkinEngine engine(fake.files);
    ui::Form form("Form", {});
    engine.addForm(form);
    engine.setActive(false);
    EXPECT_FALSE(form.colorScheme());
    engine.setName(BuiltInSkins()[1].name);
    EXPECT_FALSE(form.colorScheme()) << "a name chosen while off waits";
    engine.setActive(true);
    ASSERT_TRUE(form.colorScheme());
    EXPECT_EQ(form.colorScheme()->face, BuiltInSkins()[1].scheme.face);
}

class SkinBoxTest : public ::testing::Test, protected testing::TestMainWindow {};

TEST_F(SkinBoxTest, FillingStartsWithTheFolderEntryAndSelectsEntryOneWithoutApplyingIt) {
    SetSettings("[Interface]\nSkin=Marine\n");
    TForm1& f = StartUp();
    std::vector<std::string> expected = {"Папка со скинами..."};
    for (const std::string& name : f.skins().listSkins().names) expected.push_back(name);
    EXPECT_EQ(f.sComboBox1.items(), expected);
    EXPECT_EQ(f.sComboBox1.itemIndex(), 1);
    EXPECT_EQ(f.skins().name(), "Marine") << "the program's own selection is no choice";
}

TEST_F(SkinBoxTest, ChoosingOrTypingANameAppliesIt) {
    TForm1& f = StartUp();
    f.sComboBox1.userSelected(2);
    EXPECT_EQ(f.skins().name(), f.sComboBox1.items()[2]);
    f.sComboBox1.userTyped("Mari");
    EXPECT_EQ(f.skins().name(), f.sComboBox1.items()[2]) << "a half-typed name changes nothing";
    f.sComboBox1.userTyped("Marine");
    EXPECT_EQ(f.skins().name(), "Marine");
    EXPECT_EQ(about->colorScheme()->face, f.colorScheme()->face) << "every window takes the skin";
}

TEST_F(SkinBoxTest, FolderEntryCancelledChangesNothing) {
    TForm1& f = StartUp();
    const std::vector<std::string> before = f.sComboBox1.items();
    folderChoices = {std::nullopt};
    f.sComboBox1.userSelected(0);
    EXPECT_EQ(f.sComboBox1.items(), before);
    EXPECT_EQ(f.skins().directory(), "");
    EXPECT_EQ(f.skins().name(), BuiltInSkins().front().name);
}

TEST_F(SkinBoxTest, FolderEntryConfirmedTakesTheFolderAndRefillsTheBox) {
    TForm1& f = StartUp();
    f.skins().setDirectoryLister(SkinFolder);
    f.skins().setName(BuiltInSkins()[1].name);
    folderChoices = {std::string("D:\\MySkins")};
    f.sComboBox1.userSelected(0);
    EXPECT_EQ(f.skins().directory(), "D:\\MySkins");
    EXPECT_EQ(f.skins().name(), BuiltInSkins().front().name) << "the engine's first choice";
    EXPECT_EQ(f.sComboBox1.items().front(), "Папка со скинами...");
    EXPECT_EQ(f.sComboBox1.items().size(), BuiltInSkins().size() + 3);
    EXPECT_EQ(f.sComboBox1.itemIndex(), -1);
    f.SaveConfiguration();
    EXPECT_NE(Settings().find("SkinPath=D:\\MySkins\r\n"), std::string::npos);
}

TEST_F(SkinBoxTest, UseSkinsBoxSwitchesEveryWindow) {
    TForm1& f = StartUp();
    f.sCheckBox7.userToggled();
    EXPECT_FALSE(f.colorScheme());
    EXPECT_FALSE(about->colorScheme());
    f.sCheckBox7.userToggled();
    EXPECT_TRUE(f.colorScheme());
    EXPECT_TRUE(about->colorScheme());
}

}  // namespace
}  // namespace kivra
