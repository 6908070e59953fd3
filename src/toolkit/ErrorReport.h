// The application-wide error report. An operation that cannot go on throws KivraError with
// its message; the message boundary of the window procedure (or of the start-up sequence)
// catches it and shows the report, and the program goes on with the next message.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/Platform.h"

namespace kivra {

class KivraError : public std::runtime_error {
public:
    explicit KivraError(const std::string& message) : std::runtime_error(message) {}
};

// The application's title: the executable's file name cut at its first ".", every letter
// after the first one in lower case ("KIVRA.EXE" -> "Kivra").
std::string ApplicationTitle(const std::string& executablePath);

// The report's text: the message, with a "." added when its last character sorts after ".".
std::string ErrorReportText(const std::string& message);

// Shows the report: an error box titled with the application's title.
void ShowErrorReport(Platform& platform, const std::string& message);

}  // namespace kivra
