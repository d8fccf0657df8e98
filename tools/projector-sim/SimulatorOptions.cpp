#include "tools/projector-sim/SimulatorOptions.h"

#include <array>
#include <cstdio>
#include <functional>
#include <map>

#include "tools/projector-sim/Session.h"
#include "tools/projector-sim/ValueRules.h"

namespace lanterna::sim {

namespace {

// Decimal, or hexadecimal after "0x".
std::optional<std::uint32_t> ParseNumber(std::string_view text, std::uint32_t maximum) {
    if (text.size() > 2 && (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X")) {
        text.remove_prefix(2);
        if (text.size() > 8 || !IsHexDigits(text)) {
            return std::nullopt;
        }
        const auto value = std::stoul(std::string(text), nullptr, 16);
        return value <= maximum ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(value))
                                : std::nullopt;
    }
    return ParseDecimal(text, maximum);
}

// "CMD:KIND[:ARG]": cut:BYTES, no-prompt, as:NAME, then:NAME, raw:TEXT.
bool AddReplyFault(FaultConfig& faults, std::string_view option) {
    const std::size_t first = option.find(':');
    if (first == 0 || first == std::string_view::npos) {
        return false;
    }
    const std::string_view command = option.substr(0, first);
    const std::size_t second = option.find(':', first + 1);
    const std::string_view kind = option.substr(first + 1, second - std::min(second, first + 1));
    const std::string_view argument =
        second == std::string_view::npos ? std::string_view() : option.substr(second + 1);
    const bool hasArgument = second != std::string_view::npos;
    ReplyFault fault;
    if (kind == "cut" && hasArgument) {
        const auto bytes = ParseDecimal(argument, kMaxLineLength);
        if (!bytes) {
            return false;
        }
        fault = {ReplyFaultKind::kCut, *bytes, {}};
    } else if (kind == "no-prompt" && !hasArgument) {
        fault = {ReplyFaultKind::kNoPrompt, 0, {}};
    } else if ((kind == "as" || kind == "then") && !argument.empty()) {
        fault = {kind == "as" ? ReplyFaultKind::kUnderName : ReplyFaultKind::kSecondReply, 0,
                 std::string(argument)};
    } else if (kind == "raw" && hasArgument) {
        fault = {ReplyFaultKind::kRawValue, 0, std::string(argument)};
    } else {
        return false;
    }
    faults.replyFaults[std::string(command)] = fault;
    return true;
}

// "CMD:ERRn": CMD answered with that error.
bool AddPjlinkError(PjlinkConfig& pjlink, std::string_view option) {
    const std::size_t colon = option.find(':');
    const std::string_view command = option.substr(0, colon);
    const std::string_view error =
        colon == std::string_view::npos ? std::string_view() : option.substr(colon + 1);
    if (command.size() != 4 || (error != "ERR1" && error != "ERR2" && error != "ERR3" &&
                                error != "ERR4")) {
        return false;
    }
    pjlink.faults.errors[std::string(command)] = std::string(error);
    return true;
}

bool AddPjlinkFault(PjlinkConfig& pjlink, std::string_view fault) {
    if (fault == "wrong-digest") {
        pjlink.faults.wrongDigest = true;
    } else if (fault == "garbage") {
        pjlink.faults.garbage = true;
    } else if (fault == "silence") {
        pjlink.faults.silent = true;
    } else {
        return false;
    }
    return true;
}

// Six digits 0 to 2, as ERST gives them.
bool IsErrorDigits(std::string_view text) {
    return text.size() == 6 &&
           text.find_first_not_of("012") == std::string_view::npos;
}

using ValueHandler = std::function<bool(SimulatorOptions&, std::string_view)>;
using FlagHandler = std::function<void(SimulatorOptions&)>;

// Handler of a numeric option storing into `store`.
template <typename Store>
ValueHandler Number(std::uint32_t minimum, std::uint32_t maximum, Store store) {
    return [=](SimulatorOptions& options, std::string_view text) {
        const auto value = ParseNumber(text, maximum);
        if (!value || *value < minimum) {
            return false;
        }
        store(options, *value);
        return true;
    };
}

std::chrono::milliseconds Milliseconds(std::uint32_t value) {
    return std::chrono::milliseconds(value);
}

// Seconds with up to three decimals ("60", "0.25"), from 0.001 to `maximum` seconds.
std::optional<std::chrono::milliseconds> ParseSeconds(std::string_view text,
                                                      std::uint32_t maximum) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    std::string fraction(point == std::string_view::npos ? "" : text.substr(point + 1));
    if (fraction.size() > 3 || (point != std::string_view::npos && fraction.empty())) {
        return std::nullopt;
    }
    fraction.resize(3, '0');
    const auto seconds =
        whole.empty() ? std::optional<std::uint32_t>(0) : ParseDecimal(whole, maximum);
    const auto thousandths = ParseDecimal(fraction, 999);
    if (!seconds || !thousandths || (whole.empty() && point == std::string_view::npos)) {
        return std::nullopt;
    }
    const std::chrono::milliseconds total(static_cast<std::int64_t>(*seconds) * 1000 +
                                          *thousandths);
    if (total.count() == 0 || total > std::chrono::seconds(maximum)) {
        return std::nullopt;
    }
    return total;
}

// Handler of an option in seconds storing into `store`.
template <typename Store>
ValueHandler Seconds(std::uint32_t maximum, Store store) {
    return [=](SimulatorOptions& options, std::string_view text) {
        const auto value = ParseSeconds(text, maximum);
        if (value) {
            store(options, *value);
        }
        return value.has_value();
    };
}

const std::map<std::string_view, ValueHandler>& ValueOptions() {
    static const std::map<std::string_view, ValueHandler> handlers{
        {"--address",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.address = std::string(v);
             return ParseDottedStrict(v).has_value();
         }},
        {"--count",
         Number(1, kMaxProjectorCount,
                [](SimulatorOptions& o, std::uint32_t v) { o.count = static_cast<int>(v); })},
        {"--name",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.name = std::string(v);
             return !v.empty() && v.size() <= 40;
         }},
        {"--password",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.password = std::string(v);
             return v.size() <= 16;
         }},
        {"--mac",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.mac = std::string(v);
             return IsHardwareAddress(v);
         }},
        {"--im-type", Number(0, 255,
                             [](SimulatorOptions& o, std::uint32_t v) {
                                 o.config.imType = static_cast<std::uint8_t>(v);
                             })},
        {"--log",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.logFile = std::string(v);
             return !v.empty();
         }},
        {"--lifetime", Number(1, 7 * 24 * 3600,
                              [](SimulatorOptions& o, std::uint32_t v) {
                                  o.lifetime = std::chrono::seconds(v);
                              })},
        {"--idle-timeout",
         Seconds(24 * 3600, [](SimulatorOptions& o,
                               std::chrono::milliseconds v) { o.config.idleTimeout = v; })},
        {"--max-sessions",
         Number(1, 64, [](SimulatorOptions& o, std::uint32_t v) { o.config.maxSessions = v; })},
        {"--hello-status", Number(0, 255,
                                  [](SimulatorOptions& o, std::uint32_t v) {
                                      o.config.discovery.helloStatus = static_cast<std::uint8_t>(v);
                                  })},
        {"--hello-header-count", Number(0, 255,
                                        [](SimulatorOptions& o, std::uint32_t v) {
                                            o.config.discovery.helloHeaderCount =
                                                static_cast<std::uint8_t>(v);
                                        })},
        {"--split-replies", Number(1, 64,
                                   [](SimulatorOptions& o, std::uint32_t v) {
                                       o.config.faults.splitReplyPieces = static_cast<int>(v);
                                   })},
        {"--split-delay", Number(0, 60000,
                                 [](SimulatorOptions& o, std::uint32_t v) {
                                     o.config.faults.splitDelay = Milliseconds(v);
                                 })},
        {"--event-notice",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.faults.eventNotice = v == "before"  ? EventNoticePlacement::kBeforeReply
                                           : v == "after" ? EventNoticePlacement::kAfterPrompt
                                                          : EventNoticePlacement::kNone;
             return v == "before" || v == "after" || v == "none";
         }},
        {"--event-text",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.faults.eventNoticeText = std::string(v);
             return v.substr(0, 8) == "IMEVENT=" && v.find('\r') == std::string_view::npos;
         }},
        {"--event-gap", Number(0, 60000,
                               [](SimulatorOptions& o, std::uint32_t v) {
                                   o.config.faults.eventNoticeGap = Milliseconds(v);
                               })},
        {"--reply-delay", Number(0, 600000,
                                 [](SimulatorOptions& o, std::uint32_t v) {
                                     o.config.faults.replyDelay = Milliseconds(v);
                                 })},
        {"--trickle",
         Seconds(600, [](SimulatorOptions& o,
                         std::chrono::milliseconds v) { o.config.faults.trickleInterval = v; })},
        {"--drop-after",
         Number(0, 1U << 30,
                [](SimulatorOptions& o, std::uint32_t v) { o.config.faults.dropAfterBytes = v; })},
        {"--refuse",
         [](SimulatorOptions& o, std::string_view v) {
             std::size_t start = 0;
             while (start <= v.size()) {
                 const std::size_t end = std::min(v.find(',', start), v.size());
                 const std::string_view name = v.substr(start, end - start);
                 if (name.empty()) {
                     return false;
                 }
                 o.config.faults.refusedCommands.emplace(name);
                 start = end + 1;
             }
             return true;
         }},
        {"--reply-fault",
         [](SimulatorOptions& o, std::string_view v) { return AddReplyFault(o.config.faults, v); }},
        {"--drop-after-sets",
         Number(0, 1U << 30,
                [](SimulatorOptions& o, std::uint32_t v) { o.config.faults.dropAfterSets = v; })},
        {"--pjlink-port",
         Number(0, 65535, [](SimulatorOptions& o, std::uint32_t v) {
             o.config.pjlink.port = static_cast<std::uint16_t>(v);
         })},
        {"--pjlink-class",
         Number(1, 2, [](SimulatorOptions& o, std::uint32_t v) {
             o.config.pjlink.pjlinkClass = static_cast<int>(v);
         })},
        {"--pjlink-password",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.pjlink.password = std::string(v);
             return !v.empty() && v.size() <= 32 && v.find('\r') == std::string_view::npos;
         }},
        {"--pjlink-power",
         Number(0, 3, [](SimulatorOptions& o, std::uint32_t v) {
             o.config.pjlink.power = std::to_string(v);
         })},
        {"--pjlink-errors",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.pjlink.errors = std::string(v);
             return IsErrorDigits(v);
         }},
        {"--pjlink-lamps",
         [](SimulatorOptions& o, std::string_view v) {
             o.config.pjlink.lamps = v == "none" ? std::string() : std::string(v);
             return !v.empty() && v.size() <= 100 && v.find('\r') == std::string_view::npos;
         }},
        {"--pjlink-error",
         [](SimulatorOptions& o, std::string_view v) { return AddPjlinkError(o.config.pjlink, v); }},
        {"--pjlink-fault",
         [](SimulatorOptions& o, std::string_view v) { return AddPjlinkFault(o.config.pjlink, v); }},
        {"--pjlink-trickle",
         Seconds(600, [](SimulatorOptions& o, std::chrono::milliseconds v) {
             o.config.pjlink.faults.trickle = v;
         })},
        {"--handshake-status", Number(0, 255,
                                      [](SimulatorOptions& o, std::uint32_t v) {
                                          o.config.faults.handshakeStatus =
                                              static_cast<std::uint8_t>(v);
                                      })},
    };
    return handlers;
}

