#include "platform/RegistryHive.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <list>
#include <unordered_map>

#include "platform/AsciiCase.h"
#include "platform/DecimalText.h"

namespace lanterna {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool IsControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// Reads a run of 1 to `maxDigits` hex digits that makes up the whole text.
std::optional<std::uint32_t> HexNumber(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = AsciiHexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = (value << 4U) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

// "aa,bb,cc" (white space allowed around the bytes; empty for no bytes).
std::optional<std::string> HexBytes(std::string_view list) {
    std::string bytes;
    list = TrimAsciiSpace(list);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const auto byte = HexNumber(TrimAsciiSpace(list.substr(0, comma)), 2);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
        if (comma == std::string_view::npos) {
            break;
        }
        list = list.substr(comma + 1);
        if (TrimAsciiSpace(list).empty()) {
            return std::nullopt;
        }
    }
    return bytes;
}

// A quoted text starting at text[pos] with \\ and \" escapes; pos ends past the closing quote.
std::optional<std::string> QuotedText(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '"') {
        return std::nullopt;
    }
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) {
            ++pos;
        }
        out.push_back(text[pos]);
    }
    return std::nullopt;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string HexList(std::string_view bytes) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (i > 0) {
            out.push_back(',');
        }
        out.push_back(kDigits[byte >> 4U]);
        out.push_back(kDigits[byte & 0x0FU]);
    }
    return out;
}

bool IsPlainString(const RegistryValue& value) {
    const std::string& data = value.data;
    return value.type == kRegistryString && !data.empty() && data.back() == '\0' &&
           std::none_of(data.begin(), data.end() - 1, IsControlByte);
}

std::string DataText(const RegistryValue& value) {
    if (IsPlainString(value)) {
        return Quoted(std::string_view(value.data).substr(0, value.data.size() - 1));
    }
    if (value.type == kRegistryDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            number |= static_cast<std::uint32_t>(static_cast<unsigned char>(value.data[i]))
                      << (8U * i);
        }
        std::array<char, 16> text{};
        std::snprintf(text.data(), text.size(), "dword:%08x", number);
        return text.data();
    }
    if (value.type == kRegistryBinary) {
        return "hex:" + HexList(value.data);
    }
    std::array<char, 24> prefix{};
    std::snprintf(prefix.data(), prefix.size(), "hex(%x):", value.type);
    return prefix.data() + HexList(value.data);
}

