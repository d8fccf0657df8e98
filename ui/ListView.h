#pragma once
// The large-icon list of the main window: 32 x 32 images, labels of one or more lines
// ("name\naddress" shows the name above the address), a tiled background, one selected row
// that stays visible when the list loses the focus, and file drops. The icons reflow with the
// list's width, so a larger window shows more of them.
//
// The rows come from a model. By default the list has one of its own, whose rows are addressed
// by index (InsertItem, DeleteItem): inserting or deleting a row moves the later rows by one.
// A window that sorts or filters its rows gives the list its own model (SetModel); the row
// numbers of every function here are then the rows that model shows. Points are in the
// coordinates of the list's viewport (the area that shows the items).
//
// Keys: the arrows move the selection; Enter reports the current row (rowActivated); the
// context-menu key and Shift+F10 report a menu request for it (menuRequested); printable text
// typed into the list is reported (textTyped) instead of jumping to a matching label, and
// Backspace and Escape report themselves (filterKey), so that the owner may filter the rows.

#include <QListView>
#include <QPixmap>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QStandardItemModel;

namespace ui {

// The model role that holds a row's image index (an int; -1 or missing for none).
inline constexpr int kListImageRole = Qt::UserRole + 1;

class CListView : public QListView {
    Q_OBJECT

  public:
    explicit CListView(QWidget* parent = nullptr);
    ~CListView() override;

    // Images by index, as the rows refer to them. Icon resources by id (ui/ResourceImages.h).
    void SetImageList(const std::vector<int>& iconIds);
    int ImageCount() const { return static_cast<int>(images_.size()); }
    // The image of index `image`; a null icon for an index outside the list.
    QIcon Image(int image) const;

    // Tiles `tile` behind the items; the labels are drawn without a background of their own.
    void SetBackgroundTile(const QPixmap& tile);

    // Shows `model` (not owned; it must outlive its use here), or the list's own model again
    // for null. The selection starts empty.
    void SetModel(QAbstractItemModel* model);

    // Rows of the list's own model: inserts a row at `row` (clamped to 0..ItemCount()) and
    // returns its index; -1 while another model is shown.
    int InsertItem(int row, std::string_view label, int image);
    bool DeleteItem(int row);
    void DeleteAllItems();
    bool SetItemText(int row, std::string_view label);

    // Rows as shown, whatever the model.
    int ItemCount() const;
    std::string ItemText(int row) const;
    int ItemImage(int row) const;  // -1 for a row that does not exist

    int SelectedRow() const;                     // -1 when none
    std::vector<int> SelectedRows() const;       // in increasing order
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
    // Enter on the current row.
    void rowActivated(int row);
    // The context-menu key or Shift+F10; `point` is the current row's centre (or the list's).
    void menuRequested(int row, QPoint point);
    // Printable text typed into the list.
    void textTyped(const QString& text);
    // Backspace (Qt::Key_Backspace) or Escape (Qt::Key_Escape) pressed in the list.
    void filterKey(int key);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    std::vector<QIcon> images_;
    std::unique_ptr<QStandardItemModel> items_;
    QPoint lastPoint_;
};

// The local file paths that `mime` carries, in order; empty when it carries none.
std::vector<std::string> LocalPathsOf(const class QMimeData& mime);

// Whether `event` asks for a context menu from the keyboard: the menu key or Shift+F10.
bool IsMenuKey(const class QKeyEvent& event);

}  // namespace ui
