#include "settings/SnmpEntries.h"

#include "platform/AsciiCase.h"
#include "resources/StringIds.h"
#include "settings/AddressRules.h"
#include "settings/StateRule.h"
#include "settings/TextRules.h"

namespace lanterna {

SnmpEntries SnmpEntriesOf(const ProjectorRecord& record) {
    SnmpEntries entries;
    entries.trapAddress1 = EntryOfAddress(record.trapAddress1);
    entries.trapAddress2 = EntryOfAddress(record.trapAddress2);
    entries.community = std::string(TextOf(record.community));
    return entries;
}

EntryVerdict CheckTrapAddressEntry(const AddressEntry& entry, EntryField field) {
    if (entry.IsPartlyFilled()) {
        return Refused(kStringBadTrapAddress, field, FocusOctet::kFirstBlank);
    }
    if (CheckTrapAddress(entry.octets) == kTrapAddressInvalid) {
        return Refused(kStringBadTrapAddress, field);
    }
    return {};
}

EntryVerdict CheckCommunityEntry(std::string_view community) {
    if (community.empty() || IsCommunityName(community) != 1) {
        return Refused(kStringBadCommunityName, EntryField::kCommunity);
    }
    return {};
}

EntryVerdict CheckSnmpEntries(const SnmpEntries& entries) {
    if (EntryVerdict verdict =
            CheckTrapAddressEntry(entries.trapAddress1, EntryField::kTrapAddress1);
        !verdict.Accepted()) {
        return verdict;
    }
    if (EntryVerdict verdict =
            CheckTrapAddressEntry(entries.trapAddress2, EntryField::kTrapAddress2);
        !verdict.Accepted()) {
        return verdict;
    }
    return CheckCommunityEntry(entries.community);
}

void StoreTrapAddress(const Octets& value, const Octets& reference, const Octets& atOpen,
                      Octets& field, std::int32_t& state) {
    StoreByStateRule(value, reference, atOpen, field, state);
}

void StoreCommunity(std::string_view value, std::string_view reference, std::string_view atOpen,
                    FixedText<9>& field, std::int32_t& state) {
    StoreTextByStateRule(value, reference, atOpen, field, state, EqualIgnoringCase);
}

}  // namespace lanterna
