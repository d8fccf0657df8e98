#pragma once
// The one gate every write passes before anything is sent to a projector, whatever road it came
// by: set, apply (whole or as a template), provision, restore, undo, the window's settings
// dialogs, a settings file dropped on a row and the window's work on a selection. It alone
// decides what may go, so that no road lets through what another refuses:
//   - identity: settings kept for one projector (a settings file, a backup, a history entry, a
//     provisioning row) go only to the projector that reports that hardware address (and module
//     type, where known), and never while two projectors of the run claim that address;
//   - the values: a setting never read that the write would carry, a changed setting the
//     projector does not have, the dialogs' checks (JudgeWrite), a changed setting the lines do
//     not carry;
//   - addresses: a static address another projector answers a hello at, that another target of
//     the run holds now or is given too (compared as addresses, not as text); --force lets
//     these through.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "fleet/RecordFields.h"
#include "fleet/SiteRead.h"
#include "fleet/WriteJudge.h"
#include "fleet/WritePlan.h"
#include "record/ProjectorList.h"
#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

// A value the job could not take into the record (a set's FIELD=VALUE).
struct BuildRefusal {
    std::string field;
    std::string value;
    int messageId = 0;  // the message of a value out of range; 0: not readable as the field's kind
    FieldRule rule{};   // what the field takes, when not readable as its kind

    friend bool operator==(const BuildRefusal&, const BuildRefusal&) = default;
};
struct MissingSettingRefusal {
    std::string field;
    MissingReason reason;

    friend bool operator==(const MissingSettingRefusal&, const MissingSettingRefusal&) = default;
};
struct NotSentSetting {
    std::string field;
    NotSentReason reason;

    friend bool operator==(const NotSentSetting&, const NotSentSetting&) = default;
};
// The static address to give answers a hello, or another target of the run has it now.
struct AddressTaken {
    std::string address;
    std::string takenBy;  // the name in the hello's reply (or the target's); empty: none given

    friend bool operator==(const AddressTaken&, const AddressTaken&) = default;
};
// A setting the write would have to carry (with the address configuration, a DNS or WINS pair,
// the security code) was never read from the projector: it would get a value nobody read.
struct UnreadSettingCarried {
    std::string setting;  // named as the record's field ("essid", "dns1/dns2" is never given)

    friend bool operator==(const UnreadSettingCarried&, const UnreadSettingCarried&) = default;
};
// The settings as read could not be kept in the history before the write.
struct HistoryNotKept {
    std::string folder;

    friend bool operator==(const HistoryNotKept&, const HistoryNotKept&) = default;
};
// Two projectors of the run report the hardware address the write is kept for: which of them is
// the one is unknown, so neither is written.
struct IdentityShared {
    std::string mac;                     // 12 upper-case hexadecimal digits
    std::vector<std::string> addresses;  // where each claimant was read, in target order

    friend bool operator==(const IdentityShared&, const IdentityShared&) = default;
};
// The settings are kept for another projector than the one that answered.
struct IdentityMismatch {
    std::string expectedMac;  // the file's, the row's or the entry's own
    std::string foundMac;     // what the projector reports; empty: none
    int expectedType = -1;    // the module type the file names; -1: the hardware address differs
    int foundType = 0;

    friend bool operator==(const IdentityMismatch&, const IdentityMismatch&) = default;
};
using WriteRefusal =
    std::variant<BuildRefusal, MissingSettingRefusal, Refusal, NotSentSetting, AddressTaken,
                 UnreadSettingCarried, HistoryNotKept, IdentityShared, IdentityMismatch>;

// A hardware address a projector of the run's search or target list reported, where.
struct MacClaim {
    std::string address;
    std::string mac;  // normal form; empty ones are no claim
};

// What the gate knows of the whole run, gathered before the first target is written.
struct GateRun {
    bool force = false;  // addresses taken or answering go all the same
    // Each target's address now and the static address the run gives it, where known before
    // (canonical dotted text), by target index.
    std::vector<std::string> present;
    std::vector<std::optional<std::string>> given;
    std::vector<std::string> names;  // each target's name where known, for the refusal's words
    // Addresses that answered a hello before the run, with the name in the reply.
    std::map<std::string, std::string> answering;
    // The hardware addresses the run's projectors reported (both interfaces where read), for
    // writes kept for one of them.
    std::vector<MacClaim> claims;
};

// One target's write as it stands at the gate.
struct GateCase {
    std::size_t index = 0;                    // among the run's targets
    const ProjectorRecord* reported = nullptr;  // as read (identity and settings)
    const ProjectorRecord* record = nullptr;    // as it is to be written
    const std::vector<std::string>* lines = nullptr;
    const std::vector<std::string>* changed = nullptr;
    bool judgeAgainstRead = true;  // the reported settings take part in the dialogs' checks
    bool unsentRefuses = true;     // a changed setting not sent refuses (else `leftOut`)
    // The projector the settings are kept for: its hardware address (empty: any) and, where the
    // file names one, its module type.
    std::string keptFor;
    std::optional<std::uint8_t> keptForType;
};

// The hardware addresses the projectors read report, both interfaces, where each was read.
std::vector<MacClaim> ClaimsOf(const std::vector<SiteReading>& readings);

// What an identity refusal says: the string id and its values (hardware addresses written as
// MacText writes them; "" for none, which the front end words as such).
RuleSentence SentenceOf(const IdentityShared& refusal);
RuleSentence SentenceOf(const IdentityMismatch& refusal);

// The gate's first step alone, for a road that shows kept settings before it writes (undo): the
// projector must be the one they were kept for, and the only one claiming to be.
std::optional<WriteRefusal> PassIdentity(const GateRun& run, const GateCase& write);

// The gate's verdict on one target; none when the write may go. Changed settings that a
// template leaves out are added to `leftOut`.
std::optional<WriteRefusal> PassGate(const GateRun& run, const GateCase& write,
                                     std::vector<NotSentSetting>& leftOut);

// The run of one projector written alone at `address`; `othersListed`: the addresses of the
// projectors beside it (the window's list), which it may not be given.
GateRun SingleRun(const std::string& address, const std::vector<std::string>& othersListed,
                  bool force);

// The gate for one projector the window writes alone over its open link (its settings dialog,
// a dropped settings file): `reported` as read, `record` as it is to be written, the listed
// projectors standing for the run's others; `keptFor`: a dropped file's own hardware address.
std::optional<WriteRefusal> PassWindowGate(const ProjectorList& listed, std::size_t selected,
                                           const ProjectorRecord& reported,
                                           const ProjectorRecord& record,
                                           const std::string& keptFor, bool judgeAgainstRead);

}  // namespace lanterna::fleet
