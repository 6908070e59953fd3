#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "menu/RemoteMenu.h"
#include "platform/fake/FakePlatform.h"

namespace kivra {
namespace {

class RemoteMenuTest : public ::testing::Test {
protected:
    fake::FakePlatform fake;
    ui::PopupMenu popup{"PopupMenu1"};
    ui::TreeView tree{"sTreeView1", nullptr, {}};
    std::vector<std::pair<std::string, std::string>> parsed;
    RemoteMenu menu{fake.profile, popup, tree,
                    [this](const std::string& command, const std::string& parameters) {
                        parsed.emplace_back(command, parameters);
                    }};

    void load(const std::string& text, const std::string& file = "Kivra.mnu") {
        fake.profile.setText(file, text);
        menu.FillTree(file);
    }
    ui::MenuItem& top(size_t i) { return *popup.root.items.at(i); }
};

// Captions of the items under parent, in order.
std::vector<std::string> Captions(const ui::MenuItem& parent) {
    std::vector<std::string> result;
    for (const auto& item : parent.items) result.push_back(item->caption);
    return result;
}

std::vector<std::string> Texts(const ui::TreeNode& parent) {
    std::vector<std::string> result;
    for (const auto& node : parent.children) result.push_back(node->text);
    return result;
}

int Depth(const ui::MenuItem& item) {
    int deepest = 0;
    for (const auto& child : item.items) deepest = std::max(deepest, 1 + Depth(*child));
    return deepest;
}

size_t CountItems(const ui::MenuItem& item) {
    size_t count = item.items.size();
    for (const auto& child : item.items) count += CountItems(*child);
    return count;
}

size_t CountNodes(const ui::TreeNode& node) {
    size_t count = node.children.size();
    for (const auto& child : node.children) count += CountNodes(*child);
    return count;
}

const char* const kTwoLevelMenu =
    "[Sub]\nSubs=2\n"
    "[Sub1]\nCaption=Notepad\nCommand=OPEN\nParameters=notepad.exe\n"
    "[Sub2]\nCaption=Keys\nSubs=2\n"
    "[Sub21]\nCaption=Copy\nCommand=SENDKEY\nParameters=Ctrl+C\n"
    "[Sub22]\nCaption=Paste\nCommand=SENDKEY\nParameters=Ctrl+V\n";

TEST_F(RemoteMenuTest, LoadsItemsDepthFirstIntoMenuTreeAndTable) {
    load(kTwoLevelMenu);

    ASSERT_EQ(Captions(popup.root), (std::vector<std::string>{"Notepad", "Keys"}));
    EXPECT_EQ(Captions(top(1)), (std::vector<std::string>{"Copy", "Paste"}));
    EXPECT_EQ(top(0).tag, 0);
    EXPECT_EQ(top(1).tag, 1);
    EXPECT_EQ(top(1).items[0]->tag, 2);
    EXPECT_EQ(top(1).items[1]->tag, 3);

    ASSERT_EQ(menu.table().size(), 4u);
    EXPECT_EQ(menu.table()[0].Command, "OPEN");
    EXPECT_EQ(menu.table()[0].Parameters, "notepad.exe");
    // An item with children still has its entry, with the defaults for what it lacks.
    EXPECT_EQ(menu.table()[1].Command, "no command");
    EXPECT_EQ(menu.table()[1].Parameters, "no parameters");
    EXPECT_EQ(menu.table()[3].Parameters, "Ctrl+V");

    EXPECT_EQ(Texts(tree.root()), (std::vector<std::string>{"Notepad", "Keys"}));
    EXPECT_EQ(Texts(*tree.root().children[1]), (std::vector<std::string>{"Copy", "Paste"}));
}

TEST_F(RemoteMenuTest, MissingKeysTakeDefaultsButEmptyValuesStayEmpty) {
    load("[Sub]\nSubs=3\n"
         "[Sub1]\nCaption=\nCommand=\nParameters=\n"
         "[Sub2]\nCommand=MUTE\n");  // Sub3 does not exist at all

    EXPECT_EQ(Captions(popup.root), (std::vector<std::string>{"", "no caption", "no caption"}));
    ASSERT_EQ(menu.table().size(), 3u);
    EXPECT_EQ(menu.table()[0].Command, "");
    EXPECT_EQ(menu.table()[0].Parameters, "");
    EXPECT_EQ(menu.table()[1].Command, "MUTE");
    EXPECT_EQ(menu.table()[1].Parameters, "no parameters");
    EXPECT_EQ(menu.table()[2].Command, "no command");
}

TEST_F(RemoteMenuTest, CountsAreDecimalOrHexAndAnythingElseMeansNone) {
    const struct { const char* subs; size_t items; } cases[] = {
        {"3", 3}, {"0x10", 16}, {"0X10", 16}, {"$10", 16}, {" 2 ", 2}, {"\"2\"", 2},
        {"0x7FFFFFFF", RemoteMenu::kMaxItemsPerSection},
        {"0", 0}, {"-1", 0}, {"ten", 0}, {"", 0}, {"0x", 0}, {"2.5", 0},
    };
    for (const auto& c : cases) {
        load(std::string("[Sub]\nSubs=") + c.subs + "\n");
        EXPECT_EQ(menu.table().size(), c.items) << c.subs;
        EXPECT_EQ(popup.root.items.size(), c.items) << c.subs;
    }
}

TEST_F(RemoteMenuTest, CoincidingSectionNamesGiveTheSameItems) {
    // Sub11 is both the 11th top-level item and the first child of item 1; Sub111 is both the
    // 11th child of item 1 and the first child of item 11.
    load("[Sub]\nSubs=11\n"
         "[Sub1]\nCaption=One\nSubs=11\n"
         "[Sub11]\nCaption=Eleven\nCommand=MUTE\nSubs=1\n"
         "[Sub111]\nCaption=Deep\nCommand=CDDOOR\n");

    ASSERT_EQ(popup.root.items.size(), 11u);
    const ui::MenuItem& one = top(0);
    const ui::MenuItem& eleven = top(10);
    ASSERT_EQ(one.items.size(), 11u);
    EXPECT_EQ(one.items[0]->caption, "Eleven");
    EXPECT_EQ(Captions(*one.items[0]), std::vector<std::string>{"Deep"});
    EXPECT_EQ(one.items[10]->caption, "Deep");
    EXPECT_EQ(eleven.caption, "Eleven");
    EXPECT_EQ(Captions(eleven), std::vector<std::string>{"Deep"});
    EXPECT_EQ(menu.table()[static_cast<size_t>(eleven.tag)].Command, "MUTE");
    EXPECT_EQ(menu.table()[static_cast<size_t>(eleven.items[0]->tag)].Command, "CDDOOR");
    // 11 top-level items, 11 + 1 under item 1, 1 under item 11.
    EXPECT_EQ(menu.table().size(), 24u);
}

TEST_F(RemoteMenuTest, SeparatorsAndAmpersandsKeepTheirCaptionAndIndex) {
    load("[Sub]\nSubs=3\n[Sub1]\nCaption=&Open && run\n[Sub2]\nCaption=-\n[Sub3]\nCaption=Last\n");

    EXPECT_TRUE(top(1).isSeparator());
    EXPECT_EQ(top(1).tag, 1);
    EXPECT_EQ(top(2).tag, 2);
    EXPECT_EQ(Texts(tree.root()), (std::vector<std::string>{"&Open && run", "-", "Last"}));
}

TEST_F(RemoteMenuTest, SecondLoadReplacesEverythingAndTagsStartAgain) {
    load(kTwoLevelMenu, "first.mnu");
    load("[Sub]\nSubs=1\n[Sub1]\nCaption=Only\nCommand=MUTE\n", "C:\\menus\\second.mnu");

    EXPECT_EQ(Captions(popup.root), std::vector<std::string>{"Only"});
    EXPECT_EQ(top(0).tag, 0);
    ASSERT_EQ(menu.table().size(), 1u);
    EXPECT_EQ(menu.table()[0].Command, "MUTE");
    EXPECT_EQ(Texts(tree.root()), std::vector<std::string>{"Only"});
}

TEST_F(RemoteMenuTest, MissingFileOrNoSubSectionGivesTheEmptyMenu) {
    load(kTwoLevelMenu);
    menu.FillTree("absent.mnu");
    EXPECT_TRUE(popup.root.items.empty());
    EXPECT_TRUE(menu.table().empty());
    EXPECT_TRUE(tree.root().children.empty());

    load("[Sub1]\nCaption=Orphan\n", "nosub.mnu");
    EXPECT_TRUE(popup.root.items.empty());
    EXPECT_TRUE(fake.windows.errorBoxes.empty());
}

// The profile service opens and searches the file again for each value it is asked for: a
// thousand items cost four thousand of those. The menu reads the file once.
TEST_F(RemoteMenuTest, TheFileIsReadOnceWhateverItsSize) {
    load(kTwoLevelMenu);
    EXPECT_EQ(fake.profile.fileReads, 1);
    EXPECT_EQ(fake.profile.reads, 0);
}

TEST_F(RemoteMenuTest, CraftedFileStopsAtTheCaps) {
    // Every section on the chain Sub, Sub1, Sub11, ... asks for 0x7FFFFFFF children: without
    // the caps the load would never end.
    std::string text;
    std::string section = "Sub";
    for (int level = 0; level <= 20; ++level, section += "1") text += "[" + section + "]\nSubs=0x7FFFFFFF\n";
    load(text);

    EXPECT_EQ(menu.table().size(), static_cast<size_t>(RemoteMenu::kMaxItems));
    EXPECT_EQ(CountItems(popup.root), static_cast<size_t>(RemoteMenu::kMaxItems));
    EXPECT_EQ(CountNodes(tree.root()), static_cast<size_t>(RemoteMenu::kMaxItems));
    EXPECT_EQ(Depth(popup.root), RemoteMenu::kMaxDepth);
}

TEST_F(RemoteMenuTest, NestingDeeperThanTheCapIsIgnored) {
    std::string text;
    std::string section = "Sub";
    for (int level = 0; level < 30; ++level, section += "1") text += "[" + section + "]\nSubs=1\n";
    load(text);

    EXPECT_EQ(Depth(popup.root), RemoteMenu::kMaxDepth);
    EXPECT_EQ(menu.table().size(), static_cast<size_t>(RemoteMenu::kMaxDepth));
}

TEST_F(RemoteMenuTest, ChoosingALeafRunsItsCommandAndAnItemWithChildrenNothing) {
    load(kTwoLevelMenu);
    popup.runModal = [](ui::PopupMenu& menu, Point) { return menu.root.items[1]->items[1].get(); };
    popup.popup(Point{10, 20});
    top(1).click();
    top(0).click();
    load("[Sub]\nSubs=1\n");  // no Command, no Parameters
    top(0).click();

    EXPECT_EQ(parsed, (std::vector<std::pair<std::string, std::string>>{
                          {"SENDKEY", "Ctrl+V"}, {"OPEN", "notepad.exe"}, {"no command", "no parameters"}}));
}

TEST_F(RemoteMenuTest, AnItemLeftOverFromThePreviousLoadRunsNothing) {
    load(kTwoLevelMenu);
    ui::MenuItem* old = &top(0);  // still on screen while another file is loaded
    load("[Sub]\nSubs=1\n[Sub1]\nCommand=MUTE\n");
    old->click();
    EXPECT_TRUE(parsed.empty());
}

TEST_F(RemoteMenuTest, ChangeMenuFontHooksEveryItemToANewPainter) {
    load(kTwoLevelMenu);
    menu.ChangeMenuFont(32);
    TRyMenu* first = menu.painter();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Font.pointSize, 32);
    EXPECT_EQ(first->MinWidth, 50);
    EXPECT_TRUE(popup.ownerDraw);

    menu.ChangeMenuFont(20);
    TRyMenu* second = menu.painter();
    EXPECT_NE(second, first);
    EXPECT_EQ(top(0).painter, second);
    EXPECT_EQ(top(1).painter, second);
    EXPECT_EQ(top(1).items[1]->painter, second);

    // Loading again: the new items wait for the next ChangeMenuFont.
    load(kTwoLevelMenu);
    EXPECT_EQ(top(0).painter, nullptr);
    menu.ChangeMenuFont(32);
    EXPECT_EQ(top(1).items[0]->painter, menu.painter());
}

}  // namespace
}  // namespace kivra
