#include "tools/lanternactl/FleetCommand.h"

#include <ostream>

#include "fleet/JobRunner.h"
#include "tools/lanternactl/CommandHelp.h"

namespace lanterna::cli {

bool ParseCommand(CliContext& context, std::string_view command, CliArgs args,
                  CParsedArgs& parsed) {
    if (!ParseArguments(context, command, args, HelpOf(command).options, parsed)) {
        return false;
    }
    // Standard input can be read once: the second reader would find it empty and take it for
    // an empty list.
    if (parsed.Value("--targets") == "-" && parsed.Value("--passwords") == "-") {
        context.err << "lanternactl " << command
                    << ": --targets - and --passwords - cannot both read standard input\n";
        return false;
    }
    return TakeWait(context, command, parsed);
}

bool TakeWait(CliContext& context, std::string_view command, const CParsedArgs& parsed) {
    long seconds = 0;
    if (!NumberOption(context, command, parsed, "--wait", 1, kMaxWaitSeconds, seconds)) {
        return false;
    }
    if (seconds > 0) {
        const auto ms = static_cast<std::uint32_t>(seconds * 1000);
        context.network.helloQuietMs = ms;
        context.network.search.hello.quietMs = ms;
        context.network.search.secondary.listenMs = ms;
        context.network.search.pjlink.listenMs = ms;
    }
    return true;
}

TargetRequest RequestOf(const CParsedArgs& parsed, std::vector<std::string> words) {
    TargetRequest request;
    request.words = std::move(words);
    request.all = parsed.Has("--all");
    request.file = parsed.Value("--targets");
    return request;
}

bool LoadPasswordOptions(CliContext& context, std::string_view command,
                         const CParsedArgs& parsed, CPasswords& passwords) {
    if (const auto book = parsed.Value("--passwords"); book && !passwords.LoadBook(*book)) {
        return false;
    }
    if (const auto file = parsed.Value("--password-file"); file && !passwords.LoadOne(*file)) {
        return false;
    }
    return TakeKeyringOption(context, command, parsed, passwords);
}

bool TakeKeyringOption(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                       CPasswords& passwords) {
    if (parsed.Has("--keyring")) {
        std::unique_ptr<fleet::ICredentialStore> keyring =
            context.openKeyring ? context.openKeyring() : nullptr;
        if (!keyring) {
            PrintCommandError(context, command,
                              "--keyring: no desktop keyring answers (a Secret Service on the "
                              "session bus of a desktop session)");
            return false;
        }
        passwords.UseKeyring(std::move(keyring));
    }
    return true;
}

bool TakeJobsAndType(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                     long& jobs, long& type) {
    jobs = fleet::kDefaultJobs;
    type = -1;
    return NumberOption(context, command, parsed, "--jobs", 1, fleet::kMaxJobs, jobs) &&
           NumberOption(context, command, parsed, "--type", 0, 255, type);
}

void ForceType(std::vector<Target>& targets, long type) {
    if (type < 0) {
        return;
    }
    for (Target& target : targets) {
        target.imType = static_cast<std::uint8_t>(type);
    }
}

}  // namespace lanterna::cli
