#pragma once
// The watcher's metrics in the text exposition format that Prometheus scrapes: gauges per
// projector (labels address, name, hardware_address) and the watcher's own counters.

#include <string>
#include <string_view>

#include "watch/WatchState.h"

namespace lanterna::watch {

// `text` as a label value: backslash, double quote and line feed escaped, other control bytes
// dropped.
std::string LabelValue(std::string_view text);

// The exposition of `state`.
std::string MetricsText(const WatchStateAll& state);

// Where the metrics go after each round (the HTTP endpoint keeps the last text).
// Threads: Publish is called from the watcher's thread; a sink serves it from its own.
class IMetricsSink {
  public:
    virtual ~IMetricsSink() = default;
    virtual void Publish(std::string text) = 0;
};

}  // namespace lanterna::watch
