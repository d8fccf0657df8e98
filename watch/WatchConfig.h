#pragma once
// The watcher's configuration: one INI file that names the site's targets, where the projector
// passwords come from, the intervals of its rounds, the backup repository, the metrics address,
// the mail relay and its recipients, and the thresholds of its alerts. A file with anything the
// watcher does not understand is refused whole, naming the line and the key, so that a typing
// mistake never leaves a site unwatched without a word.
//
//     [targets]        addresses = 10.1.2.10-40 10.1.3.5   file = PATH   all = no
//     [passwords]      book = PATH   file = PATH   credential = NAME
//     [pjlink]         book = PATH   file = PATH   credential = NAME   (PJLink's own passwords)
//     [intervals]      presence = 60   health = 300   backup = 86400   (seconds)
//     [backup]         repository = PATH   template = PATH   (a settings file)
//     [metrics]        address = 127.0.0.1:9732   (empty: no endpoint; port 0: any free one)
//     [mail]           relay = smtp://HOST:PORT   security = none|starttls|tls   user = NAME
//                      password-credential = NAME   from = ADDRESS   to = ADDRESS, ADDRESS
//                      grace = 180   language = ko|en
//     [thresholds]     lamp-hours = 3000   jobs = 16   max-failures = 0

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lanterna::watch {

// A configuration file holds at most this much.
inline constexpr std::size_t kConfigMaxBytes = 64 * 1024;
// The metrics endpoint's default port.
inline constexpr std::uint16_t kDefaultMetricsPort = 9732;

enum class MailSecurity { kNone, kStartTls, kTls };

struct MailConfig {
    std::string relay;  // "smtp://host:port" or "smtps://host:port"; empty: no mail
    MailSecurity security = MailSecurity::kNone;
    std::string user;                // AUTH when given
    std::string passwordCredential;  // the relay's password: a file in the credentials folder
    std::string passwordFile;        // or a file of its own (the owner's alone)
    std::string from;
    std::vector<std::string> to;
    std::uint32_t graceSeconds = 180;  // a projector silent this long is told of
    std::string language = "en";       // "ko" or "en"
};

struct WatchConfig {
    // Targets.
    std::vector<std::string> targetWords;  // addresses and ranges
    std::string targetsFile;
    bool all = false;
    // Passwords: a book of "ADDRESS PASSWORD" lines, one password for all, or a book in the
    // service's credentials folder.
    std::string passwordBook;
    std::string passwordFile;
    std::string passwordCredential;
    // The PJLink passwords of the health rounds, from sources of the same three kinds: PJLink
    // has passwords of its own, and the network module's are never sent over it.
    std::string pjlinkBook;
    std::string pjlinkFile;
    std::string pjlinkCredential;
    // Intervals in seconds.
    std::uint32_t presenceSeconds = 60;
    std::uint32_t healthSeconds = 300;
    std::uint32_t backupSeconds = 86400;
    std::string repository;     // empty: no backups
    std::string templateFile;   // settings every projector should hold; empty: none
    std::string metricsHost = "127.0.0.1";
    std::uint16_t metricsPort = kDefaultMetricsPort;
    bool metrics = true;
    MailConfig mail;
    std::uint32_t lampHours = 0;  // 0: no lamp alert
    int jobs = 16;
    std::size_t maxFailures = 0;
};

// Why a configuration was refused: where, and what is wrong.
struct ConfigProblem {
    std::size_t line = 0;  // from 1; 0 for the file as a whole
    std::string key;       // "[section] key"; empty for a line that is no key
    std::string text;

    // "LINE: [section] key: TEXT", or "TEXT" for the whole file.
    std::string Describe() const;
};

// The configuration in `text`, or none with the first problem in `problem`.
std::optional<WatchConfig> ParseWatchConfig(std::string_view text, ConfigProblem& problem);

}  // namespace lanterna::watch
