#include "platform/ProfileDocument.h"

#include <algorithm>
#include <utility>

#include "platform/AsciiCase.h"
#include "platform/DecimalText.h"

namespace lanterna {

namespace {

enum class LineKind { Blank, Comment, Header, Key };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;                     // section or key name, trimmed
    std::optional<std::string_view> rawValue;  // text after the first '=' of a key line
};

ParsedLine ParseLine(std::string_view text) {
    const std::string_view trimmed = TrimAsciiSpace(text);
    if (trimmed.empty()) {
        return {};
    }
    if (trimmed.front() == ';') {
        return {LineKind::Comment, {}, std::nullopt};
    }
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos) {
            return {LineKind::Header, TrimAsciiSpace(trimmed.substr(1, close - 1)), std::nullopt};
        }
    }
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        return {LineKind::Key, trimmed, std::nullopt};
    }
    return {LineKind::Key, TrimAsciiSpace(trimmed.substr(0, equals)), trimmed.substr(equals + 1)};
}

std::string FoldedName(std::string_view name) {
    return AsciiLowered(TrimAsciiSpace(name));
}

bool HasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsStorableSectionName(std::string_view name) {
    return !name.empty() && TrimAsciiSpace(name).size() == name.size() &&
           !HasLineBreakOrZero(name) && name.find(']') == std::string_view::npos;
}

bool IsStorableKeyName(std::string_view key) {
    return !key.empty() && TrimAsciiSpace(key).size() == key.size() && !HasLineBreakOrZero(key) &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

// A UTF-16 file keeps its ASCII characters; every other character becomes '?'.
std::string NarrowUtf16(std::string_view bytes, bool littleEndian) {
    std::string narrow;
    narrow.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[littleEndian ? i : i + 1]);
        const auto high = static_cast<unsigned char>(bytes[littleEndian ? i + 1 : i]);
        const unsigned unit = (high << 8U) | low;
        narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return narrow;
}

}  // namespace

std::string ProfileValueOf(std::string_view rawValue) {
    std::string_view value = rawValue.substr(0, rawValue.find('\0'));
    value = TrimAsciiSpace(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
    a = TrimAsciiSpace(a);
    b = TrimAsciiSpace(b);
    return EqualIgnoringCase(a, b);
}

ProfileDocument::ProfileDocument(std::string content) : content_(std::move(content)) {
    const bool littleEndian = content_.starts_with("\xFF\xFE");
    if (littleEndian || content_.starts_with("\xFE\xFF")) {
        content_ = NarrowUtf16(content_, littleEndian);
        canWriteBack_ = false;
    } else if (content_.starts_with(kUtf8ByteOrderMark)) {
        bodyStart_ = kUtf8ByteOrderMark.size();
    }
    SplitLines();
}

void ProfileDocument::SplitLines() {
    std::size_t pos = bodyStart_;
    while (pos < content_.size()) {
        const std::size_t end = content_.find_first_of("\r\n", pos);
        Line line;
        line.begin = pos;
        if (end == std::string::npos) {
            line.length = content_.size() - pos;
        } else {
            line.length = end - pos;
            const bool crlf =
                content_[end] == '\r' && end + 1 < content_.size() && content_[end + 1] == '\n';
            line.eolLength = crlf ? 2 : 1;
        }
        lines_.push_back(line);
        pos = line.begin + line.length + line.eolLength;
    }
    IndexSections();
}

void ProfileDocument::IndexSections() {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine line = ParseLine(LineText(i));
        if (line.kind == LineKind::Header) {
            if (!sections_.empty()) {
                sections_.back().end = i;
            }
            sections_.push_back({i, lines_.size(), i, {}});
            sectionIndex_.try_emplace(FoldedName(line.name), sections_.size() - 1);
        } else if (line.kind == LineKind::Key && !sections_.empty()) {
            sections_.back().keys.try_emplace(FoldedName(line.name), i);
            sections_.back().lastKeyLine = i;
        }
    }
}

std::string_view ProfileDocument::LineText(std::size_t index) const {
    return std::string_view(content_).substr(lines_[index].begin, lines_[index].length);
}

std::optional<std::size_t> ProfileDocument::FindSection(std::string_view section) const {
    const auto found = sectionIndex_.find(FoldedName(section));
    return found == sectionIndex_.end() ? std::nullopt : std::optional(found->second);
}

std::optional<std::size_t> ProfileDocument::FindKeyLine(std::size_t section,
                                                        std::string_view key) const {
    const auto& keys = sections_[section].keys;
    const auto found = keys.find(FoldedName(key));
    return found == keys.end() ? std::nullopt : std::optional(found->second);
}

const ProfileDocument::PendingKey* ProfileDocument::FindPending(const std::vector<PendingKey>& keys,
                                                                std::string_view key) {
    const auto found = std::find_if(keys.begin(), keys.end(), [&](const PendingKey& pending) {
        return ProfileNamesEqual(pending.key, key);
    });
    return found == keys.end() ? nullptr : &*found;
}

