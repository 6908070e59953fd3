// The skin engine: a skin is a colour scheme that every window of the program is painted in.
// A few skins are built in; more are read from "<name>.skin" files in the skin directory,
// text lines "key=RRGGBB" for face, text, field, fieldText, accent and accentText.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "toolkit/Form.h"

namespace kivra {

struct Skin {
    std::string name;
    ui::ColorScheme scheme;
};

// The skins the program ships with; the first one is the engine's first choice. Their
// names are ASCII, so they survive the settings file in any ANSI code page.
const std::vector<Skin>& BuiltInSkins();

// Reads a skin file's text. Keys are matched without regard to letter case; lines that are
// empty, start with ';' or '#', or do not hold a known key and six hex digits are ignored;
// a key the file lacks keeps the colour of the first built-in skin. std::nullopt when the
// text holds no colour at all (then it is no skin).
std::optional<ui::ColorScheme> ParseSkinFile(const std::string& text);

struct SkinList {
    std::vector<std::string> names;  // sorted, each name once
    std::string firstChoice;
};

class SkinEngine {
public:
    // Names the files of a directory (file names without the directory).
    using DirectoryLister = std::function<std::vector<std::string>(const std::string& directory)>;

    explicit SkinEngine(Files& files, DirectoryLister lister = {});

    void setDirectoryLister(DirectoryLister lister) { lister_ = std::move(lister); }

    // 1. The skins of the built-in set and of the current directory.
    SkinList listSkins() const;
    // 2. The skin directory.
    const std::string& directory() const { return directory_; }
    void setDirectory(const std::string& directory) { directory_ = directory; }
    // 3. The skin name. Setting a name that is no skin (an empty one, a half-typed one, a file
    // that cannot be read) keeps the skin in use, so the windows never lose their colours.
    const std::string& name() const { return name_; }
    void setName(const std::string& name);
    // 4. Skinning on or off; off paints every window in the system's colours.
    bool active() const { return active_; }
    void setActive(bool active);

    // A window to recolour; it gets the current colours at once. It must outlive the engine's
    // use of it.
    void addForm(ui::Form& form);

private:
    std::optional<ui::ColorScheme> findScheme(const std::string& name) const;
    std::string skinFilePath(const std::string& name) const;
    void applyToForms() const;

    Files& files_;
    DirectoryLister lister_;
    std::string directory_;
    std::string name_;
    ui::ColorScheme scheme_;
    bool active_ = true;
    std::vector<ui::Form*> forms_;
};

}  // namespace kivra
