#include "dialogs/FleetTableDialog.h"

#include <QItemSelectionModel>
#include <QLabel>

#include "fleet/CsvRows.h"
#include "platform/AtomicFile.h"
#include "resources/StringIds.h"
#include "ui/MessageBox.h"
#include "ui/TableView.h"

namespace lanterna::dialogs {

int SaveCsvFile(const std::string& path, const std::vector<std::string>& titles,
                const std::vector<std::vector<std::string>>& rows) {
    std::string content = fleet::CsvLine(titles);
    for (const std::vector<std::string>& row : rows) {
        content += fleet::CsvLine(row);
    }
    return WriteOutputFile(path, content) == OutputStatus::kOk ? 1 : 0;
}

void ShowCurrentRowIn(ui::CTableView& table, ui::CDialog& dialog, int labelId, bool selectFirst) {
    const auto show = [&table, &dialog, labelId] {
        const int row = table.currentIndex().isValid() ? table.currentIndex().row() : -1;
        const std::vector<std::string> titles = table.ColumnTitles();
        std::string text;
        for (int column = 0; row >= 0 && column < table.ColumnCount(); ++column) {
            const std::string cell = table.CellText(row, column);
            if (!cell.empty()) {
                text += (text.empty() ? "" : "\n") + titles[static_cast<std::size_t>(column)] +
                        ": " + cell;
            }
        }
        dialog.SetDlgItemText(labelId, text);
    };
    QObject::connect(table.selectionModel(), &QItemSelectionModel::currentRowChanged, &dialog,
                     show);
    if (QLabel* label = dialog.GetDlgItemAs<QLabel>(labelId)) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if (selectFirst && table.RowCount() > 0) {
        table.setCurrentIndex(table.model()->index(0, 0));
    }
    show();
}

CFleetTableDialog::CFleetTableDialog(int templateId, Content content, QWidget* owner)
    : skin::CSkinDialog(templateId, owner),
      content_(std::move(content)),
      chooseFile_(&ChooseSaveFile) {
    OnCommand(kSaveCsvButton, ui::Notify::Clicked, [this] { OnSaveCsv(); });
}

bool CFleetTableDialog::OnInitDialog() {
    SetDlgItemText(kSummaryLabel, content_.summary);
    if (auto* table = GetDlgItemAs<ui::CTableView>(kTable)) {
        table->SetColumns(content_.columns);
        for (const std::vector<std::string>& row : content_.rows) {
            table->AddRow(row);
        }
        table->SetSortable(content_.sortable);
        for (int column = 0; column + 1 < table->ColumnCount(); ++column) {
            table->resizeColumnToContents(column);
        }
        ShowCurrentRowIn(*table, *this, kRowDetails);
    }
    return true;
}

void CFleetTableDialog::OnSaveCsv() {
    if (const auto* table = GetDlgItemAs<ui::CTableView>(kTable)) {
        SaveRowsAsCsv(this, chooseFile_, content_.fileName, table->ColumnTitles(), table->Rows());
    }
}

void SaveRowsAsCsv(QWidget* owner, const SaveFileChooser& choose, const std::string& fileName,
                   const std::vector<std::string>& titles,
                   const std::vector<std::vector<std::string>>& rows) {
    if (!choose) {
        return;
    }
    SaveFileRequest request;
    request.titleId = kStringSaveCsvTitle;
    request.filterId = kStringCsvFilter;
    request.fileName = fileName;
    request.folder = HomeFolder();
    request.defaultExtension = "csv";
    const std::string path = choose(owner, request);
    if (!path.empty() && SaveCsvFile(path, titles, rows) != 1) {
        ui::ShowStringMessage(owner, kStringFileNotSaved, ui::MB_ICONEXCLAMATION);
    }
}

}  // namespace lanterna::dialogs
