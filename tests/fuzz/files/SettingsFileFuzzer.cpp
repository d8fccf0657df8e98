// Reads arbitrary bytes as a settings file and checks the reader's promises, then saves the
// record into the same content (in memory) and checks that the save reads back.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/ProfileFile.h"
#include "settings/SettingsFile.h"
#include "tests/fuzz/files/FuzzSupport.h"

namespace {

bool IsState(std::int32_t state) {
    return state == 0 || state == 1;
}

template <std::size_t N>
bool IsTerminated(const lanterna::FixedText<N>& text) {
    return std::memchr(text.data(), '\0', N) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lanterna;
    const std::string& path = fuzz::WriteScratch(data, size);
    // Zeroed whole, padding included, so that two records can be compared byte for byte.
    ProjectorRecord record;
    std::memset(&record, 0, sizeof record);
    const int result = ReadSettingsFile(record, path);
    FUZZ_CHECK(result == 0 || result == 1);
    FUZZ_CHECK(record.writeAll == 1);
    FUZZ_CHECK(record.wirelessActive == 0 || record.wirelessActive == 1);
    for (const std::int32_t state : {record.dhcpState, record.ipAddressState, record.mailTo1State,
                                     record.communityState, record.essidState, record.securityState,
                                     record.primaryInterfaceState, record.wepKey4State}) {
        FUZZ_CHECK(IsState(state));
    }
    FUZZ_CHECK(IsTerminated(record.projectorName) && IsTerminated(record.dnsDomain) &&
               IsTerminated(record.essid) && IsTerminated(record.iniVersion));
    FUZZ_CHECK(std::strlen(record.iniVersion.data()) <= 6);
    FUZZ_CHECK(std::strlen(record.macAddress.data()) <= 12);

    ProfileDocument document;
    if (LoadProfile(path, document) != FileRead::Loaded || !document.CanWriteBack()) {
        return 0;
    }
    ProjectorRecord fromDocument;
    std::memset(&fromDocument, 0, sizeof fromDocument);
    FUZZ_CHECK(ReadSettingsDocument(fromDocument, document) == result);
    FUZZ_CHECK(fromDocument == record);

    // Texts read from a file never hold a line break, so the save must be storable; and what a
    // usable file gave saves to a usable file, with the values written. (Saved over the file
    // itself, keys the save does not write would keep values the reader refused or passed over.)
    FUZZ_CHECK(StoreSettings(record, document));
    if (result != 1) {
        return 0;
    }
    ProfileDocument fresh;
    FUZZ_CHECK(StoreSettings(record, fresh));
    ProjectorRecord saved{};
    FUZZ_CHECK(ReadSettingsDocument(saved, ProfileDocument(fresh.Serialize())) == 1);
    FUZZ_CHECK(saved.dhcp == record.dhcp && saved.mailNotify == record.mailNotify);
    FUZZ_CHECK(saved.imType == record.imType);
    FUZZ_CHECK(saved.trapAddress1 == record.trapAddress1);
    return 0;
}
