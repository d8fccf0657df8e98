#pragma once
// One projector of the list together with its complete set of network settings.
// Every setting that travels to the projector has a state word (see SettingState).

#include <array>
#include <cstdint>
#include <type_traits>

#include "platform/FixedText.h"
#include "record/DottedAddress.h"

namespace lanterna {

// Values of the state words.
enum SettingState : std::int32_t {
    kStateUnknown = 0,    // never read, or the last read failed
    kStateRead = 1,       // read from the projector or loaded from a settings file
    kStateChanged = 2,    // changed by the user in a dialog
    kStateUnchanged = 3,  // confirmed unchanged by a dialog; never sent
};

// How the entry entered the projector list.
enum ProjectorOrigin : std::int32_t {
    kOriginSearch = 0,
    kOriginAddress = 1,
    kOriginImport = 2,
};

// Which searches found a projector (bits of ProjectorRecord::foundBy). A projector only the
// PJLink search found has no network module the program can reach: only PJLink speaks to it.
enum RecordFinder : std::uint8_t {
    kFinderHello = 1U,
    kFinderSecondary = 2U,
    kFinderPjlink = 4U,
};

// Interface-module types with a meaning of their own.
inline constexpr std::uint8_t kImTypeExtendedWireless = 22;  // NWWLCNFS, NWWLSEC, NWWEP*
inline constexpr std::uint8_t kImTypeRejected = 20;          // never admitted to the list

// Zero-filled on creation; trivially copyable, so a record can be saved and restored whole.
// Records are compared with ==, field by field: the padding between fields is no part of the
// value and may differ between equal records.
struct ProjectorRecord {
    std::int32_t origin = 0;
    std::int32_t writeAll = 0;
    FixedText<21> address{};
    FixedText<15> password{};
    FixedText<16> macAddress{};
    std::int32_t wirelessActive = 0;
    std::int32_t dhcp = 0;
    FixedText<16> projectorName{};
    Octets ipAddress{};
    Octets subnetMask{};
    Octets gateway{};
    Octets dns1{};
    Octets dns2{};
    FixedText<97> dnsDomain{};
    Octets wins1{};
    Octets wins2{};
    std::int32_t mailNotify = 0;
    Octets smtpServer{};
    std::uint16_t smtpPort = 0;
    FixedText<65> mailTo1{};
    std::uint32_t mailEvents1 = 0;
    FixedText<65> mailTo2{};
    std::uint32_t mailEvents2 = 0;
    FixedText<65> mailTo3{};
    std::uint32_t mailEvents3 = 0;
    Octets trapAddress1{};
    Octets trapAddress2{};
    FixedText<9> community{};
    std::int32_t essidSet = 0;
    FixedText<36> essid{};
    std::int32_t wepEnabled = 0;
    FixedText<28> wepKey{};
    std::int32_t adhoc = 0;

    std::int32_t dhcpState = 0;
    std::int32_t projectorNameState = 0;
    std::int32_t ipAddressState = 0;
    std::int32_t subnetMaskState = 0;
    std::int32_t gatewayState = 0;
    std::int32_t dns1State = 0;
    std::int32_t dns2State = 0;
    std::int32_t dnsDomainState = 0;
    std::int32_t wins1State = 0;
    std::int32_t wins2State = 0;
    std::int32_t mailNotifyState = 0;
    std::int32_t smtpServerState = 0;
    std::int32_t smtpPortState = 0;
    std::int32_t mailTo1State = 0;
    std::int32_t mailTo2State = 0;
    std::int32_t mailTo3State = 0;
    std::int32_t mailEvents1State = 0;
    std::int32_t mailEvents2State = 0;
    std::int32_t mailEvents3State = 0;
    std::int32_t trapAddress1State = 0;
    std::int32_t trapAddress2State = 0;
    std::int32_t communityState = 0;
    std::int32_t essidState = 0;
    std::int32_t wepEnabledState = 0;
    std::int32_t wepKeyState = 0;
    std::int32_t adhocState = 0;
    std::int32_t primaryInterfaceState = 0;
    std::int32_t securityState = 0;
    std::int32_t wepKeyIdState = 0;
    std::int32_t wepKey1State = 0;
    std::int32_t wepKey2State = 0;
    std::int32_t wepKey3State = 0;
    std::int32_t wepKey4State = 0;

    std::uint32_t primaryInterface = 0;
    std::array<std::int32_t, 4> security{};
    std::int32_t wepKeyId = 0;
    FixedText<27> wepKey1{};
    FixedText<27> wepKey2{};
    FixedText<27> wepKey3{};
    FixedText<27> wepKey4{};
    FixedText<64> securityPsk{};
    FixedText<65> securityUser{};
    FixedText<65> securityPassword{};
    std::uint8_t imType = 0;
    FixedText<9> iniVersion{};
    std::uint8_t foundBy = 0;  // RecordFinder bits; 0: named by its address, imported or a file
    // Where PJLink's search answered, when not at `address`, and the hardware address it
    // reported: a claim of the PJLink side, kept apart from macAddress, which only a read of the
    // network module puts in.
    FixedText<16> pjlinkAddress{};
    FixedText<18> pjlinkMacAddress{};

    friend bool operator==(const ProjectorRecord&, const ProjectorRecord&) = default;
};

static_assert(std::is_trivially_copyable_v<ProjectorRecord>);

// Copies `source` over `target` as a whole but keeps the target's origin, wirelessActive,
// address, password, macAddress, foundBy and PJLink side: applying a settings file never changes
// which projector is addressed or how it is reached.
void CopySettings(const ProjectorRecord& source, ProjectorRecord& target);

// True when the four security numbers equal the given code (e.g. 1,1,0,0).
bool HasSecurityCode(const ProjectorRecord& record, std::int32_t a, std::int32_t b, std::int32_t c,
                     std::int32_t d);

// The two codes with which WEP keys are read, written and put in configuration files.
bool UsesWepKeys(const ProjectorRecord& record);

// Whether only the PJLink search found the projector: its network module never answered.
inline bool OnlyPjlinkFound(const ProjectorRecord& record) {
    return record.foundBy == kFinderPjlink;
}

}  // namespace lanterna
