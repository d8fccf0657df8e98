#include "tools/projector-sim/CommandLogFile.h"

#include <fcntl.h>
#include <unistd.h>

namespace lanterna::sim {

CommandLogFile::CommandLogFile(const std::string& path, std::string prefix)
    : prefix_(std::move(prefix)) {
    if (!path.empty()) {
        fd_.Reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    }
}

void CommandLogFile::Append(std::string_view line) {
    if (!fd_.Valid()) {
        return;
    }
    std::string text = prefix_;
    text.append(line);
    text.push_back('\n');
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd_.Get(), rest.data(), rest.size());
        if (written <= 0) {
            return;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace lanterna::sim
