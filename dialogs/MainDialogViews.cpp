// How much the main window shows: its size on a first start, the table of details' columns, its
// sort and which of the two views is shown, kept across starts.

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>
#include <algorithm>
#include <cmath>

#include "dialogs/MainDialog.h"
#include "ui/ListView.h"

namespace lanterna::dialogs {
namespace {

// The share of the screen a first start may take, in percent of each side.
constexpr int kFirstStartScreenShare = 85;

}  // namespace

// A first start (no place stored) opens at a size that shows every row, as far as the screen
// allows; after that the window keeps the size its user gave it.
void CMainDialog::FitFirstStart() {
    ui::CListView* list = List();
    QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (settings_.placement || fittedFirstStart_ || list == nullptr || screen == nullptr ||
        isMaximized()) {
        return;
    }
    fittedFirstStart_ = true;
    const QRect available = screen->availableGeometry();
    const QSize largest(available.width() * kFirstStartScreenShare / 100,
                        available.height() * kFirstStartScreenShare / 100);
    const QSize chrome = size() - list->viewport()->size();
    const QSize cell = list->gridSize();
    const int rows = list->ItemCount();
    const int widest = std::max(1, (largest.width() - chrome.width()) / cell.width());
    // Somewhat wider than tall, as a screen is.
    const int columns = std::clamp(static_cast<int>(std::ceil(std::sqrt(rows * 1.6))), 1, widest);
    const int lines = (rows + columns - 1) / columns;
    const QSize wanted(columns * cell.width() + chrome.width() + list->spacing() * 2,
                       lines * cell.height() + chrome.height() + list->spacing() * 2);
    const QSize fitted = wanted.expandedTo(minimumSize()).boundedTo(largest);
    if (fitted.width() <= width() && fitted.height() <= height()) {
        return;
    }
    resize(fitted.expandedTo(size()));
    move(available.center() - rect().center());
}

// The table's columns fit what they show, until their user has set a width (this run or one
// before, as stored).
void CMainDialog::FitColumns() {
    if (details_ == nullptr || columnsSetByUser_) {
        return;
    }
    fittingColumns_ = true;
    for (int column = kColumnName; column < kColumnCount; ++column) {
        details_->resizeColumnToContents(column);
    }
    fittingColumns_ = false;
}

void CMainDialog::RestoreListView() {
    if (details_ == nullptr) {
        return;
    }
    const std::vector<std::int32_t>& widths = settings_.listView.columnWidths;
    if (!widths.empty()) {
        columnsSetByUser_ = true;
        for (std::size_t i = 0; i < widths.size() && kColumnName + i < kColumnCount; ++i) {
            details_->setColumnWidth(kColumnName + static_cast<int>(i), widths[i]);
        }
    }
    if (const auto column = settings_.listView.sortColumn;
        column && *column >= kColumnName && *column < kColumnCount) {
        details_->sortByColumn(*column, settings_.listView.sortDescending ? Qt::DescendingOrder
                                                                          : Qt::AscendingOrder);
    }
    connect(details_->header(), &QHeaderView::sectionResized, this,
            [this] { columnsSetByUser_ = columnsSetByUser_ || !fittingColumns_; });
    SetDetailsView(settings_.listView.details);
}

void CMainDialog::SaveListView() const {
    ListViewSettings listView;
    listView.details = IsDetailsView();
    if (details_ != nullptr && columnsSetByUser_) {
        for (int column = kColumnName; column < kColumnCount; ++column) {
            listView.columnWidths.push_back(std::max(1, details_->columnWidth(column)));
        }
    }
    if (details_ != nullptr && details_->header()->sortIndicatorSection() >= 0) {
        listView.sortColumn = details_->header()->sortIndicatorSection();
        listView.sortDescending = details_->header()->sortIndicatorOrder() == Qt::DescendingOrder;
    }
    lanterna::SaveListView(listView, addressBook_.hive);
}

}  // namespace lanterna::dialogs
