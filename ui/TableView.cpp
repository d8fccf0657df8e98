#include "ui/TableView.h"

#include <QHeaderView>
#include <QStandardItemModel>

#include "ui/Text.h"

namespace ui {

CTableView::CTableView(QWidget* parent)
    : QTableView(parent), cells_(std::make_unique<QStandardItemModel>()) {
    setModel(cells_.get());
    setShowGrid(false);
    setCornerButtonEnabled(false);
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);  // Tab leaves the table for the next control
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Rows as a list draws them: no row numbers, one line each.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

CTableView::~CTableView() {
    setModel(nullptr);  // before the cells go
}

void CTableView::SetColumns(const std::vector<std::string>& titles) {
    cells_->clear();
    QStringList labels;
    for (const std::string& title : titles) {
        labels.push_back(ToQString(title));
    }
    cells_->setHorizontalHeaderLabels(labels);
}

int CTableView::ColumnCount() const {
    return cells_->columnCount();
}

void CTableView::AddRow(const std::vector<std::string>& cells) {
    QList<QStandardItem*> row;
    for (int column = 0; column < cells_->columnCount(); ++column) {
        const auto index = static_cast<std::size_t>(column);
        auto* item = new QStandardItem(index < cells.size() ? ToQString(cells[index]) : QString());
        item->setToolTip(item->text());  // a cell cut short is read whole in its tooltip
        row.push_back(item);
    }
    cells_->appendRow(row);  // the model owns the items from here
    if (follow_) {
        scrollToBottom();
    }
}

void CTableView::ClearRows() {
    cells_->removeRows(0, cells_->rowCount());
}

int CTableView::RowCount() const {
    return cells_->rowCount();
}

std::string CTableView::CellText(int row, int column) const {
    const QStandardItem* item = cells_->item(row, column);
    return item != nullptr ? ToUtf8(item->text()) : std::string();
}

std::vector<std::vector<std::string>> CTableView::Rows() const {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < RowCount(); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < ColumnCount(); ++column) {
            cells.push_back(CellText(row, column));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::vector<std::string> CTableView::ColumnTitles() const {
    std::vector<std::string> titles;
    for (int column = 0; column < ColumnCount(); ++column) {
        const QStandardItem* item = cells_->horizontalHeaderItem(column);
        titles.push_back(item != nullptr ? ToUtf8(item->text()) : std::string());
    }
    return titles;
}

void CTableView::SetSortable(bool sortable) {
    setSortingEnabled(sortable);
    if (sortable) {
        horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);  // in the order given until a click
    }
}

void CTableView::SortBy(int column, bool ascending) {
    sortByColumn(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

}  // namespace ui
