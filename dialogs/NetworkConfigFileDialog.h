#pragma once
// CNetworkConfigFileDialog: template 130 as the composer of a network configuration file (.ncf)
// for a wired or a wireless set-up, without any projector. It works on a record of its own,
// zero-filled at construction, and differs from the projector variant in this:
// - the DNS, domain and WINS rows, the hardware address and the save button are hidden; the
//   buttons read "작성" (create, string 185) and "닫기" (close, string 186); "OFF" and "유선LAN"
//   start checked; the wireless button works only for the wireless variant;
// - create checks the name, address, mask and gateway (no uniqueness test: the file is for a
//   projector not in the list), stores them with state 2 and asks for a file name each time:
//   a name with a character outside 0x20-0x7F is refused with string 193 and asked again in
//   its folder. The dialog stays open, so one set of entries can make several files;
// - the mail, SNMP and wireless buttons run the file variants of their dialogs on the record
//   (the wireless button always the wireless security dialog);
// - close only closes.
// Markers are not shown: there is nothing read to compare with.

#include "dialogs/MailNotifyDialog.h"
#include "dialogs/NetworkSettingsDialog.h"
#include "dialogs/SnmpDialog.h"
#include "dialogs/WirelessSecurityDialog.h"

namespace lanterna::dialogs {

class CNetworkConfigFileDialog : public CNetworkSettingsDialog {
  public:
    // `wirelessVariant` 1 composes a wireless set-up, 0 a wired one.
    explicit CNetworkConfigFileDialog(int wirelessVariant = 0, QWidget* owner = nullptr);

    int wirelessVariant;

    const ProjectorRecord& FileRecord() const { return fileRecord_; }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void ApplyEnablingRule(bool dhcpOn) override;
    void OnSave() override {}
    void OnMailButton() override;
    void OnSnmpButton() override;
    void OnWirelessButton() override;

  private:
    // The save-file steps of a configuration file, then the write; false when cancelled or
    // the file could not be written.
    bool WriteFile();

    ProjectorRecord fileRecord_{};
    CMailNotifyFileDialog mailDialog_;
    CSnmpFileDialog snmpDialog_;
    CWirelessSecurityFileDialog wirelessDialog_;
};

}  // namespace lanterna::dialogs
