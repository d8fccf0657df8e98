#pragma once
// How the window words what the fleet engine reports in codes and values: every word from the
// string table, in the user's language (lanternactl words the same codes for the terminal).

#include <string>
#include <string_view>
#include <vector>

#include "fleet/AuditFindings.h"
#include "fleet/PasswordChange.h"
#include "fleet/ReadFlow.h"
#include "fleet/WriteFlow.h"

namespace lanterna::dialogs {

// String `id` in the user's language with `values` filled in.
std::string Words(int id, std::initializer_list<std::string_view> values = {});

// A projector as the tables name it: "NAME (ADDRESS)", or the address alone without a name.
std::string ProjectorWords(std::string_view name, std::string_view address);

// A setting as the settings dialogs name it ("기본 설정 DNS 서버", "Preferred DNS server" for
// dns1); `field` itself where it is no setting. Several fields joined by ", " are each worded.
std::string SettingWords(std::string_view field);

// String `one` for a count of 1, else `many`, with `count` as {1} and `values` after it: English
// has a singular, Korean words both alike.
std::string CountWords(std::size_t count, int one, int many,
                       std::initializer_list<std::string_view> values = {});

// The short name of a kind of audit finding ("보안 없는 무선 LAN", "open wireless LAN").
std::string FindingTitleWords(const fleet::FindingKind& kind);

// The outcome's word ("설정됨", "set").
std::string OutcomeWords(fleet::Outcome outcome);

// Why a target's road ended before its link was open.
std::string RoadFailureWords(const fleet::RoadFailure& failure);

// Why the checks refused a write, for the projector whose settings were read as `reported`.
std::string WriteRefusalWords(const fleet::WriteRefusal& refusal,
                              const ProjectorRecord& reported);

// The message of a write the gate refused in the window (its settings dialog, a dropped file):
// the string id it is shown under and its words. A setting never read keeps its own message.
struct GateMessage {
    int id = 0;
    std::string text;
};
GateMessage GateRefusalMessage(const fleet::WriteRefusal& refusal,
                               const ProjectorRecord& reported);

// Why a changed setting is not sent.
std::string NotSentWords(std::string_view field, fleet::NotSentReason reason);

// The detail of a write's result: why it failed or was refused, what was sent and whether it
// took, the notes beside it.
std::string WriteDetailWords(const fleet::WriteResult& result, std::uint32_t settleSeconds);

// The detail of a read's result (empty for one read) and of a password change.
std::string ReadDetailWords(const fleet::ReadResult& result);
std::string PasswordChangeWords(const fleet::PasswordChangeResult& result);

// The detail of an audit finding ("community "public"", ""ROOM-1" also at 10.1.1.2").
std::string FindingDetailWords(const fleet::Finding& finding);

// `texts` joined by `separator`.
std::string JoinedWords(const std::vector<std::string>& texts, std::string_view separator);

}  // namespace lanterna::dialogs