ProfileDocument::PendingKey* ProfileDocument::FindPending(std::vector<PendingKey>& keys,
                                                          std::string_view key) {
    return const_cast<PendingKey*>(FindPending(std::as_const(keys), key));
}

std::optional<std::string> ProfileDocument::Find(std::string_view section,
                                                 std::string_view key) const {
    if (const auto index = FindSection(section)) {
        if (const auto keyLine = FindKeyLine(*index, key)) {
            if (const auto replaced = replacedValues_.find(*keyLine);
                replaced != replacedValues_.end()) {
                return ProfileValueOf(replaced->second);
            }
            const ParsedLine line = ParseLine(LineText(*keyLine));
            return line.rawValue ? std::optional(ProfileValueOf(*line.rawValue)) : std::nullopt;
        }
        const auto appended = appendedKeys_.find(*index);
        if (appended != appendedKeys_.end()) {
            if (const PendingKey* pending = FindPending(appended->second, key)) {
                return ProfileValueOf(pending->value);
            }
        }
        return std::nullopt;
    }
    for (const PendingSection& added : newSections_) {
        if (ProfileNamesEqual(added.name, section)) {
            const PendingKey* pending = FindPending(added.keys, key);
            return pending ? std::optional(ProfileValueOf(pending->value)) : std::nullopt;
        }
    }
    return std::nullopt;
}

std::unordered_map<std::string, std::optional<std::string>> ProfileDocument::KeyTable(
    std::string_view section) const {
    std::unordered_map<std::string, std::optional<std::string>> table;
    const auto index = FindSection(section);
    if (!index) {
        return table;
    }
    const Section& found = sections_[*index];
    for (std::size_t i = found.header + 1; i < found.end; ++i) {
        const ParsedLine line = ParseLine(LineText(i));
        if (line.kind != LineKind::Key) {
            continue;
        }
        std::optional<std::string> value;
        if (const auto replaced = replacedValues_.find(i); replaced != replacedValues_.end()) {
            value = ProfileValueOf(replaced->second);
        } else if (line.rawValue) {
            value = ProfileValueOf(*line.rawValue);
        }
        table.try_emplace(FoldedName(line.name), std::move(value));
    }
    if (const auto appended = appendedKeys_.find(*index); appended != appendedKeys_.end()) {
        for (const PendingKey& pending : appended->second) {
            table.try_emplace(FoldedName(pending.key), ProfileValueOf(pending.value));
        }
    }
    return table;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsStorableSectionName(section) || !IsStorableKeyName(key) || HasLineBreakOrZero(value)) {
        return false;
    }
    if (const auto index = FindSection(section)) {
        if (const auto keyLine = FindKeyLine(*index, key)) {
            replacedValues_[*keyLine] = std::string(value);
            return true;
        }
        std::vector<PendingKey>& appended = appendedKeys_[*index];
        if (PendingKey* pending = FindPending(appended, key)) {
            pending->value = std::string(value);
        } else {
            appended.push_back({std::string(key), std::string(value)});
        }
        return true;
    }
    auto added =
        std::find_if(newSections_.begin(), newSections_.end(),
                     [&](const PendingSection& s) { return ProfileNamesEqual(s.name, section); });
    if (added == newSections_.end()) {
        newSections_.push_back({std::string(section), {}});
        added = newSections_.end() - 1;
    }
    if (PendingKey* pending = FindPending(added->keys, key)) {
        pending->value = std::string(value);
    } else {
        added->keys.push_back({std::string(key), std::string(value)});
    }
    return true;
}

std::string ProfileDocument::Serialize() const {
    std::unordered_map<std::size_t, const std::vector<PendingKey>*> insertions;
    for (const auto& [section, keys] : appendedKeys_) {
        insertions[sections_[section].lastKeyLine] = &keys;
    }
    std::string out;
    out.reserve(content_.size() + 256);
    out.append(content_, 0, bodyStart_);
    const auto endLine = [&] {
        if (out.size() > bodyStart_ && out.back() != '\n' && out.back() != '\r') {
            out += "\r\n";
        }
    };
    const auto appendKeys = [&](const std::vector<PendingKey>& keys) {
        for (const PendingKey& pending : keys) {
            out.append(pending.key).append("=").append(pending.value).append("\r\n");
        }
    };
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view text = LineText(i);
        const std::string_view eol = std::string_view(content_).substr(
            lines_[i].begin + lines_[i].length, lines_[i].eolLength);
        if (const auto replaced = replacedValues_.find(i); replaced != replacedValues_.end()) {
            const std::string_view name = ParseLine(text).name;
            const auto nameEnd = static_cast<std::size_t>(name.data() - text.data()) + name.size();
            out.append(text.substr(0, nameEnd)).append("=").append(replaced->second);
            out.append(eol.empty() ? std::string_view("\r\n") : eol);
        } else {
            out.append(text).append(eol);
        }
        if (const auto inserted = insertions.find(i); inserted != insertions.end()) {
            endLine();
            appendKeys(*inserted->second);
        }
    }
    for (const PendingSection& added : newSections_) {
        endLine();
        out.append("[").append(added.name).append("]\r\n");
        appendKeys(added.keys);
    }
    return out;
}

}  // namespace lanterna
