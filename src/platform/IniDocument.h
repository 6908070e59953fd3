// An INI file held in memory and read the way the private-profile service reads one: sections
// and keys are found whatever their letter case and the first of two equal names wins; blanks
// around names and values go, and so does one pair of quotes around a value; a value is at most
// 2047 characters. Text is UTF-8; the service's side decodes the file's bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kivra {

class IniDocument {
public:
    // Any line ends; lines before the first section and lines without "=" are left out.
    static IniDocument Parse(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string value(std::string_view section, std::string_view key, const std::string& fallback) const {
        return value(section, key).value_or(fallback);
    }
    // Replaces the value of the key, or adds the key (and its section) at the end.
    void set(std::string_view section, std::string_view key, std::string_view value);
    // The whole file as the service writes it, with CR LF line ends.
    std::string text() const;

private:
    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    Section& addSection(std::string_view name);
    const Section* find(std::string_view name) const;

    std::vector<Section> sections_;
    // Lower-case name -> the first section of that name: a menu of ten thousand items is ten
    // thousand sections, looked up one by one.
    std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace kivra
