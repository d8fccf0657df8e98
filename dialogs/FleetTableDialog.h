#pragma once
// CFleetTableDialog (template 161): a table of what a job on many projectors gave (projector,
// outcome, detail), with a summary above it, the selected row whole beneath it and "Save as
// CSV..." below. The dialog may be resized and maximised; the table takes the room. The file
// saved holds the column titles and the rows as shown, written under the program's one policy
// for output files.

#include <string>
#include <vector>

#include "dialogs/FileChoosers.h"
#include "skin/SkinDialog.h"

namespace ui {
class CTableView;
}

namespace lanterna::dialogs {

class CFleetTableDialog : public skin::CSkinDialog {
  public:
    static constexpr int kSummaryLabel = 1001;
    static constexpr int kTable = 1080;
    static constexpr int kSaveCsvButton = 1090;
    static constexpr int kRowDetails = 1085;

    struct Content {
        std::string summary;
        std::vector<std::string> columns;
        std::vector<std::vector<std::string>> rows;
        bool sortable = false;
        std::string fileName;  // the name the save dialog offers
    };

    CFleetTableDialog(int templateId, Content content, QWidget* owner = nullptr);

    void SetSaveFileChooser(SaveFileChooser chooser) { chooseFile_ = std::move(chooser); }

  protected:
    bool OnInitDialog() override;

  private:
    void OnSaveCsv();

    Content content_;
    SaveFileChooser chooseFile_;
};

// Shows the cells of `table`'s current row whole in label `labelId` of `dialog`, a line per
// column ("Detail: ..."), as the selection moves; with `selectFirst` the first row is selected
// to begin with.
void ShowCurrentRowIn(ui::CTableView& table, ui::CDialog& dialog, int labelId,
                      bool selectFirst = true);

// "Save as CSV...": asks `choose` for a file offering `fileName`, and saves the rows there (a
// message over `owner` when it cannot).
void SaveRowsAsCsv(QWidget* owner, const SaveFileChooser& choose, const std::string& fileName,
                   const std::vector<std::string>& titles,
                   const std::vector<std::vector<std::string>>& rows);

// The rows as a CSV file: the titles first, every field quoted where it must be, so that no
// field is taken for a formula. 1 written, 0 not.
int SaveCsvFile(const std::string& path, const std::vector<std::string>& titles,
                const std::vector<std::vector<std::string>>& rows);

}  // namespace lanterna::dialogs
