#include "watch/Watcher.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "fleet/AuditFindings.h"
#include "fleet/JobRunner.h"
#include "fleet/NetworkSearch.h"
#include "fleet/TargetRoad.h"

namespace lanterna::watch {

namespace {

using Steady = std::chrono::steady_clock;

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

std::string NameOf(const ProjectorWatch& projector) {
    return projector.name.empty() ? projector.target.address
                                  : projector.name + " (" + projector.target.address + ")";
}

std::vector<ProjectorWatch> WatchesOf(const std::vector<fleet::Target>& targets,
                                      std::vector<ProjectorWatch> before) {
    std::map<std::string, ProjectorWatch*> known;
    for (ProjectorWatch& projector : before) {
        known[projector.target.address] = &projector;
    }
    std::vector<ProjectorWatch> watches;
    watches.reserve(targets.size());
    for (const fleet::Target& target : targets) {
        const auto found = known.find(target.address);
        watches.push_back(found != known.end() ? std::move(*found->second) : ProjectorWatch{});
        watches.back().target = target;
    }
    return watches;
}

}  // namespace

CWatcher::CWatcher(WatchSetup setup, WatchServices services, const std::atomic<bool>& stop)
    : services_(std::move(services)), stop_(stop) {
    Take(std::move(setup));
}

void CWatcher::Take(WatchSetup setup) {
    setup_ = std::move(setup);
    state_.projectors = WatchesOf(setup_.targets, std::move(state_.projectors));
    repositoryReady_ = false;
    if (setup_.config.all) {
        FindAllTargets();
    }
}

void CWatcher::FindAllTargets() {
    const fleet::SearchResult search = fleet::SearchNetwork(services_.network.search);
    if (!search.Ran()) {
        services_.log->Line(Priority::kWarning, "search: the search for every projector could not run");
    }
    std::vector<fleet::Target> targets = setup_.targets;
    fleet::CTargetList list(targets);
    for (const fleet::FoundProjector& found : search.found) {
        if (list.Add(fleet::TargetOf(found)) == fleet::TargetProblem::kTooMany) {
            break;
        }
    }
    state_.projectors = WatchesOf(targets, std::move(state_.projectors));
}

fleet::RunControl CWatcher::Control() const {
    fleet::RunControl control;
    control.bounds.jobs = setup_.config.jobs;
    control.bounds.maxFailures = setup_.config.maxFailures;
    control.bounds.cancel = &stop_;
    return control;
}

void CWatcher::Finished(RoundKind kind, Steady::time_point began, std::size_t failures,
                        RoundEnd end) {
    RoundCounters& counters = state_.rounds[static_cast<std::size_t>(kind)];
    counters.rounds += 1;
    counters.failures += failures;
    counters.lastSeconds = std::chrono::duration<double>(Steady::now() - began).count();
    services_.log->Line(
        end == RoundEnd::kFinished ? Priority::kInfo : Priority::kNotice,
        std::string(RoundName(kind)) + " round " +
            (end == RoundEnd::kFinished ? "finished" : "abandoned") + " in " +
            Seconds(counters.lastSeconds) + ": " + std::to_string(failures) + " of " +
            std::to_string(state_.projectors.size()) + " projectors failed");
}

RoundEnd CWatcher::PresenceRound(Clock::time_point now) {
    const Steady::time_point began = Steady::now();
    std::vector<std::string> addresses;
    addresses.reserve(state_.projectors.size());
    for (const ProjectorWatch& projector : state_.projectors) {
        addresses.push_back(projector.target.address);
    }
    HelloSweepOptions options;
    options.quietMs = services_.network.helloQuietMs;
    const std::vector<HelloAnswer> answers =
        fleet::SweepAddresses(services_.network, addresses, options);
    std::vector<AlertEvent> events;
    std::size_t silent = 0;
    for (std::size_t i = 0; i < state_.projectors.size(); ++i) {
        ProjectorWatch& projector = state_.projectors[i];
        const bool answered = i < answers.size() && answers[i].has_value();
        if (answered && projector.name.empty()) {
            projector.name = std::string(TextOf(answers[i]->name));
        }
        if (answered != projector.answered || !projector.everAnswered) {
            services_.log->Line(answered ? Priority::kInfo : Priority::kWarning,
                                NameOf(projector) + (answered ? " answers" : " does not answer"));
        }
        if (!answered && projector.silentSince == Clock::time_point{}) {
            projector.silentSince = now;
        }
        if (answered) {
            projector.silentSince = {};
        }
        projector.answered = answered;
        projector.everAnswered = projector.everAnswered || answered;
        silent += answered ? 0 : 1;
        PresenceAlerts(projector, now, setup_.config.mail.graceSeconds, events);
    }
    Finished(RoundKind::kPresence, began, silent, RoundEnd::kFinished);
    Alert(std::move(events));
    Publish();
    return RoundEnd::kFinished;
}

RoundEnd CWatcher::HealthRound() {
    if (services_.health == nullptr) {
        return RoundEnd::kFinished;
    }
    const Steady::time_point began = Steady::now();
    std::vector<std::optional<HealthReading>> readings(state_.projectors.size());
    const fleet::RunControl control = Control();
    // A projector silent in the last presence round is not asked: its connect would only wait
    // out its deadline.
    const fleet::RunSummary summary =
        fleet::RunJobs(readings.size(), control.bounds, [&](std::size_t i) {
            if (state_.projectors[i].answered) {
                readings[i] = services_.health->Probe(state_.projectors[i].target);
            }
            return readings[i].has_value();
        });
    std::vector<AlertEvent> events;
    for (std::size_t i = 0; i < summary.started; ++i) {
        ProjectorWatch& projector = state_.projectors[i];
        const bool read = readings[i].has_value();
        if (read) {
            HealthAlerts(projector, *readings[i], setup_.config.lampHours, events);
        } else {
            projector.health = {};  // a value not read this round is not published as current
        }
        if (projector.answered && projector.healthAnswered != read) {
            services_.log->Line(read ? Priority::kInfo : Priority::kWarning,
                                NameOf(projector) + (read ? ": health read over PJLink"
                                                          : ": no health reading over PJLink"));
            projector.healthAnswered = read;
        }
    }
    const RoundEnd end =
        summary.started == readings.size() ? RoundEnd::kFinished : RoundEnd::kAbandoned;
    Finished(RoundKind::kHealth, began, summary.failures, end);
    Alert(std::move(events));
    Publish();
    return end;
}

void CWatcher::TemplateDrift(ProjectorWatch& projector, const ProjectorRecord& record,
                             std::vector<AlertEvent>& events) {
    if (!setup_.settingsTemplate) {
        projector.templateDrift.reset();
        return;
    }
    const std::vector<std::string> words =
        DifferenceWords(fleet::DiffTemplate(record, *setup_.settingsTemplate));
    projector.templateDrift = words.size();
    std::string joined;
    for (const std::string& one : words) {
        joined += (joined.empty() ? "" : ", ") + one;
    }
    TemplateAlerts(projector, joined, setup_.config.templateFile, events);
}

void CWatcher::TakeReadings(const std::vector<fleet::SiteReading>& readings,
                            const BackupRoundResult& written, std::vector<AlertEvent>& events) {
    std::vector<fleet::AuditedProjector> audited;
    std::vector<std::size_t> auditedIndex;
    for (std::size_t i = 0; i < readings.size() && i < state_.projectors.size(); ++i) {
        const fleet::SiteReading& reading = readings[i];
        ProjectorWatch& projector = state_.projectors[i];
        if (!reading.record) {
            continue;
        }
        const BackupChange& change = written.projectors[i];
        projector.name = change.name;
        projector.mac = reading.wiredMac.empty() ? reading.wirelessMac : reading.wiredMac;
        projector.lastRead = reading.readAt;
        projector.drift = change.changes.size();
        projector.findings = {};
        TemplateDrift(projector, *reading.record, events);
        audited.push_back({reading.target.address, *reading.record, reading.passwordSet});
        auditedIndex.push_back(i);
        if (!change.changes.empty()) {
            std::string words;
            for (const std::string& one : change.changes) {
                words += (words.empty() ? "" : ", ") + one;
            }
            events.push_back({AlertKind::kDrift, change.name, reading.target.address, words, ""});
        }
    }
    for (const fleet::Finding& finding : fleet::Audit(audited)) {
        const auto severity = static_cast<std::size_t>(finding.kind->severity);
        state_.projectors[auditedIndex[finding.projector]].findings[severity] += 1;
    }
}

void CWatcher::Commit(const BackupRoundResult& written) {
    if (services_.versions == nullptr) {
        return;
    }
    std::string problem;
    switch (services_.versions->Commit(written.message, problem)) {
        case IVersionStore::Result::kCommitted:
            state_.commits += 1;
            services_.log->Line(Priority::kNotice, "backup: committed, " +
                                                       std::to_string(written.ChangedCount()) +
                                                       " projectors changed");
            break;
        case IVersionStore::Result::kUnchanged:
            services_.log->Line(Priority::kInfo, "backup: nothing changed, no commit");
            break;
        case IVersionStore::Result::kFailed:
            services_.log->Line(Priority::kError, "backup: no commit: " + problem);
            break;
    }
}

RoundEnd CWatcher::BackupRound(Clock::time_point now) {
    (void)now;
    if (setup_.config.repository.empty()) {
        return RoundEnd::kFinished;
    }
    const Steady::time_point began = Steady::now();
    if (setup_.config.all) {
        FindAllTargets();
    }
    std::string problem;
    if (!repositoryReady_ && services_.versions != nullptr &&
        !(repositoryReady_ = services_.versions->Prepare(problem))) {
        services_.log->Line(Priority::kError, "backup: " + problem);
        return RoundEnd::kFinished;
    }
    std::vector<fleet::SiteReading> readings(state_.projectors.size());
    for (std::size_t i = 0; i < readings.size(); ++i) {
        readings[i].target = state_.projectors[i].target;
    }
    fleet::ReadSiteInto(services_.network, *setup_.passwords, readings, true, Control());
    std::size_t failures = 0;
    std::size_t notStarted = 0;
    for (const fleet::SiteReading& reading : readings) {
        failures += reading.record ? 0 : 1;
        notStarted += reading.outcome == fleet::Outcome::kNotStarted ? 1 : 0;
    }
    const RoundEnd end = notStarted > 0 && stop_ ? RoundEnd::kAbandoned : RoundEnd::kFinished;
    std::vector<AlertEvent> events;
    if (end == RoundEnd::kFinished) {
        const BackupRoundResult written = WriteRepositoryBackup(setup_.config.repository, readings);
        TakeReadings(readings, written, events);
        Commit(written);
    }
    Finished(RoundKind::kBackup, began, failures, end);
    Alert(std::move(events));
    Publish();
    return end;
}

void CWatcher::Publish() {
    if (services_.metrics != nullptr) {
        services_.metrics->Publish(MetricsText(state_));
    }
}

void CWatcher::Alert(std::vector<AlertEvent> events) {
    if (events.empty() || services_.mail == nullptr || setup_.config.mail.relay.empty()) {
        return;
    }
    const MailMessage message = AlertMail(events, setup_.config.mail, services_.host);
    std::string problem;
    if (services_.mail->Send(message, problem)) {
        state_.mailsSent += 1;
        services_.log->Line(Priority::kNotice, "mail: " + std::to_string(events.size()) +
                                                   " alerts sent to " +
                                                   std::to_string(message.to.size()) +
                                                   " recipients");
    } else {
        state_.mailsFailed += 1;
        services_.log->Line(Priority::kError, "mail: not sent: " + problem);
    }
}

void CWatcher::Run(IWatchWaiter& waiter,
                   const std::function<std::optional<WatchSetup>()>& reload) {
    Publish();
    std::array<Steady::time_point, kRoundKinds> next;
    next.fill(Steady::now());
    while (!stop_) {
        const std::array<std::uint32_t, kRoundKinds> intervals = {
            setup_.config.presenceSeconds, setup_.config.healthSeconds,
            setup_.config.backupSeconds};
        const auto due = std::min_element(next.begin(), next.end());
        const Steady::time_point now = Steady::now();
        // Asked even when a round is due, so that a reload is never starved by busy rounds.
        const auto wait = *due > now ? std::chrono::ceil<std::chrono::milliseconds>(*due - now)
                                     : std::chrono::milliseconds(0);
        const WakeReason reason = waiter.Wait(wait);
        if (reason == WakeReason::kStop) {
            break;
        }
        if (reason == WakeReason::kReload) {
            if (auto setup = reload()) {
                Take(std::move(*setup));
                services_.log->Line(Priority::kNotice,
                                    "configuration reloaded: " +
                                        std::to_string(state_.projectors.size()) + " projectors");
            }
            continue;
        }
        if (Steady::now() < *due) {
            continue;
        }
        const auto kind = static_cast<RoundKind>(due - next.begin());
        *due = now + std::chrono::seconds(intervals[static_cast<std::size_t>(kind)]);
        const RoundEnd end = kind == RoundKind::kPresence ? PresenceRound(Clock::now())
                             : kind == RoundKind::kHealth ? HealthRound()
                                                          : BackupRound(Clock::now());
        if (stop_) {
            services_.log->Line(Priority::kNotice,
                                "stopping: the " + std::string(RoundName(kind)) + " round was " +
                                    (end == RoundEnd::kFinished ? "finished" : "abandoned"));
            return;
        }
    }
    services_.log->Line(Priority::kNotice, "stopping between rounds");
}

}  // namespace lanterna::watch
