#pragma once
// The notification-event dialog (template 137): for one mail recipient, the set of projector
// events that send a mail. Eleven check boxes, one per bit of the event set (0x001 to 0x400);
// the air-filter box (0x004) is hidden and disabled but keeps its bit, and a twelfth hidden box
// carries none. Bits above 0x400 have no box and are dropped on OK.
//
// CNotifyEventDialog, the projector variant, is opened from the mail notification dialog for
// recipient 1, 2 or 3 with that dialog's reference event sets; OK stores the recipient's set by
// the state rule (settings/StateRule.h), Cancel leaves the record alone.
//
// CNotifyEventFileDialog, the configuration-file variant, works on `eventSet` only: its opener
// sets it, and on OK it holds the checked events for the opener to copy back.

#include <array>
#include <cstdint>

#include "record/ProjectorRecord.h"
#include "settings/MailEntries.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CNotifyEventDialog : public skin::CSkinDialog {
  public:
    // `recipient` 1 to 3; `record` may be null: the dialog then shows nothing and stores nothing.
    CNotifyEventDialog(int recipient, ProjectorRecord* record, QWidget* owner = nullptr);

    // The three recipients' event sets when the network settings dialog opened.
    std::array<std::uint32_t, kMailRecipients> referenceEventSets{};

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

    void ShowEventSet(std::uint32_t eventSet);
    // The OR of the bits of the checked boxes.
    std::uint32_t CheckedEventSet() const;

  private:
    int recipient_;
    ProjectorRecord* record_;
    std::array<std::uint32_t, kMailRecipients> atOpenEventSets_{};
};

class CNotifyEventFileDialog : public CNotifyEventDialog {
  public:
    explicit CNotifyEventFileDialog(QWidget* owner = nullptr);

    std::uint32_t eventSet = 0;

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
};

}  // namespace lanterna::dialogs
