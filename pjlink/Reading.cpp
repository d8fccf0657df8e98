#include "pjlink/Reading.h"

#include <functional>

namespace lanterna::pjlink {

namespace {

constexpr std::size_t kNameLimit = 64;
constexpr std::size_t kInfoLimit = 32;

// Asks one query; the value when it was answered with one, none for an ERR reply. A link error
// is kept in `read` and ends the reading.
std::optional<std::string> Query(CClient& client, HealthRead& read, char pjlinkClass,
                                 std::string_view name, std::string_view parameter = "?") {
    if (read.error != LinkError::kNone) {
        return std::nullopt;
    }
    const Answer answer = client.Ask({pjlinkClass, name, parameter});
    if (answer.error != LinkError::kNone) {
        read.error = answer.error;
        return std::nullopt;
    }
    if (answer.reply->status != ReplyStatus::kValue && answer.reply->status != ReplyStatus::kOk) {
        if (name == "LAMP" && answer.reply->status == ReplyStatus::kUndefined) {
            read.health.noLamp = true;
        }
        return std::nullopt;
    }
    return answer.reply->value;
}

template <typename T>
void Take(std::optional<T>& field, const std::optional<std::string>& value,
          const std::function<std::optional<T>(std::string_view)>& parse) {
    if (value) {
        field = parse(*value);
    }
}

void ReadClassOne(CClient& client, HealthRead& read) {
    Health& h = read.health;
    Take<int>(h.pjlinkClass, Query(client, read, '1', "CLSS"), ParseClass);
    const int cls = h.pjlinkClass.value_or(1);
    Take<Power>(h.power, Query(client, read, '1', "POWR"), ParsePower);
    Take<std::string>(h.input, Query(client, read, '1', "INPT"),
                      [cls](std::string_view v) { return ParseInput(v, cls); });
    Take<int>(h.mute, Query(client, read, '1', "AVMT"), ParseMute);
    Take<ErrorLevels>(h.errors, Query(client, read, '1', "ERST"), ParseErrors);
    Take<std::vector<Lamp>>(h.lamps, Query(client, read, '1', "LAMP"), ParseLamps);
    Take<std::vector<std::string>>(h.inputs, Query(client, read, '1', "INST"),
                                   [cls](std::string_view v) { return ParseInputs(v, cls); });
    const auto text = [](std::size_t limit) {
        return [limit](std::string_view v) { return ParseText(v, limit); };
    };
    Take<std::string>(h.name, Query(client, read, '1', "NAME"), text(kNameLimit));
    Take<std::string>(h.maker, Query(client, read, '1', "INF1"), text(kInfoLimit));
    Take<std::string>(h.product, Query(client, read, '1', "INF2"), text(kInfoLimit));
    Take<std::string>(h.other, Query(client, read, '1', "INFO"), text(kInfoLimit));
}

void ReadClassTwo(CClient& client, HealthRead& read) {
    Health& h = read.health;
    const auto text = [](std::string_view v) { return ParseText(v, kInfoLimit); };
    Take<std::string>(h.serial, Query(client, read, '2', "SNUM"), text);
    Take<std::string>(h.software, Query(client, read, '2', "SVER"), text);
    Take<int>(h.filterHours, Query(client, read, '2', "FILT"), ParseHours);
    Take<std::string>(h.lampModel, Query(client, read, '2', "RLMP"), text);
    Take<std::string>(h.filterModel, Query(client, read, '2', "RFIL"), text);
    if (!h.inputs) {
        return;
    }
    for (std::size_t i = 0; i < h.inputs->size() && i < kMaxInputNames; ++i) {
        const std::string& input = (*h.inputs)[i];
        const std::string parameter = "?" + input;
        const std::optional<std::string> value = Query(client, read, '2', "INNM", parameter);
        if (const std::optional<std::string> name = value ? ParseText(*value, kNameLimit)
                                                          : std::nullopt) {
            h.inputNames.push_back({input, *name});
        }
    }
}

// Opens `client` to `address`, noting in `read` how it went; false when nothing can be asked.
bool OpenForReading(CClient& client, const std::string& address,
                    const std::optional<std::string>& password, HealthRead& read) {
    read.error = client.Open(address, password);
    read.passwordRequired = client.PasswordRequired();
    return read.error == LinkError::kNone;
}

}  // namespace

HealthRead ReadHealth(const std::string& address, const std::optional<std::string>& password,
                      const ClientOptions& options) {
    HealthRead read;
    CClient client(options);
    if (!OpenForReading(client, address, password, read)) {
        return read;
    }
    ReadClassOne(client, read);
    if (read.health.pjlinkClass.value_or(1) >= 2) {
        ReadClassTwo(client, read);
    }
    return read;
}

HealthRead ReadVitals(const std::string& address, const std::optional<std::string>& password,
                      const ClientOptions& options) {
    HealthRead read;
    CClient client(options);
    if (!OpenForReading(client, address, password, read)) {
        return read;
    }
    Health& h = read.health;
    Take<Power>(h.power, Query(client, read, '1', "POWR"), ParsePower);
    Take<ErrorLevels>(h.errors, Query(client, read, '1', "ERST"), ParseErrors);
    Take<std::vector<Lamp>>(h.lamps, Query(client, read, '1', "LAMP"), ParseLamps);
    return read;
}

PowerOutcome SetPower(const std::string& address, const std::optional<std::string>& password,
                      bool on, const ClientOptions& options) {
    CClient client(options);
    const LinkError opened = client.Open(address, password);
    if (opened != LinkError::kNone) {
        return {PowerResult::kLinkFailed, opened};
    }
    const Answer answer = client.Ask({'1', "POWR", on ? "1" : "0"});
    if (answer.error != LinkError::kNone) {
        return {PowerResult::kLinkFailed, answer.error};
    }
    switch (answer.reply->status) {
        case ReplyStatus::kOk:
            return {PowerResult::kDone, LinkError::kNone};
        case ReplyStatus::kOutOfRange:
            return {PowerResult::kRefused, LinkError::kNone};
        case ReplyStatus::kUnavailable:
            return {PowerResult::kUnavailable, LinkError::kNone};
        default:
            return {PowerResult::kFailure, LinkError::kNone};
    }
}

}  // namespace lanterna::pjlink
