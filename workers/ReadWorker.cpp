#include <functional>
#include <initializer_list>
#include <string>

#include "link/NetworkCommands.h"
#include "platform/AsciiCase.h"
#include "record/CutState.h"
#include "record/RecordSlots.h"
#include "workers/DebugSimulation.h"
#include "workers/Workers.h"

namespace lanterna {

namespace {

// Settings of every read: the interface and the hardware address.
constexpr int kIdentitySettings = 2;
// Settings of a full read besides the identity, before the ones that depend on what was read
// (the security code and the WEP keys of a type 22 module).
constexpr int kFullReadSettings = 18;

int ReportRead(ApplicationState& state, int result) {
    state.Post(kMessageReadResult, result);
    return result;
}

// Closes and destroys the link, then reports.
int Fail(ApplicationState& state, int result) {
    state.link->Close();
    state.link.reset();
    return ReportRead(state, result);
}

std::int32_t StateOf(int queryResult) {
    switch (queryResult) {
        case 1:
            return kStateRead;
        case kQueryCut:
            return kStateCut;
        default:
            return kStateUnknown;
    }
}

// Before a full read: what this read does not reach, a failed read included, is unknown.
void MarkEverySettingUnread(ProjectorRecord& r) {
    for (std::int32_t* state :
         {&r.dhcpState,         &r.projectorNameState, &r.ipAddressState,        &r.subnetMaskState,
          &r.gatewayState,      &r.dns1State,          &r.dns2State,             &r.dnsDomainState,
          &r.wins1State,        &r.wins2State,         &r.mailNotifyState,       &r.smtpServerState,
          &r.smtpPortState,     &r.mailTo1State,       &r.mailTo2State,          &r.mailTo3State,
          &r.mailEvents1State,  &r.mailEvents2State,   &r.mailEvents3State,      &r.trapAddress1State,
          &r.trapAddress2State, &r.communityState,     &r.essidState,            &r.wepEnabledState,
          &r.wepKeyState,       &r.adhocState,         &r.primaryInterfaceState, &r.securityState,
          &r.wepKeyIdState,     &r.wepKey1State,       &r.wepKey2State,          &r.wepKey3State,
          &r.wepKey4State}) {
        *state = kStateUnknown;
    }
}

// One read over an open link: each query counted and named in state.readProgress, every
// setting's state word set by its query's result. A failed exchange ends the read at once.
class CReadRun {
  public:
    CReadRun(ApplicationState& state, ProjectorRecord& record)
        : state_(state), r_(record), link_(*state.link), progress_(state.readProgress) {}

    // Steps 7 to 16: every setting, with its progress steps. False when the link failed.
    bool ReadAllSettings(bool wireless) {
        MarkEverySettingUnread(r_);
        progress_.settingsPlanned += kFullReadSettings;
        const LinkInterface which = wireless ? LinkInterface::kWireless : LinkInterface::kWired;
        return Ask("projectorName", {&r_.projectorNameState},
                   [&] { return QueryProjectorName(link_, r_); }) &&
               Step(10) && ReadAddressConfiguration(wireless) && Step(10) &&
               Ask("dnsDomain", {&r_.dnsDomainState},
                   [&] { return QueryDnsDomain(link_, which, r_); }) &&
               Step(5) &&
               Ask("dns1/dns2", {&r_.dns1State, &r_.dns2State},
                   [&] { return QueryDnsServers(link_, which, r_); }) &&
               Step(5) &&
               Ask("wins1/wins2", {&r_.wins1State, &r_.wins2State},
                   [&] { return QueryWinsServers(link_, which, r_); }) &&
               Step(5) &&
               Ask("mailNotify", {&r_.mailNotifyState}, [&] { return QueryMailNotify(link_, r_); }) &&
               Step(5) && ReadMail() && Step(5) &&
               Ask("trapAddress1", {&r_.trapAddress1State},
                   [&] { return QueryTrapAddress(link_, 1, r_); }) &&
               Step(5) &&
               Ask("trapAddress2", {&r_.trapAddress2State},
                   [&] { return QueryTrapAddress(link_, 2, r_); }) &&
               Step(5) &&
               Ask("community", {&r_.communityState}, [&] { return QueryCommunity(link_, r_); }) &&
               Step(5) &&
               Ask("primaryInterface", {&r_.primaryInterfaceState},
                   [&] { return QueryPrimaryInterface(link_, r_); }) &&
               Step(5);
    }

