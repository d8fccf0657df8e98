#pragma once
// The SNMP entries of a projector (two trap addresses and the community name): the checks the
// SNMP dialog runs on OK, in screen order, and the state rule by which its projector variant
// stores them. Qt-free, like NetworkEntries.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FixedText.h"
#include "record/ProjectorRecord.h"
#include "settings/EntryVerdict.h"

namespace lanterna {

struct SnmpEntries {
    AddressEntry trapAddress1;
    AddressEntry trapAddress2;
    std::string community;
};

// The entries as the dialog shows a record: an unset trap address blank.
SnmpEntries SnmpEntriesOf(const ProjectorRecord& record);

// A trap address: partly filled gives 137 on its first blank field; otherwise its octets (blank
// as 0.0.0.0, which means "no trap address") must pass CheckTrapAddress, else 137 on its first
// field. `field` names the entry in the verdict.
EntryVerdict CheckTrapAddressEntry(const AddressEntry& entry, EntryField field);

// The community name: empty, or not IsCommunityName, gives 138.
EntryVerdict CheckCommunityEntry(std::string_view community);

// All three in screen order: the first refusal, or an accepted verdict.
EntryVerdict CheckSnmpEntries(const SnmpEntries& entries);

// The state rule of the projector variant, for a new value, the reference (what the projector
// reported when the network dialog opened) and the at-open value (what the record held when the
// SNMP dialog opened): a value that differs from the reference is stored with state 2; one equal
// to it gets state 3 and is stored only when it differs from the at-open value.
void StoreTrapAddress(const Octets& value, const Octets& reference, const Octets& atOpen,
                      Octets& field, std::int32_t& state);
// The same for the community name, compared without regard to letter case: a name that differs
// from both only in letter case leaves the record's text as it was.
void StoreCommunity(std::string_view value, std::string_view reference, std::string_view atOpen,
                    FixedText<9>& field, std::int32_t& state);

}  // namespace lanterna
