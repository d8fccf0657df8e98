// Feeds arbitrary bytes to the decoders of what projectors send: the hello reply datagram, the
// reply text of a command (value extraction, error check, event notices).

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "link/CommandLine.h"
#include "link/DiscoveredProjector.h"
#include "link/Ports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lanterna;
    if (size == 0) {
        return 0;
    }
    // The first byte picks a value size, so cut copies of every length are tried.
    const std::size_t valueSize = data[0] % 40;
    const std::span<const std::uint8_t> rest(data + 1, size - 1);

    const auto projector = DecodeHelloReply(rest, "192.0.2.1", kProjectorPort, kProjectorPort);
    if (projector && (projector->name.back() != '\0' || projector->address.back() != '\0')) {
        __builtin_trap();  // decoded texts always keep their terminator
    }

    const std::string_view reply(reinterpret_cast<const char*>(rest.data()), rest.size());
    std::array<char, 41> value;
    value.fill('#');
    const int extracted = ExtractQueryValue(reply, "NWPNAME", value.data(), valueSize);
    if (value[valueSize] != '#' || (extracted != 1 && value[0] != '#')) {
        __builtin_trap();  // nothing beyond valueSize is written, nothing at all on failure
    }
    const std::string_view first = FirstReply(reply);
    const QueryAnswer answer = ReadQueryAnswer(first, "NWPNAME");
    if (first.size() > reply.size() ||
        (answer.kind == QueryAnswer::Kind::kValue &&
         (answer.value.data() < first.data() ||
          answer.value.data() + answer.value.size() > first.data() + first.size()))) {
        __builtin_trap();  // the value lies inside the first reply
    }
    IsErrorReply(reply);
    const EventNotice notice = FindEventNotice(reply);
    if (notice.action != EventNotice::Action::kNone &&
        reply.substr(notice.position, kEventNoticeMark.size()) != kEventNoticeMark) {
        __builtin_trap();
    }
    return 0;
}
