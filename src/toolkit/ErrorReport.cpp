#include "toolkit/ErrorReport.h"

#include <cctype>

namespace kivra {

std::string ApplicationTitle(const std::string& executablePath) {
    std::string name = executablePath.substr(executablePath.find_last_of("\\/") + 1);
    name = name.substr(0, name.find('.'));
    for (size_t i = 1; i < name.size(); ++i)
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

std::string ErrorReportText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

void ShowErrorReport(Platform& platform, const std::string& message) {
    platform.windows.errorBox(ApplicationTitle(platform.files.executablePath()), ErrorReportText(message));
}

}  // namespace kivra
