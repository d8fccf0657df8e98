#pragma once
// What a projector tells over PJLink of its state and identity, and the exact parsers of each
// query's value. A value that does not parse is not reported: its field stays empty, never a
// guess.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lanterna::pjlink {

enum class Power { kOff = 0, kOn = 1, kCooling = 2, kWarming = 3 };

// The parts ERST reports, in its order.
enum class ErrorPart { kFan, kLamp, kTemperature, kCover, kFilter, kOther };
inline constexpr std::size_t kErrorParts = 6;

// 0 none, 1 warning, 2 error, per part.
using ErrorLevels = std::array<std::uint8_t, kErrorParts>;

struct Lamp {
    int hours = 0;  // 0 to 99999
    bool on = false;
};

// The longest list a projector may give: lamps and inputs.
inline constexpr std::size_t kMaxLamps = 8;
inline constexpr std::size_t kMaxInputs = 50;
// Input names asked one by one are bounded too.
inline constexpr std::size_t kMaxInputNames = 16;

struct InputName {
    std::string input;  // "31"
    std::string name;
};

struct Health {
    std::optional<Power> power;
    std::optional<std::string> input;  // "31"
    std::optional<int> mute;           // 10, 11, 20, 21, 30 or 31
    std::optional<ErrorLevels> errors;
    std::optional<std::vector<Lamp>> lamps;
    bool noLamp = false;  // LAMP answered ERR1: a projector without a lamp (a laser, an LED)
    std::optional<std::vector<std::string>> inputs;
    std::optional<std::string> name;
    std::optional<std::string> maker;    // INF1
    std::optional<std::string> product;  // INF2
    std::optional<std::string> other;    // INFO
    std::optional<int> pjlinkClass;      // 1 or 2
    // Class 2.
    std::optional<std::string> serial;
    std::optional<std::string> software;
    std::optional<int> filterHours;
    std::optional<std::string> lampModel;
    std::optional<std::string> filterModel;
    std::vector<InputName> inputNames;
};

std::optional<Power> ParsePower(std::string_view value);
// Class 1: a type 1 to 5 and a number 1 to 9; class 2 adds type 6 and numbers A to Z.
std::optional<std::string> ParseInput(std::string_view value, int pjlinkClass);
std::optional<int> ParseMute(std::string_view value);
std::optional<ErrorLevels> ParseErrors(std::string_view value);
// "hours on" pairs separated by single blanks, 1 to kMaxLamps lamps.
std::optional<std::vector<Lamp>> ParseLamps(std::string_view value);
// Inputs separated by single blanks, at most kMaxInputs; an empty list is a list.
std::optional<std::vector<std::string>> ParseInputs(std::string_view value, int pjlinkClass);
// A text of at most `limit` bytes (NAME 64, the others 32).
std::optional<std::string> ParseText(std::string_view value, std::size_t limit);
std::optional<int> ParseClass(std::string_view value);
// 0 to 99999 hours, one to five digits.
std::optional<int> ParseHours(std::string_view value);

// The highest level any part reports; 0 when nothing was reported.
int HighestErrorLevel(const Health& health);
// The most hours of any lamp; none without lamps.
std::optional<int> MostLampHours(const Health& health);

}  // namespace lanterna::pjlink