// The data part of a value line: a quoted string, dword:, hex: or hex(N):.
std::optional<RegistryValue> ValueData(std::string_view data) {
    RegistryValue value;
    if (!data.empty() && data.front() == '"') {
        std::size_t pos = 0;
        auto text = QuotedText(data, pos);
        if (!text || !TrimAsciiSpace(data.substr(pos)).empty()) {
            return std::nullopt;
        }
        value.data = std::move(*text);
        value.data.push_back('\0');
        return value;
    }
    if (StartsWithFolded(data, "dword:")) {
        const auto number = HexNumber(TrimAsciiSpace(data.substr(6)), 8);
        if (!number) {
            return std::nullopt;
        }
        value.type = kRegistryDword;
        for (std::size_t i = 0; i < 4; ++i) {
            value.data.push_back(static_cast<char>((*number >> (8U * i)) & 0xFFU));
        }
        return value;
    }
    std::string_view list;
    if (StartsWithFolded(data, "hex:")) {
        value.type = kRegistryBinary;
        list = data.substr(4);
    } else if (StartsWithFolded(data, "hex(")) {
        const std::size_t close = data.find("):");
        const auto type = close == std::string_view::npos ? std::nullopt
                                                          : HexNumber(data.substr(4, close - 4), 8);
        if (!type) {
            return std::nullopt;
        }
        value.type = *type;
        list = data.substr(close + 2);
    } else {
        return std::nullopt;
    }
    auto bytes = HexBytes(list);
    if (!bytes) {
        return std::nullopt;
    }
    value.data = std::move(*bytes);
    return value;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

bool IsStorableRegistryName(std::string_view name) {
    return std::none_of(name.begin(), name.end(), IsControlByte);
}

const RegistryValue* RegistryKeyEntry::Find(std::string_view name) const {
    const auto found = index_.find(AsciiLowered(name));
    return found == index_.end() ? nullptr : &values_[found->second];
}

void RegistryKeyEntry::Set(RegistryValue value) {
    const auto [place, added] = index_.try_emplace(AsciiLowered(value.name), values_.size());
    if (added) {
        values_.push_back(std::move(value));
        return;
    }
    RegistryValue& existing = values_[place->second];
    existing.type = value.type;
    existing.data = std::move(value.data);
}

void RegistryKeyEntry::Reserve(std::size_t count) {
    values_.reserve(count);
    index_.reserve(count);
}

void RegistryKeyEntry::Clear() {
    values_.clear();
    index_.clear();
}

void SetRegistryValue(RegistryKeyEntry& key, RegistryValue value) {
    key.Set(std::move(value));
}

const RegistryValue* FindRegistryValue(const RegistryKeyEntry& key, std::string_view name) {
    return key.Find(name);
}

namespace {

// The values of one key while a file is parsed. A value line may delete a value set earlier
// ("name"=-), so they are kept in a list that deletes in constant time; the key receives them
// when the file has been read.
struct StagedValues {
    std::list<RegistryValue> values;
    std::unordered_map<std::string, std::list<RegistryValue>::iterator> index;

    void Set(RegistryValue value) {
        const std::string folded = AsciiLowered(value.name);
        const auto found = index.find(folded);
        if (found == index.end()) {
            values.push_back(std::move(value));
            index.emplace(folded, std::prev(values.end()));
            return;
        }
        found->second->type = value.type;
        found->second->data = std::move(value.data);
    }

    void Erase(std::string_view name) {
        const auto found = index.find(AsciiLowered(name));
        if (found != index.end()) {
            values.erase(found->second);
            index.erase(found);
        }
    }
};

// The name and the data text of a value line; nullopt for a line that cannot be read. A hex
// list continued on the following lines takes them in (`next` moves past them).
std::optional<std::pair<std::string, std::string>> ValueLine(
    std::string_view line, const std::vector<std::string_view>& lines, std::size_t& next) {
    std::size_t pos = 0;
    std::optional<std::string> name;
    if (line.front() == '@') {
        name = std::string();
        pos = 1;
    } else {
        name = QuotedText(line, pos);
    }
    if (!name || !IsStorableRegistryName(*name)) {
        return std::nullopt;
    }
    const std::string_view rest = TrimAsciiSpace(line.substr(pos));
    if (rest.empty() || rest.front() != '=') {
        return std::nullopt;
    }
    std::string data(TrimAsciiSpace(rest.substr(1)));
    if (StartsWithFolded(data, "hex")) {
        while (!data.empty() && data.back() == '\\' && next + 1 < lines.size()) {
            data.pop_back();
            data.append(TrimAsciiSpace(lines[++next]));
        }
    }
    return std::make_pair(std::move(*name), std::move(data));
}

}  // namespace

std::optional<RegistryHive> RegistryHive::Parse(std::string_view text) {
    if (text.starts_with(kUtf8ByteOrderMark)) {
        text.remove_prefix(kUtf8ByteOrderMark.size());
    }
    const std::vector<std::string_view> lines = SplitLines(text);
    std::size_t next = 0;
    while (next < lines.size() && TrimAsciiSpace(lines[next]).empty()) {
        ++next;
    }
    RegistryHive hive;
    if (next == lines.size()) {
        return hive;
    }
    if (TrimAsciiSpace(lines[next]) != kHeader) {
        return std::nullopt;
    }
    // Values go straight into their keys, unless the text deletes values ("name"=-): then they
    // are staged, so that each deletion costs constant time however many values the key holds.
    const bool deletes = text.find("=-") != std::string_view::npos;
    std::vector<StagedValues> staged;  // one per key of the hive, in the same order
    StagedValues* current = nullptr;   // the staged key the value lines belong to
    RegistryKeyEntry* currentKey = nullptr;
    for (++next; next < lines.size(); ++next) {
        const std::string_view line = TrimAsciiSpace(lines[next]);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            const std::string_view path = line.substr(1, line.size() - 2);
            current = nullptr;
            currentKey = nullptr;
            if (!path.empty() && path.front() != '-' && IsStorableRegistryName(path)) {
                currentKey = &hive.CreateKey(path);
                staged.resize(deletes ? hive.keys_.size() : 0);
                current = deletes
                              ? &staged[static_cast<std::size_t>(currentKey - hive.keys_.data())]
                              : nullptr;
            }
            continue;
        }
        if (currentKey == nullptr) {
            continue;
        }
        auto value = ValueLine(line, lines, next);
        if (!value) {
            continue;
        }
        auto& [name, data] = *value;
        if (data == "-") {
            if (current != nullptr) {
                current->Erase(name);
            }
        } else if (auto parsed = ValueData(data)) {
            parsed->name = std::move(name);
            if (current != nullptr) {
                current->Set(std::move(*parsed));
            } else {
                currentKey->Set(std::move(*parsed));
            }
        }
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        for (RegistryValue& value : staged[i].values) {
            hive.keys_[i].Set(std::move(value));
        }
    }
    return hive;
}

