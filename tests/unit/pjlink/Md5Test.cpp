#include <gtest/gtest.h>

#include "pjlink/Md5.h"

namespace lanterna::pjlink {
namespace {

// RFC 1321, appendix A.5, and the authentication example of the PJLink standard.
TEST(Md5, KnownDigests) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890123456789012345678901234567890"
         "1234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {"498e4a67JBMIAProjectorLink", "5d8409bc1c3fa39749434aa3a5c38682"},
    };
    for (const auto& [message, digest] : cases) {
        EXPECT_EQ(Md5Hex(message), digest) << message;
    }
}

// Lengths around the padding boundary (55, 56, 63, 64 bytes) take one or two last blocks.
TEST(Md5, PaddingBoundaries) {
    const std::pair<std::size_t, std::string_view> cases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"},
        {56, "3b0c8ac703f828b04c6c197006d17218"},
        {63, "b06521f39153d618550606be297466d5"},
        {64, "014842d480b571495a4a0363793f7367"},
    };
    for (const auto& [length, digest] : cases) {
        EXPECT_EQ(Md5Hex(std::string(length, 'a')), digest) << length;
    }
}

}  // namespace
}  // namespace lanterna::pjlink
