#pragma once
// The application object's shared fields: the projector list, the selected entry, the one open
// link and the hand-over fields through which the user-interface thread (or the command line)
// gives work to the link workers and gets results back. Qt-free; the window's application
// object owns one, the command line makes its own.
//
// Threads: the fields are handed over by the order of steps, not by locks. The owner fills the
// hand-over fields, starts one worker and reads the results after the worker has ended; nothing
// else touches `link`, the selected record or the hand-over fields while a worker runs. The
// projector list takes its own lock (the two search threads append at the same time).
// `progressWindow` and `messageService` must be safe to call from the worker's thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/LinkOptions.h"
#include "link/Ports.h"
#include "link/ProjectorLink.h"
#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "record/ProjectorList.h"
#include "state/MessageService.h"
#include "state/Messages.h"

namespace lanterna {

// What the state takes from its surroundings. Production uses the defaults; tests point links
// at a simulated projector's port, and make the debug-mode waits instant.
struct StateOptions {
    // TCP port of every link a worker opens.
    std::uint16_t projectorPort = kProjectorPort;
    // Options of every link a worker opens.
    LinkOptions linkOptions;
    // Waits of the debug-mode simulation (null: really sleep).
    std::function<void(std::uint32_t milliseconds)> sleep;
};

// How far the last read came. Settings are named as the record's fields are (`read --json`);
// a query that fills several fields is named by all of them joined with "/".
struct ReadProgress {
    int settingsRead = 0;     // settings whose value was taken
    int settingsPlanned = 0;  // settings the read was to read, as far as it knew
    std::string lostAt;       // the setting being read when the link failed; empty otherwise
};

// What the last write did with each command it had to send, by command name, in sending order.
struct WriteProgress {
    std::vector<std::string> accepted;
    std::vector<std::string> refused;     // the projector's "ERR", or not sendable
    std::vector<std::string> unanswered;  // sent, but the link failed before its reply
    std::vector<std::string> notSent;     // due, but the link had failed before
    // The unread setting (named as in ReadProgress) that kept the write from sending anything.
    std::string unreadSetting;
    // The result the write worker reported (Workers.h).
    int result = 0;
};

class ApplicationState {
  public:
    explicit ApplicationState(StateOptions options = {});
    ~ApplicationState();
    ApplicationState(const ApplicationState&) = delete;
    ApplicationState& operator=(const ApplicationState&) = delete;

    // Name of the projector being added by address (address-entry dialog).
    FixedText<16> pendingName{};
    // Nonzero: the read worker reads every setting; zero: it stops after the identity check.
    std::int32_t readAllSettings = 1;
    // Nonzero: the user asked for the test mail, so the write worker puts its question even when
    // no mail setting goes out (mail notification on).
    std::int32_t testMailAsked = 0;
    // One bit per set command refused in the last write run.
    std::uint32_t writeErrors = 0;
    // Filled by the read and the write worker as they go.
    ReadProgress readProgress;
    WriteProgress writeProgress;
    // Address the probe and read workers connect to.
    FixedText<21> currentAddress{};
    // Inputs of the password worker.
    FixedText<15> currentPassword{};
    FixedText<15> newPassword{};
    // Target of every worker message; null means post nothing. Not owned.
    IMessageTarget* progressWindow = nullptr;
    // The one open link, or null.
    std::unique_ptr<CProjectorLink> link;
    // The projector list (owns its records).
    ProjectorList projectors;
    // Index in `projectors` of the entry the workers act on; negative for none.
    std::int32_t selectedIndex = -1;
    // Address and module type chosen in the address-entry dialog.
    Octets pendingAddress{};
    std::uint8_t pendingType = 0;
    // Nonzero: the workers simulate the projector ("/debug").
    std::int32_t debugMode = 0;
    // Shows the user messages the workers need (the write worker's test-mail question). Not
    // owned; null answers every question with No and shows nothing.
    IMessageService* messageService = nullptr;

    // projectors[selectedIndex], or null when nothing (or nothing existing) is selected.
    ProjectorRecord* SelectedRecord() const;

    // Posts to `progressWindow` when there is one.
    void Post(std::uint32_t message, std::intptr_t wParam) const;

    // ShowMessage through the message service, owned by the progress window.
    int ShowMessage(int stringId, int flags) const;

    // A new, unconnected link with the state's link options.
    std::unique_ptr<CProjectorLink> CreateLink() const;
    std::uint16_t ProjectorPort() const { return options_.projectorPort; }

    // Waits `milliseconds` (debug-mode simulation).
    void Sleep(std::uint32_t milliseconds) const;

  private:
    StateOptions options_;
};

}  // namespace lanterna
