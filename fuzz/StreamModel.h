// A plain model of how WinLIRC's bytes become signals, for the stream fuzz targets: a line is
// everything up to and including an LF; a line longer than the framer's cap before its LF is
// dropped; a new connection forgets the partial line; a line carries a button when it holds
// three blanks and a non-empty third field.
#pragma once

#include <string>
#include <vector>

#include "link/SignalReception.h"
#include "platform/TextCodec.h"

namespace fuzzmodel {

class ModelFramer {
public:
    std::vector<std::string> push(const std::string& bytes) {
        std::vector<std::string> lines;
        for (const char c : bytes) {
            if (c == '\n') {
                if (partial_.size() <= kivra::LineFramer::kMaxPartial) lines.push_back(partial_ + c);
                partial_.clear();
            } else {
                partial_ += c;
            }
        }
        return lines;
    }
    void reset() { partial_.clear(); }

private:
    std::string partial_;
};

// What the last command panel shows for a line, or false when the line carries no button.
inline bool ExpectedShow(const std::string& line, std::string& shown) {
    std::size_t blanks[3];
    std::size_t from = 0;
    for (std::size_t& blank : blanks) {
        blank = line.find(' ', from);
        if (blank == std::string::npos) return false;
        from = blank + 1;
    }
    const std::string button = line.substr(blanks[1] + 1, blanks[2] - blanks[1] - 1);
    if (button.empty()) return false;
    const std::string remote = line.substr(blanks[2] + 1, line.size() - blanks[2] - 2);  // less the LF
    shown = "Последняя команда: " + kivra::Utf8FromCp1251(remote) + "->" + kivra::Utf8FromCp1251(button);
    return true;
}

}  // namespace fuzzmodel