std::string RegistryHive::Serialize() const {
    std::string out(kHeader);
    out += "\r\n\r\n";
    for (const RegistryKeyEntry& key : keys_) {
        out.append("[").append(key.path).append("]\r\n");
        for (const RegistryValue& value : key.Values()) {
            out.append(value.name.empty() ? std::string("@") : Quoted(value.name));
            out.append("=").append(DataText(value)).append("\r\n");
        }
        out += "\r\n";
    }
    return out;
}

RegistryKeyEntry* RegistryHive::FindKey(std::string_view path) {
    const auto found = keyIndex_.find(AsciiLowered(path));
    return found == keyIndex_.end() ? nullptr : &keys_[found->second];
}

const RegistryKeyEntry* RegistryHive::FindKey(std::string_view path) const {
    return const_cast<RegistryHive*>(this)->FindKey(path);
}

RegistryKeyEntry& RegistryHive::CreateKey(std::string_view path) {
    const auto [place, added] = keyIndex_.try_emplace(AsciiLowered(path), keys_.size());
    if (added) {
        keys_.emplace_back(std::string(path));
    }
    return keys_[place->second];
}

bool RegistryHive::HasSubKeys(std::string_view path) const {
    return std::any_of(keys_.begin(), keys_.end(), [&](const RegistryKeyEntry& key) {
        return key.path.size() > path.size() + 1 && key.path[path.size()] == '\\' &&
               StartsWithFolded(key.path, path);
    });
}

bool RegistryHive::DeleteKey(std::string_view path) {
    const RegistryKeyEntry* key = FindKey(path);
    if (key == nullptr || HasSubKeys(path)) {
        return false;
    }
    const auto place = static_cast<std::size_t>(key - keys_.data());
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(place));
    keyIndex_.erase(AsciiLowered(path));
    for (auto& [folded, position] : keyIndex_) {
        position -= position > place ? 1 : 0;
    }
    return true;
}

std::string HivePathFor(const char* xdgConfigHome, const char* home) {
    std::string folder;
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        folder = xdgConfigHome;
    } else if (home != nullptr && home[0] != '\0') {
        folder = std::string(home) + "/.config";
    } else {
        return {};
    }
    return folder + "/lanterna/registry.reg";
}

std::string DefaultHivePath() {
    const char* home = std::getenv("HOME");
    std::string fromPasswd;
    if (home == nullptr || home[0] == '\0') {
        struct passwd entry {};
        struct passwd* result = nullptr;
        std::array<char, 4096> buffer{};
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
            result != nullptr && result->pw_dir != nullptr) {
            fromPasswd = result->pw_dir;
            home = fromPasswd.c_str();
        }
    }
    return HivePathFor(std::getenv("XDG_CONFIG_HOME"), home);
}

}  // namespace lanterna
