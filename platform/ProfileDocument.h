#pragma once
// A profile (.ini) file in memory, read and changed with the behaviour of the Windows
// private-profile routines:
// - a line "[name]" starts a section; "key=value" is a key; a line starting with ';' is a
//   comment; lines end with CR LF, LF or CR; bytes above 0x7F are ordinary bytes;
// - section and key names match without regard to ASCII case, surrounding white space ignored;
//   the first section of a name and the first key of a name in it are the ones used;
// - a value is read trimmed of surrounding white space, with one pair of matching surrounding
//   quotes (double or single) removed and cut at a zero byte; a key line without '=' reads as
//   missing;
// - writing a key that exists replaces its value in place; a new key goes after the last key of
//   its section, a new section to the end of the file; every other line stays byte for byte.
// Writes are collected and applied together by Serialize(), so a caller can save a whole batch
// of key writes as one file replacement. Sections and keys are indexed when the text is parsed,
// so a lookup or a write costs constant time whatever the size of the file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lanterna {

class ProfileDocument {
  public:
    ProfileDocument() = default;  // an empty file
    explicit ProfileDocument(std::string content);

    // The value as the platform's string reader returns it, or nullopt when the key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Every key of the first section of that name, by lower-case name, with its value
    // (nullopt for a key line without '='); for a key named twice the first counts.
    std::unordered_map<std::string, std::optional<std::string>> KeyTable(
        std::string_view section) const;

    // Records a write. False (and nothing recorded) when the names or the value cannot be held
    // in one line that reads back the same: empty names, names with surrounding white space, a
    // line break or zero byte anywhere, ']' in a section name, '=' in a key or a key starting
    // with ';' or '['.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // The file content with every recorded write applied; new lines end with CR LF.
    std::string Serialize() const;

    // False for a UTF-16 file: it is read (ASCII characters kept, others as '?') but writing it
    // back would change its encoding, so it must not be saved.
    bool CanWriteBack() const { return canWriteBack_; }

  private:
    struct Line {
        std::size_t begin = 0;
        std::size_t length = 0;      // without the terminator
        std::uint8_t eolLength = 0;  // 0 (last line), 1 (LF or CR) or 2 (CR LF)
    };
    struct Section {
        std::size_t header = 0;       // line of the "[name]"
        std::size_t end = 0;          // one past its last line
        std::size_t lastKeyLine = 0;  // where new keys go after; the header when it has none
        std::unordered_map<std::string, std::size_t> keys;  // lower-case name -> first key line
    };
    struct PendingKey {
        std::string key;
        std::string value;
    };
    struct PendingSection {
        std::string name;
        std::vector<PendingKey> keys;
    };

    void SplitLines();
    void IndexSections();
    std::string_view LineText(std::size_t index) const;
    // Index into sections_ of the first section of that name.
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKeyLine(std::size_t section, std::string_view key) const;
    static PendingKey* FindPending(std::vector<PendingKey>& keys, std::string_view key);
    static const PendingKey* FindPending(const std::vector<PendingKey>& keys, std::string_view key);

    std::string content_;
    std::size_t bodyStart_ = 0;  // after a UTF-8 byte-order mark, which is kept as it is
    bool canWriteBack_ = true;
    std::vector<Line> lines_;
    std::vector<Section> sections_;                              // in file order
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // lower-case name -> first

    std::unordered_map<std::size_t, std::string> replacedValues_;  // key line -> new value
    std::unordered_map<std::size_t, std::vector<PendingKey>> appendedKeys_;  // by section
    std::vector<PendingSection> newSections_;
};

// The text a value line yields: cut at a zero byte, trimmed, one pair of quotes removed.
std::string ProfileValueOf(std::string_view rawValue);

// ASCII case-insensitive equality of two names after trimming surrounding white space.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

}  // namespace lanterna
