#include "tools/lanternactl/ProjectorSession.h"

#include <fstream>
#include <ostream>

#include "resources/StringIds.h"
#include "settings/ValidationRules.h"

namespace lanterna::cli {

namespace {

void Complain(CliContext& context, std::string_view command, std::string_view text) {
    context.err << "lanternactl " << command << ": " << text << "\n";
}

std::optional<std::string> ReadFirstLine(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string line;
    if (!file || !std::getline(file, line)) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

}  // namespace

bool TakeSessionOptions(CliContext& context, std::string_view command, CliArgs args,
                        SessionOptions& options, std::vector<std::string>& rest) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--password-file") {
            if (i + 1 >= args.size()) {
                Complain(context, command, "--password-file needs a file");
                return false;
            }
            options.passwordFile = args[++i];
            continue;
        }
        rest.push_back(args[i]);
    }
    return true;
}

bool SelectAddress(CliContext& context, std::string_view command, ApplicationState& state,
                   const std::string& address) {
    std::array<int, 4> numbers{};
    if (ClassifyAddressText(address, AddressTextMode::kSyntax) != kAddressTextValid ||
        ScanDotted(address, numbers) != 4 || address.size() > 20) {
        Complain(context, command, "'" + address + "' is not a dotted IPv4 address");
        return false;
    }
    ProjectorRecord record{};
    record.origin = kOriginAddress;
    CopyText(record.address, address);
    ScanDottedInto(address, record.ipAddress);
    state.projectors.Clear();
    state.projectors.Append(record);
    state.selectedIndex = 0;
    CopyText(state.currentAddress, address);
    return true;
}

std::optional<std::string> TakePassword(CliContext& context, std::string_view command,
                                        const SessionOptions& options) {
    std::optional<std::string> password;
    if (options.passwordFile) {
        password = ReadFirstLine(*options.passwordFile);
        if (!password) {
            Complain(context, command, "cannot read the password file " + *options.passwordFile);
            return std::nullopt;
        }
    } else if (auto fromEnvironment = context.environment("LANTERNA_PASSWORD")) {
        password = std::move(fromEnvironment);
    } else if (context.askHidden) {
        password = context.askHidden("Projector password: ");
    }
    if (!password) {
        Complain(context, command,
                 "the projector needs a password: set LANTERNA_PASSWORD, use --password-file "
                 "or run on a terminal");
        return std::nullopt;
    }
    if (password->size() > kMaxPasswordBytes) {
        Complain(context, command, MessageText(kStringPasswordWrong));
        return std::nullopt;
    }
    return password;
}

int ReadFailureMessage(int result) {
    switch (result) {
        case 0:
            return kStringAuthenticationFailed;
        case -3:
            return kStringProjectorNotSupported;
        case -2:
            return kStringConnectFailed;
        default:
            return kStringCannotContinue;
    }
}

int OpenProjector(CliContext& context, std::string_view command, ApplicationState& state,
                  CWorkerRunner& runner, const SessionOptions& options, int readAllSettings) {
    ProjectorRecord* record = state.SelectedRecord();
    const int probe = runner.Run(WorkerMode::kProbe, state);
    if (probe == 1) {
        CopyText(record->password, "");
    } else if (probe == 2) {
        const auto password = TakePassword(context, command, options);
        if (!password) {
            return kExitFailed;
        }
        CopyText(record->password, *password);
    } else {
        Complain(context, command,
                 MessageText(probe == 0 ? kStringOtherLinkOpen : kStringConnectFailed));
        return kExitFailed;
    }
    state.readAllSettings = readAllSettings;
    const int read = runner.Run(WorkerMode::kRead, state);
    if (read != 1) {
        Complain(context, command, MessageText(ReadFailureMessage(read)));
        CloseLink(state);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace lanterna::cli
