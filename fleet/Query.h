#pragma once
// Query commands sent to a projector as they are, each reply kept: for looking at what a
// projector answers without reading all of its settings.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "fleet/FleetNetwork.h"
#include "fleet/Outcome.h"

namespace lanterna::fleet {

// Room for the largest value a query may deliver.
inline constexpr std::size_t kQueryValueSize = 1024;

enum class QueryStop {
    kNone,
    kConnectFailed,          // no link (or nothing is sent to the address)
    kNoReply,                // no usable reply to the connect request in time
    kAuthenticationRefused,  // the projector refused the password (`authentication`)
    kQueryFailed,            // the exchange of `failedCommand` failed
};

struct QueryResult {
    Outcome outcome = Outcome::kNotStarted;  // kQueried, kNotAnswering, kPasswordRefused, kFailed
    QueryStop stop = QueryStop::kNone;
    int authentication = 0;  // the link's authentication result behind kAuthenticationRefused
    std::string failedCommand;
    std::vector<std::pair<std::string, std::string>> values;  // command and reply, in order
};

// Sends each of `commands` (query words, checked by the caller to hold no control byte) to the
// projector at `address` over a link of its own, authenticated with `password`.
QueryResult QueryProjector(const FleetNetwork& network, const std::string& address,
                           const std::string& password, const std::vector<std::string>& commands);

}  // namespace lanterna::fleet
