#pragma once
// CApplyPreviewDialog (template 162): what applying a settings file as a template to the
// selected projectors would do, before anything is sent. One row per setting that would change
// (projector, setting, now, after); below them the projectors the checks refuse, with why, and
// what the template leaves alone, with why; the failures after which no new projector starts
// (3 unless changed). Apply (IDOK) is offered while some projector would change. The dialog may
// be resized and maximised; the table of changes takes the room.

#include <cstddef>
#include <string>
#include <vector>

#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CApplyPreviewDialog : public skin::CSkinDialog {
  public:
    static constexpr int kIntroLabel = 1001;
    static constexpr int kChangesTable = 1080;
    static constexpr int kOthersTable = 1081;
    static constexpr int kFailuresEdit = 1073;
    static constexpr int kRowDetails = 1085;  // the selected row of either table, whole
    static constexpr std::size_t kDefaultStopAfter = 3;

    struct Change {
        std::string projector;
        std::string setting;
        std::string now;
        std::string after;
    };
    struct Note {
        std::string projector;
        std::string what;  // "Refused", "Left alone", ...
        std::string why;
    };
    struct Content {
        std::string intro;
        std::vector<Change> changes;
        std::vector<Note> notes;
    };

    explicit CApplyPreviewDialog(Content content, QWidget* owner = nullptr);

    // After OK: the failures after which no new projector starts (0: none stops it).
    std::size_t StopAfter() const { return stopAfter_; }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    Content content_;
    std::size_t stopAfter_ = kDefaultStopAfter;
};

// The number of failures typed into an edit: empty or 0 for none, at most 999.
std::size_t FailuresOf(const std::string& text);

}  // namespace lanterna::dialogs
