#pragma once
// A table of texts in a dialog (control kind "table"): a header of column titles, rows of
// cells, whole rows selected, sorted by any column when the user clicks its title (once the
// dialog allows it). Tables of results are read as shown: Rows() gives the rows in the order
// on screen, the way a file saved from the table lists them. A table view, so that a screen
// reader meets a table whose rows, columns and column headers it can walk.

#include <QTableView>
#include <memory>
#include <string>
#include <vector>

class QStandardItemModel;

namespace ui {

class CTableView : public QTableView {
  public:
    explicit CTableView(QWidget* parent = nullptr);
    ~CTableView() override;

    // The column titles; the rows are emptied.
    void SetColumns(const std::vector<std::string>& titles);
    int ColumnCount() const;
    // Adds a row at the end (sorted into place while sorting is on); cells beyond the columns
    // are dropped, missing ones are empty.
    void AddRow(const std::vector<std::string>& cells);
    void ClearRows();
    int RowCount() const;
    // The text of a cell as shown (after sorting); empty outside the table.
    std::string CellText(int row, int column) const;
    // Every row as shown, cell by cell.
    std::vector<std::vector<std::string>> Rows() const;
    std::vector<std::string> ColumnTitles() const;
    // Clicking a column's title sorts by it (the first click ascending).
    void SetSortable(bool sortable);
    void SortBy(int column, bool ascending = true);
    // Keeps the last row in view as rows are added (a log of lines as they come).
    void SetFollowsNewRows(bool follow) { follow_ = follow; }

  private:
    std::unique_ptr<QStandardItemModel> cells_;
    bool follow_ = false;
};

}  // namespace ui
