// What the audit finds, from the settings of the projectors that trigger each finding; beside
// each, settings close to them that do not.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "fleet/AuditFindings.h"
#include "record/RecordSlots.h"

namespace lanterna::fleet {
namespace {

// A projector with nothing to find: a password, its own community, a static address with a DNS
// server, mail off, the wired interface.
AuditedProjector CleanProjector(const std::string& address, const std::string& name) {
    AuditedProjector projector;
    projector.address = address;
    projector.passwordSet = true;
    ProjectorRecord& r = projector.record;
    CopyText(r.projectorName, name);
    ScanDottedInto(address, r.ipAddress);
    r.subnetMask = {255, 255, 255, 0};
    r.dns1 = {10, 0, 0, 53};
    CopyText(r.community, "ops1");
    r.communityState = kStateRead;
    return projector;
}

using Change = std::function<void(AuditedProjector&)>;

// One finding: the projector it is about, its kind, what was found and who shares it.
using Found = std::tuple<std::size_t, std::string, std::string, std::vector<std::string>>;

std::vector<Found> FindingsOf(const std::vector<AuditedProjector>& projectors) {
    std::vector<Found> found;
    for (const Finding& finding : Audit(projectors)) {
        found.emplace_back(finding.projector, std::string(finding.kind->id), finding.value,
                           finding.alsoAt);
    }
    return found;
}

void Wireless(ProjectorRecord& r, std::uint8_t imType) {
    r.wirelessActive = 1;
    r.imType = imType;
    CopyText(r.essid, "HALL-LAN");
}

TEST(AuditFindings, SettingsToFindings) {
    const struct {
        std::string what;
        Change first;   // the first of two projectors
        Change second;  // the second; it has nothing to find unless changed
        std::vector<Found> expected;
    } cases[] = {
        {"nothing", [](auto&) {}, [](auto&) {}, {}},
        {"no password",
         [](auto& p) { p.passwordSet = false; },
         [](auto&) {},
         {{0, "no-password", "", {}}}},
        {"empty community",
         [](auto& p) { CopyText(p.record.community, ""); },
         [](auto&) {},
         {{0, "community-empty", "", {}}}},
        {"community not read",
         [](auto& p) {
             CopyText(p.record.community, "");
             p.record.communityState = kStateUnknown;
         },
         [](auto&) {},
         {}},
        {"default community, any case",
         [](auto& p) { CopyText(p.record.community, "Public"); },
         [](auto&) {},
         {{0, "community-default", "Public", {}}}},
        {"a community like a default",
         [](auto& p) { CopyText(p.record.community, "publics"); },
         [](auto&) {},
         {}},
        {"WEP on a basic module",
         [](auto& p) {
             Wireless(p.record, 21);
             p.record.wepEnabled = 1;
         },
         [](auto& p) { Wireless(p.record, 21); },
         {{0, "wep", "WEP", {}}}},
        {"WEP on a type-22 module",
         [](auto& p) {
             Wireless(p.record, kImTypeExtendedWireless);
             p.record.security = {1, 2, 0, 0};
         },
         [](auto& p) {
             Wireless(p.record, kImTypeExtendedWireless);
             p.record.security = {2, 0, 1, 0};  // WPA-PSK
         },
         {{0, "wep", "WEP 128-bit", {}}}},
        {"an open wireless LAN on a basic module, and one whose WEP was not read",
         [](auto& p) {
             Wireless(p.record, 21);
             p.record.wepEnabledState = kStateRead;
         },
         [](auto& p) { Wireless(p.record, 21); },
         {{0, "open-wlan", "HALL-LAN", {}}}},
        {"an open wireless LAN on a type-22 module, and one with WPA-PSK",
         [](auto& p) {
             Wireless(p.record, kImTypeExtendedWireless);
             p.record.securityState = kStateRead;
         },
         [](auto& p) {
             Wireless(p.record, kImTypeExtendedWireless);
             p.record.securityState = kStateRead;
             p.record.security = {2, 0, 1, 0};
         },
         {{0, "open-wlan", "HALL-LAN", {}}}},
        {"no security read in ad hoc mode is not known to be open",
         [](auto& p) {
             Wireless(p.record, kImTypeExtendedWireless);
             p.record.adhoc = 1;
             p.record.securityState = kStateRead;
         },
         [](auto& p) {
             p.record.wepEnabledState = kStateRead;  // wired: WEP off means nothing
         },
         {{0, "ad-hoc", "HALL-LAN", {}}}},
        {"WEP set but the wired interface in use",
         [](auto& p) { p.record.wepEnabled = 1; },
         [](auto&) {},
         {}},
        {"ad hoc",
         [](auto& p) {
             Wireless(p.record, kImTypeExtendedWireless);
             p.record.adhoc = 1;
         },
         [](auto& p) { p.record.adhoc = 1; },  // wired: ad hoc means nothing
         {{0, "ad-hoc", "HALL-LAN", {}}}},
        {"mail without events",
         [](auto& p) {
             p.record.mailNotify = 1;
             CopyText(p.record.mailTo1, "ops@example.org");
             CopyText(p.record.mailTo2, "desk@example.org");
         },
         [](auto& p) {
             p.record.mailNotify = 1;
             CopyText(p.record.mailTo1, "ops@example.org");
             p.record.mailEvents1 = 0x001;
         },
         {{0, "mail-without-events", "ops@example.org desk@example.org", {}}}},
        {"events only for a recipient that is not set",
         [](auto& p) {
             p.record.mailNotify = 1;
             p.record.mailEvents2 = 0x7ff;
         },
         [](auto& p) { p.record.mailEvents1 = 0x001; },  // notification off
         {{0, "mail-without-events", "", {}}}},
        {"DHCP without DNS",
         [](auto& p) {
             p.record.dhcp = 1;
             p.record.dns1 = {};
         },
         [](auto& p) {
             p.record.dhcp = 1;
             p.record.dns1 = {};
             p.record.dns2 = {10, 0, 0, 54};
         },
         {{0, "dhcp-without-dns", "", {}}}},
        {"a static address twice",
         [](auto& p) {
             p.record.ipAddress = {10, 1, 1, 5};
         },
         [](auto& p) {
             p.record.ipAddress = {10, 1, 1, 5};
         },
         {{0, "duplicate-address", "10.1.1.5", {"10.0.0.2"}},
          {1, "duplicate-address", "10.1.1.5", {"10.0.0.1"}}}},
        {"the same address, one of them under DHCP",
         [](auto& p) {
             p.record.ipAddress = {10, 1, 1, 5};
         },
         [](auto& p) {
             p.record.ipAddress = {10, 1, 1, 5};
             p.record.dhcp = 1;
         },
         {}},
        {"a name twice",
         [](auto& p) { CopyText(p.record.projectorName, "HALL-1F"); },
         [](auto& p) { CopyText(p.record.projectorName, "HALL-1F"); },
         {{0, "duplicate-name", "HALL-1F", {"10.0.0.2"}},
          {1, "duplicate-name", "HALL-1F", {"10.0.0.1"}}}},
        {"no names",
         [](auto& p) { CopyText(p.record.projectorName, ""); },
         [](auto& p) { CopyText(p.record.projectorName, ""); },
         {}},
        {"several on one projector, in the order of the checks",
         [](auto& p) {
             p.passwordSet = false;
             CopyText(p.record.community, "private");
         },
         [](auto&) {},
         {{0, "no-password", "", {}}, {0, "community-default", "private", {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<AuditedProjector> projectors = {CleanProjector("10.0.0.1", "ROOM-201"),
                                                    CleanProjector("10.0.0.2", "ROOM-202")};
        c.first(projectors[0]);
        c.second(projectors[1]);
        EXPECT_EQ(FindingsOf(projectors), c.expected);
    }
}

// A finding about several projectors stands under each of them, with the others named.
TEST(AuditFindings, SharedFindingsNameEveryOtherProjector) {
    std::vector<AuditedProjector> projectors;
    for (const char* address : {"10.0.0.1", "10.0.0.2", "10.0.0.3"}) {
        projectors.push_back(CleanProjector(address, "LAB-1"));
    }
    EXPECT_EQ(FindingsOf(projectors),
              (std::vector<Found>{{0, "duplicate-name", "LAB-1", {"10.0.0.2", "10.0.0.3"}},
                                  {1, "duplicate-name", "LAB-1", {"10.0.0.1", "10.0.0.3"}},
                                  {2, "duplicate-name", "LAB-1", {"10.0.0.1", "10.0.0.2"}}}));
}

}  // namespace
}  // namespace lanterna::fleet
