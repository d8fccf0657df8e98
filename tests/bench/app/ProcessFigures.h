#pragma once
// Figures the start-up benchmarks print: a monotonic moment to compare with the launch time,
// and the peak resident memory of this process.

#include <QByteArray>
#include <QFile>
#include <ctime>

namespace lanterna::bench {

inline long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// VmHWM of /proc/self/status in kB, 0 when unknown.
inline long PeakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

}  // namespace lanterna::bench
