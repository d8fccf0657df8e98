#include "GalleryEntries.h"

#include <thread>

#include "ButtonSheet.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/AddressEntryDialog.h"
#include "dialogs/ApplyPreviewDialog.h"
#include "dialogs/AuditDialog.h"
#include "dialogs/DialogIds.h"
#include "dialogs/FleetPasswordDialog.h"
#include "dialogs/FleetProgressDialog.h"
#include "dialogs/FleetTableDialog.h"
#include "dialogs/FleetWording.h"
#include "dialogs/HelpDialog.h"
#include "dialogs/MailNotifyDialog.h"
#include "dialogs/MainDialog.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/NetworkConfigFileDialog.h"
#include "dialogs/NetworkSettingsDialog.h"
#include "dialogs/NotifyEventDialog.h"
#include "dialogs/OperationProgressDialog.h"
#include "dialogs/OtherSubnetsDialog.h"
#include "dialogs/PasswordChangeDialog.h"
#include "dialogs/PasswordInputDialog.h"
#include "dialogs/SearchDialog.h"
#include "dialogs/SnmpDialog.h"
#include "dialogs/WirelessDialog.h"
#include "dialogs/WirelessSecurityDialog.h"
#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "resources/StringTable.h"
#include "settings/AddressBook.h"
#include "ui/DialogCodes.h"

