#pragma once
// Shared pieces of the settings-dialog tests: a record as the read worker leaves it, selected in
// a state beside one more listed projector, a file chooser answering from a queue, a scratch
// folder, and the focus as control and address field.

#include <QAccessible>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../dialogs/DialogTestSupport.h"
#include "dialogs/FileChoosers.h"
#include "platform/FixedText.h"
#include "state/ApplicationState.h"
#include "ui/IpAddressControl.h"

namespace settingstest {

using dialogtest::DialogTest;
using dialogtest::ShownIds;
using lanterna::Octets;
using lanterna::ProjectorRecord;

// ROOM-201 at 192.168.10.21/24, gateway .1, DHCP off, DNS .5 and .6, a domain, WINS1 .5, trap
// .3, community "public"; every state word 1. The other listed projector is at .99.
inline ProjectorRecord ReadProjector() {
    ProjectorRecord r{};
    lanterna::CopyText(r.projectorName, "ROOM-201");
    lanterna::CopyText(r.macAddress, "00a0b0c0d065");
    r.ipAddress = {192, 168, 10, 21};
    r.subnetMask = {255, 255, 255, 0};
    r.gateway = {192, 168, 10, 1};
    r.dns1 = r.wins1 = {192, 168, 10, 5};
    r.dns2 = {192, 168, 10, 6};
    lanterna::CopyText(r.dnsDomain, "campus.example.org");
    r.trapAddress1 = {192, 168, 10, 3};
    lanterna::CopyText(r.community, "public");
    for (std::int32_t* state :
         {&r.dhcpState, &r.projectorNameState, &r.ipAddressState, &r.subnetMaskState,
          &r.gatewayState, &r.dns1State, &r.dns2State, &r.dnsDomainState, &r.wins1State,
          &r.wins2State, &r.primaryInterfaceState, &r.trapAddress1State, &r.trapAddress2State,
          &r.communityState}) {
        *state = lanterna::kStateRead;
    }
    return r;
}

struct SettingsBench {
    explicit SettingsBench(const ProjectorRecord& record = ReadProjector()) {
        state->projectors.Append(record);
        ProjectorRecord other{};
        other.ipAddress = {192, 168, 10, 99};
        state->projectors.Append(other);
        state->selectedIndex = 0;
    }
    ProjectorRecord& Record() { return *state->SelectedRecord(); }

    std::unique_ptr<lanterna::ApplicationState> state =
        std::make_unique<lanterna::ApplicationState>();
};

struct CQueuedChooser {
    lanterna::dialogs::SaveFileChooser Function() {
        return [this](QWidget*, const lanterna::dialogs::SaveFileRequest& request) {
            requests.push_back(request);
            std::string answer = answers.empty() ? std::string() : answers.front();
            if (!answers.empty()) {
                answers.pop_front();
            }
            return answer;
        };
    }
    std::deque<std::string> answers;  // empty: cancel
    std::vector<lanterna::dialogs::SaveFileRequest> requests;
};

struct CScratchFolder {
    CScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "settings-XXXXXX").string();
        folder = mkdtemp(pattern.data());
    }
    ~CScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    std::filesystem::path folder;
};

// The focused control and, for an address control, its focused field (else -1).
struct Focus {
    int control = 0;
    int field = -1;
    bool operator==(const Focus&) const = default;
};
inline Focus FocusOf(ui::CDialog& dialog) {
    Focus focus{dialog.GetFocusId(), -1};
    if (const ui::CIpAddressControl* address = dialog.IpAddress(focus.control)) {
        focus.field = address->FocusedField();
    }
    return focus;
}

inline void Type(ui::CDialog& dialog, int controlId, const char* text) {
    dialog.SetDlgItemText(controlId, text);
}

// The first visible element under `root` (itself included) of `role` named `name`, as a screen
// reader finds it; null when there is none.
inline QAccessibleInterface* FindAccessible(QAccessibleInterface* root, QAccessible::Role role,
                                            const QString& name) {
    if (root == nullptr) {
        return nullptr;
    }
    if (root->role() == role && root->text(QAccessible::Name) == name && !root->state().invisible) {
        return root;
    }
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* found = FindAccessible(root->child(i), role, name)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace settingstest
