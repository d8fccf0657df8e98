#include "watch/Metrics.h"

#include <array>
#include <cstdio>
#include <functional>

#include "fleet/AuditFindings.h"

namespace lanterna::watch {

namespace {

struct Family {
    std::string_view name;
    std::string_view type;
    std::string_view help;
};

// A sample's value: whole numbers without a fraction.
std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, value == static_cast<double>(static_cast<long long>(value))
                                         ? "%.0f"
                                         : "%.3f",
                  value);
    return text;
}

void Header(std::string& text, const Family& family) {
    text += "# HELP " + std::string(family.name) + " " + std::string(family.help) + "\n";
    text += "# TYPE " + std::string(family.name) + " " + std::string(family.type) + "\n";
}

std::string Labels(const ProjectorWatch& projector, std::string_view extra = {}) {
    std::string labels = "{address=\"" + LabelValue(projector.target.address) + "\",name=\"" +
                         LabelValue(projector.name) + "\",hardware_address=\"" +
                         LabelValue(projector.mac) + "\"";
    if (!extra.empty()) {
        labels += "," + std::string(extra);
    }
    return labels + "}";
}

// One family with a sample per projector that has a value.
void PerProjector(std::string& text, const WatchStateAll& state, const Family& family,
                  const std::function<std::optional<double>(const ProjectorWatch&)>& value) {
    Header(text, family);
    for (const ProjectorWatch& projector : state.projectors) {
        if (const auto v = value(projector)) {
            text += std::string(family.name) + Labels(projector) + " " + Number(*v) + "\n";
        }
    }
}

void Findings(std::string& text, const WatchStateAll& state) {
    const Family family{"lanterna_projector_findings", "gauge",
                        "Audit findings of the projector's settings at the last backup."};
    Header(text, family);
    for (const ProjectorWatch& projector : state.projectors) {
        if (!projector.lastRead) {
            continue;
        }
        for (std::size_t s = 0; s < projector.findings.size(); ++s) {
            const std::string severity =
                "severity=\"" + std::string(fleet::SeverityKey(static_cast<fleet::Severity>(s))) +
                "\"";
            text += std::string(family.name) + Labels(projector, severity) + " " +
                    std::to_string(projector.findings[s]) + "\n";
        }
    }
}

void OwnCounters(std::string& text, const WatchStateAll& state) {
    const std::array<Family, 3> families = {
        Family{"lanterna_watch_rounds_total", "counter", "Rounds run, by kind."},
        Family{"lanterna_watch_failures_total", "counter",
               "Projectors that failed in a round, by kind."},
        Family{"lanterna_watch_round_duration_seconds", "gauge",
               "How long the last round of each kind took."}};
    for (std::size_t f = 0; f < families.size(); ++f) {
        Header(text, families[f]);
        for (std::size_t k = 0; k < kRoundKinds; ++k) {
            const RoundCounters& c = state.rounds[k];
            const double value = f == 0   ? static_cast<double>(c.rounds)
                                 : f == 1 ? static_cast<double>(c.failures)
                                          : c.lastSeconds;
            text += std::string(families[f].name) + "{round=\"" +
                    std::string(RoundName(static_cast<RoundKind>(k))) + "\"} " + Number(value) +
                    "\n";
        }
    }
    Header(text, {"lanterna_watch_mails_total", "counter", "Alert mails, by result."});
    text += "lanterna_watch_mails_total{result=\"sent\"} " + std::to_string(state.mailsSent) + "\n";
    text += "lanterna_watch_mails_total{result=\"failed\"} " + std::to_string(state.mailsFailed) +
            "\n";
    Header(text, {"lanterna_watch_commits_total", "counter", "Backups committed."});
    text += "lanterna_watch_commits_total " + std::to_string(state.commits) + "\n";
}

std::optional<double> Seconds(const std::optional<Clock::time_point>& when) {
    if (!when) {
        return std::nullopt;
    }
    return std::chrono::duration<double>(when->time_since_epoch()).count();
}

}  // namespace

std::string_view RoundName(RoundKind kind) {
    switch (kind) {
        case RoundKind::kPresence:
            return "presence";
        case RoundKind::kHealth:
            return "health";
        case RoundKind::kBackup:
            return "backup";
    }
    return "";
}

std::string LabelValue(std::string_view text) {
    std::string value;
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            value += '\\';
            value += c;
        } else if (c == '\n') {
            value += "\\n";
        } else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            value += c;
        }
    }
    return value;
}

std::string MetricsText(const WatchStateAll& state) {
    std::string text;
    PerProjector(text, state, {"lanterna_projector_up", "gauge",
                               "Whether the projector answered the last presence round."},
                 [](const ProjectorWatch& p) { return p.answered ? 1.0 : 0.0; });
    PerProjector(text, state, {"lanterna_projector_last_read_timestamp_seconds", "gauge",
                               "When the projector's settings were last read whole."},
                 [](const ProjectorWatch& p) { return Seconds(p.lastRead); });
    PerProjector(text, state, {"lanterna_projector_drift_settings", "gauge",
                               "Settings that changed since the backup before the last."},
                 [](const ProjectorWatch& p) {
                     return p.lastRead ? std::optional<double>(static_cast<double>(p.drift))
                                       : std::nullopt;
                 });
    PerProjector(text, state, {"lanterna_projector_template_drift_settings", "gauge",
                               "Settings that differ from the template at the last backup."},
                 [](const ProjectorWatch& p) -> std::optional<double> {
                     return p.templateDrift ? std::optional<double>(
                                                  static_cast<double>(*p.templateDrift))
                                            : std::nullopt;
                 });
    PerProjector(text, state, {"lanterna_projector_power_state", "gauge",
                               "Power: 0 off, 1 on, 2 cooling, 3 warming up."},
                 [](const ProjectorWatch& p) -> std::optional<double> { return p.health.power; });
    PerProjector(text, state, {"lanterna_projector_lamp_hours", "gauge", "Lamp hours."},
                 [](const ProjectorWatch& p) -> std::optional<double> {
                     return p.health.lampHours;
                 });
    PerProjector(text, state, {"lanterna_projector_error_flags", "gauge",
                               "Errors reported over PJLink: two bits a part (fan, lamp, "
                               "temperature, cover, filter, other), 1 warning, 2 error."},
                 [](const ProjectorWatch& p) -> std::optional<double> {
                     return p.health.errorFlags;
                 });
    Findings(text, state);
    OwnCounters(text, state);
    return text;
}

}  // namespace lanterna::watch
