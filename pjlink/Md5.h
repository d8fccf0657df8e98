#pragma once
// The MD5 message digest (RFC 1321), which PJLink's authentication asks for: the digest of the
// projector's random value followed by the password. Not for anything that needs a secure hash.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lanterna::pjlink {

using Md5Digest = std::array<std::uint8_t, 16>;

// The digest of `message`. Pure; thread-safe.
Md5Digest Md5(std::string_view message);

// The digest as 32 lowercase hexadecimal digits.
std::string Md5Hex(std::string_view message);

}  // namespace lanterna::pjlink
