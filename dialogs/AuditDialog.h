#pragma once
// CAuditDialog (template 163): what an audit found, grouped: one row per kind of finding, worst
// first (severity, finding, how many projectors have it), what the selected kind means and what
// to do about it beneath, and the projectors that have it beneath that (projector, detail), the
// selected one whole at the bottom. The projectors that could not be read form a group of their
// own. An audit without findings says so instead of showing empty tables. "Save as CSV..." saves
// one row per finding, as the audit found them. The dialog may be resized and maximised; the
// list of projectors takes the room.

#include <string>
#include <vector>

#include "dialogs/FileChoosers.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CAuditDialog : public skin::CSkinDialog {
  public:
    static constexpr int kSummaryLabel = 1001;
    static constexpr int kGroupsTable = 1080;
    static constexpr int kMeaningLabel = 1003;
    static constexpr int kProjectorsLabel = 1002;
    static constexpr int kProjectorsTable = 1081;
    static constexpr int kRowDetails = 1085;
    static constexpr int kSaveCsvButton = 1090;

    struct Group {
        std::string severity;
        std::string finding;
        std::string meaning;
        std::vector<std::vector<std::string>> projectors;  // projector, detail
    };
    struct Content {
        std::string summary;
        std::vector<Group> groups;  // in the order shown
        std::vector<std::string> csvColumns;
        std::vector<std::vector<std::string>> csvRows;
    };

    explicit CAuditDialog(Content content, QWidget* owner = nullptr);

    void SetSaveFileChooser(SaveFileChooser chooser) { chooseFile_ = std::move(chooser); }

  protected:
    bool OnInitDialog() override;

  private:
    void ShowGroup(int row);
    void OnSaveCsv();

    Content content_;
    SaveFileChooser chooseFile_;
};

}  // namespace lanterna::dialogs
