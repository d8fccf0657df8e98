#pragma once
// CSearchDialog (template 139): the wait of a refresh. It runs the hello search and the
// secondary search side by side (they append what they find to the state's projector list) and
// ends after both have reported: with 1 when the second report says its search ran, else 2.
// The user cannot end it: Enter and Escape are swallowed, the cancel button stays hidden and
// disabled. The client area shows a vertical gradient in a raised frame. The searches start
// only in a modal run: a dialog created to be drawn sends nothing.

#include <QColor>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "discovery/SearchCompletion.h"
// The search's headers name a member `slots`, which Qt defines as a keyword macro.
#pragma push_macro("slots")
#undef slots
#include "discovery/SearchController.h"
#pragma pop_macro("slots")
#include "skin/SkinDialog.h"
#include "state/ApplicationState.h"

namespace lanterna::dialogs {

class CSearchDialog : public skin::CSkinDialog {
  public:
    // The gradient's colours, top and bottom.
    static constexpr QRgb kGradientTop = 0xFFEEEEF8;     // RGB(238, 238, 248)
    static constexpr QRgb kGradientBottom = 0xFFBBBBC3;  // RGB(187, 187, 195)

    // `targets` defaults to the real broadcasts; tests point them at loopback. The addresses of
    // `otherSubnets` are greeted one by one beside the broadcast.
    explicit CSearchDialog(ApplicationState& state, QWidget* owner = nullptr,
                           SearchTargets targets = {},
                           std::vector<std::string> otherSubnets = {});
    ~CSearchDialog() override;

    // Whether the first of the two reports has arrived.
    bool OneDone() const { return completion_.OneDone(); }

  protected:
    bool OnInitDialog() override;
    ui::KeyRoute PreTranslateKeyPress(const QKeyEvent& event) override;
    void OnPaintClient(QPainter& painter, const QRect& clientRect) override;

  private:
    void StartSearch(const ui::MessageTarget& target);
    void OnSearchReport(ui::WParam wParam);

    ApplicationState& state_;
    SearchTargets targets_;
    std::vector<std::string> otherSubnets_;
    std::unique_ptr<CSearchController> search_;
    CSearchCompletion completion_;
};

// Fills `rect` row by row from `top` to `bottom` and draws a raised frame around it: the top
// colour on the top and left edges, the bottom colour on the bottom and right ones.
void PaintGradientPanel(QPainter& painter, const QRect& rect, QColor top, QColor bottom);

}  // namespace lanterna::dialogs
