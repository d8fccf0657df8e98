#include "platform/ProfileFile.h"

#include <algorithm>

#include "platform/DecimalText.h"

namespace lanterna {

std::string ProfileString(const ProfileDocument& document, std::string_view section,
                          std::string_view key, std::string_view defaultText,
                          std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    std::optional<std::string> value = document.Find(section, key);
    if (!value) {
        const std::size_t end = defaultText.find_last_not_of(' ');
        value = std::string(defaultText.substr(0, end == std::string_view::npos ? 0 : end + 1));
    }
    value->resize(std::min(value->size(), bufferSize - 1));
    return *value;
}

int ProfileInt(const ProfileDocument& document, std::string_view section, std::string_view key,
               int defaultValue) {
    const std::optional<std::string> value = document.Find(section, key);
    if (!value || value->empty()) {
        return defaultValue;
    }
    return LeadingDecimal(*value);
}

long long ProfileWideInt(const ProfileDocument& document, std::string_view section,
                         std::string_view key, long long defaultValue) {
    const std::optional<std::string> value = document.Find(section, key);
    if (!value || value->empty()) {
        return defaultValue;
    }
    return ScanLeadingDecimalWide(*value).value_or(0);
}

FileRead LoadProfile(const std::string& path, ProfileDocument& document) {
    std::string content;
    const FileRead result = ReadWholeFile(path, kMaxProfileFileBytes, content);
    document = result == FileRead::Loaded ? ProfileDocument(std::move(content)) : ProfileDocument();
    return result;
}

int SaveProfile(const std::string& path, const ProfileDocument& document, const FileSeam& seam) {
    if (!document.CanWriteBack()) {
        return 0;
    }
    return ReplaceFileAtomically(path, document.Serialize(), seam);
}

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultText,
                              std::size_t bufferSize) {
    ProfileDocument document;
    LoadProfile(path, document);
    return ProfileString(document, section, key, defaultText, bufferSize);
}

int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                   int defaultValue) {
    ProfileDocument document;
    LoadProfile(path, document);
    return ProfileInt(document, section, key, defaultValue);
}

int WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value, const FileSeam& seam) {
    ProfileDocument document;
    const FileRead loaded = LoadProfile(path, document);
    if (loaded != FileRead::Loaded && loaded != FileRead::Missing) {
        return 0;
    }
    if (!document.Set(section, key, value)) {
        return 0;
    }
    return SaveProfile(path, document, seam);
}

}  // namespace lanterna
