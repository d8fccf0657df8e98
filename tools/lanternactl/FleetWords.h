#pragma once
// How lanternactl words what the fleet engine reports in codes and values: every word from the
// string table, in the user's language, so that a line of a target (its outcome, message and
// notes) speaks one language. lanternactl's own messages on lines of their own (usage, help,
// errors of the command line) are English.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fleet/AuditFindings.h"
#include "fleet/FleetNetwork.h"
#include "fleet/RecordFields.h"
#include "fleet/TargetRoad.h"
#include "fleet/WorkerDriver.h"
#include "fleet/WriteJudge.h"
#include "fleet/WritePlan.h"
#include "record/ProjectorRecord.h"
#include "tools/lanternactl/Passwords.h"

namespace lanterna::cli {

// String `id` in the user's language with `values` filled in.
std::string Words(int id, std::initializer_list<std::string_view> values = {});

// String `one` for a count of 1, else `many`, with `count` as {1}: English has a singular.
std::string CountWords(std::size_t count, int one, int many);

// `texts` joined by `separator`.
std::string JoinedTexts(const std::vector<std::string>& texts, std::string_view separator);

// The note on a target that did not answer the hello: "no answer to the hello within 5
// seconds; worked on as module type 0".
std::string HelloNote(const fleet::FleetNetwork& network);

// Why the road of the target at `address` ended: the dialog's message in the user's language, or
// the other projector's hardware address; `passwords` words a missing password.
std::string RoadFailureText(const fleet::RoadFailure& failure, const std::string& address,
                            const CPasswords& passwords);

// A message a quiet driver kept: its text, and for a question the answer ("... yes").
std::string ShownText(const fleet::ShownMessage& shown);

// The rule that refused the value, in words: "gateway 10.0.0.1 is not in the subnet 10.90.0.0/16".
std::string RefusalText(const fleet::Refusal& refusal);

// Why the projector of `record` has no setting `field`.
std::string MissingSettingText(std::string_view field, fleet::MissingReason reason,
                               const ProjectorRecord& record);

// Why a changed setting `field` is not sent.
std::string NotSentText(std::string_view field, fleet::NotSentReason reason);

// "FIELDS: sent "LINE", the projector reports "LINE"".
std::string NotTakenText(const fleet::NotTaken& notTaken);

// The refused command groups of `writeErrors`, joined by ", " ("trap address 2, community").
std::string RefusedCommands(std::uint32_t writeErrors);

// A write whose link failed part-way: "link lost after 3 of 7 commands: accepted: NWSMTPACT,
// NWSMTPSRV, NWSMTPTO1; not sent: ..." (the parts that name nothing left out).
std::string PartlyWrittenText(const WriteProgress& progress);

// What a template left as each projector has it, one text per reason (fleet::LeftAloneByReason):
// "left as each projector has it: projectorName, dhcp (...)".
std::vector<std::string> LeftAloneTexts(
    const std::vector<std::pair<int, std::vector<std::string>>>& leftAlone);

// Why a write that would carry the unread `setting` sent nothing.
std::string UnreadCarriedText(std::string_view setting);

// The detail of a finding ("community "public"", ""ROOM-1" also at 10.1.1.2").
std::string FindingDetail(const fleet::Finding& finding);

}  // namespace lanterna::cli
