#include <string>

#include "link/NetworkCommands.h"
#include "platform/AsciiCase.h"
#include "record/RecordSlots.h"
#include "workers/DebugSimulation.h"
#include "workers/Workers.h"

namespace lanterna {

namespace {

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
    return queryResult == 1 ? kStateRead : kStateUnknown;
}

// The address configuration and the wireless settings of the interface in use.
void ReadAddressConfiguration(CProjectorLink& link, ProjectorRecord& r, bool wireless) {
    if (!wireless) {
        r.wirelessActive = 0;
        const std::int32_t state = StateOf(QueryWiredConfig(link, r));
        r.dhcpState = r.ipAddressState = r.subnetMaskState = r.gatewayState = state;
        if (state == kStateUnknown) {
            r.dhcp = 1;
        }
        return;
    }
    r.wirelessActive = 1;
    if (r.imType != kImTypeExtendedWireless) {
        const std::int32_t state = StateOf(QueryWirelessConfig(link, r));
        r.dhcpState = r.ipAddressState = r.subnetMaskState = r.gatewayState = state;
        r.essidState = r.wepEnabledState = r.wepKeyState = r.adhocState = state;
        if (state == kStateUnknown) {
            r.dhcp = 1;
        }
        return;
    }
    const std::int32_t state = StateOf(QueryExtendedWirelessConfig(link, r));
    r.dhcpState = r.ipAddressState = r.subnetMaskState = r.gatewayState = state;
    r.essidState = r.adhocState = state;
    if (state == kStateUnknown) {
        r.dhcp = 1;
    }
    if (r.adhoc != 0) {
        return;
    }
    r.securityState = StateOf(QuerySecurity(link, r));
    if (!UsesWepKeys(r)) {
        return;
    }
    r.wepKeyIdState = StateOf(QueryWepKeyId(link, r));
    for (int key = 1; key <= 4; ++key) {
        if (QueryWepKey(link, key, r) != 1) {
            CopyText(numbered::WepKey(r, key), "");
        }
        numbered::WepKeyState(r, key) = kStateRead;
    }
}

void ReadMail(CProjectorLink& link, ProjectorRecord& r) {
    r.smtpServerState = StateOf(QuerySmtpServer(link, r));
    r.smtpPortState = StateOf(QuerySmtpPort(link, r));
    for (int n = 1; n <= 3; ++n) {
        numbered::MailToState(r, n) = StateOf(QueryMailTo(link, n, r));
    }
    for (int n = 1; n <= 3; ++n) {
        numbered::MailEventsState(r, n) = StateOf(QueryMailEvents(link, n, r));
    }
}

// Steps 7 to 16: every setting, with its progress steps.
void ReadAllSettings(ApplicationState& state, CProjectorLink& link, ProjectorRecord& r,
                     bool wireless) {
    r.projectorNameState = StateOf(QueryProjectorName(link, r));
    state.Post(kMessageProgress, 10);
    ReadAddressConfiguration(link, r, wireless);
    const LinkInterface which = wireless ? LinkInterface::kWireless : LinkInterface::kWired;

    state.Post(kMessageProgress, 10);
    r.dnsDomainState = StateOf(QueryDnsDomain(link, which, r));
    state.Post(kMessageProgress, 5);
    r.dns1State = r.dns2State = StateOf(QueryDnsServers(link, which, r));
    state.Post(kMessageProgress, 5);
    r.wins1State = r.wins2State = StateOf(QueryWinsServers(link, which, r));
    state.Post(kMessageProgress, 5);
    r.mailNotifyState = StateOf(QueryMailNotify(link, r));
    state.Post(kMessageProgress, 5);
    ReadMail(link, r);
    state.Post(kMessageProgress, 5);
    r.trapAddress1State = StateOf(QueryTrapAddress(link, 1, r));
    state.Post(kMessageProgress, 5);
    r.trapAddress2State = StateOf(QueryTrapAddress(link, 2, r));
    state.Post(kMessageProgress, 5);
    r.communityState = StateOf(QueryCommunity(link, r));
    state.Post(kMessageProgress, 5);
    r.primaryInterfaceState = StateOf(QueryPrimaryInterface(link, r));
    state.Post(kMessageProgress, 5);
}

}  // namespace

int ReadWorker(ApplicationState& state) {
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
    std::int32_t interfaceValue = 0;
    if (QueryInterface(link, interfaceValue) != 1) {
        return Fail(state, -3);
    }
    const bool wireless = interfaceValue != 0;
    std::string mac;
    if (QueryMacAddress(link, wireless ? LinkInterface::kWireless : LinkInterface::kWired, mac) !=
        1) {
        return Fail(state, -1);
    }
    const bool mismatch =
        !IsEmptyText(record->macAddress) && !EqualIgnoringCase(TextOf(record->macAddress), mac);
    CopyText(record->macAddress, mac);
    if (mismatch) {
        return Fail(state, -2);
    }
    if (state.readAllSettings == 0) {
        record->wirelessActive = wireless ? 1 : 0;
        state.Post(kMessageProgress, 65);
        return ReportRead(state, 1);
    }
    ReadAllSettings(state, link, *record, wireless);
    return ReportRead(state, 1);
}

}  // namespace lanterna
