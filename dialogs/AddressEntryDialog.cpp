#include "dialogs/AddressEntryDialog.h"

#include <QApplication>
#include <system_error>
#include <thread>

#include "dialogs/DialogIds.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"
#include "settings/AddressRules.h"
#include "state/Messages.h"
#include "ui/IpAddressControl.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {
namespace {

// Shows the wait cursor for as long as it lives.
class CWaitCursor {
  public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

}  // namespace

CAddressEntryDialog::CAddressEntryDialog(ApplicationState& state, QWidget* owner, Probe probe)
    : skin::CSkinDialog(kAddressEntryTemplate, owner), state_(state), probe_(std::move(probe)) {
    OnCommand(kAddButton, ui::Notify::Clicked,
              [this] { EndWith(CheckAddress(), kAddressEntryAdd, kAddressEntryAddKnown); });
}

void CAddressEntryDialog::EndWith(CheckResult result, int newCode, int knownCode) {
    switch (result) {
        case CheckResult::kNewProjector:
            EndDialog(newCode);
            break;
        case CheckResult::kKnownAddress:
            EndDialog(knownCode);
            break;
        case CheckResult::kSilentAddress:
            EndDialog(kAddressEntryAddSilent);
            break;
        case CheckResult::kStayOpen:
            break;
    }
}

bool CAddressEntryDialog::OnInitDialog() {
    GotoDlgCtrl(kAddressControl);
    return false;
}

void CAddressEntryDialog::OnOK() {
    EndWith(CheckAddress(), ui::IDOK, kAddressEntryConnectKnown);
}

bool CAddressEntryDialog::AddSilentAddress(const Octets& address) {
    const std::string dotted = FormatDotted(address);
    if (ui::ShowStringMessageWithText(
            this, kStringNothingAnswersAddAnyway,
            FormatString(kStringNothingAnswersAddAnyway, UserLanguage(), {dotted}),
            kMessageYesNoQuestion) != ui::IDYES) {
        GotoDlgCtrl(kAddressControl);
        return false;
    }
    CopyText(state_.pendingName, "");
    state_.pendingType = 0;
    state_.pendingAddress = address;
    return true;
}

void CAddressEntryDialog::Refuse(int focusField) {
    ui::ShowStringMessage(this, kStringBadIpAddress, ui::MB_ICONEXCLAMATION);
    GotoDlgCtrl(kAddressControl);
    if (ui::CIpAddressControl* control = IpAddress(kAddressControl); control != nullptr) {
        control->SetFieldFocus(focusField);
    }
}

CAddressEntryDialog::CheckResult CAddressEntryDialog::CheckAddress() {
    ui::CIpAddressControl* control = IpAddress(kAddressControl);
    if (control == nullptr) {
        return CheckResult::kStayOpen;
    }
    Octets address{};
    const int filled = control->GetAddress(address);
    if (filled == 0) {
        Refuse(0);
        return CheckResult::kStayOpen;
    }
    if (filled < ui::CIpAddressControl::kFieldCount) {
        Refuse(ui::CIpAddressControl::kFirstBlankField);
        return CheckResult::kStayOpen;
    }
    if (IsHostAddress(address) != 1) {
        Refuse(0);
        return CheckResult::kStayOpen;
    }
    if (IsAddressUnique(state_.projectors, address, kSkipNone) != 1) {
        state_.pendingAddress = address;
        return CheckResult::kKnownAddress;
    }
    ProbeAnswer answer;
    int found = 0;
    {
        const CWaitCursor waitCursor;
        CopyText(addressText_, FormatDotted(address));
        CopyText(state_.pendingName, "");
        found = RunProbe(answer);
    }
    if (found != 1) {
        return AddSilentAddress(address) ? CheckResult::kSilentAddress : CheckResult::kStayOpen;
    }
    CopyText(state_.pendingName, TextOf(answer.name));
    state_.pendingType = answer.imType;
    state_.pendingAddress = address;
    return CheckResult::kNewProjector;
}

// The probe runs on a thread of its own while this thread waits for it, as the dialog has
// always done; the wait is bounded by the probe's own time limits.
int CAddressEntryDialog::RunProbe(ProbeAnswer& answer) {
    const std::string address(TextOf(addressText_));
    int found = 0;
    try {
        std::thread probeThread([&] {
            if (probe_) {
                found = probe_(address, answer);
                return;
            }
            AddressProbeOptions options;
            options.debugMode = state_.debugMode != 0;
            CAddressProbe probe(options);
            found = probe.Run(address, answer);
        });
        probeThread.join();
    } catch (const std::system_error&) {
        return 0;  // no thread, no probe: as if nothing answered
    }
    return found;
}

}  // namespace lanterna::dialogs