const std::map<std::string_view, FlagHandler>& FlagOptions() {
    static const std::map<std::string_view, FlagHandler> handlers{
        {"--help", [](SimulatorOptions& o) { o.help = true; }},
        {"--version", [](SimulatorOptions& o) { o.version = true; }},
        {"--wireless", [](SimulatorOptions& o) { o.config.wireless = true; }},
        {"--broadcast", [](SimulatorOptions& o) { o.config.receiveBroadcasts = true; }},
        {"--no-hello", [](SimulatorOptions& o) { o.config.discovery.answerHello = false; }},
        {"--no-secondary", [](SimulatorOptions& o) { o.config.discovery.answerSecondary = false; }},
        {"--hello-other-port",
         [](SimulatorOptions& o) { o.config.discovery.helloFromOtherPort = true; }},
        {"--secondary-empty-name",
         [](SimulatorOptions& o) { o.config.discovery.secondaryEmptyName = true; }},
        {"--answer-send-only",
         [](SimulatorOptions& o) { o.config.faults.answerSendOnlyCommands = true; }},
        {"--keep-on-reset", [](SimulatorOptions& o) { o.config.closeOnReset = false; }},
        {"--pjlink", [](SimulatorOptions& o) { o.config.pjlink.enabled = true; }},
        {"--pjlink-no-search", [](SimulatorOptions& o) { o.config.pjlink.answerSearch = false; }},
    };
    return handlers;
}

