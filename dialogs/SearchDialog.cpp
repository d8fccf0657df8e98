#include "dialogs/SearchDialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include "dialogs/DialogIds.h"

namespace lanterna::dialogs {
namespace {

int Blend(int from, int to, int row, int rows) {
    return rows <= 1 ? from : from + (to - from) * row / (rows - 1);
}

}  // namespace

void PaintGradientPanel(QPainter& painter, const QRect& rect, QColor top, QColor bottom) {
    const int rows = rect.height();
    for (int row = 0; row < rows; ++row) {
        const QColor colour(Blend(top.red(), bottom.red(), row, rows),
                            Blend(top.green(), bottom.green(), row, rows),
                            Blend(top.blue(), bottom.blue(), row, rows));
        painter.fillRect(QRect(rect.left(), rect.top() + row, rect.width(), 1), colour);
    }
    painter.setPen(top);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottom);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

CSearchDialog::CSearchDialog(ApplicationState& state, QWidget* owner, SearchTargets targets,
                             std::vector<std::string> otherSubnets)
    : skin::CSkinDialog(kSearchTemplate, owner),
      state_(state),
      targets_(std::move(targets)),
      otherSubnets_(std::move(otherSubnets)) {
    OnMessage(kHelloSearchDoneMessage, [this](ui::WParam w, ui::LParam) { OnSearchReport(w); });
    OnMessage(kSecondarySearchDoneMessage, [this](ui::WParam w, ui::LParam) { OnSearchReport(w); });
}

// The controller cancels and waits for both searches, so none outlives the dialog.
CSearchDialog::~CSearchDialog() = default;

bool CSearchDialog::OnInitDialog() {
    completion_ = CSearchCompletion{};
    search_.reset();
    // The search starts once the modal run has begun: Create opens a run too, and a dialog
    // created only to be drawn (the gallery) must ask nothing on the network.
    QTimer::singleShot(0, this, [this, target = Target()] { StartSearch(target); });
    return true;
}

void CSearchDialog::StartSearch(const ui::MessageTarget& target) {
    if (!IsRunning() || !target.IsOpen() || search_) {
        return;
    }
    search_ = std::make_unique<CSearchController>(
        state_.projectors, [target](int message, int wParam) { target.Post(message, wParam); },
        targets_, otherSubnets_);
    search_->Start();
}

void CSearchDialog::OnSearchReport(ui::WParam wParam) {
    if (const std::optional<int> code = completion_.OnSearchReport(static_cast<int>(wParam))) {
        EndDialog(*code);
    }
}

ui::KeyRoute CSearchDialog::PreTranslateKeyPress(const QKeyEvent& event) {
    const int key = event.key();
    const bool dismissKey = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
    return dismissKey ? ui::KeyRoute::Swallow : ui::KeyRoute::Default;
}

void CSearchDialog::OnPaintClient(QPainter& painter, const QRect& clientRect) {
    PaintGradientPanel(painter, clientRect, QColor::fromRgb(kGradientTop),
                       QColor::fromRgb(kGradientBottom));
}

}  // namespace lanterna::dialogs
