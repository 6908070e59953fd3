// The in-memory reading of INI files must answer as the profile service does: the menu is read
// through it, the settings through the service, and a user's file must mean the same to both.
#include <gtest/gtest.h>

#include <string>

#include "platform/IniDocument.h"

namespace kivra {
namespace {

const char kFile[] =
    "key=before any section\r\n"
    "[Sub]\r\n"
    "Subs=2\n"
    "  [ Sub1 ]  \r"
    "  Caption  =  \"  Quoted  \"  \n"
    "Command='single'\n"
    "Parameters=\"unbalanced\n"
    "no equals sign\n"
    "Empty=\n"
    "Caption=second of the name\n"
    "[SUB1]\n"
    "Command=second section of the name\n"
    "[Sub2\n"
    "Caption=a=b\n";

TEST(IniDocument, AnswersAsTheProfileServiceDoes) {
    const IniDocument menu = IniDocument::Parse(kFile);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;  // nullptr: missing
    } cases[] = {
        {"Sub", "Subs", "2"},
        {"sub", "SUBS", "2"},                         // names whatever their case
        {"Sub1", "Caption", "  Quoted  "},            // blanks around, then one pair of quotes
        {"Sub1", "Command", "single"},
        {"Sub1", "Parameters", "\"unbalanced"},       // a lone quote stays
        {"Sub1", "Empty", ""},                        // present and empty is not missing
        {"Sub1", "no equals sign", nullptr},
        {"Sub2", "Caption", "a=b"},                   // the first "=" divides; "[Sub2" lacks its "]"
        {"Sub", "key", nullptr},                      // lines before the first section count nowhere
        {"Sub3", "Caption", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> value = menu.value(c.section, c.key);
        if (c.expected)
            EXPECT_EQ(value, std::string(c.expected)) << c.section << "/" << c.key;
        else
            EXPECT_FALSE(value) << c.section << "/" << c.key;
    }
}

TEST(IniDocument, TheFirstOfEqualNamesWins) {
    const IniDocument menu = IniDocument::Parse(kFile);
    EXPECT_EQ(menu.value("Sub1", "Caption", "none"), "  Quoted  ");
    EXPECT_EQ(menu.value("Sub1", "Command", "none"), "single") << "the second [SUB1] is not searched";
}

TEST(IniDocument, LongValuesAreCutTo2047CharactersNeverInsideOne) {
    const std::string cyrillic = "\xD0\xAF";  // one character, two bytes
    std::string many;
    for (int i = 0; i < 3000; ++i) many += cyrillic;
    const IniDocument file = IniDocument::Parse("[S]\nA=" + many + "\nB=" + std::string(2047, 'x') + "\n");
    EXPECT_EQ(file.value("S", "A", ""), many.substr(0, 2047 * cyrillic.size()));
    EXPECT_EQ(file.value("S", "B", "").size(), 2047u);
}

TEST(IniDocument, SetReplacesOrAppendsAndTextWritesItBack) {
    IniDocument file = IniDocument::Parse("[Common]\nPort=1\n");
    file.set("COMMON", "port", "8765");
    file.set("Common", "Path", "C:\\x");
    file.set("Interface", "Skin", "Marine");
    EXPECT_EQ(file.text(), "[Common]\r\nPort=8765\r\nPath=C:\\x\r\n[Interface]\r\nSkin=Marine\r\n");
    EXPECT_EQ(IniDocument::Parse(file.text()).value("interface", "skin", ""), "Marine");
}

}  // namespace
}  // namespace kivra