  private:
    bool Step(std::intptr_t points) {
        state_.Post(kMessageProgress, points);
        return true;
    }

    // Runs one query for `setting` and sets `states` by its result. False when the link failed:
    // the setting is then named as the one the read stopped at.
    bool Ask(std::string_view setting, std::initializer_list<std::int32_t*> states,
             const std::function<int()>& query) {
        const int result = query();
        if (result == kLinkFailed) {
            progress_.lostAt = std::string(setting);
            return false;
        }
        for (std::int32_t* state : states) {
            *state = StateOf(result);
        }
        progress_.settingsRead += StateOf(result) != kStateUnknown ? 1 : 0;
        return true;
    }

    // The address configuration and the wireless settings of the interface in use. An unread
    // configuration leaves DHCP on, so that no name server is ever sent for it.
    bool ReadAddressConfiguration(bool wireless) {
        r_.wirelessActive = wireless ? 1 : 0;
        bool linkKept = true;
        if (!wireless) {
            bool addressesReported = true;
            linkKept = Ask("dhcp/ipAddress/subnetMask/gateway",
                           {&r_.dhcpState, &r_.ipAddressState, &r_.subnetMaskState,
                            &r_.gatewayState},
                           [&] { return QueryWiredConfig(link_, r_, addressesReported); });
            if (!addressesReported) {
                r_.ipAddressState = r_.subnetMaskState = r_.gatewayState = kStateUnknown;
            }
        } else if (r_.imType != kImTypeExtendedWireless) {
            linkKept = Ask("dhcp/ipAddress/subnetMask/gateway/essid/wepKey/adhoc",
                           {&r_.dhcpState, &r_.ipAddressState, &r_.subnetMaskState,
                            &r_.gatewayState, &r_.essidState, &r_.wepEnabledState,
                            &r_.wepKeyState, &r_.adhocState},
                           [&] { return QueryWirelessConfig(link_, r_); });
        } else {
            linkKept = Ask("dhcp/ipAddress/subnetMask/gateway/essid/adhoc",
                           {&r_.dhcpState, &r_.ipAddressState, &r_.subnetMaskState,
                            &r_.gatewayState, &r_.essidState, &r_.adhocState},
                           [&] { return QueryExtendedWirelessConfig(link_, r_); });
        }
        if (!linkKept) {
            return false;
        }
        if (r_.dhcpState == kStateUnknown) {
            r_.dhcp = 1;
        }
        return !wireless || r_.imType != kImTypeExtendedWireless || ReadWirelessSecurity();
    }

    // Type 22 in infrastructure mode: the security code, and the WEP keys when it uses them.
    bool ReadWirelessSecurity() {
        if (r_.adhoc != 0) {
            return true;
        }
        ++progress_.settingsPlanned;
        if (!Ask("security", {&r_.securityState}, [&] { return QuerySecurity(link_, r_); })) {
            return false;
        }
        if (!UsesWepKeys(r_)) {
            return true;
        }
        progress_.settingsPlanned += 5;
        if (!Ask("wepKeyId", {&r_.wepKeyIdState}, [&] { return QueryWepKeyId(link_, r_); })) {
            return false;
        }
        // A key number outside 1 to 4 is no key: not reported, and the dialog's rule (any
        // other number stands for key 1) applies to it.
        if (r_.wepKeyId < 1 || r_.wepKeyId > 4) {
            r_.wepKeyIdState = kStateUnknown;
        }
        for (int key = 1; key <= 4; ++key) {
            if (!ReadWepKey(key)) {
                return false;
            }
        }
        return true;
    }