namespace lanterna::gallery {
namespace {

template <class Dialog, class... Arguments>
std::function<std::unique_ptr<ui::CDialog>()> Make(Arguments... arguments) {
    return [=] { return std::make_unique<Dialog>(arguments...); };
}

std::function<std::unique_ptr<ui::CDialog>()> Message(int stringId, unsigned flags) {
    return [=] {
        return std::make_unique<dialogs::CMessageDialog>(LoadString(stringId),
                                                         LoadString(kStringAppName), flags);
    };
}

// The dialogs that work on the shared state only draw here: nothing is started before a modal
// run, so the state stays untouched.
ApplicationState& GalleryState() {
    static ApplicationState state;
    return state;
}

std::function<std::unique_ptr<ui::CDialog>()> Progress(WorkerMode mode, int passwordEntered) {
    return [=] {
        auto dialog = std::make_unique<dialogs::COperationProgressDialog>(mode, GalleryState());
        dialog->passwordEntered = passwordEntered;
        dialog->SetThreadStarter([](std::function<void()>) { return std::thread(); });
        return dialog;
    };
}

// A projector as the read worker leaves it: DHCP off, every setting reported.
ProjectorRecord& SettingsRecord() {
    static ProjectorRecord record = [] {
        ProjectorRecord r{};
        CopyText(r.projectorName, "ROOM-201");
        CopyText(r.macAddress, "00A0B0C0D065");
        r.ipAddress = {192, 168, 10, 21};
        r.subnetMask = {255, 255, 255, 0};
        r.gateway = {192, 168, 10, 1};
        r.dns1 = {192, 168, 10, 5};
        CopyText(r.dnsDomain, "campus.example.org");
        r.wins1 = {192, 168, 10, 5};
        r.trapAddress1 = {192, 168, 10, 3};
        CopyText(r.community, "public");
        for (std::int32_t* state :
             {&r.dhcpState, &r.projectorNameState, &r.ipAddressState, &r.subnetMaskState,
              &r.gatewayState, &r.dns1State, &r.dns2State, &r.dnsDomainState, &r.wins1State,
              &r.wins2State, &r.primaryInterfaceState, &r.trapAddress1State, &r.trapAddress2State,
              &r.communityState}) {
            *state = kStateRead;
        }
        return r;
    }();
    return record;
}

ApplicationState& SettingsState() {
    static ApplicationState state;
    if (state.projectors.Empty()) {
        state.projectors.Append(SettingsRecord());
        state.selectedIndex = 0;
    }
    return state;
}

// The settings dialog with an edited name (green lamp) and a refused gateway (red lamp).
std::unique_ptr<ui::CDialog> NetworkSettings() {
    auto dialog = std::make_unique<dialogs::CNetworkSettingsDialog>(SettingsState());
    dialog->Create();
    dialog->SetDlgItemText(dialogs::CNetworkSettingsDialog::kNameEdit, "ROOM-201B");
    dialog->CheckDlgButton(dialogs::CNetworkSettingsDialog::kGatewayMarker, 1);
    return dialog;
}

std::function<std::unique_ptr<ui::CDialog>()> ConfigFile(int wirelessVariant) {
    return [=] {
        auto dialog = std::make_unique<dialogs::CNetworkConfigFileDialog>(wirelessVariant);
        dialog->Create();
        dialog->SetDlgItemText(dialogs::CNetworkSettingsDialog::kNameEdit,
                               wirelessVariant != 0 ? "LAB-WL1" : "HALL-1F");
        return dialog;
    };
}

// Mail notification on, with a server, port, two recipients and their events.
ProjectorRecord& MailRecord() {
    static ProjectorRecord record = [] {
        ProjectorRecord r = SettingsRecord();
        r.mailNotify = 1;
        r.smtpServer = {192, 168, 10, 25};
        r.smtpPort = 25;
        CopyText(r.mailTo1, "room-201@campus.example.org");
        CopyText(r.mailTo2, "facilities@campus.example.org");
        r.mailEvents1 = 0x4C1;
        return r;
    }();
    return record;
}

// A wireless projector: ESSID "CAMPUS-WL", WEP with keys 1 and 2 stored, key 2 in use.
ProjectorRecord& WirelessRecord() {
    static ProjectorRecord record = [] {
        ProjectorRecord r = SettingsRecord();
        CopyText(r.projectorName, "LAB-WL1");
        r.wirelessActive = 1;
        r.essidSet = 1;
        CopyText(r.essid, "CAMPUS-WL");
        r.wepEnabled = 1;
        CopyText(r.wepKey, "0a1b2c3d4e");
        r.security = {1, 2, 0, 0};
        r.wepKeyId = 2;
        CopyText(r.wepKey1, "labwl1key0001");
        CopyText(r.wepKey2, "0a1b2c3d4e5f60718293a4b5c6");
        return r;
    }();
    return record;
}

std::function<std::unique_ptr<ui::CDialog>()> SecurityFile(SecurityCode security) {
    return [=] {
        static ProjectorRecord record;
        record = ProjectorRecord{};
        CopyText(record.essid, "LAB-WL");
        record.essidSet = 1;
        record.security = security;
        CopyText(record.securityPsk, "lab-wireless-passphrase");
        CopyText(record.securityUser, "lab-wl1");
        CopyText(record.securityPassword, "secret");
        auto dialog = std::make_unique<dialogs::CWirelessSecurityFileDialog>();
        dialog->SetRecord(&record);
        dialog->Create();
        return dialog;
    };
}

ProjectorRecord SampleProjector(const char* name, const char* address, int origin, int imType) {
    ProjectorRecord record{};
    CopyText(record.projectorName, name);
    CopyText(record.address, address);
    ScanDottedInto(address, record.ipAddress);
    record.origin = origin;
    record.imType = static_cast<std::uint8_t>(imType);
    return record;
}

// The main window listing three projectors that a stand-in search "finds": nothing is sent,
// and the address book is neither read nor written.
std::unique_ptr<ui::CDialog> MainWindow() {
    static AddressBook book;
    dialogs::MainDialogServices services;
    services.runSearch = [](dialogs::CMainDialog&, ProjectorList& projectors) {
        projectors.Append(SampleProjector("HALL-1F", "192.0.2.11", 0, 21));
        projectors.Append(SampleProjector("ROOM-201", "192.0.2.21", 1, 22));
        projectors.Append(SampleProjector("LAB-WL1", "192.0.2.31", 0, 30));
    };
    auto window = std::make_unique<dialogs::CMainDialog>(
        GalleryState(), dialogs::AddressBookPlace{book, {"/nonexistent/registry.reg"}},
        std::move(services));
    if (window->Create()) {
        window->Refresh(false);
    }
    return window;
}

// ---- the dialogs of the work on a selection, with rooms of a campus ----

std::unique_ptr<ui::CDialog> SelectionPassword() {
    static dialogs::PasswordPrompt prompt;
    prompt = dialogs::PasswordPrompt{};
    prompt.projector = dialogs::ProjectorWords("ROOM-201", "192.0.2.21");
    prompt.offerSameForAll = true;
    prompt.offerKeyring = true;
    return std::make_unique<dialogs::CPasswordInputDialog>(prompt);
}

// The progress of a job, drawn only: the job never runs.
std::unique_ptr<ui::CDialog> FleetProgress() {
    auto dialog = std::make_unique<dialogs::CFleetProgressDialog>(
        kStringApplyingFile, 4, [](const dialogs::FleetJobHooks&) {},
        [](std::size_t) { return std::vector<std::string>{}; });
    dialog->Create();
    return dialog;
}

std::unique_ptr<ui::CDialog> ApplyPreview() {
    dialogs::CApplyPreviewDialog::Content content;
    content.intro = dialogs::Words(kStringPreviewIntro, {"3", "campus.ini"});
    const std::string dns = dialogs::SettingWords("dns1");
    content.changes = {
        {"HALL-1F (192.0.2.11)", dns, "192.0.2.5", "192.0.2.53"},
        {"ROOM-201 (192.0.2.21)", dns, "192.0.2.5", "192.0.2.53"},
        {"ROOM-201 (192.0.2.21)", dialogs::SettingWords("community"), "public", "campus"}};
    content.notes = {
        {"", dialogs::Words(kStringLeftAlone), dialogs::Words(kStringTemplateKeepsIdentity)}};
    return std::make_unique<dialogs::CApplyPreviewDialog>(std::move(content));
}

std::unique_ptr<ui::CDialog> FleetResults() {
    dialogs::CFleetTableDialog::Content content;
    content.summary = dialogs::Words(kStringResultsSummary, {"3", "2", "0", "1"});
    content.columns = {dialogs::Words(kStringColumnProjector), dialogs::Words(kStringColumnOutcome),
                       dialogs::Words(kStringColumnDetail)};
    const std::string set = dialogs::OutcomeWords(fleet::Outcome::kSet);
    content.rows = {{"HALL-1F (192.0.2.11)", set, dialogs::Words(kStringVerified)},
                    {"ROOM-201 (192.0.2.21)", set, dialogs::Words(kStringVerified)},
                    {"LAB-WL1 (192.0.2.31)", dialogs::OutcomeWords(fleet::Outcome::kNotStarted),
                     dialogs::Words(kStringNotStartedWhy)}};
    content.sortable = true;
    return std::make_unique<dialogs::CFleetTableDialog>(dialogs::kFleetResultsTemplate,
                                                        std::move(content));
}

std::unique_ptr<ui::CDialog> Audit() {
    dialogs::CAuditDialog::Content content;
    content.summary = dialogs::Words(
        kStringAuditSummary,
        {dialogs::CountWords(3, kStringOneProjectorAudited, kStringProjectorsAudited),
         dialogs::Words(kStringCriticalCount, {"2"}),
         dialogs::CountWords(1, kStringOneWarning, kStringWarningsCount),
         dialogs::CountWords(0, kStringOneNotice, kStringNoticesCount),
         dialogs::Words(kStringNotReadCount, {"0"})});
    const auto kinds = fleet::AllFindingKinds();
    content.groups = {
        {dialogs::Words(fleet::SeverityWordId(kinds[2]->severity)),
         dialogs::FindingTitleWords(*kinds[2]),
         dialogs::Words(kinds[2]->meaning),
         {{"HALL-1F (192.0.2.11)", "ESSID \"HALL\""}, {"LAB-WL1 (192.0.2.31)", "ESSID \"LAB\""}}},
        {dialogs::Words(fleet::SeverityWordId(kinds[4]->severity)),
         dialogs::FindingTitleWords(*kinds[4]),
         dialogs::Words(kinds[4]->meaning),
         {{"ROOM-201 (192.0.2.21)", "community \"public\""}}}};
    return std::make_unique<dialogs::CAuditDialog>(std::move(content));
}

}  // namespace

std::vector<GalleryEntry> GalleryEntries() {
    return {
        {"102-main-window.png", MainWindow, {}},
        {"146-message-warning.png", Message(kStringBadIpAddress, ui::MB_ICONEXCLAMATION)},
        {"146-message-information.png", Message(kStringWriteDone, ui::MB_ICONINFORMATION)},
        {"146-message-question.png",
         Message(kStringSendTestMailQuestion, ui::MB_YESNO | ui::MB_ICONQUESTION)},
        {"146-message-stop.png", Message(kStringCannotContinue, ui::MB_ICONSTOP)},
        {"100-about.png", Make<dialogs::CAboutDialog>(nullptr)},
        {"148-help.png", Make<dialogs::CHelpDialog>(nullptr)},
        {"135-password-input.png",
         Make<dialogs::CPasswordInputDialog>(static_cast<ProjectorRecord*>(nullptr), nullptr)},
        {"135-password-input-selection.png", SelectionPassword},
        {"160-fleet-progress.png", FleetProgress},
        {"161-fleet-results.png", FleetResults},
        {"162-apply-preview.png", ApplyPreview},
        {"163-audit.png", Audit},
        {"164-fleet-password.png", Make<dialogs::CFleetPasswordDialog>(std::size_t{4}, true, nullptr)},
        {"138-password-change.png",
         [] { return std::make_unique<dialogs::CPasswordChangeDialog>(GalleryState()); }},
        {"134-address-entry.png",
         [] { return std::make_unique<dialogs::CAddressEntryDialog>(GalleryState()); }},
        {"133-progress-connecting.png", Progress(WorkerMode::kProbe, 0)},
        {"133-progress-authenticating.png", Progress(WorkerMode::kRead, 1)},
        {"133-progress-writing.png", Progress(WorkerMode::kWrite, 0)},
        {"133-progress-password.png", Progress(WorkerMode::kPassword, 0)},
        {"139-search.png", [] { return std::make_unique<dialogs::CSearchDialog>(GalleryState()); }},
        {"420-other-subnets.png",
         [] {
             return std::make_unique<dialogs::COtherSubnetsDialog>(
                 HiveFile{"/nonexistent/registry.reg"});
         }},
        {"130-network-settings.png", NetworkSettings},
        {"130-config-file-wired.png", ConfigFile(0)},
        {"130-config-file-wireless.png", ConfigFile(1)},
        {"136-snmp.png",
         [] { return std::make_unique<dialogs::CSnmpDialog>(SettingsState().SelectedRecord()); }},
        {"131-mail-notify.png",
         [] { return std::make_unique<dialogs::CMailNotifyDialog>(&MailRecord()); }},
        {"137-notify-events.png",
         [] { return std::make_unique<dialogs::CNotifyEventDialog>(1, &MailRecord()); }},
        {"132-wireless.png",
         [] { return std::make_unique<dialogs::CWirelessDialog>(&WirelessRecord()); }},
        {"147-wireless-security-wep.png",
         [] { return std::make_unique<dialogs::CWirelessSecurityDialog>(&WirelessRecord()); }},
        {"147-wireless-security-file-psk.png", SecurityFile({2, 0, 1, 0})},
        {"147-wireless-security-file-leap.png", SecurityFile({1, 2, 4, 1})},
        {"skin-button-states.png", {}, RenderButtonSheet},
    };
}

}  // namespace lanterna::gallery
