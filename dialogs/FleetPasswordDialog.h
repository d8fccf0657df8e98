#pragma once
// CFleetPasswordDialog (template 164): the new password for every selected projector, typed
// twice; the failures after which no new projector starts (3 unless changed); "Remember in the
// keyring" where there is one. OK checks as the one-projector dialog does: a password of 15
// bytes or more (string 125, focus on its box), two that differ (127, focus on the first). The
// current passwords come from what the session knows or from the prompt, per projector.

#include <cstddef>
#include <string>

#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CFleetPasswordDialog : public skin::CSkinDialog {
  public:
    static constexpr int kIntroLabel = 1001;
    static constexpr int kNewEdit = 1073;
    static constexpr int kRepeatEdit = 1074;
    static constexpr int kFailuresEdit = 1075;
    static constexpr int kKeyringCheck = 1077;

    CFleetPasswordDialog(std::size_t selected, bool offerKeyring, QWidget* owner = nullptr);

    const std::string& NewPassword() const { return fresh_; }
    std::size_t StopAfter() const { return stopAfter_; }
    bool Keep() const { return keep_; }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    std::size_t selected_;
    bool offerKeyring_;
    std::string fresh_;
    std::size_t stopAfter_ = 3;
    bool keep_ = false;
};

}  // namespace lanterna::dialogs
