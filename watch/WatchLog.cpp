#include "watch/WatchLog.h"

#include <ostream>

namespace lanterna::watch {

std::string JournalLine(Priority priority, std::string_view text) {
    std::string line = "<" + std::to_string(static_cast<int>(priority)) + ">";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        line += byte < 0x20 || byte == 0x7F ? '?' : c;
    }
    return line + "\n";
}

void CStreamLog::Line(Priority priority, std::string_view text) {
    const std::string line = JournalLine(priority, text);
    std::lock_guard guard(mutex_);
    stream_ << line << std::flush;
}

}  // namespace lanterna::watch