bool LastAddressFits(const SimulatorOptions& options) {
    Octets first{};
    ScanDottedInto(options.config.address, first);
    return static_cast<std::uint64_t>(ToHostOrder(first)) +
               static_cast<std::uint64_t>(options.count) - 1 <=
           0xFFFFFFFFULL;
}

std::string CountedMac(const std::string& mac, int index) {
    const std::uint64_t value = std::stoull(mac, nullptr, 16) + static_cast<std::uint64_t>(index);
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%012llX",
                  static_cast<unsigned long long>(value & 0xFFFFFFFFFFFFULL));
    return std::string(text.data());
}

}  // namespace

OptionsResult ParseSimulatorOptions(std::span<const std::string_view> args) {
    SimulatorOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> value;
        if (const std::size_t equals = name.find('=');
            name.substr(0, 2) == "--" && equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (const auto flag = FlagOptions().find(name); flag != FlagOptions().end() && !value) {
            flag->second(options);
            continue;
        }
        const auto handler = ValueOptions().find(name);
        if (handler == ValueOptions().end()) {
            return {std::nullopt, "unknown option '" + std::string(args[i]) + "'"};
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                return {std::nullopt, "option " + std::string(name) + " needs a value"};
            }
            value = args[++i];
        }
        if (!handler->second(options, *value)) {
            return {std::nullopt,
                    "bad value '" + std::string(*value) + "' for option " + std::string(name)};
        }
    }
    if (!LastAddressFits(options)) {
        return {std::nullopt, "--count runs past the last IPv4 address"};
    }
    return {options, {}};
}

