// The reply forms a conforming projector sends, each read by the read worker from a simulated
// projector that answers one query with exactly that value.

#include <functional>

#include "WorkerHarness.h"
#include "record/CutState.h"

namespace lanterna::test {
namespace {

enum class Module { kWired, kBasicWireless, kExtendedWireless };
using R = ProjectorRecord;

struct FormCase {
    const char* what;
    Module module;
    const char* command;
    std::string value;
    std::function<bool(const R&)> read;  // what the record must hold after the read
};

const std::string kAddresses = "OFF 10.9.0.5 255.255.255.0 10.9.0.1 ";

const FormCase kForms[] = {
    {"ESSID with a space, type 22", Module::kExtendedWireless, "NWWLCNFS",
     kAddresses + "02 Lab Net",
     [](const R& r) {
         return TextOf(r.essid) == "Lab Net" && r.adhoc == 0 && r.gateway == Octets{10, 9, 0, 1} &&
                r.essidState == kStateRead && r.gatewayState == kStateRead;
     }},
    {"type 22 mode above 3", Module::kExtendedWireless, "NWWLCNFS", kAddresses + "05 LAB-NET",
     [](const R& r) { return r.essidSet == 1 && r.adhoc == 1 && r.adhocState == kStateRead; }},
    {"ESSID with a space, WEP off", Module::kBasicWireless, "NWWLCNF", kAddresses + "4 Lab Net",
     [](const R& r) {
         return TextOf(r.essid) == "Lab Net" && r.wepEnabled == 0 && r.essidState == kStateRead;
     }},
    {"ESSID with a space, key last", Module::kBasicWireless, "NWWLCNF",
     kAddresses + "6 Lab Net 3132333435",
     [](const R& r) { return TextOf(r.essid) == "Lab Net" && TextOf(r.wepKey) == "3132333435"; }},
    {"stale key, WEP off", Module::kBasicWireless, "NWWLCNF", kAddresses + "4 LAB-NET 3132333435",
     [](const R& r) {
         return TextOf(r.essid) == "LAB-NET" && TextOf(r.wepKey).empty() &&
                r.wepKeyState == kStateRead;
     }},
    {"basic mode above 7", Module::kBasicWireless, "NWWLCNF", kAddresses + "12 LAB 0a0b0c0d0e",
     [](const R& r) { return r.essidSet == 1 && r.wepEnabled == 1 && r.adhoc == 1; }},
    {"DHCP on with addresses", Module::kWired, "NWCNF", "ON 10.66.0.11 255.255.0.0 10.66.0.1",
     [](const R& r) {
         return r.dhcp == 1 && r.subnetMask == Octets{255, 255, 0, 0} &&
                r.gateway == Octets{10, 66, 0, 1} && r.gatewayState == kStateRead;
     }},
    {"DHCP on alone", Module::kWired, "NWCNF", "ON",
     [](const R& r) {
         return r.dhcp == 1 && r.dhcpState == kStateRead && r.ipAddressState == kStateUnknown &&
                r.subnetMaskState == kStateUnknown && r.gatewayState == kStateUnknown;
     }},
    {"parts beyond the fourth", Module::kWired, "NWCNF", "OFF 10.0.0.5 255.0.0.0 10.0.0.1 7 x",
     [](const R& r) {
         return r.ipAddress == Octets{10, 0, 0, 5} && r.gatewayState == kStateRead;
     }},
    {"hardware address, blank behind", Module::kWired, "NWMAC", "00A0B1C2D3E4 ",
     [](const R& r) { return TextOf(r.macAddress) == "00A0B1C2D3E4"; }},
    {"security, blank and CR behind", Module::kExtendedWireless, "NWWLSEC", "120000 \r",
     [](const R& r) { return r.security[1] == 2 && r.securityState == kStateRead; }},
    {"name of 16 bytes", Module::kWired, "NWPNAME", "ROOM-12-EAST-WNG",
     [](const R& r) {
         return TextOf(r.projectorName) == "ROOM-12-EAST-WN" && r.projectorNameState == kStateCut;
     }},
    {"domain over 96", Module::kWired, "NWDNSDMN", std::string(100, 'd'),
     [](const R& r) { return TextOf(r.dnsDomain).size() == 96 && r.dnsDomainState == kStateCut; }},
    {"community over 8", Module::kWired, "NWCNAME", "public-lab",
     [](const R& r) { return TextOf(r.community) == "public-l" && r.communityState == kStateCut; }},
    {"WEP key of 255 bytes", Module::kExtendedWireless, "NWWEP1", std::string(255, 'a'),
     [](const R& r) { return TextOf(r.wepKey1).size() == 26 && r.wepKey1State == kStateCut; }},
    {"WEP key of 256 bytes: not reported", Module::kExtendedWireless, "NWWEP1",
     std::string(256, 'a'),
     [](const R& r) { return TextOf(r.wepKey1).empty() && r.wepKey1State == kStateUnknown; }},
    {"key number 0: not reported", Module::kExtendedWireless, "NWWEPID", "0",
     [](const R& r) {
         return r.wepKeyId == 0 && r.wepKeyIdState == kStateUnknown && r.wepKey4State == kStateRead;
     }},
    {"interface 00 is wired", Module::kWired, "NWIF", "00",
     [](const R& r) { return r.wirelessActive == 0 && r.dhcpState == kStateRead; }},
    {"interface 2 is wireless", Module::kWired, "NWIF", "2",
     [](const R& r) { return r.wirelessActive == 1; }},
};

TEST(ReplyForms, EachFormIsReadAsTheProjectorMeansIt) {
    int host = 1;
    for (const FormCase& c : kForms) {
        SCOPED_TRACE(c.what);
        auto config = ProjectorAt("127.86.9." + std::to_string(host++));
        config.mac = "00A0B1C2D3E4";
        config.wireless = c.module != Module::kWired;
        config.imType = c.module == Module::kExtendedWireless ? 22 : 21;
        config.faults.replyFaults = {{c.command, {sim::ReplyFaultKind::kRawValue, 0, c.value}}};
        CWorkerBench bench(config);
        auto settings = bench.projector.Settings();
        settings.security = "110000";
        bench.projector.SetSettings(settings);
        EXPECT_EQ(ReadWorker(*bench.state), 1);
        EXPECT_TRUE(c.read(bench.Record()));
    }
}

}  // namespace
}  // namespace lanterna::test
