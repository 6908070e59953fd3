#include "app/SkinEngine.h"

#include <algorithm>
#include <cctype>

namespace kivra {
namespace {

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

const char kSkinExtension[] = ".skin";

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// "RRGGBB" (an optional leading '#') as 0x00BBGGRR.
std::optional<std::uint32_t> ParseColor(std::string text) {
    if (!text.empty() && text.front() == '#') text.erase(0, 1);
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return std::nullopt;
    const std::uint32_t rgb = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
    return Rgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

bool EndsWithSkinExtension(const std::string& fileName) {
    const std::string ext = kSkinExtension;
    return fileName.size() > ext.size() && Lower(fileName.substr(fileName.size() - ext.size())) == ext;
}

}  // namespace

const std::vector<Skin>& BuiltInSkins() {
    static const std::vector<Skin> skins = {
        {"Classic", {Rgb(240, 240, 240), Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(0, 102, 204),
                     Rgb(255, 255, 255)}},
        {"Graphite", {Rgb(45, 45, 48), Rgb(230, 230, 230), Rgb(30, 30, 30), Rgb(240, 240, 240), Rgb(0, 122, 204),
                    Rgb(255, 255, 255)}},
        {"Marine", {Rgb(220, 235, 245), Rgb(10, 40, 70), Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(30, 90, 150),
                     Rgb(255, 255, 255)}},
    };
    return skins;
}

std::optional<ui::ColorScheme> ParseSkinFile(const std::string& text) {
    ui::ColorScheme scheme = BuiltInSkins().front().scheme;
    struct Key {
        const char* name;
        std::uint32_t ui::ColorScheme::*field;
    };
    static const Key keys[] = {
        {"face", &ui::ColorScheme::face},     {"text", &ui::ColorScheme::text},
        {"field", &ui::ColorScheme::field},   {"fieldtext", &ui::ColorScheme::fieldText},
        {"accent", &ui::ColorScheme::accent}, {"accenttext", &ui::ColorScheme::accentText},
    };
    bool any = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        const size_t eq = line.find('=');
        if (line.empty() || line.front() == ';' || line.front() == '#' || eq == std::string::npos) continue;
        const std::string key = Lower(Trim(line.substr(0, eq)));
        const std::optional<std::uint32_t> color = ParseColor(Trim(line.substr(eq + 1)));
        if (!color) continue;
        for (const Key& k : keys) {
            if (key != k.name) continue;
            scheme.*k.field = *color;
            any = true;
        }
    }
    if (!any) return std::nullopt;
    return scheme;
}

SkinEngine::SkinEngine(Files& files, DirectoryLister lister)
    : files_(files), lister_(std::move(lister)), name_(BuiltInSkins().front().name),
      scheme_(BuiltInSkins().front().scheme) {}

SkinList SkinEngine::listSkins() const {
    SkinList list;
    for (const Skin& skin : BuiltInSkins()) list.names.push_back(skin.name);
    list.firstChoice = BuiltInSkins().front().name;
    if (!directory_.empty() && lister_) {
        for (const std::string& file : lister_(directory_))
            if (EndsWithSkinExtension(file)) list.names.push_back(file.substr(0, file.size() - (sizeof kSkinExtension - 1)));
    }
    std::sort(list.names.begin(), list.names.end());
    list.names.erase(std::unique(list.names.begin(), list.names.end()), list.names.end());
    return list;
}

std::string SkinEngine::skinFilePath(const std::string& name) const {
    std::string path = directory_;
    if (path.back() != '\\' && path.back() != '/') path += '\\';
    return path + name + kSkinExtension;
}

std::optional<ui::ColorScheme> SkinEngine::findScheme(const std::string& name) const {
    if (name.empty()) return std::nullopt;
    for (const Skin& skin : BuiltInSkins())
        if (skin.name == name) return skin.scheme;
    // A name is a file name here: one with a path in it could reach outside the directory.
    if (directory_.empty() || name.find_first_of("\\/:") != std::string::npos) return std::nullopt;
    const std::optional<std::string> text = files_.read(skinFilePath(name));
    if (!text) return std::nullopt;
    return ParseSkinFile(*text);
}

void SkinEngine::setName(const std::string& name) {
    const std::optional<ui::ColorScheme> scheme = findScheme(name);
    if (!scheme) return;
    name_ = name;
    scheme_ = *scheme;
    applyToForms();
}

void SkinEngine::setActive(bool active) {
    active_ = active;
    applyToForms();
}

void SkinEngine::addForm(ui::Form& form) {
    forms_.push_back(&form);
    form.setColorScheme(active_ ? std::optional<ui::ColorScheme>(scheme_) : std::nullopt);
}

void SkinEngine::applyToForms() const {
    for (ui::Form* form : forms_)
        form->setColorScheme(active_ ? std::optional<ui::ColorScheme>(scheme_) : std::nullopt);
}

}  // namespace kivra
