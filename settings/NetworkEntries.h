#pragma once
// The wired network entries of a projector (name, DHCP, addresses, DNS, domain, WINS, preferred
// interface): the checks the network settings dialog runs on Save, OK and create, in screen
// order, and how accepted entries are taken into a record. Qt-free: callable on values taken
// from a record (EntriesOf) as well as on what a user typed.

#include <cstddef>
#include <cstdint>
#include <string>

#include "record/ProjectorRecord.h"
#include "settings/AddressRules.h"
#include "settings/EntryVerdict.h"

namespace lanterna {

class ProjectorList;

struct NetworkEntries {
    std::string name;
    bool dhcp = false;
    AddressEntry ipAddress;
    AddressEntry subnetMask;
    AddressEntry gateway;
    AddressEntry dns1;
    AddressEntry dns2;
    std::string domain;
    AddressEntry wins1;
    AddressEntry wins2;
    std::uint32_t primaryInterface = 0;  // 0 wired LAN, 1 wireless LAN
};

// Which entries take part: the DNS, domain, WINS and preferred-interface entries only where the
// projector reported them (state word nonzero). The address must be unique among `uniqueAmong`
// (skipping entry `skipIndex`); null leaves that test out, as for configuration files.
// The dialogs always judge the name and, with DHCP off, the address, mask and gateway; the
// command line leaves out what it would send a projector unchanged from the projector's own
// report.
struct NetworkEntryScope {
    bool name = true;
    bool addresses = true;
    bool dns1 = false;
    bool dns2 = false;
    bool domain = false;
    bool wins1 = false;
    bool wins2 = false;
    bool primaryInterface = false;
    const ProjectorList* uniqueAmong = nullptr;
    std::ptrdiff_t skipIndex = kSkipNone;
};

// The scope of a record: its state words decide (no uniqueness test).
NetworkEntryScope ScopeOf(const ProjectorRecord& record);

// The entries as the dialog shows a record when it opens: the name and domain as they are, the
// address, mask and gateway only with DHCP off, every address of 0.0.0.0 blank.
NetworkEntries EntriesOf(const ProjectorRecord& record);

// Runs the checks in screen order and returns the first refusal, or an accepted verdict:
//   name (139), then with DHCP off: address (129), mask (140), address against mask (129 on the
//   address when the mask is set, else 140 on the mask), gateway (141), the DNS servers (142),
//   the domain (143) and the WINS servers (144), each of the last five only within `scope`.
// A blank or partly filled address and mask are refused, a partly filled gateway, DNS or WINS
// entry too; the focus goes to the first blank field of a partly filled entry.
EntryVerdict CheckNetworkEntries(const NetworkEntries& entries, const NetworkEntryScope& scope);

// How accepted entries go into a record.
enum class EntryStore {
    kValues,            // Save: the values only; state words stay as they are
    kAgainstReference,  // OK: state 2 where an entry differs from the reference, else 3
    kAllChanged,        // configuration file: the values, each with state 2
};

// Takes checked entries into `record`: the name and DHCP always; with DHCP off the address, mask
// and gateway, then the DNS, domain and WINS entries within `scope`; the preferred interface
// within `scope`. With DHCP on the address entries are left alone. Against the reference, the
// name and domain compare without regard to letter case, and an entry equal to the reference
// takes the reference's value (a change of letter case alone is not stored).
void StoreNetworkEntries(const NetworkEntries& entries, const NetworkEntryScope& scope,
                         EntryStore how, const ProjectorRecord& reference, ProjectorRecord& record);

}  // namespace lanterna
