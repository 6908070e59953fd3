#include "platform/IniDocument.h"

#include <algorithm>

namespace kivra {
namespace {

constexpr std::size_t kLongestValue = 2047;  // characters, as the service's callers receive them

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// At most kLongestValue characters, never ending inside one.
std::string CutToLongestValue(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool starts = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
        if (starts && characters++ == kLongestValue) return std::string(text.substr(0, at));
    }
    return std::string(text);
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument document;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.find(']');
            document.addSection(Trim(line.substr(1, close == std::string_view::npos ? close : close - 1)));
        } else if (const std::size_t equals = line.find('='); !document.sections_.empty() && equals != line.npos) {
            document.sections_.back().entries.push_back(
                Entry{std::string(Trim(line.substr(0, equals))), std::string(line.substr(equals + 1))});
        }
    }
    return document;
}

IniDocument::Section& IniDocument::addSection(std::string_view name) {
    index_.try_emplace(Lower(name), sections_.size());
    return sections_.emplace_back(Section{std::string(name), {}});
}

const IniDocument::Section* IniDocument::find(std::string_view name) const {
    const auto found = index_.find(Lower(name));
    return found == index_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const {
    const Section* holder = find(section);
    if (!holder) return std::nullopt;
    for (const Entry& entry : holder->entries) {
        if (!SameIgnoringCase(entry.key, key)) continue;
        std::string_view value = Trim(entry.value);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return CutToLongestValue(value);
    }
    return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const auto found = index_.find(Lower(section));
    Section& holder = found != index_.end() ? sections_[found->second] : addSection(section);
    const auto entry = std::find_if(holder.entries.begin(), holder.entries.end(),
                                    [&](const Entry& candidate) { return SameIgnoringCase(candidate.key, key); });
    if (entry == holder.entries.end())
        holder.entries.push_back(Entry{std::string(key), std::string(value)});
    else
        entry->value = value;
}

std::string IniDocument::text() const {
    std::string out;
    for (const Section& section : sections_) {
        out += "[" + section.name + "]\r\n";
        for (const Entry& entry : section.entries) out += entry.key + "=" + entry.value + "\r\n";
    }
    return out;
}

}  // namespace kivra
