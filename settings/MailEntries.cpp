#include "settings/MailEntries.h"

#include "platform/AsciiCase.h"
#include "platform/DecimalText.h"
#include "record/RecordSlots.h"
#include "resources/StringIds.h"
#include "settings/AddressRules.h"
#include "settings/StateRule.h"
#include "settings/TextRules.h"

namespace lanterna {
namespace {

constexpr EntryField kMailToFields[kMailRecipients] = {EntryField::kMailTo1, EntryField::kMailTo2,
                                                       EntryField::kMailTo3};

void StoreUnchecked(const MailEntries& entries, ProjectorRecord& record) {
    record.smtpServer = entries.smtpServer.octets;
    record.smtpPort = PortOfText(entries.port);
    for (int n = 1; n <= kMailRecipients; ++n) {
        CopyText(numbered::MailTo(record, n), entries.mailTo[n - 1]);
    }
}

}  // namespace

MailSettings MailSettingsOf(const ProjectorRecord& record) {
    MailSettings settings;
    settings.mailNotify = record.mailNotify;
    settings.smtpServer = record.smtpServer;
    settings.smtpPort = record.smtpPort;
    for (int n = 1; n <= kMailRecipients; ++n) {
        settings.mailTo[n - 1] = numbered::MailTo(record, n);
        settings.mailEvents[n - 1] = numbered::MailEvents(record, n);
        settings.mailToRead[n - 1] = numbered::MailToState(record, n) != kStateUnknown;
    }
    settings.notifyRead = record.mailNotifyState != kStateUnknown;
    settings.smtpServerRead = record.smtpServerState != kStateUnknown;
    settings.smtpPortRead = record.smtpPortState != kStateUnknown;
    return settings;
}

void RestoreMailSettings(const MailSettings& settings, ProjectorRecord& record) {
    record.mailNotify = settings.mailNotify;
    record.smtpServer = settings.smtpServer;
    record.smtpPort = settings.smtpPort;
    for (int n = 1; n <= kMailRecipients; ++n) {
        numbered::MailTo(record, n) = settings.mailTo[n - 1];
        numbered::MailEvents(record, n) = settings.mailEvents[n - 1];
    }
}

MailEntries MailEntriesOf(const ProjectorRecord& record, bool onlyRead) {
    const auto shown = [onlyRead](std::int32_t state) {
        return !onlyRead || state != kStateUnknown;
    };
    MailEntries entries;
    entries.notifyChosen = shown(record.mailNotifyState);
    entries.notify = entries.notifyChosen && record.mailNotify != 0;
    entries.smtpServer =
        EntryOfAddress(shown(record.smtpServerState) ? record.smtpServer : Octets{});
    if (shown(record.smtpPortState) && record.smtpPort != 0) {
        entries.port = std::to_string(record.smtpPort);
    }
    for (int n = 1; n <= kMailRecipients; ++n) {
        if (shown(numbered::MailToState(record, n))) {
            entries.mailTo[n - 1] = std::string(TextOf(numbered::MailTo(record, n)));
        }
    }
    return entries;
}

std::optional<std::string> CorrectedPortText(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const int value = LeadingDecimal(text);
    if (value == 0) {
        return "1";
    }
    if (value < 0 || value > kPortNumberMax) {
        return std::to_string(kPortNumberMax);
    }
    return std::nullopt;
}

std::uint16_t PortOfText(std::string_view text) {
    return static_cast<std::uint16_t>(static_cast<unsigned>(LeadingDecimal(text)));
}

EntryVerdict CheckSmtpServerEntry(const AddressEntry& server) {
    if (server.IsPartlyFilled()) {
        return Refused(kStringBadSmtpServer, EntryField::kSmtpServer, FocusOctet::kFirstBlank);
    }
    if (server.IsBlank() || IsHostAddress(server.octets) != 1) {
        return Refused(kStringBadSmtpServer, EntryField::kSmtpServer);
    }
    return {};
}

EntryVerdict CheckSmtpPortEntry(std::string_view port) {
    if (IsPortNumber(port) != 1) {  // refuses the empty text too
        return Refused(kStringBadSmtpPort, EntryField::kSmtpPort);
    }
    return {};
}

EntryVerdict CheckMailToEntry(std::string_view address, int recipient) {
    const bool mayBeEmpty = recipient != 1;
    if ((address.empty() && !mayBeEmpty) || (!address.empty() && IsMailAddress(address) != 1)) {
        const int index = recipient >= 1 && recipient <= kMailRecipients ? recipient - 1 : 0;
        return Refused(kStringBadMailAddress, kMailToFields[index]);
    }
    return {};
}

EntryVerdict CheckMailEntries(const MailEntries& entries) {
    if (!entries.notify) {
        return {};
    }
    if (EntryVerdict verdict = CheckSmtpServerEntry(entries.smtpServer); !verdict.Accepted()) {
        return verdict;
    }
    if (EntryVerdict verdict = CheckSmtpPortEntry(entries.port); !verdict.Accepted()) {
        return verdict;
    }
    for (int n = 1; n <= kMailRecipients; ++n) {
        if (EntryVerdict verdict = CheckMailToEntry(entries.mailTo[n - 1], n);
            !verdict.Accepted()) {
            return verdict;
        }
    }
    return {};
}

EntryVerdict StoreMailEntries(const MailEntries& entries, const MailSettings& reference,
                              const MailSettings& atOpen, ProjectorRecord& record) {
    if (!entries.notifyChosen) {
        StoreUnchecked(entries, record);
        return {};
    }
    if (!entries.notify) {
        record.mailNotify = 0;
        record.mailNotifyState = reference.mailNotify != 0 ? kStateChanged : kStateUnchanged;
        KeepUnreadUnlessGiven(reference.notifyRead, true, record.mailNotifyState);
        StoreUnchecked(entries, record);
        return {};
    }
    record.mailNotify = 1;
    record.mailNotifyState = reference.mailNotify == 0 ? kStateChanged : kStateUnchanged;
    KeepUnreadUnlessGiven(reference.notifyRead, true, record.mailNotifyState);
    if (EntryVerdict verdict = CheckSmtpServerEntry(entries.smtpServer); !verdict.Accepted()) {
        return verdict;
    }
    StoreByStateRule(entries.smtpServer.octets, reference.smtpServer, atOpen.smtpServer,
                     record.smtpServer, record.smtpServerState);
    KeepUnreadUnlessGiven(reference.smtpServerRead, true, record.smtpServerState);
    if (EntryVerdict verdict = CheckSmtpPortEntry(entries.port); !verdict.Accepted()) {
        return verdict;
    }
    StoreByStateRule(PortOfText(entries.port), reference.smtpPort, atOpen.smtpPort, record.smtpPort,
                     record.smtpPortState);
    KeepUnreadUnlessGiven(reference.smtpPortRead, true, record.smtpPortState);
    for (int n = 1; n <= kMailRecipients; ++n) {
        const std::string& address = entries.mailTo[n - 1];
        if (EntryVerdict verdict = CheckMailToEntry(address, n); !verdict.Accepted()) {
            return verdict;
        }
        StoreTextByStateRule(address, TextOf(reference.mailTo[n - 1]), TextOf(atOpen.mailTo[n - 1]),
                             numbered::MailTo(record, n), numbered::MailToState(record, n),
                             EqualIgnoringCase);
        KeepUnreadUnlessGiven(reference.mailToRead[n - 1], !address.empty(),
                              numbered::MailToState(record, n));
    }
    return {};
}

EntryVerdict StoreMailEntriesInFile(const MailEntries& entries, ProjectorRecord& record) {
    if (EntryVerdict verdict = CheckMailEntries(entries); !verdict.Accepted()) {
        return verdict;
    }
    record.mailNotify = entries.notify ? 1 : 0;
    record.mailNotifyState = kStateChanged;
    StoreUnchecked(entries, record);
    if (entries.notify) {
        for (std::int32_t* state :
             {&record.smtpServerState, &record.smtpPortState, &record.mailTo1State,
              &record.mailTo2State, &record.mailTo3State}) {
            *state = kStateChanged;
        }
    }
    return {};
}

void StoreEventSet(int recipient, std::uint32_t eventSet, std::uint32_t reference,
                   std::uint32_t atOpen, ProjectorRecord& record) {
    StoreByStateRule(eventSet, reference, atOpen, numbered::MailEvents(record, recipient),
                     numbered::MailEventsState(record, recipient));
}

}  // namespace lanterna
