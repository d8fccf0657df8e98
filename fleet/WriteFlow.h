#pragma once
// The road of a write over many targets (set, apply and a template from the window): one hello
// sweep for the module types and for the static address the write would give (is it taken?);
// then per target, within the bounds: open, make the record to write, check it, plan it (dry run)
// or write it; then one sweep that waits for the projectors whose address changed or whose
// module reset; then the read-back of what was written. Each stage is a call of its own, so that
// a front end can tell of a target between them.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "fleet/FleetNetwork.h"
#include "fleet/Outcome.h"
#include "fleet/PasswordSource.h"
#include "fleet/RecordFields.h"
#include "fleet/RunControl.h"
#include "fleet/TargetRoad.h"
#include "fleet/Targets.h"
#include "fleet/WriteGate.h"
#include "fleet/WriteJudge.h"
#include "fleet/WritePlan.h"
#include "platform/AtomicFile.h"
#include "record/ProjectorList.h"
#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

// What making a target's record to write gave.
struct BuiltRecord {
    std::optional<BuildRefusal> refusal;  // set: the record cannot be made
    std::vector<std::string> changed;     // fields stored with state 2
    std::vector<LeftAloneSetting> leftAlone;  // what a template holds but the projector keeps
};

// The projector a target's settings are kept for: its hardware address and, where the file names
// one, its module type.
struct KeptFor {
    std::string mac;
    std::optional<std::uint8_t> imType;
};

struct WriteJob {
    // readAllSettings of the read before the write.
    int readAllSettings = 1;
    // Turns the record read from `target` (states as read) into the record to write: the same
    // change for every target, or one of its own (a backup restored, a row of a provisioning
    // list). Called on the target's thread; must not touch shared state.
    std::function<BuiltRecord(const Target& target, ProjectorRecord& record)> build;
    // A changed setting the write would not carry refuses the target (set); otherwise it is
    // told beside the result (a template).
    bool unsentRefuses = true;
    // The projector must have this hardware address (a settings file applied whole, its own): the
    // read stops at another; empty: any.
    std::string expectedMac;
    // The projector each target's settings are kept for (a backup's file, a history entry, a
    // provisioning row): the gate refuses the write to any other. None: any projector.
    std::function<KeptFor(const Target& target)> keptFor;
    // The static address the job gives a target, where known before it is read (canonical).
    std::function<std::optional<std::string>(const Target& target)> addressFor;
    // An address asked for in the hello sweep beside those (a settings file applied whole gives
    // its own to one projector only, which is not known before it is read).
    std::optional<std::string> alsoAsk;
    // The hardware addresses the search or target list of the run reported (both interfaces).
    std::vector<MacClaim> claims;
    // The settings as the projector reported them take part in the checks (a settings file
    // applied whole reads only the identity: every setting it carries is judged).
    bool judgeAgainstRead = true;
};

// A settings file used as a template (`file`, which must outlive the job): each projector keeps
// what MergeTemplate leaves alone; only what differs goes.
WriteJob TemplateJob(const ProjectorRecord& file);

// FIELD=VALUE assignments taken into the record read: the same to every target, or, with
// `byAddress`, each target's own (none: the target is left as it is). The assignments must
// outlive the job.
BuiltRecord BuildFromAssignments(const std::vector<FieldAssignment>& assignments,
                                 ProjectorRecord& record);
WriteJob AssignmentsJob(const std::vector<FieldAssignment>& assignments);
// The static address `assignments` give (canonical); none when they give none or switch DHCP on.
std::optional<std::string> GivenAddress(const std::vector<FieldAssignment>& assignments);
WriteJob AssignmentsJob(const std::map<std::string, std::vector<FieldAssignment>>& byAddress);

// The settings a template left alone, by reason: each reason's sentence (a string id taking the
// fields as {1}) with its fields in order; reasons without fields are left out.
std::vector<std::pair<int, std::vector<std::string>>> LeftAloneByReason(
    const std::vector<LeftAloneSetting>& leftAlone);

inline constexpr std::uint32_t kDefaultSettleSeconds = 20;
inline constexpr std::uint32_t kMaxSettleSeconds = 600;

