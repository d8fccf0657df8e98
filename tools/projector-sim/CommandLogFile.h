#pragma once
// Appends command lines to a file, one per line, each written and flushed as it arrives.

#include <string>
#include <string_view>

#include "tools/projector-sim/Sockets.h"

namespace lanterna::sim {

class CommandLogFile {
  public:
    // An empty path logs nothing. Each line is preceded by `prefix`.
    CommandLogFile(const std::string& path, std::string prefix);

    bool IsOpen() const { return fd_.Valid(); }
    // One write(2) per line on an O_APPEND descriptor, so lines of several projectors that
    // share the file never interleave.
    void Append(std::string_view line);

  private:
    UniqueFd fd_;
    std::string prefix_;
};

}  // namespace lanterna::sim
