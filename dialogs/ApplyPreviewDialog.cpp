#include "dialogs/ApplyPreviewDialog.h"

#include "dialogs/DialogIds.h"
#include "dialogs/FleetTableDialog.h"
#include "dialogs/FleetWording.h"
#include "platform/DecimalText.h"
#include "resources/StringIds.h"
#include "ui/TableView.h"

namespace lanterna::dialogs {

std::size_t FailuresOf(const std::string& text) {
    const auto number = ParseWholeNumber(text);
    return number && *number > 0 ? static_cast<std::size_t>(std::min<std::int64_t>(*number, 999))
                                 : 0;
}

CApplyPreviewDialog::CApplyPreviewDialog(Content content, QWidget* owner)
    : skin::CSkinDialog(kApplyPreviewTemplate, owner), content_(std::move(content)) {}

bool CApplyPreviewDialog::OnInitDialog() {
    SetDlgItemText(kIntroLabel, content_.intro);
    if (auto* table = GetDlgItemAs<ui::CTableView>(kChangesTable)) {
        table->SetColumns({Words(kStringColumnProjector), Words(kStringColumnSetting),
                           Words(kStringColumnNow), Words(kStringColumnAfter)});
        for (const Change& change : content_.changes) {
            table->AddRow({change.projector, change.setting, change.now, change.after});
        }
        table->SetSortable(true);
        for (int column = 0; column < 3; ++column) {
            table->resizeColumnToContents(column);
        }
    }
    if (auto* table = GetDlgItemAs<ui::CTableView>(kOthersTable)) {
        table->SetColumns({Words(kStringColumnProjector), Words(kStringColumnOutcome),
                           Words(kStringColumnDetail)});
        for (const Note& note : content_.notes) {
            table->AddRow({note.projector, note.what, note.why});
        }
        table->resizeColumnToContents(0);
        table->resizeColumnToContents(1);
        ShowCurrentRowIn(*table, *this, kRowDetails, false);
    }
    if (auto* table = GetDlgItemAs<ui::CTableView>(kChangesTable)) {
        ShowCurrentRowIn(*table, *this, kRowDetails);
    }
    SetTextLimit(kFailuresEdit, 3);
    SetDlgItemText(kFailuresEdit, std::to_string(kDefaultStopAfter));
    EnableDlgItem(ui::IDOK, !content_.changes.empty());
    if (content_.changes.empty()) {
        SetDefaultButton(ui::IDCANCEL);
    }
    return true;
}

void CApplyPreviewDialog::OnOK() {
    stopAfter_ = FailuresOf(GetDlgItemText(kFailuresEdit));
    EndDialog(ui::IDOK);
}

}  // namespace lanterna::dialogs
