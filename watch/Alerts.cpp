#include "watch/Alerts.h"

#include <algorithm>
#include <ctime>

#include "fleet/HealthReport.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"

namespace lanterna::watch {

namespace {

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        group |= i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0;
        group |= i + 2 < bytes.size() ? static_cast<unsigned char>(bytes[i + 2]) : 0;
        text += kDigits[(group >> 18) & 63];
        text += kDigits[(group >> 12) & 63];
        text += i + 1 < bytes.size() ? kDigits[(group >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
    }
    return text;
}

// A header's text on one line: line ends and other control bytes as blanks.
std::string OneLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return line;
}

std::string UtcText(Clock::time_point when, const char* format) {
    const std::time_t seconds = Clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    return std::strftime(text, sizeof text, format, &utc) > 0 ? std::string(text) : std::string();
}

int WordsOf(AlertKind kind) {
    switch (kind) {
        case AlertKind::kSilent:
            return kStringWatchSilent;
        case AlertKind::kBack:
            return kStringWatchBack;
        case AlertKind::kDrift:
            return kStringWatchDrift;
        case AlertKind::kTemplateDrift:
            return kStringWatchTemplateDrift;
        case AlertKind::kNewError:
            return kStringWatchNewError;
        case AlertKind::kLamp:
            return kStringWatchLamp;
    }
    return kStringWatchDrift;
}

// "lamp=error filter=warning" of error flags (two bits a part, as the probe sets them).
std::string ErrorFlagWords(std::uint32_t flags) {
    std::string words;
    for (std::size_t part = 0; part < pjlink::kErrorParts; ++part) {
        const std::uint32_t bits = (flags >> (2 * part)) & 3u;
        if (bits != 0) {
            words += (words.empty() ? "" : " ") +
                     std::string(fleet::ErrorPartKey(static_cast<pjlink::ErrorPart>(part))) +
                     ((bits & 2u) != 0 ? "=error" : "=warning");
        }
    }
    return words;
}

}  // namespace

void PresenceAlerts(ProjectorWatch& projector, Clock::time_point now, std::uint32_t graceSeconds,
                    std::vector<AlertEvent>& events) {
    const std::string name = projector.name.empty() ? projector.target.address : projector.name;
    if (projector.answered) {
        if (projector.downTold) {
            events.push_back({AlertKind::kBack, name, projector.target.address, "", ""});
            projector.downTold = false;
        }
        return;
    }
    if (!projector.downTold && now - projector.silentSince >= std::chrono::seconds(graceSeconds)) {
        events.push_back({AlertKind::kSilent, name, projector.target.address,
                          UtcText(projector.silentSince, "%Y-%m-%d %H:%M UTC"), ""});
        projector.downTold = true;
    }
}

void HealthAlerts(ProjectorWatch& projector, const HealthReading& reading, std::uint32_t lampHours,
                  std::vector<AlertEvent>& events) {
    const std::string name = projector.name.empty() ? projector.target.address : projector.name;
    const std::uint32_t before = projector.errorsKnown;
    if (reading.errorFlags && (*reading.errorFlags & ~before) != 0) {
        events.push_back({AlertKind::kNewError, name, projector.target.address,
                          ErrorFlagWords(*reading.errorFlags), ""});
    }
    if (lampHours != 0 && reading.lampHours && *reading.lampHours >= lampHours &&
        !projector.lampTold) {
        events.push_back({AlertKind::kLamp, name, projector.target.address,
                          std::to_string(*reading.lampHours), std::to_string(lampHours)});
        projector.lampTold = true;
    }
    projector.health = reading;
    projector.errorsKnown = reading.errorFlags.value_or(projector.errorsKnown);
}

void TemplateAlerts(ProjectorWatch& projector, const std::string& words, const std::string& path,
                    std::vector<AlertEvent>& events) {
    if (!words.empty() && words != projector.templateDriftTold) {
        const std::string name = projector.name.empty() ? projector.target.address : projector.name;
        events.push_back({AlertKind::kTemplateDrift, name, projector.target.address, words, path});
    }
    projector.templateDriftTold = words;
}

MailMessage AlertMail(const std::vector<AlertEvent>& events, const MailConfig& mail,
                      const std::string& host) {
    const Language language = mail.language == "ko" ? Language::Korean : Language::English;
    MailMessage message;
    message.from = mail.from;
    message.to = mail.to;
    message.subject = FormatString(kStringWatchMailSubject, language,
                                   {host, std::to_string(events.size())});
    for (const AlertEvent& event : events) {
        message.body += FormatString(WordsOf(event.kind), language,
                                     {event.name, event.address, event.detail, event.limit}) +
                        "\n";
    }
    message.body += "\n" + FormatString(kStringWatchMailFooter, language, {host}) + "\n";
    return message;
}

std::string MailMessage::Text(Clock::time_point date) const {
    std::string recipients;
    for (const std::string& address : to) {
        recipients += (recipients.empty() ? "" : ", ") + OneLine(address);
    }
    std::string text = "Date: " + UtcText(date, "%a, %d %b %Y %H:%M:%S +0000") + "\r\n";
    text += "From: " + OneLine(from) + "\r\n";
    text += "To: " + recipients + "\r\n";
    text += "Subject: =?UTF-8?B?" + Base64(OneLine(subject)) + "?=\r\n";
    text += "MIME-Version: 1.0\r\n";
    text += "Content-Type: text/plain; charset=UTF-8\r\n";
    text += "Content-Transfer-Encoding: 8bit\r\n\r\n";
    for (std::size_t at = 0; at < body.size();) {
        const std::size_t end = std::min(body.find('\n', at), body.size());
        text += body.substr(at, end - at) + "\r\n";
        at = end + 1;
    }
    return text;
}

}  // namespace lanterna::watch
