#pragma once
// The large-icon list of the main window: 32 x 32 images, labels of one or more lines
// ("name\naddress" shows the name above the address), a tiled background, one selected row
// that stays visible when the list loses the focus, and file drops.
//
// Rows are addressed by index; inserting or deleting a row moves the later rows by one, and the
// rows never reorder themselves (no sorting, no dragging of items). Points are in the
// coordinates of the list's viewport (the area that shows the items).

#include <QListWidget>
#include <QPixmap>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class CListView : public QListWidget {
    Q_OBJECT

  public:
    explicit CListView(QWidget* parent = nullptr);
    ~CListView() override;

    // Images by index, as the rows refer to them. Icon resources by id (ui/ResourceImages.h).
    void SetImageList(const std::vector<int>& iconIds);
    int ImageCount() const { return static_cast<int>(images_.size()); }

    // Tiles `tile` behind the items; the labels are drawn without a background of their own.
    void SetBackgroundTile(const QPixmap& tile);

    // Inserts a row at `row` (clamped to 0..ItemCount()) and returns its index.
    int InsertItem(int row, std::string_view label, int image);
    bool DeleteItem(int row);
    void DeleteAllItems();
    int ItemCount() const { return count(); }
    std::string ItemText(int row) const;
    bool SetItemText(int row, std::string_view label);
    int ItemImage(int row) const;  // -1 for a row that does not exist

    int SelectedRow() const;                     // -1 when none
    void SelectRow(int row, bool focus = true);  // -1 clears the selection

    // The row whose image or label lies under `point`, -1 for none.
    int HitTest(const QPoint& point) const;
    QRect ItemRect(int row) const;
    // Where the last click, double-click, right-click or drop happened.
    QPoint LastMousePoint() const { return lastPoint_; }

  signals:
    // Double-click with the left button; `row` is HitTest(point).
    void rowDoubleClicked(int row, QPoint point);
    // Release of the right button over the list; the row under it is selected first.
    void rightClicked(int row, QPoint point);
    // Local files dropped onto the list, as file-system paths (UTF-8 bytes on this system).
    void filesDropped(QPoint point, const std::vector<std::string>& paths);

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    std::vector<QIcon> images_;
    QPoint lastPoint_;
};

// The local file paths that `mime` carries, in order; empty when it carries none.
std::vector<std::string> LocalPathsOf(const class QMimeData& mime);

}  // namespace ui
