#include "state/DebugTrace.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace lanterna {

namespace {

constexpr std::size_t kTraceBufferSize = 4096;

std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}

CDebugTraceCapture*& ActiveCapture() {
    static CDebugTraceCapture* capture = nullptr;
    return capture;
}

}  // namespace

void DebugTrace(const char* format, ...) {
    std::array<char, kTraceBufferSize> buffer{};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
    va_end(arguments);
    std::string line(buffer.data());
    line += "\r\n";

    std::lock_guard guard(SinkMutex());
    if (CDebugTraceCapture* capture = ActiveCapture()) {
        capture->Add(std::move(line));
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

CDebugTraceCapture::CDebugTraceCapture() {
    std::lock_guard guard(SinkMutex());
    ActiveCapture() = this;
}

CDebugTraceCapture::~CDebugTraceCapture() {
    std::lock_guard guard(SinkMutex());
    if (ActiveCapture() == this) {
        ActiveCapture() = nullptr;
    }
}

std::vector<std::string> CDebugTraceCapture::Lines() const {
    std::lock_guard guard(mutex_);
    return lines_;
}

void CDebugTraceCapture::Add(std::string line) {
    std::lock_guard guard(mutex_);
    lines_.push_back(std::move(line));
}

}  // namespace lanterna
