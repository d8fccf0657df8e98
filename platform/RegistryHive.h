#pragma once
// The per-user registry hive: keys under HKEY_CURRENT_USER with their values, kept in one file
// in the text form of a registry export:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\MIRAL VANTA\Lanterna\Manual]
//   "Count"=dword:00000002
//   "00"=hex(1):50,4a,2d,31,0a,31,30,2e,30,2e,30,2e,35,00
//   "00TYPE"="22"
//
// A string value is written in quotes (with \\ and \" escapes) when it is plain text followed
// by one terminating zero byte; any other string value (one holding a line feed or another
// control byte, for instance) is written as hex(1): with its exact bytes, terminator included.
// The bytes are the program's own (the user-interface code page), not UTF-16. DWORDs are
// written as dword:, every other type as hex: (binary) or hex(N):. Lines end with CR LF;
// loading accepts LF too, and hex lists continued with a trailing backslash. Loading and
// saving round-trip every value byte for byte.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lanterna {

inline constexpr std::uint32_t kRegistryString = 1;  // REG_SZ
inline constexpr std::uint32_t kRegistryBinary = 3;  // REG_BINARY
inline constexpr std::uint32_t kRegistryDword = 4;   // REG_DWORD

// Hive files larger than this are left alone (not read, not written over). An address-book entry
// takes about 90 bytes of the file: room for some 180,000 of them.
inline constexpr std::size_t kMaxHiveFileBytes = 16 * 1024 * 1024;

struct RegistryValue {
    std::string name;  // empty for the key's default value
    std::uint32_t type = kRegistryString;
    std::string data;  // raw bytes; a string value ends with its zero byte

    bool operator==(const RegistryValue&) const = default;
};

// One key and its values, in the order in which they were first set. Value names match without
// regard to ASCII case through an index, so that a key with many thousands of values is read and
// written in time linear in their number.
class RegistryKeyEntry {
  public:
    explicit RegistryKeyEntry(std::string keyPath) : path(std::move(keyPath)) {}

    std::string path;  // full path, root included, e.g. "HKEY_CURRENT_USER\Software\..."

    const std::vector<RegistryValue>& Values() const { return values_; }
    const RegistryValue* Find(std::string_view name) const;
    // Sets (replacing in place) or adds a value.
    void Set(RegistryValue value);
    void Clear();
    // Room for `count` values without growing on the way.
    void Reserve(std::size_t count);

  private:
    std::vector<RegistryValue> values_;
    std::unordered_map<std::string, std::size_t> index_;  // folded name -> place in values_
};

class RegistryHive {
  public:
    // nullopt when the text is not a registry export (its first line is not the header); an
    // empty or blank text is an empty hive. Lines that cannot be read are passed over.
    static std::optional<RegistryHive> Parse(std::string_view text);
    std::string Serialize() const;

    // Paths and value names match without regard to ASCII case; both are found through an index.
    RegistryKeyEntry* FindKey(std::string_view path);
    const RegistryKeyEntry* FindKey(std::string_view path) const;
    RegistryKeyEntry& CreateKey(std::string_view path);
    bool HasSubKeys(std::string_view path) const;
    // Removes the key; false when it does not exist or has sub-keys.
    bool DeleteKey(std::string_view path);

    const std::vector<RegistryKeyEntry>& Keys() const { return keys_; }

  private:
    std::vector<RegistryKeyEntry> keys_;
    std::unordered_map<std::string, std::size_t> keyIndex_;  // folded path -> place in keys_
};

// Sets (replacing in place) or adds a value of a key.
void SetRegistryValue(RegistryKeyEntry& key, RegistryValue value);
const RegistryValue* FindRegistryValue(const RegistryKeyEntry& key, std::string_view name);

// True for names and paths that fit on one line of the file (no control byte).
bool IsStorableRegistryName(std::string_view name);

// $XDG_CONFIG_HOME/lanterna/registry.reg, or ~/.config/lanterna/registry.reg when the variable
// is unset, empty or not absolute. Empty when no home folder is known either.
std::string HivePathFor(const char* xdgConfigHome, const char* home);
// The same from the process environment (and the password database for the home folder).
std::string DefaultHivePath();

}  // namespace lanterna
