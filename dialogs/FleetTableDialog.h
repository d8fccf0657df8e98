#pragma once
// CFleetTableDialog: a table of what a job on many projectors gave, with a summary above it and
// "Save as CSV..." below: the results of a job (template 161: projector, outcome, detail) and the
// findings of an audit (template 163: projector, severity, finding, detail, sortable by any
// column). The file saved holds the column titles and the rows as shown, written under the
// program's one policy for output files.

#include <string>
#include <vector>

#include "dialogs/FileChoosers.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CFleetTableDialog : public skin::CSkinDialog {
  public:
    static constexpr int kSummaryLabel = 1001;
    static constexpr int kTable = 1080;
    static constexpr int kSaveCsvButton = 1090;

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

// The rows as a CSV file: the titles first, every field quoted where it must be, so that no
// field is taken for a formula. 1 written, 0 not.
int SaveCsvFile(const std::string& path, const std::vector<std::string>& titles,
                const std::vector<std::vector<std::string>>& rows);

}  // namespace lanterna::dialogs
