#pragma once
// Diagnostic lines: DebugTrace formats like printf (at most 4095 bytes) and writes the text and
// "\r\n" to standard error. It shows nothing to the user.
//
// Thread-safe: lines from several threads never mix. Tests may catch the lines with
// CDebugTraceCapture.

#include <mutex>
#include <string>
#include <vector>

namespace lanterna {

void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// While it lives, DebugTrace hands each line (with its "\r\n") to this object instead of
// standard error. One at a time.
class CDebugTraceCapture {
  public:
    CDebugTraceCapture();
    ~CDebugTraceCapture();
    CDebugTraceCapture(const CDebugTraceCapture&) = delete;
    CDebugTraceCapture& operator=(const CDebugTraceCapture&) = delete;

    std::vector<std::string> Lines() const;

  private:
    friend void DebugTrace(const char* format, ...);
    void Add(std::string line);

    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace lanterna
