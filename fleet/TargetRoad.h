#pragma once
// One target's road to an open link, the way the window opens a projector: the hello that
// learns its module type (done for all targets at once, beforehand), the probe worker, the
// password when the projector asks for one, the read worker. The workers run through a driver:
// quietly for a job on many, or through a front end that shows them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "discovery/HelloSweep.h"
#include "fleet/FleetNetwork.h"
#include "fleet/Outcome.h"
#include "fleet/PasswordSource.h"
#include "fleet/Targets.h"
#include "fleet/WorkerDriver.h"
#include "state/ApplicationState.h"

namespace lanterna::fleet {

// Where the road ended before the link was open (or the read-back failed).
enum class RoadStop {
    kNone,             // the link is open (the settings read)
    kNoRoute,          // nothing is sent to the address (the network's routes)
    kNotAnswering,     // no link could be opened (string 121)
    kOtherLinkOpen,    // another link is open (string 122)
    kNoPassword,       // the projector asks for a password the source does not have
    kPasswordRefused,  // the projector refused the password (string 131)
    kOtherProjector,   // another hardware address than expected
    kNotSupported,     // the projector cannot be used (string 153)
    kReadFailed,       // the link failed while the settings were read (`readProgress`)
    kCannotContinue,   // the read failed otherwise (string 130)
};

struct RoadFailure {
    RoadStop stop = RoadStop::kNone;
    int workerResult = 0;  // the probe's or the read's result behind the stop
    // kNoPassword: why the source had none (and the length of one too long).
    PasswordProblem passwordProblem = PasswordProblem::kNone;
    std::size_t passwordLength = 0;
    // kOtherProjector: where it was read, the hardware address found there and the one
    // expected (either may be empty: none).
    std::string at;
    std::string foundMac;
    std::string expectedMac;
    // kOtherProjector: the password sent was one kept for `expectedMac` (the source was told).
    bool keptPasswordSent = false;
    // kReadFailed: the setting the read stopped at and how many were read.
    ReadProgress readProgress;

    explicit operator bool() const { return stop != RoadStop::kNone; }
};

// The outcome of a target whose road ended at `failure` (kNoRoute counts as not answering).
Outcome OutcomeOf(const RoadFailure& failure);

// The state of one target: its own projector list holding its one record, its own link.
std::unique_ptr<ApplicationState> StateFor(const FleetNetwork& network);

// Which of `addresses` answer a hello (through the network's routes); one entry per address.
std::vector<HelloAnswer> SweepAddresses(const FleetNetwork& network,
                                        const std::vector<std::string>& addresses,
                                        const HelloSweepOptions& base);

// Learns the module type and name of every target whose type is not known yet, with one hello
// sweep. A target that does not answer is worked on as type 0; the result is true at its index.
// The same sweep asks `alsoAsk` and puts what they answered into `alsoAnswers`.
std::vector<bool> LearnModuleTypes(const FleetNetwork& network, std::vector<Target>& targets,
                                   const std::vector<std::string>& alsoAsk = {},
                                   std::vector<HelloAnswer>* alsoAnswers = nullptr);

struct OpenedTarget {
    std::string password;      // the one authenticated with (empty: none needed)
    bool passwordSet = false;  // the projector asked for a password
};

// Selects a record for `target` in `state` (origin 1, its address, module type and name) and
// opens it: probe worker, password, read worker with `readAllSettings`. With `expectedMac`,
// a projector with another hardware address is refused; so is one other than the projector a
// kept password is for, right after it was sent (the source is told: ReachedOther). True with
// the link open; false with `failure` filled in (and the link closed).
bool OpenTarget(const FleetNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
                const Target& target, ApplicationState& state, int readAllSettings,
                const std::string& expectedMac, OpenedTarget& opened, RoadFailure& failure);

// Reads a projector again over a new link, with the password already known (no probe): for
// the read-back after a write. Same results as OpenTarget; the link is closed afterwards.
bool ReadAgain(const FleetNetwork& network, IWorkerDriver& driver, const ProjectorRecord& written,
               const std::string& address, const std::string& password, ProjectorRecord& readBack,
               RoadFailure& failure);

}  // namespace lanterna::fleet
