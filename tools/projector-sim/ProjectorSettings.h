#pragma once
// Everything a simulated projector remembers: its identity and every network setting the
// command language reads and writes.

#include <array>
#include <cstdint>
#include <string>

#include "record/DottedAddress.h"

namespace lanterna::sim {

struct SimulatorConfig;

// The settings one network interface keeps for itself (wired, or wireless LAN).
struct InterfaceSettings {
    bool dhcp = false;
    Octets ipAddress{};
    Octets subnetMask{};
    Octets gateway{};
    Octets dns1{};
    Octets dns2{};
    std::string dnsDomain;
    Octets wins1{};
    Octets wins2{};

    bool operator==(const InterfaceSettings&) const = default;
};

struct ProjectorSettings {
    // Identity.
    std::string name;
    std::string password;  // changed by the password-change handshake
    std::string mac;       // 12 hexadecimal digits, answered by NWMAC and NWWLMAC
    std::uint8_t imType = 0;
    bool wireless = false;  // NWIF: 0 wired, 1 wireless

    InterfaceSettings wired;        // NWCNF, NWDNS, NWWINS, NWDNSDMN
    InterfaceSettings wirelessLan;  // NWWLCNF(S), NWWLDNS, NWWLWINS, NWWLDNSDMN

    // NWWLCNF (modules other than type 22): mode bits 4 ESSID, 2 WEP, 1 ad hoc.
    int basicWirelessMode = 0;
    std::string wepKey;  // hexadecimal key text as sent
    // NWWLCNFS (type 22): mode 0 to 3, bits 2 ESSID, 1 ad hoc.
    int extendedWirelessMode = 0;
    std::string essid;  // shared by both wireless commands

    // Mail notification.
    bool mailNotify = false;
    Octets smtpServer{};
    std::uint16_t smtpPort = 25;
    std::array<std::string, 3> mailTo;
    std::array<std::array<std::uint16_t, 2>, 3> mailEvents{};  // the two wire words each

    // SNMP.
    Octets trapAddress1{};
    Octets trapAddress2{};
    std::string community = "public";

    std::uint16_t primaryInterface = 0;

    // Wireless security of type 22 modules.
    std::string security = "000000";  // six digits as NWWLSEC carries them
    int wepKeyId = 1;
    std::array<std::string, 4> wepKeys;  // hexadecimal key texts; empty after "INIT"

    bool operator==(const ProjectorSettings&) const = default;
};

// 12 upper-case hexadecimal digits "0200" followed by the four octets of the address, so that
// projectors on distinct addresses have distinct hardware addresses.
std::string DerivedMac(const Octets& address);

// The settings a projector starts with: the identity of the configuration, the listening
// address as the static address of the interface in use (mask 255.255.255.0, gateway .1 of
// the same network, or .254 when the projector itself is .1), DHCP on the other interface,
// mail off on port 25, community "public", primary interface = the interface in use, and for
// a wireless projector the ESSID "PROJ-LAN" in infrastructure mode.
ProjectorSettings DefaultSettings(const SimulatorConfig& config);

}  // namespace lanterna::sim
