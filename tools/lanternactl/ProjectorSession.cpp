#include "tools/lanternactl/ProjectorSession.h"

#include <array>
#include <cstdio>
#include <ostream>

#include "resources/StringIds.h"
#include "settings/ValidationRules.h"
#include "tools/lanternactl/FileCommandSupport.h"

namespace lanterna::cli {

namespace {

void Complain(CliContext& context, std::string_view command, std::string_view text) {
    context.err << "lanternactl " << command << ": " << text << "\n";
}

// A password file holds one short line; a few kibibytes leave room for anything beside it.
constexpr std::size_t kPasswordFileMaxBytes = 4096;

std::optional<std::string> ReadFirstLine(CliContext& context, std::string_view command,
                                         const std::string& path) {
    std::string content;
    if (!ReadInputFile(context, command, path, kPasswordFileMaxBytes, content)) {
        return std::nullopt;
    }
    std::string line = content.substr(0, content.find('\n'));
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
        password = ReadFirstLine(context, command, *options.passwordFile);
        if (!password) {
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

namespace {

struct WriteBit {
    std::uint32_t bit;
    std::string_view commands;
};

constexpr std::array<WriteBit, 17> kWriteBits = {{
    {0x1, "address configuration / wireless"},
    {0x2, "DNS domain"},
    {0x4, "DNS servers"},
    {0x8, "WINS servers"},
    {0x10, "mail notification"},
    {0x20, "SMTP server"},
    {0x40, "SMTP port"},
    {0x80, "recipient 1"},
    {0x100, "recipient 2"},
    {0x200, "recipient 3"},
    {0x400, "events 1"},
    {0x800, "events 2"},
    {0x1000, "events 3"},
    {0x2000, "trap address 1"},
    {0x4000, "trap address 2"},
    {0x8000, "community"},
    {0x10000, "projector name / primary interface"},
}};

}  // namespace

std::function<int(int)> TestMailAnswer(CliContext& context, std::optional<bool> testMail) {
    return [&context, testMail](int stringId) {
        context.err << MessageText(stringId) << "\n";
        bool yes = false;
        if (testMail) {
            yes = *testMail;
        } else if (context.askLine) {
            const auto line = context.askLine("Send a test mail? [y/N] ");
            yes = line && (*line == "y" || *line == "Y" || *line == "yes");
        }
        context.err << (yes ? "yes" : "no") << "\n";
        return yes ? kAnswerYes : kAnswerNo;
    };
}

namespace {

// Prints the write's outcome and the bits of the refused commands.
int ReportWrite(CliContext& context, std::string_view command, int result,
                std::uint32_t writeErrors) {
    std::array<char, 16> bits{};
    std::snprintf(bits.data(), bits.size(), "0x%x", writeErrors);
    context.out << "result: " << result << "\nwriteErrors: " << bits.data() << "\n";
    for (const WriteBit& entry : kWriteBits) {
        if ((writeErrors & entry.bit) != 0) {
            context.out << "  refused: " << entry.commands << "\n";
        }
    }
    if (result == 1) {
        context.out << MessageText(kStringWriteDone) << "\n";
        return kExitOk;
    }
    context.err << "lanternactl " << command << ": " << MessageText(kStringWriteFailed) << "\n";
    return kExitFailed;
}

}  // namespace

int WriteAndClose(CliContext& context, std::string_view command, CWorkerRunner& runner,
                  ApplicationState& state, std::int32_t writeAll) {
    state.SelectedRecord()->writeAll = writeAll;
    const int result = runner.Run(WorkerMode::kWrite, state);
    const int status = ReportWrite(context, command, result, state.writeErrors);
    CloseLink(state);
    return status;
}

// Takes "--test-mail yes|no" out of `args`. False for another value.
bool TakeTestMailOption(CliContext& context, std::string_view command,
                        std::vector<std::string>& args, std::optional<bool>& testMail) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--test-mail") {
            rest.push_back(args[i]);
            continue;
        }
        const std::string value = i + 1 < args.size() ? args[++i] : "";
        if (value != "yes" && value != "no") {
            context.err << "lanternactl " << command << ": --test-mail takes yes or no\n";
            return false;
        }
        testMail = value == "yes";
    }
    args = std::move(rest);
    return true;
}

}  // namespace lanterna::cli