struct WriteOptions {
    bool dryRun = false;  // plan only: open, check, and keep the lines; nothing is sent
    bool force = false;   // a static address taken by another target or answering a hello is
                          // written all the same
    bool verify = true;   // read back what was written
    std::uint32_t settleSeconds = kDefaultSettleSeconds;  // the wait for a hello after a write
    bool testMail = false;  // the quiet drivers' answer to the test-mail question
    // Where the settings as read are kept before each write (History.h); empty: nowhere.
    std::string historyFolder;
};

struct WriteResult {
    Target target;                 // as worked on: its module type and name learned
    bool helloUnanswered = false;  // the hello got no answer: worked on as module type 0
    // kNotStarted until its turn, then: the outcome of `failure`; kRefused; kWouldSend or
    // kUnchanged (dry run); kSet, kUnchanged, kRefusedSome, kPartlyWritten or kFailed (the
    // write's result); after the read-back kNotAtAddress, kNotTaken or the outcome of
    // `readBackFailure`.
    Outcome outcome = Outcome::kNotStarted;
    RoadFailure failure;                  // the road ended before the write
    std::string name;                     // the projector's name as read
    std::optional<WriteRefusal> refusal;  // kRefused
    std::vector<std::string> changed;     // the fields the job changed (stored with state 2)
    std::vector<NotSentSetting> leftOut;  // changed settings a template does not send
    std::vector<LeftAloneSetting> leftAlone;  // settings a template holds but left as they were
    std::vector<std::string> lines;       // the command lines planned (sent when written)
    bool wrote = false;
    int result = 0;                   // the write worker's result
    std::uint32_t writeErrors = 0;    // the command groups the projector refused
    WriteProgress progress;           // each command accepted, refused, unanswered or not sent
    ProjectorRecord reported{};       // the settings as read before the write
    ProjectorRecord record{};         // the record built to write (written when `wrote`)
    std::vector<ShownMessage> shown;  // the messages a quiet driver kept (the test mail)
    bool dhcpNow = false;             // it takes its address from DHCP now: not read back
    // The read-back: where, whether a hello answered there within the settle time, the road of
    // the read, and the lines that did not take. `readBack` is true when it was read back.
    std::optional<std::string> readBackAt;
    bool settle = false;  // a hello must answer at readBackAt first
    bool settled = true;
    RoadFailure readBackFailure;
    bool readBack = false;
    std::vector<NotTaken> notTaken;
    std::string password;  // the one it was opened with, for the read-back
    // The write's line in the change log: kOk (or nothing kept), else why it could not be added.
    OutputStatus logStatus = OutputStatus::kOk;

    bool Verified() const { return readBack && notTaken.empty(); }
};

class CFleetWrite {
  public:
    CFleetWrite(const FleetNetwork& network, const WriteJob& job, const WriteOptions& options,
                IPasswordSource& passwords, std::vector<Target> targets);

    // The hello sweep: the module type of each target that has none, and whether something
    // answers at the planned address (unless forced).
    void LearnTypes();

    // Opens, checks and writes every target (plans it, for a dry run).
    void Write(const RunControl& control);

    // After a write with verify: waits for the targets whose address changed or whose module
    // reset to answer a hello, then reads each written target back (cancellation stops it, a
    // bound on failures does not). Nothing for a dry run.
    void Verify(const RunControl& control);

    const std::vector<WriteResult>& Results() const { return results_; }
    const WriteOptions& Options() const { return options_; }

  private:
    bool Refuse(WriteResult& result, ApplicationState& state, WriteRefusal refusal);
    bool Check(std::size_t index, ApplicationState& state, const BuiltRecord& built);
    void GatherRun(const std::vector<HelloAnswer>& answers, const std::vector<std::string>& asked);
    void WriteOne(std::size_t index, IWorkerDriver& driver);
    void AfterWrite(std::size_t index);
    void Settle();
    void VerifyOne(std::size_t index, IWorkerDriver& driver);

    const FleetNetwork& network_;
    const WriteJob& job_;
    const WriteOptions options_;
    IPasswordSource& passwords_;
    std::vector<WriteResult> results_;
    GateRun gate_;
};

}  // namespace lanterna::fleet
