#include <functional>
#include <string>

#include "link/NetworkCommands.h"
#include "record/RecordSlots.h"
#include "resources/StringIds.h"
#include "workers/DebugSimulation.h"
#include "workers/DueRules.h"
#include "workers/WriteGroups.h"
#include "workers/Workers.h"

namespace lanterna {

namespace {

const NetworkCommand& OfInterface(const ProjectorRecord& record, const NetworkCommand& wired,
                                  const NetworkCommand& wireless) {
    return record.wirelessActive != 0 ? wireless : wired;
}

// One write run over the open link: sends what is due and notes in state.writeProgress what
// came of each command. Once the link has failed nothing more is sent: the commands still due
// are only listed.
class CWriteRun {
  public:
    CWriteRun(ApplicationState& state, ProjectorRecord& record)
        : state_(state),
          r_(record),
          link_(*state.link),
          writeAll_(record.writeAll),
          progress_(state.writeProgress) {}

    bool LinkLost() const { return linkLost_; }

    void Run() {
        state_.Post(kMessageProgress, 10);
        SendMail();
        state_.Post(kMessageProgress, 10);
        SendIf(Due(r_.trapAddress1State), kWriteErrorTrapAddress1, commands::kTrapAddress[0],
               [this] { return SetTrapAddress(link_, 1, r_); });
        state_.Post(kMessageProgress, 10);
        SendIf(Due(r_.trapAddress2State), kWriteErrorTrapAddress2, commands::kTrapAddress[1],
               [this] { return SetTrapAddress(link_, 2, r_); });
        state_.Post(kMessageProgress, 10);
        SendIf(Due(r_.communityState), kWriteErrorCommunity, commands::kCommunity,
               [this] { return SetCommunity(link_, r_); });
        SendIf(Due(r_.primaryInterfaceState), kWriteErrorNameOrPrimary, commands::kPrimaryInterface,
               [this] { return SetPrimaryInterface(link_, r_); });
        const bool nameSent = Due(r_.projectorNameState);
        SendIf(nameSent, kWriteErrorNameOrPrimary, commands::kProjectorName,
               [this] { return SetProjectorName(link_, r_); });
        if (r_.dhcp == 0) {
            SendNameServers();
        }
        state_.Post(kMessageProgress, 10);
        SendAddressConfiguration();
        if (IsExtendedWireless() && r_.adhoc == 0) {
            SendWirelessSecurity();
        }
        // The module takes a new name into use after this status request.
        if (nameSent && r_.wins1State != 0) {
            SendOnly(commands::kStatus, [this] { return SendStatusRequest(link_); });
        }
        state_.Post(kMessageProgress, 10);
        if (r_.imType == kImTypeExtendedWireless && anySent_) {
            SendOnly(commands::kReset, [this] { return SendReset(link_); });
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

    // Sends when `due`; a refusal, an argument that cannot be sent or a failed link sets
    // `errorBit`. Returns whether the command went out: only then does the module need the
    // closing reset.
    bool SendIf(bool due, std::uint32_t errorBit, const NetworkCommand& command,
                const std::function<int()>& send) {
        if (!due) {
            return false;
        }
        const std::string name(command.name);
        if (linkLost_) {
            state_.writeErrors |= errorBit;
            progress_.notSent.push_back(name);
            return false;
        }
        const int result = send();
        if (result != 1) {
            state_.writeErrors |= errorBit;
        }
        switch (result) {
            case 1:
                progress_.accepted.push_back(name);
                break;
            case kLinkFailed:
                linkLost_ = true;
                progress_.unanswered.push_back(name);
                break;
            default:
                progress_.refused.push_back(name);
                break;
        }
        const bool wentOut = result != kSetNotSent;
        anySent_ = anySent_ || wentOut;
        return wentOut;
    }

    // A command whose reply is never read: a failed send means the link is gone.
    void SendOnly(const NetworkCommand& command, const std::function<int()>& send) {
        if (linkLost_ || send() != 1) {
            linkLost_ = true;
            progress_.notSent.emplace_back(command.name);
        }
    }

    void SendMail() {
        SendIf(Due(r_.mailNotifyState), kWriteErrorMailNotify, commands::kMailNotify,
               [this] { return SetMailNotify(link_, r_); });
        if (r_.mailNotify != 1) {
            return;
        }
        bool mailSent = false;
        mailSent |= SendIf(Due(r_.smtpServerState), kWriteErrorSmtpServer, commands::kSmtpServer,
                           [this] { return SetSmtpServer(link_, r_); });
        mailSent |= SendIf(Due(r_.smtpPortState), kWriteErrorSmtpPort, commands::kSmtpPort,
                           [this] { return SetSmtpPort(link_, r_); });
        for (int n = 1; n <= 3; ++n) {
            mailSent |= SendIf(Due(numbered::MailToState(r_, n)), kWriteErrorMailTo1 << (n - 1),
                               commands::kMailTo[n - 1],
                               [this, n] { return SetMailTo(link_, n, r_); });
        }
        for (int n = 1; n <= 3; ++n) {
            mailSent |=
                SendIf(Due(numbered::MailEventsState(r_, n)), kWriteErrorMailEvents1 << (n - 1),
                       commands::kMailEvents[n - 1], [this, n] { return SetMailEvents(link_, n, r_); });
        }
        if ((mailSent || state_.testMailAsked != 0) && !linkLost_) {
            OfferTestMail();
        }
    }

    void OfferTestMail() {
        if (state_.ShowMessage(kStringSendTestMailQuestion, kMessageYesNoQuestion) != kAnswerYes) {
            return;
        }
        anySent_ = true;
        const int result = SendTestMail(link_);
        if (result == kLinkFailed) {
            linkLost_ = true;
            progress_.unanswered.emplace_back(commands::kTestMail.name);
        }
        if (result == 1) {
            state_.ShowMessage(kStringTestMailSent, kMessageInformation);
        } else {
            state_.ShowMessage(kStringTestMailFailed, kMessageWarning);
        }
    }

    // Only with a fixed address: under DHCP the server hands these out.
    void SendNameServers() {
        state_.Post(kMessageProgress, 10);
        SendIf(Due(r_.dnsDomainState), kWriteErrorDomain,
               OfInterface(r_, commands::kWiredDomain, commands::kWirelessDomain),
               [this] { return SetDnsDomain(link_, InterfaceOf(r_), r_); });
        state_.Post(kMessageProgress, 10);
        SendIf(GroupDue({r_.dns1State, r_.dns2State}), kWriteErrorDns,
               OfInterface(r_, commands::kWiredDns, commands::kWirelessDns),
               [this] { return SetDnsServers(link_, InterfaceOf(r_), r_); });
        state_.Post(kMessageProgress, 10);
        SendIf(GroupDue({r_.wins1State, r_.wins2State}), kWriteErrorWins,
               OfInterface(r_, commands::kWiredWins, commands::kWirelessWins),
               [this] { return SetWinsServers(link_, InterfaceOf(r_), r_); });
    }

    void SendAddressConfiguration() {
        state_.Post(kMessageProgress, r_.dhcp != 0 ? 40 : 10);
        const bool goesOut = AddressConfigGoesOut(r_);
        if (r_.wirelessActive == 0) {
            SendIf(goesOut, kWriteErrorAddressConfig, commands::kWiredConfig,
                   [this] { return SetWiredConfig(link_, r_); });
        } else if (r_.imType == kImTypeExtendedWireless) {
            SendIf(goesOut, kWriteErrorAddressConfig, commands::kExtendedWirelessConfig,
                   [this] { return SetExtendedWirelessConfig(link_, r_); });
        } else {
            SendIf(goesOut, kWriteErrorAddressConfig, commands::kWirelessConfig,
                   [this] { return SetWirelessConfig(link_, r_); });
        }
    }

    void SendWirelessSecurity() {
        SendIf(SecurityCodeGoesOut(r_), kWriteErrorAddressConfig, commands::kSecurity,
               [this] { return SetSecurity(link_, r_); });
        if (!UsesWepKeys(r_)) {
            return;
        }
        SendIf(Due(r_.wepKeyIdState), kWriteErrorAddressConfig, commands::kWepKeyId,
               [this] { return SetWepKeyId(link_, r_); });
        for (int key = 1; key <= 4; ++key) {
            SendIf(Due(numbered::WepKeyState(r_, key)), kWriteErrorAddressConfig,
                   commands::kWepKey[key - 1], [this, key] { return SetWepKey(link_, key, r_); });
        }
    }

    ApplicationState& state_;
    ProjectorRecord& r_;
    CProjectorLink& link_;
    const std::int32_t writeAll_;
    WriteProgress& progress_;
    bool anySent_ = false;
    bool linkLost_ = false;
};

int ReportWrite(ApplicationState& state, int result) {
    state.writeProgress.result = result;
    state.Post(kMessageWriteResult, result);
    return result;
}

}  // namespace

int WriteWorker(ApplicationState& state) {
    state.writeProgress = {};
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
    if (const std::string_view unread = UnreadSettingInWrite(*record); !unread.empty()) {
        state.writeProgress.unreadSetting = std::string(unread);
        return ReportWrite(state, kWriteUnreadSetting);
    }
    CWriteRun run(state, *record);
    run.Run();
    if (run.LinkLost()) {
        return ReportWrite(state, kWriteLinkLost);
    }
    return ReportWrite(state, state.writeErrors == 0 ? 1 : -1);
}

}  // namespace lanterna
