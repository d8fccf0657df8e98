#include <functional>

#include "link/NetworkCommands.h"
#include "record/RecordSlots.h"
#include "resources/StringIds.h"
#include "workers/DebugSimulation.h"
#include "workers/DueRules.h"
#include "workers/Workers.h"

namespace lanterna {

namespace {

// One write run over the open link: sends what is due and collects the refusals.
class CWriteRun {
  public:
    CWriteRun(ApplicationState& state, ProjectorRecord& record)
        : state_(state), r_(record), link_(*state.link), writeAll_(record.writeAll) {}

    void Run() {
        state_.Post(kMessageProgress, 10);
        SendMail();
        state_.Post(kMessageProgress, 10);
        SendIf(Due(r_.trapAddress1State), kWriteErrorTrapAddress1,
               [this] { return SetTrapAddress(link_, 1, r_); });
        state_.Post(kMessageProgress, 10);
        SendIf(Due(r_.trapAddress2State), kWriteErrorTrapAddress2,
               [this] { return SetTrapAddress(link_, 2, r_); });
        state_.Post(kMessageProgress, 10);
        SendIf(Due(r_.communityState), kWriteErrorCommunity,
               [this] { return SetCommunity(link_, r_); });
        SendIf(Due(r_.primaryInterfaceState), kWriteErrorNameOrPrimary,
               [this] { return SetPrimaryInterface(link_, r_); });
        const bool nameSent = Due(r_.projectorNameState);
        SendIf(nameSent, kWriteErrorNameOrPrimary, [this] { return SetProjectorName(link_, r_); });
        if (r_.dhcp == 0) {
            SendNameServers();
        }
        state_.Post(kMessageProgress, 10);
        SendAddressConfiguration(nameSent);
        if (IsExtendedWireless() && r_.adhoc == 0) {
            SendWirelessSecurity();
        }
        // The module takes a new name into use after this status request.
        if (nameSent && r_.wins1State != 0) {
            SendStatusRequest(link_);
        }
        state_.Post(kMessageProgress, 10);
        if (r_.imType == kImTypeExtendedWireless && anySent_) {
            SendReset(link_);
        }
    }

  private:
    bool Due(std::int32_t state) const { return IsDue(writeAll_, state); }
    bool GroupDue(std::initializer_list<std::int32_t> states) const {
        return IsGroupDue(writeAll_, states);
    }
    bool IsExtendedWireless() const {
        return r_.imType == kImTypeExtendedWireless && r_.wirelessActive != 0;
    }

    // Sends when `due`; a refusal, or an argument that cannot be sent, sets `errorBit`. Returns
    // whether the command went out: only then does the module need the closing reset.
    bool SendIf(bool due, std::uint32_t errorBit, const std::function<int()>& send) {
        if (!due) {
            return false;
        }
        const int result = send();
        if (result != 1) {
            state_.writeErrors |= errorBit;
        }
        const bool wentOut = result != kSetNotSent;
        anySent_ = anySent_ || wentOut;
        return wentOut;
    }

    void SendMail() {
        SendIf(Due(r_.mailNotifyState), kWriteErrorMailNotify,
               [this] { return SetMailNotify(link_, r_); });
        if (r_.mailNotify != 1) {
            return;
        }
        bool mailSent = false;
        mailSent |= SendIf(Due(r_.smtpServerState), kWriteErrorSmtpServer,
                           [this] { return SetSmtpServer(link_, r_); });
        mailSent |= SendIf(Due(r_.smtpPortState), kWriteErrorSmtpPort,
                           [this] { return SetSmtpPort(link_, r_); });
        for (int n = 1; n <= 3; ++n) {
            mailSent |= SendIf(Due(numbered::MailToState(r_, n)), kWriteErrorMailTo1 << (n - 1),
                               [this, n] { return SetMailTo(link_, n, r_); });
        }
        for (int n = 1; n <= 3; ++n) {
            mailSent |=
                SendIf(Due(numbered::MailEventsState(r_, n)), kWriteErrorMailEvents1 << (n - 1),
                       [this, n] { return SetMailEvents(link_, n, r_); });
        }
        if (mailSent) {
            OfferTestMail();
        }
    }

