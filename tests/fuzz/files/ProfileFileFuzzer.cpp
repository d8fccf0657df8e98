// Feeds arbitrary bytes to the profile reader and writer and checks what must hold for any
// file: an unchanged document serialises to exactly its input, and a key that was written
// reads back as written while every other key reads as before.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ProfileFile.h"
#include "tests/fuzz/files/FuzzSupport.h"

namespace lanterna {
namespace {

// Names the input also uses, so that writes hit existing sections and keys.
constexpr std::string_view kSections[] = {"COMMON", "network", "PROJECTOR", "S"};
constexpr std::string_view kKeys[] = {"NM_PROJECTORNAME", "nm_ip", "Count", "K"};

void CheckWrite(const std::string& content, std::string_view section, std::string_view key,
                std::string_view value) {
    ProfileDocument document(content);
    if (!document.CanWriteBack() || !document.Set(section, key, value)) {
        return;
    }
    const std::string written = document.Serialize();
    const ProfileDocument reread(written);
    FUZZ_CHECK(reread.Find(section, key) == ProfileValueOf(value));
    FUZZ_CHECK(document.Find(section, key) == ProfileValueOf(value));
    const ProfileDocument before(content);
    for (const std::string_view otherSection : kSections) {
        for (const std::string_view otherKey : kKeys) {
            if (!ProfileNamesEqual(otherSection, section) || !ProfileNamesEqual(otherKey, key)) {
                FUZZ_CHECK(reread.Find(otherSection, otherKey) ==
                           before.Find(otherSection, otherKey));
            }
        }
    }
}

}  // namespace
}  // namespace lanterna

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lanterna;
    const std::string content(reinterpret_cast<const char*>(data), size);
    const ProfileDocument document(content);
    if (document.CanWriteBack()) {
        FUZZ_CHECK(document.Serialize() == content);
    }
    for (const std::string_view section : kSections) {
        for (const std::string_view key : kKeys) {
            const std::string text = ProfileString(document, section, key, "DEFAULT", 1024);
            FUZZ_CHECK(text.size() < 1024);
            FUZZ_CHECK(text.find('\0') == std::string::npos);
            (void)ProfileInt(document, section, key, -1);
        }
        (void)document.KeyTable(section);
    }
    // A write whose names and value come from the input's first bytes, and fixed ones.
    const std::string_view bytes(content);
    const std::size_t cut = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 8;
    const std::string_view head = bytes.substr(bytes.empty() ? 0 : 1, cut);
    CheckWrite(content, head, "K", "value");
    CheckWrite(content, "S", head, " \"quoted\" ");
    CheckWrite(content, kSections[size % 4], kKeys[(size / 4) % 4], head);

    // The file routines give the same answers as the document.
    const std::string& path = fuzz::WriteScratch(data, size);
    FUZZ_CHECK(ReadProfileString(path, "S", "K", "DEFAULT", 64) ==
               ProfileString(document, "S", "K", "DEFAULT", 64));
    return 0;
}
