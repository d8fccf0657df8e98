#pragma once
// One open key of the per-user registry hive (RegistryHive.h), with the operations of the
// Windows registry that the address book needs. Every operation returns 1 on success and 0 on
// failure (also when no key is open). Each change is saved at once, as one atomic replacement
// of the hive file; a failed save leaves the file and the open key as they were. The values are
// read from the hive as it was when the key was opened or last changed through this object.
// Not thread-safe: one object belongs to one thread.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/RegistryHive.h"

namespace lanterna {

enum class RegistryRoot { CurrentUser };  // HKEY_CURRENT_USER

// The program's key and the address book's sub-key, joined as "%s%s".
inline constexpr std::string_view kProgramKeyPath = "Software\\MIRAL VANTA\\Lanterna";
inline constexpr std::string_view kAddressBookSubKey = "\\Manual";

// Where the hive lives and how it is written: the user's hive in the program, a temporary file
// (and a failing file seam) in tests.
struct HiveFile {
    std::string path;  // its folder is created when the first change is saved
    FileSeam seam = RealFileSeam();

    static HiveFile UserDefault() { return {DefaultHivePath(), RealFileSeam()}; }
};

class RegistryKey {
  public:
    explicit RegistryKey(HiveFile hive = HiveFile::UserDefault());
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() = default;  // an open key needs no closing beyond forgetting it

    // Opens the key at `path` below the root, creating it when it does not exist. Fails when
    // the hive file cannot be read or is not a registry export (it is then left alone).
    int OpenOrCreate(RegistryRoot root, std::string_view path);
    int Close();
    bool IsOpen() const { return open_.has_value(); }

    // A string value: the text's bytes and one terminating zero byte.
    int SetString(std::string_view name, std::string_view text);
    int SetDword(std::string_view name, std::uint32_t value);
    // Reads a string value whose stored size (terminator included) is at most `limit` bytes;
    // `text` gets its bytes up to the first zero byte. Longer values and other types fail.
    int GetString(std::string_view name, std::string& text, std::size_t limit) const;
    int GetDword(std::string_view name, std::uint32_t& value) const;
    // The open key as last read or saved; null when no key is open.
    const RegistryKeyEntry* OpenEntry() const;
    // Replaces every value of the open key by `values`, in one save.
    int ReplaceValues(std::vector<RegistryValue> values);
    // OpenOrCreate and ReplaceValues at once: the hive is read once and saved once, which
    // matters for a key of many thousands of values. On failure the file is as it was and no
    // key is open.
    int CreateWithValues(RegistryRoot root, std::string_view path,
                         std::vector<RegistryValue> values);

    // Deletes the key at `path` below the root; fails when it is missing or has sub-keys.
    int DeleteSubKey(RegistryRoot root, std::string_view path);

  private:
    // Reads the hive file; nullopt when it cannot be read or is not a hive.
    std::optional<RegistryHive> LoadHive() const;
    int SaveHive(const RegistryHive& hive) const;
    // Re-reads the hive, applies `change` to the open key and saves.
    template <typename Change>
    int ChangeOpenKey(Change&& change);

    HiveFile hiveFile_;
    std::optional<std::string> open_;  // full path of the open key
    RegistryHive hive_;                // as last read or saved
};

// "HKEY_CURRENT_USER\" + path.
std::string FullRegistryPath(RegistryRoot root, std::string_view path);

}  // namespace lanterna