    // A key the projector refuses to tell counts as read and empty; one longer than a key can be
    // is not reported; one longer than the field is held cut.
    bool ReadWepKey(int key) {
        std::int32_t& state = numbered::WepKeyState(r_, key);
        int result = 0;
        const std::string name = "wepKey" + std::to_string(key);
        if (!Ask(name, {&state}, [&] { return result = QueryWepKey(link_, key, r_); })) {
            return false;
        }
        if (result != 1 && result != kQueryCut) {
            CopyText(numbered::WepKey(r_, key), "");
        }
        if (result == 0) {
            state = kStateRead;
        }
        return true;
    }

    bool ReadMail() {
        if (!Ask("smtpServer", {&r_.smtpServerState}, [&] { return QuerySmtpServer(link_, r_); }) ||
            !Ask("smtpPort", {&r_.smtpPortState}, [&] { return QuerySmtpPort(link_, r_); })) {
            return false;
        }
        for (int n = 1; n <= 3; ++n) {
            if (!Ask("mailTo" + std::to_string(n), {&numbered::MailToState(r_, n)},
                     [&] { return QueryMailTo(link_, n, r_); })) {
                return false;
            }
        }
        for (int n = 1; n <= 3; ++n) {
            if (!Ask("mailEvents" + std::to_string(n), {&numbered::MailEventsState(r_, n)},
                     [&] { return QueryMailEvents(link_, n, r_); })) {
                return false;
            }
        }
        return true;
    }

    ApplicationState& state_;
    ProjectorRecord& r_;
    CProjectorLink& link_;
    ReadProgress& progress_;
};

// Steps 4 and 5: the interface and the hardware address. 1 when both were read and the
// projector is the one the record names, else the read's result.
int ReadIdentity(ApplicationState& state, ProjectorRecord& record, bool& wireless) {
    CProjectorLink& link = *state.link;
    ReadProgress& progress = state.readProgress;
    std::int32_t interfaceValue = 0;
    const int interfaceRead = QueryInterface(link, interfaceValue);
    if (interfaceRead == kLinkFailed) {
        progress.lostAt = "wirelessActive";
        return kReadLinkLost;
    }
    if (interfaceRead != 1) {
        return -3;
    }
    ++progress.settingsRead;
    wireless = interfaceValue != 0;
    std::string mac;
    const int macRead =
        QueryMacAddress(link, wireless ? LinkInterface::kWireless : LinkInterface::kWired, mac);
    if (macRead == kLinkFailed) {
        progress.lostAt = "macAddress";
        return kReadLinkLost;
    }
    if (macRead != 1) {
        return -1;
    }
    ++progress.settingsRead;
    const bool mismatch =
        !IsEmptyText(record.macAddress) && !EqualIgnoringCase(TextOf(record.macAddress), mac);
    CopyText(record.macAddress, mac);
    return mismatch ? -2 : 1;
}

}  // namespace

int ReadWorker(ApplicationState& state) {
    state.readProgress = {};
    if (state.debugMode != 0) {
        return SimulateRead(state);
    }
    if (state.link) {
        // A link left open by an earlier conversation.
        state.link.reset();
        return ReportRead(state, -1);
    }
    ProjectorRecord* record = state.SelectedRecord();
    if (record == nullptr) {
        return ReportRead(state, -1);
    }
    state.link = state.CreateLink();
    CProjectorLink& link = *state.link;
    if (link.Connect(TextOf(state.currentAddress), state.ProjectorPort()) != 1) {
        state.link.reset();
        return ReportRead(state, -1);
    }
    state.Post(kMessageProgress, 10);
    if (link.Authenticate(TextOf(record->password)) != 1) {
        return Fail(state, 0);
    }
    state.Post(kMessageProgress, 25);
    state.readProgress.settingsPlanned = kIdentitySettings;
    bool wireless = false;
    if (const int identity = ReadIdentity(state, *record, wireless); identity != 1) {
        return Fail(state, identity);
    }
    if (state.readAllSettings == 0) {
        record->wirelessActive = wireless ? 1 : 0;
        state.Post(kMessageProgress, 65);
        return ReportRead(state, 1);
    }
    if (!CReadRun(state, *record).ReadAllSettings(wireless)) {
        return Fail(state, kReadLinkLost);
    }
    return ReportRead(state, 1);
}

}  // namespace lanterna
