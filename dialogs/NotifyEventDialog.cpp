#include "dialogs/NotifyEventDialog.h"

#include "dialogs/DialogIds.h"
#include "record/RecordSlots.h"

namespace lanterna::dialogs {
namespace {

struct EventBox {
    std::uint32_t bit;
    int control;
};

// Bit order; on screen the boxes stand in another order (see the template).
constexpr std::array<EventBox, 11> kEventBoxes{{
    {0x001, 1028},  // lamp replacement notice
    {0x002, 1034},  // no signal
    {0x004, 1030},  // air filter (hidden)
    {0x008, 1036},  // high-speed cooling in progress
    {0x010, 1032},  // lamp timer error
    {0x020, 1038},  // lamp cover open
    {0x040, 1029},  // lamp off
    {0x080, 1035},  // fan-related error
    {0x100, 1031},  // sensor error
    {0x200, 1037},  // internal temperature abnormal
    {0x400, 1033},  // internal error
}};

}  // namespace

CNotifyEventDialog::CNotifyEventDialog(int recipient, ProjectorRecord* record, QWidget* owner)
    : skin::CSkinDialog(kNotifyEventTemplate, owner),
      recipient_(recipient >= 1 && recipient <= kMailRecipients ? recipient : 1),
      record_(record) {}

void CNotifyEventDialog::ShowEventSet(std::uint32_t eventSet) {
    for (const EventBox& box : kEventBoxes) {
        CheckDlgButton(box.control, (eventSet & box.bit) != 0 ? 1 : 0);
    }
}

std::uint32_t CNotifyEventDialog::CheckedEventSet() const {
    std::uint32_t eventSet = 0;
    for (const EventBox& box : kEventBoxes) {
        if (IsDlgButtonChecked(box.control) != 0) {
            eventSet |= box.bit;
        }
    }
    return eventSet;
}

bool CNotifyEventDialog::OnInitDialog() {
    if (record_ == nullptr) {
        return true;
    }
    ShowEventSet(numbered::MailEvents(*record_, recipient_));
    for (int n = 1; n <= kMailRecipients; ++n) {
        atOpenEventSets_[n - 1] = numbered::MailEvents(*record_, n);
    }
    return true;
}

void CNotifyEventDialog::OnOK() {
    if (record_ != nullptr) {
        StoreEventSet(recipient_, CheckedEventSet(), referenceEventSets[recipient_ - 1],
                      atOpenEventSets_[recipient_ - 1], *record_);
    }
    EndDialog(ui::IDOK);
}

// ---- configuration-file variant -----------------------------------------------------------

CNotifyEventFileDialog::CNotifyEventFileDialog(QWidget* owner)
    : CNotifyEventDialog(1, nullptr, owner) {}

bool CNotifyEventFileDialog::OnInitDialog() {
    ShowEventSet(eventSet);
    return true;
}

void CNotifyEventFileDialog::OnOK() {
    eventSet = CheckedEventSet();
    EndDialog(ui::IDOK);
}

}  // namespace lanterna::dialogs