    void OfferTestMail() {
        if (state_.ShowMessage(kStringSendTestMailQuestion, kMessageYesNoQuestion) != kAnswerYes) {
            return;
        }
        anySent_ = true;
        if (SendTestMail(link_) == 1) {
            state_.ShowMessage(kStringTestMailSent, kMessageInformation);
        } else {
            state_.ShowMessage(kStringTestMailFailed, kMessageWarning);
        }
    }

    // Only with a fixed address: under DHCP the server hands these out.
    void SendNameServers() {
        const LinkInterface which = InterfaceOf(r_);
        state_.Post(kMessageProgress, 10);
        SendIf(Due(r_.dnsDomainState), kWriteErrorDomain,
               [this, which] { return SetDnsDomain(link_, which, r_); });
        state_.Post(kMessageProgress, 10);
        SendIf(GroupDue({r_.dns1State, r_.dns2State}), kWriteErrorDns,
               [this, which] { return SetDnsServers(link_, which, r_); });
        state_.Post(kMessageProgress, 10);
        SendIf(GroupDue({r_.wins1State, r_.wins2State}), kWriteErrorWins,
               [this, which] { return SetWinsServers(link_, which, r_); });
    }

    // A new name reaches the network only with the address configuration, so the name forces
    // the line out.
    void SendAddressConfiguration(bool nameSent) {
        const bool dhcp = r_.dhcp != 0;
        state_.Post(kMessageProgress, dhcp ? 40 : 10);
        bool due = false;
        std::function<int()> send;
        if (r_.wirelessActive == 0) {
            due = dhcp ? GroupDue({r_.dhcpState})
                       : GroupDue({r_.ipAddressState, r_.subnetMaskState, r_.gatewayState});
            send = [this] { return SetWiredConfig(link_, r_); };
        } else if (r_.imType == kImTypeExtendedWireless) {
            due = dhcp ? GroupDue({r_.dhcpState, r_.essidState, r_.adhocState})
                       : GroupDue({r_.ipAddressState, r_.subnetMaskState, r_.gatewayState,
                                   r_.essidState, r_.adhocState});
            send = [this] { return SetExtendedWirelessConfig(link_, r_); };
        } else {
            due = dhcp ? GroupDue({r_.dhcpState, r_.essidState, r_.wepKeyState, r_.adhocState})
                       : GroupDue({r_.ipAddressState, r_.subnetMaskState, r_.gatewayState,
                                   r_.essidState, r_.wepKeyState, r_.adhocState});
            send = [this] { return SetWirelessConfig(link_, r_); };
        }
        SendIf(due || nameSent, kWriteErrorAddressConfig, send);
    }

    void SendWirelessSecurity() {
        SendIf(Due(r_.securityState) || r_.adhocState == kStateChanged, kWriteErrorAddressConfig,
               [this] { return SetSecurity(link_, r_); });
        if (!UsesWepKeys(r_)) {
            return;
        }
        SendIf(Due(r_.wepKeyIdState), kWriteErrorAddressConfig,
               [this] { return SetWepKeyId(link_, r_); });
        for (int key = 1; key <= 4; ++key) {
            SendIf(Due(numbered::WepKeyState(r_, key)), kWriteErrorAddressConfig,
                   [this, key] { return SetWepKey(link_, key, r_); });
        }
    }

    ApplicationState& state_;
    ProjectorRecord& r_;
    CProjectorLink& link_;
    const std::int32_t writeAll_;
    bool anySent_ = false;
};

int ReportWrite(ApplicationState& state, int result) {
    state.Post(kMessageWriteResult, result);
    return result;
}

}  // namespace

int WriteWorker(ApplicationState& state) {
    if (state.debugMode != 0) {
        return SimulateWrite(state);
    }
    state.writeErrors = 0;
    if (!state.link) {
        return ReportWrite(state, 0);
    }
    ProjectorRecord* record = state.SelectedRecord();
    if (record == nullptr) {
        state.link->Close();
        state.link.reset();
        return ReportWrite(state, 0);
    }
    CWriteRun(state, *record).Run();
    return ReportWrite(state, state.writeErrors == 0 ? 1 : -1);
}

}  // namespace lanterna
