#include "settings/ConfigFile.h"

#include <algorithm>

#include "settings/ConfigFileKey.h"
#include "settings/ConfigFileText.h"
#include "settings/Des.h"

namespace lanterna {

namespace {

constexpr std::size_t kBlockSize = 8;
constexpr std::size_t kMaxPadding = kBlockSize - 1;

}  // namespace

std::vector<std::uint8_t> EncipherConfigText(std::string_view plainText) {
    const std::size_t padded = (plainText.size() + kMaxPadding) / kBlockSize * kBlockSize;
    std::vector<std::uint8_t> bytes(padded, 0);
    std::copy(plainText.begin(), plainText.end(), bytes.begin());
    TripleDes(ConfigFileKey()).EncryptEcb(bytes);
    return bytes;
}

bool DecipherConfigFile(std::span<const std::uint8_t> fileBytes, std::string& plainText) {
    if (fileBytes.size() % kBlockSize != 0) {
        return false;
    }
    std::vector<std::uint8_t> bytes(fileBytes.begin(), fileBytes.end());
    TripleDes(ConfigFileKey()).DecryptEcb(bytes);
    std::size_t length = bytes.size();
    while (length > 0 && bytes.size() - length < kMaxPadding && bytes[length - 1] == 0) {
        --length;
    }
    plainText.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    return true;
}

OutputStatus SaveConfigFile(const ProjectorRecord& record, const std::string& path) {
    const ConfigFileText plain = BuildConfigFileText(record);
    if (!plain.ok()) {
        return OutputStatus::kNotWritable;
    }
    const std::vector<std::uint8_t> bytes = EncipherConfigText(plain.text);
    // The file carries the wireless keys and passwords: a new one is the owner's alone.
    return WriteOutputFile(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        FileAccess::kPrivate);
}

bool WriteConfigFile(const ProjectorRecord& record, const std::filesystem::path& path) {
    return SaveConfigFile(record, path.string()) == OutputStatus::kOk;
}

int ReadConfigFile(const std::filesystem::path& path, std::string& plainText) {
    std::string content;
    switch (ReadWholeFile(path.string(), kConfigFileMaxSize, content)) {
        case FileRead::Loaded:
            break;
        case FileRead::TooLarge:
            return kConfigFileTooLarge;
        default:
            return kConfigFileUnreadable;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data());
    return DecipherConfigFile(std::span(bytes, content.size()), plainText) ? kConfigFileRead
                                                                           : kConfigFileBadLength;
}

}  // namespace lanterna
