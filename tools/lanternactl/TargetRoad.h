#pragma once
// One target's road to an open link, the way the window opens a projector: the hello that
// learns its module type (done for all targets at once, beforehand), the probe worker, the
// password when the projector asks for one, the read worker. The workers run through a driver:
// with a progress bar and questions on the terminal for one target, quietly for many.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "discovery/HelloSweep.h"
#include "state/ApplicationState.h"
#include "state/MessageService.h"
#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/Passwords.h"
#include "tools/lanternactl/Targets.h"
#include "tools/lanternactl/WorkerDriver.h"
#include "workers/Workers.h"

namespace lanterna::cli {

// Runs the workers on the calling thread and draws nothing; answers the test-mail question
// with a fixed answer and keeps the texts of the messages the workers show. One per target.
class CQuietDriver final : public IWorkerDriver, public IMessageService {
  public:
    explicit CQuietDriver(bool testMail) : testMail_(testMail) {}
    int Run(WorkerMode mode, ApplicationState& state) override;
    int ShowMessage(IMessageTarget* owner, int stringId, int flags) override;

    // Texts of the messages shown so far (the test mail's question and outcome).
    const std::vector<std::string>& Shown() const { return shown_; }

  private:
    bool testMail_;
    std::vector<std::string> shown_;
};

// The state of one target: its own projector list holding its one record, its own link.
std::unique_ptr<ApplicationState> StateFor(const CliNetwork& network);

// Learns the module type and name of every target whose type is not known yet, with one hello
// sweep; a target that does not answer is worked on as type 0, with a note. `notes` gets one
// entry per target (empty when there is nothing to say). The same sweep asks `alsoAsk` and
// puts what they answered into `alsoAnswers`.
void LearnModuleTypes(const CliNetwork& network, std::vector<Target>& targets,
                      std::vector<std::string>& notes, const std::vector<std::string>& alsoAsk = {},
                      std::vector<HelloAnswer>* alsoAnswers = nullptr);

// Which of `addresses` answer a hello (through the network's routes); one entry per address.
std::vector<HelloAnswer> SweepAddresses(const CliNetwork& network,
                                        const std::vector<std::string>& addresses,
                                        const HelloSweepOptions& base);

struct OpenedTarget {
    std::string password;      // the one authenticated with (empty: none needed)
    bool passwordSet = false;  // the projector asked for a password
};

// Selects a record for `target` in `state` (origin 1, its address, module type and name) and
// opens it: probe worker, password, read worker with `readAllSettings`. With `expectedMac`,
// a projector with another hardware address is refused. True with the link open; false with
// the outcome and message in `report` (and the link closed).
bool OpenTarget(const CliNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
                const Target& target, ApplicationState& state, int readAllSettings,
                const std::string& expectedMac, OpenedTarget& opened, TargetReport& report);

// Reads a projector again over a new link, with the password already known (no probe): for
// the read-back after a write. Same results as OpenTarget; the link is closed afterwards.
bool ReadAgain(const CliNetwork& network, IWorkerDriver& driver, const ProjectorRecord& written,
               const std::string& address, const std::string& password, ProjectorRecord& readBack,
               TargetReport& report);

// The outcome and the message of a read worker's result other than 1.
void DescribeReadFailure(int result, const ProjectorRecord& record, const std::string& expectedMac,
                         TargetReport& report);

}  // namespace lanterna::cli
