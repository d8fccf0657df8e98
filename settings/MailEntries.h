#pragma once
// The mail notification entries of a projector (on/off, SMTP server and port, three recipients)
// and the per-recipient event sets: the checks the mail notification dialog runs on OK, in
// screen order, and how its two variants store what passed. Qt-free, like NetworkEntries.h.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FixedText.h"
#include "record/ProjectorRecord.h"
#include "settings/EntryVerdict.h"

namespace lanterna {

inline constexpr int kMailRecipients = 3;
// The eleven events a recipient can be told of (bits 0x001 to 0x400); higher bits have no box.
inline constexpr std::uint32_t kMailEventMask = 0x7FF;

struct MailEntries {
    bool notify = false;
    bool notifyChosen = true;  // false: neither on nor off chosen (never read, left alone)
    AddressEntry smtpServer;
    std::string port;  // the port box's text
    std::array<std::string, kMailRecipients> mailTo;
};

// The mail values of a record, without state words: what the projector variant compares with
// (reference, at-open) and what its Cancel puts back.
struct MailSettings {
    std::int32_t mailNotify = 0;
    Octets smtpServer{};
    std::uint16_t smtpPort = 0;
    std::array<FixedText<65>, kMailRecipients> mailTo{};
    std::array<std::uint32_t, kMailRecipients> mailEvents{};
    // Which values the projector reported (state word nonzero); what it did not is shown empty
    // and never sent unless the user fills it in.
    bool notifyRead = true;
    bool smtpServerRead = true;
    bool smtpPortRead = true;
    std::array<bool, kMailRecipients> mailToRead{true, true, true};
};

MailSettings MailSettingsOf(const ProjectorRecord& record);
// Puts the values back; state words stay as they are.
void RestoreMailSettings(const MailSettings& settings, ProjectorRecord& record);

// The entries as the dialog shows a record: a server of 0.0.0.0 and a port of 0 as empty boxes
// (judged alike: an unset server is refused with notification on, and stored as 0.0.0.0 with it
// off). With `onlyRead`, a setting never read is empty, and an unread switch neither on nor off.
MailEntries MailEntriesOf(const ProjectorRecord& record, bool onlyRead = false);

// The port box after a change of its text: a value of 0 (no leading digits read as 0) becomes
// "1", a value above 65535 or below 0 becomes "65535". nullopt: the text stays (an empty text
// always stays).
std::optional<std::string> CorrectedPortText(std::string_view text);

// The decimal value of the port text cut to 16 bits, as stored with notification off.
std::uint16_t PortOfText(std::string_view text);

// The server: blank (134, its first field), partly filled (134, its first blank field), not a
// host address (134, its first field).
EntryVerdict CheckSmtpServerEntry(const AddressEntry& server);
// The port: empty or outside 1 to 65535 gives 135.
EntryVerdict CheckSmtpPortEntry(std::string_view port);
// Recipient `recipient` (1 to 3): recipient 1 must be a mail address, recipients 2 and 3 may be
// empty; otherwise 136.
EntryVerdict CheckMailToEntry(std::string_view address, int recipient);

// Every check in screen order with notification on; with it off nothing is checked.
EntryVerdict CheckMailEntries(const MailEntries& entries);

// OK of the projector variant. With notification on: `mailNotify` becomes 1 (state 2 when the
// reference was off, else 3); then each entry is checked and, when it passes, stored at once by
// the state rule, so a refusal returns with the entries before it stored. Recipients compare
// without regard to letter case. With notification off: `mailNotify` becomes 0 (state 2 when
// the reference was on, else 3) and the other entries are stored unchecked, their state words
// untouched; with neither chosen, `mailNotify` and its state stay too. A setting the reference
// never read takes state 2 when an entry is given for it, else stays unread (state 0).
EntryVerdict StoreMailEntries(const MailEntries& entries, const MailSettings& reference,
                              const MailSettings& atOpen, ProjectorRecord& record);

// OK of the configuration-file variant: nothing is stored unless every check passed; then the
// entries are stored with state 2 (with notification off only `mailNotifyState` becomes 2).
EntryVerdict StoreMailEntriesInFile(const MailEntries& entries, ProjectorRecord& record);

// OK of a recipient's event dialog (projector variant): the set is stored into
// `mailEvents<recipient>` by the state rule against the same recipient's reference and at-open
// sets.
void StoreEventSet(int recipient, std::uint32_t eventSet, std::uint32_t reference,
                   std::uint32_t atOpen, ProjectorRecord& record);

}  // namespace lanterna
