#include <array>
#include <ostream>
#include <string>

#include "link/Ports.h"
#include "link/ProjectorLink.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

// Room for the largest value a query may deliver, plus its terminator.
constexpr std::size_t kQueryValueSize = 1024;

int RunQuery(CliContext& context, CliArgs args) {
    if (args.size() < 2) {
        context.err << "lanternactl query: usage: lanternactl query ADDRESS COMMAND...\n";
        return kExitUsage;
    }
    const std::string& address = args[0];
    // A carriage return inside a word would end its line early and send a command of its own.
    if (!CheckCommandWords(context, "query", args.subspan(1))) {
        return kExitUsage;
    }
    // Never from the command line, where other users could read it.
    const std::string password = context.environment("LANTERNA_PASSWORD").value_or("");

    CProjectorLink link;
    if (link.Connect(address, kProjectorPort) != 1) {
        context.err << "lanternactl query: connect to " << address << " failed\n";
        return kExitFailed;
    }
    const int authenticated = link.Authenticate(password);
    if (authenticated == -1) {
        context.err << "lanternactl query: no usable reply to the connect request from " << address
                    << " within " << kLinkTimeoutMs / 1000 << " seconds\n";
        return kExitFailed;
    }
    if (authenticated != 1) {
        context.err << "lanternactl query: authentication refused by " << address << " (result "
                    << authenticated << ")\n";
        return kExitFailed;
    }
    for (const std::string& command : args.subspan(1)) {
        std::array<char, kQueryValueSize + 1> value{};
        if (link.Exchange(command, nullptr, value.data(), kQueryValueSize, true, true) != 1) {
            context.err << "lanternactl query: query " << command << " failed\n";
            return kExitFailed;
        }
        context.out << command << "=" << TerminalText(value.data()) << "\n";
    }
    link.Close();
    return kExitOk;
}

}  // namespace

const CliCommand kQueryCommand{
    "query", "query ADDRESS COMMAND...",
    "Ask a projector for values (e.g. NWPNAME); the password comes from LANTERNA_PASSWORD.",
    &RunQuery};

}  // namespace lanterna::cli
