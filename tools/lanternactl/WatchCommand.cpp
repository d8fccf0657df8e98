#include <unistd.h>

#include <optional>
#include <ostream>

#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/SignalWaiter.h"
#include "watch/PjlinkProbe.h"
#include "watch/WatchFiles.h"
#include "watch/Watcher.h"
#include "watch/adapters/GitRepository.h"
#include "watch/adapters/MailRelay.h"
#include "watch/adapters/MetricsServer.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kWatchCommandName = "watch";

std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return name;
}

// The relay's password, from its credential or its file; none with why in `problem`.
std::optional<std::string> RelayPassword(CliContext& context, const watch::MailConfig& mail,
                                         std::string& problem) {
    std::optional<std::string> text;
    if (!mail.passwordCredential.empty()) {
        text = watch::ReadCredential(context.environment("CREDENTIALS_DIRECTORY"),
                                     mail.passwordCredential, problem);
    } else if (!mail.passwordFile.empty()) {
        text = watch::ReadSecretFile(mail.passwordFile, problem);
        problem = mail.passwordFile + ": " + problem;
    } else {
        return std::string();
    }
    if (text) {
        text = text->substr(0, text->find_first_of("\r\n"));
    }
    return text;
}

// The adapters of one watch, kept while it runs and renewed on a reload.
struct WatchAdapters {
    std::optional<watch::CGitRepository> repository;
    watch::CMetricsServer metrics;
    std::optional<watch::CMailRelay> mail;
    std::optional<watch::CPjlinkProbe> health;
    std::string host;
};

// Sets up the repository and the mail of `config`; false after a logged problem, with nothing
// changed.
bool TakeAdapters(CliContext& context, const watch::WatchConfig& config, WatchAdapters& adapters,
                  watch::IWatchLog& log) {
    std::optional<std::string> password = std::string();
    if (!config.mail.relay.empty()) {
        std::string problem;
        password = RelayPassword(context, config.mail, problem);
        if (!password) {
            log.Line(watch::Priority::kError, "lanternactl watch: [mail]: " + problem);
            return false;
        }
    }
    adapters.repository.reset();
    if (!config.repository.empty()) {
        adapters.repository.emplace(config.repository, adapters.host);
    }
    adapters.mail.reset();
    if (!config.mail.relay.empty()) {
        adapters.mail.emplace(config.mail, *password);
    }
    return true;
}

watch::WatchServices ServicesOf(CliContext& context, WatchAdapters& adapters,
                                watch::IWatchLog& log, bool metrics) {
    watch::WatchServices services;
    services.network = context.network;
    services.log = &log;
    services.versions = adapters.repository ? &*adapters.repository : nullptr;
    services.metrics = metrics ? &adapters.metrics : nullptr;
    services.mail = adapters.mail ? &*adapters.mail : nullptr;
    services.health = adapters.health ? &*adapters.health : nullptr;
    services.host = adapters.host;
    return services;
}

int RunWatch(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    if (!ParseCommand(context, kWatchCommandName, args, parsed)) {
        return kExitUsage;
    }
    if (parsed.positional.size() != 1) {
        PrintUsageError(context.err, kWatchCommandName);
        return kExitUsage;
    }
    const std::string path = parsed.positional.front();
    watch::CStreamLog log(context.err);
    std::string problem;
    std::optional<watch::WatchSetup> setup =
        watch::LoadWatchSetup(path, context.environment, problem);
    if (!setup) {
        log.Line(watch::Priority::kError, "lanternactl watch: " + problem);
        return kExitFailed;
    }
    WatchAdapters adapters;
    adapters.host = HostName();
    if (!TakeAdapters(context, setup->config, adapters, log)) {
        return kExitFailed;
    }
    if (parsed.Has("--check")) {
        context.out << path << ": " << setup->targets.size() << " targets"
                    << (setup->config.all ? " and every projector a search finds" : "") << "\n";
        return kExitOk;
    }
    const watch::WatchConfig& config = setup->config;
    if (config.metrics && !adapters.metrics.Start(config.metricsHost, config.metricsPort, problem)) {
        log.Line(watch::Priority::kError, "lanternactl watch: [metrics]: " + problem);
        return kExitFailed;
    }
    if (config.metrics) {
        log.Line(watch::Priority::kInfo, "metrics: http://" + config.metricsHost + ":" +
                                             std::to_string(adapters.metrics.Port()) + "/metrics");
    }
    CSignalWaiter waiter;
    if (!waiter.Ready()) {
        log.Line(watch::Priority::kError, "lanternactl watch: no pipe for the signals");
        return kExitFailed;
    }
    log.Line(watch::Priority::kNotice, "watching " + std::to_string(setup->targets.size()) +
                                           " targets" + (config.all ? " and the search's" : ""));
    const bool metrics = config.metrics;
    adapters.health.emplace(context.network, setup->pjlinkPasswords, &waiter.StopFlag());
    watch::CWatcher watcher(std::move(*setup), ServicesOf(context, adapters, log, metrics),
                            waiter.StopFlag());
    watcher.Run(waiter, [&]() -> std::optional<watch::WatchSetup> {
        std::string why;
        auto next = watch::LoadWatchSetup(path, context.environment, why);
        if (!next) {
            log.Line(watch::Priority::kError, "reload refused, the configuration in force kept: " + why);
            return std::nullopt;
        }
        if (!TakeAdapters(context, next->config, adapters, log)) {
            return std::nullopt;
        }
        adapters.health->SetPasswords(next->pjlinkPasswords);
        watcher.Services() = ServicesOf(context, adapters, log, metrics);
        return next;
    });
    return kExitOk;
}

}  // namespace

const CliCommand kWatchCommand{"watch", &RunWatch};

}  // namespace lanterna::cli
