#pragma once
// CNetworkSettingsDialog (template 130, "네트워크 설정"): the editor of the selected projector's
// wired network settings, opened by the main window once the read worker has filled the record
// (the link is open).
//
// - It shows the record, enables the address rows by DHCP and by what the projector reported,
//   and takes a copy of the record (`backupRecord`): the reference of every comparison, the
//   seed of the sub-dialogs and what Cancel restores.
// - A change marker (CMarkerLamp) at the right end of each settings row turns green when the
//   entry differs from the reference and red for a setting the projector refused.
// - Save (1021), OK and create check the entries in screen order (settings/NetworkEntries.h);
//   the first refusal shows its message and moves the focus, and the dialog stays open.
// - Save stores the entries and writes a settings file chosen by the user; the dialog stays.
// - OK stores the entries with state 2 (changed) or 3 (unchanged), keeps the settings as read in
//   the history (when it cannot, says so and sends nothing), writes the changes to the
//   projector behind the progress dialog and ends with 1 when all were accepted, else with 2
//   and the refused rows marked red.
// - Cancel puts the copy back over the record, the sub-dialogs' changes included; ends with 2.
// - The mail and SNMP buttons, and the wireless button (enabled only for a projector on its
//   wireless interface), open their dialogs on the record, seeded from the copy: the wireless
//   security dialog for an extended wireless module (type 22), else the basic wireless dialog.
//
// CNetworkConfigFileDialog (NetworkConfigFileDialog.h) derives from it. User-interface thread.

#include <functional>
#include <string>

#include "dialogs/FileChoosers.h"
#include "record/ProjectorRecord.h"
#include "settings/NetworkEntries.h"
#include "skin/SkinDialog.h"
#include "state/ApplicationState.h"

namespace lanterna::dialogs {

class CNetworkSettingsDialog : public skin::CSkinDialog {
  public:
    static constexpr int kMacLabel = 1004;
    static constexpr int kMacValue = 1094;
    static constexpr int kNameLabel = 1002;
    static constexpr int kNameEdit = 1029;
    static constexpr int kDhcpOn = 1081;
    static constexpr int kDhcpOff = 1082;
    static constexpr int kIpAddressControl = 1031;
    static constexpr int kSubnetMaskControl = 1032;
    static constexpr int kGatewayControl = 1033;
    static constexpr int kDns1Control = 1012;
    static constexpr int kDns2Control = 1013;
    static constexpr int kDomainEdit = 1014;
    static constexpr int kDns1Label = 1037;
    static constexpr int kDns2Label = 1038;
    static constexpr int kDomainLabel = 1039;
    static constexpr int kWins1Label = 1040;
    static constexpr int kWins2Label = 1041;
    static constexpr int kWins1Control = 1016;
    static constexpr int kWins2Control = 1017;
    static constexpr int kPrimaryLabel = 1042;
    static constexpr int kPrimaryWired = 1210;
    static constexpr int kPrimaryWireless = 1211;
    static constexpr int kMailButton = 1018;
    static constexpr int kSnmpButton = 1020;
    static constexpr int kWirelessButton = 1074;
    static constexpr int kSaveButton = 1021;

    // Change markers, one per settings row.
    static constexpr int kIpAddressMarker = 1084;
    static constexpr int kSubnetMaskMarker = 1085;
    static constexpr int kGatewayMarker = 1086;
    static constexpr int kDns1Marker = 1087;
    static constexpr int kDns2Marker = 1088;
    static constexpr int kDomainMarker = 1089;
    static constexpr int kWins1Marker = 1090;
    static constexpr int kWins2Marker = 1091;
    static constexpr int kNameMarker = 1092;
    static constexpr int kDhcpMarker = 1093;
    static constexpr int kFirstMarker = kIpAddressMarker;
    static constexpr int kLastMarker = kDhcpMarker;

    static constexpr int kNameLimit = 15;
    static constexpr int kDomainLimit = 96;

    // Edits the state's selected record; without one the dialog ends with 2 at once.
    explicit CNetworkSettingsDialog(ApplicationState& state, QWidget* owner = nullptr);

    void SetSaveFileChooser(SaveFileChooser chooser) { chooseFile_ = std::move(chooser); }
    // Where OK keeps the settings as read before it writes (fleet/History.h); empty: nowhere.
    void SetHistoryFolder(std::string folder) { historyFolder_ = std::move(folder); }

    // The record as it was at the end of the initialisation.
    ProjectorRecord backupRecord{};
    // 1 until the initialisation is over; the markers stay as they are meanwhile.
    int initializing = 1;

  protected:
    CNetworkSettingsDialog(ApplicationState* state, QWidget* owner);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    QWidget* CreateControl(const ui::ControlTemplate& control, QWidget* parent) override;

    // ---- what the variants do differently
    // Enables the address rows after a DHCP click (and at the start).
    virtual void ApplyEnablingRule(bool dhcpOn);
    virtual void OnSave();
    virtual void OnMailButton();
    virtual void OnSnmpButton();
    virtual void OnWirelessButton();

    // ---- shared by the variants
    NetworkEntries ReadEntries() const;
    // Shows the refusal's message with the warning icon and moves the focus to its entry.
    void Refuse(const EntryVerdict& verdict);
    // The save-file dialog of `request`; empty when cancelled.
    std::string ChooseFile(const SaveFileRequest& request);
    void ShowAddress(int controlId, const Octets& address);
    void ShowPrimaryInterfaceRow(bool show);

  private:
    void RegisterHandlers();
    void ShowRecord(const ProjectorRecord& record);
    NetworkEntryScope ProjectorScope(const ProjectorRecord& record) const;
    void OnDhcpClicked(bool dhcpOn);
    void UpdateTextMarker(int editId);
    void UpdateAddressMarker(int controlId);
    void SetMarker(int markerId, int state);
    void MarkRefusedSettings(std::uint32_t writeErrors);

    ApplicationState* state_;
    SaveFileChooser chooseFile_;
    std::string historyFolder_;
};

}  // namespace lanterna::dialogs