std::vector<SimulatorConfig> ExpandProjectors(const SimulatorOptions& options) {
    Octets first{};
    ScanDottedInto(options.config.address, first);
    std::vector<SimulatorConfig> configs;
    for (int i = 0; i < options.count; ++i) {
        SimulatorConfig config = options.config;
        config.address =
            FormatDotted(FromHostOrder(ToHostOrder(first) + static_cast<std::uint32_t>(i)));
        if (options.count > 1) {
            config.name += "-" + std::to_string(i + 1);
            config.logPrefix = config.address + " ";
            if (!config.mac.empty()) {
                config.mac = CountedMac(config.mac, i);
            }
        }
        configs.push_back(std::move(config));
    }
    return configs;
}

std::string UsageText() {
    return R"(Usage: lanterna-projector-sim [OPTIONS]
Simulates projector network modules: the TCP link and the UDP discovery on port 3629, the
secondary search on UDP port 3620. Prints "listening on ADDR:3629" per projector when ready
and runs until SIGINT or SIGTERM, or until --lifetime ends.

Identity:
  --address ADDR           IPv4 address to listen on (default 127.0.0.1)
  --count N                N projectors on consecutive addresses from ADDR (1 to 1000);
                           names get "-1", "-2", ... appended
  --name NAME              projector name (default SIMPROJ)
  --password PASSWORD      password (at most 16 bytes; default none)
  --mac HEX12              hardware address, 12 hexadecimal digits (default 0200 + address)
  --im-type N              interface-module type 0 to 255 (default 21; 22 = extended wireless)
  --wireless               the wireless interface is in use (NWIF 1)
  --max-sessions N         connections served at once; more are closed at once (default 8)
  --idle-timeout SECONDS   close a connection that sends nothing for SECONDS (default 60)
  --keep-on-reset          keep the connection open after NWRESET

Discovery:
  --broadcast              also receive broadcasts (UDP bound on all addresses)
  --no-hello               do not answer hello requests
  --no-secondary           do not answer secondary search requests
  --hello-status N         status byte of the hello reply (default 0x20)
  --hello-header-count N   header count of the hello reply (default 3)
  --hello-other-port       send hello replies from another source port
  --secondary-empty-name   secondary answers carry an empty name

Faults:
  --split-replies N        send every reply in N writes
  --split-delay MS         pause between those writes (default 20)
  --event-notice WHERE     "before" a reply or "after" its prompt: an IMEVENT notice
  --event-text TEXT        the notice text (default IMEVENT=0001)
  --event-gap MS           pause after a notice sent before a reply (default 100)
  --reply-delay MS         pause before every reply
  --trickle SECONDS        send every reply one byte at a time, SECONDS between the bytes
                           (e.g. 3, or 0.05)
  --drop-after BYTES       close a connection once BYTES of text replies have gone out
  --refuse CMD[,CMD...]    answer these commands with ERR (repeatable)
  --reply-fault CMD:FAULT  spoil every reply to CMD (repeatable): "cut:BYTES" sends only
                           BYTES bytes and closes the connection, "no-prompt" leaves out the
                           closing ":", "as:NAME" answers under NAME, "then:NAME" adds the
                           answer to NAME in the same write, "raw:TEXT" answers TEXT as value
  --drop-after-sets N      close a connection once N set commands have been answered
  --handshake-status N     answer every handshake packet with status N (e.g. 0x41)
  --answer-send-only       answer IMSTAT and NWRESET with a reply (default: no reply)

PJLink (TCP and the class-2 search on UDP port 4352; name and hardware address as above):
  --pjlink                 speak PJLink too
  --pjlink-port N          its port (default 4352; 0 picks a free one)
  --pjlink-class N         1 or 2 (default 2)
  --pjlink-password TEXT   ask for this password (at most 32 bytes; default none)
  --pjlink-power N         0 off, 1 on, 2 cooling, 3 warming (default 1)
  --pjlink-errors DIGITS   ERST: fan, lamp, temperature, cover, filter, other, each 0 to 2
                           (default 000000)
  --pjlink-lamps TEXT      LAMP: "HOURS ON" pairs (default "1520 1"); "none": no lamp
  --pjlink-error CMD:ERRn  answer CMD (e.g. LAMP) with ERR1 to ERR4 (repeatable)
  --pjlink-fault FAULT     "wrong-digest" refuses every password, "garbage" answers every
                           command with noise, "silence" never sends a byte (repeatable)
  --pjlink-trickle SECONDS send every PJLink line one byte at a time, SECONDS between bytes
  --pjlink-no-search       do not answer the class-2 search

Other:
  --log FILE               append every command line received to FILE
  --lifetime SECONDS       stop after SECONDS
  --help                   show this text
  --version                print the version

Exit status: 0 after a signal or the lifetime, 1 when a socket cannot be bound, 2 bad
command line.
)";
}

}  // namespace lanterna::sim
