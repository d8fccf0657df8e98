#include "fleet/Query.h"

#include <array>

#include "link/ProjectorLink.h"

namespace lanterna::fleet {

QueryResult QueryProjector(const FleetNetwork& network, const std::string& address,
                           const std::string& password, const std::vector<std::string>& commands) {
    QueryResult result;
    const std::optional<std::string> routed = network.RouteOf(address);
    CProjectorLink link;
    if (!routed || link.Connect(*routed, network.projectorPort) != 1) {
        result.outcome = Outcome::kNotAnswering;
        result.stop = QueryStop::kConnectFailed;
        return result;
    }
    const int authenticated = link.Authenticate(password);
    if (authenticated == -1) {
        result.outcome = Outcome::kFailed;
        result.stop = QueryStop::kNoReply;
        return result;
    }
    if (authenticated != 1) {
        result.outcome = Outcome::kPasswordRefused;
        result.stop = QueryStop::kAuthenticationRefused;
        result.authentication = authenticated;
        return result;
    }
    for (const std::string& command : commands) {
        std::array<char, kQueryValueSize + 1> value{};
        if (link.Exchange(command, nullptr, value.data(), kQueryValueSize, true, true) != 1) {
            result.outcome = Outcome::kFailed;
            result.stop = QueryStop::kQueryFailed;
            result.failedCommand = command;
            link.Close();
            return result;
        }
        result.values.emplace_back(command, value.data());
    }
    link.Close();
    result.outcome = Outcome::kQueried;
    return result;
}

}  // namespace lanterna::fleet
