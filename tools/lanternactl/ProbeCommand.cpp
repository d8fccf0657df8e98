#include <array>
#include <optional>
#include <ostream>
#include <string>

#include "record/DottedAddress.h"
#include "resources/StringTable.h"
#include "settings/AddressRules.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/DiscoveryCommands.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

// Four numbers 0 to 255 and nothing else, written back as "%d.%d.%d.%d" as the address-entry
// dialog writes what the user typed.
std::optional<std::string> CanonicalAddress(std::string_view text) {
    std::array<int, 4> numbers{};
    if (ClassifyAddressText(text, AddressTextMode::kSyntax) != kAddressTextValid ||
        ScanDotted(text, numbers) != 4) {
        return std::nullopt;
    }
    Octets octets{};
    for (std::size_t i = 0; i < octets.size(); ++i) {
        octets[i] = static_cast<std::uint8_t>(numbers[i]);
    }
    return FormatDotted(octets);
}

int RunProbeCommand(CliContext& context, CliArgs args) {
    return RunProbe(context, args, AddressProbeOptions{});
}

}  // namespace

int RunProbe(CliContext& context, CliArgs args, const AddressProbeOptions& options) {
    if (args.size() != 1) {
        context.err << "lanternactl probe: usage: lanternactl probe ADDRESS\n";
        return kExitUsage;
    }
    const auto address = CanonicalAddress(args[0]);
    if (!address) {
        context.err << "lanternactl probe: " << LoadString(kStringBadIpAddress) << "\n";
        return kExitUsage;
    }
    CAddressProbe probe(options);
    ProbeAnswer answer;
    if (probe.Run(*address, answer) != 1) {
        if (probe.HelloFailed()) {
            context.err << "lanternactl probe: the hello could not be sent (UDP port "
                        << options.localPort << " taken, or no route to " << *address << ")\n";
        } else {
            context.err << "lanternactl probe: nothing answered at " << *address << " within "
                        << kHelloWaitMs / 1000 << " seconds\n";
        }
        return kExitFailed;
    }
    context.out << TerminalText(TextOf(answer.name)) << '\t' << static_cast<int>(answer.imType)
                << '\n';
    return kExitOk;
}

const CliCommand kProbeCommand{
    "probe", "probe ADDRESS",
    "Ask one address with a hello whether a projector answers there; prints its name and "
    "module type.",
    &RunProbeCommand};

}  // namespace lanterna::cli
