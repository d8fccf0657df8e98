#pragma once
// Network configuration files (.ncf): the plain text of ConfigFileText.h, padded with zero bytes
// to whole 8-byte blocks and enciphered with triple DES (ECB) under ConfigFileKey(). No header,
// length, checksum or initialisation vector: the file length is the padded length.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AtomicFile.h"
#include "record/ProjectorRecord.h"

namespace lanterna {

// Results of ReadConfigFile.
inline constexpr int kConfigFileRead = 1;
inline constexpr int kConfigFileUnreadable = 0;  // missing, a folder, a read error
inline constexpr int kConfigFileBadLength = -1;  // not a whole number of 8-byte blocks
inline constexpr int kConfigFileTooLarge = -2;   // larger than any configuration file can be

// Larger files are refused by the reader.
inline constexpr std::size_t kConfigFileMaxSize = 64 * 1024;

// The text padded with zero bytes to the next multiple of 8 (unchanged when it already is one)
// and enciphered.
std::vector<std::uint8_t> EncipherConfigText(std::string_view plainText);

// Deciphers `fileBytes` and drops the zero padding (at most 7 trailing zero bytes). False, with
// `plainText` untouched, when the length is not a multiple of 8.
bool DecipherConfigFile(std::span<const std::uint8_t> fileBytes, std::string& plainText);

// Builds, enciphers and writes the file for `record` under the output policy of AtomicFile.h
// (a new file is readable by its owner only). kNotWritable also when the record holds a line
// break in a written text (see ConfigFileText).
OutputStatus SaveConfigFile(const ProjectorRecord& record, const std::string& path);

// SaveConfigFile as true (written) or false.
bool WriteConfigFile(const ProjectorRecord& record, const std::filesystem::path& path);

// Reads and deciphers a file written by WriteConfigFile; returns one of the kConfigFile*
// results and, on kConfigFileRead, the plain text without the padding.
int ReadConfigFile(const std::filesystem::path& path, std::string& plainText);

}  // namespace lanterna
