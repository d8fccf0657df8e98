#pragma once
// The watcher's alerts: what changed in a round that a person should hear of (a projector
// silent past the grace, one answering again, settings changed since the last backup, a new
// error, a lamp past its threshold), grouped into one mail per round at most, in the configured
// language.

#include <string>
#include <vector>

#include "platform/UserLanguage.h"
#include "watch/WatchConfig.h"
#include "watch/WatchState.h"

namespace lanterna::watch {

enum class AlertKind { kSilent, kBack, kDrift, kTemplateDrift, kNewError, kLamp };

struct AlertEvent {
    AlertKind kind = AlertKind::kSilent;
    std::string name;
    std::string address;
    std::string detail;  // the changes, the error flags, the lamp hours
    std::string limit;   // the lamp threshold, the template's path
};

// The presence events of `projector` at `now` with `grace`, marking what was told.
void PresenceAlerts(ProjectorWatch& projector, Clock::time_point now, std::uint32_t graceSeconds,
                    std::vector<AlertEvent>& events);

// The health events of `projector` after a new `reading`: a new error bit, the lamp past
// `lampHours` (0: none); the reading is taken into the projector. An error told once is told
// again only after a reading without it, however many rounds gave no reading in between.
void HealthAlerts(ProjectorWatch& projector, const HealthReading& reading, std::uint32_t lampHours,
                  std::vector<AlertEvent>& events);

// The template drift event of `projector` with the differences `words` (joined) from the
// template at `path`: told when there are differences not told before; the projector keeps
// what was told.
void TemplateAlerts(ProjectorWatch& projector, const std::string& words, const std::string& path,
                    std::vector<AlertEvent>& events);

struct MailMessage {
    std::string from;
    std::vector<std::string> to;
    std::string subject;
    std::string body;

    // The message as the relay takes it: headers (the subject encoded for UTF-8), a blank
    // line, the body, lines ended by CR LF.
    std::string Text(Clock::time_point date) const;
};

// The one mail of a round's `events` (not empty), from `host`.
MailMessage AlertMail(const std::vector<AlertEvent>& events, const MailConfig& mail,
                      const std::string& host);

// Sends a mail through the site's relay.
class IMailSender {
  public:
    virtual ~IMailSender() = default;
    // False with why in `problem`; bounded in time.
    virtual bool Send(const MailMessage& message, std::string& problem) = 0;
};

}  // namespace lanterna::watch
