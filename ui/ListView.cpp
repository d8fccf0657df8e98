#include "ui/ListView.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "ui/ResourceImages.h"
#include "ui/Text.h"

namespace ui {
namespace {

constexpr int kImageRole = Qt::UserRole + 1;

}  // namespace

CListView::CListView(QWidget* parent) : QListWidget(parent) {
    setViewMode(QListView::IconMode);
    setIconSize(QSize(kIconSize, kIconSize));
    // Wide and tall enough for a 15-byte name or three lines of a fixed row's label.
    setGridSize(QSize(112, 92));
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setWordWrap(true);
    setUniformItemSizes(false);  // each label is laid out in its own width
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setTextElideMode(Qt::ElideNone);
    // The selection stays as visible without the focus as with it.
    QPalette colours = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setBrush(QPalette::Inactive, role, colours.brush(QPalette::Active, role));
    }
    setPalette(colours);
}

CListView::~CListView() = default;

void CListView::SetImageList(const std::vector<int>& iconIds) {
    images_.clear();
    for (const int id : iconIds) {
        images_.push_back(LoadIconResource(id));
    }
    for (int row = 0; row < count(); ++row) {
        const int image = ItemImage(row);
        item(row)->setIcon(image >= 0 && image < ImageCount() ? images_[image] : QIcon());
    }
}

void CListView::SetBackgroundTile(const QPixmap& tile) {
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setBrush(group, QPalette::Base, QBrush(tile));
    }
    setPalette(colours);
    viewport()->setAutoFillBackground(true);
}

int CListView::InsertItem(int row, std::string_view label, int image) {
    row = std::clamp(row, 0, count());
    auto entry = std::make_unique<QListWidgetItem>(ToQString(label));
    entry->setData(kImageRole, image);
    if (image >= 0 && image < ImageCount()) {
        entry->setIcon(images_[image]);
    }
    entry->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    insertItem(row, entry.release());  // the list owns it from here
    return row;
}

bool CListView::DeleteItem(int row) {
    if (row < 0 || row >= count()) {
        return false;
    }
    const std::unique_ptr<QListWidgetItem> taken(takeItem(row));  // handed back to us
    return true;
}

void CListView::DeleteAllItems() {
    clear();
}

std::string CListView::ItemText(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry != nullptr ? ToUtf8(entry->text()) : std::string();
}

bool CListView::SetItemText(int row, std::string_view label) {
    QListWidgetItem* entry = item(row);
    if (entry == nullptr) {
        return false;
    }
    entry->setText(ToQString(label));
    return true;
}

int CListView::ItemImage(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry != nullptr ? entry->data(kImageRole).toInt() : -1;
}

int CListView::SelectedRow() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
}

void CListView::SelectRow(int row, bool focus) {
    if (row < 0 || row >= count()) {
        clearSelection();
        return;
    }
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(row));
    if (focus) {
        setFocus(Qt::OtherFocusReason);
    }
}

int CListView::HitTest(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    if (!index.isValid() || !visualRect(index).contains(point)) {
        return -1;
    }
    return index.row();
}

QRect CListView::ItemRect(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry != nullptr ? visualItemRect(entry) : QRect();
}

void CListView::mouseDoubleClickEvent(QMouseEvent* event) {
    lastPoint_ = event->position().toPoint();
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit rowDoubleClicked(HitTest(lastPoint_), lastPoint_);
    }
}

void CListView::mousePressEvent(QMouseEvent* event) {
    lastPoint_ = event->position().toPoint();
    QListWidget::mousePressEvent(event);
}

void CListView::mouseReleaseEvent(QMouseEvent* event) {
    lastPoint_ = event->position().toPoint();
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton) {
        emit rightClicked(HitTest(lastPoint_), lastPoint_);
    }
}

void CListView::dragEnterEvent(QDragEnterEvent* event) {
    if (LocalPathsOf(*event->mimeData()).empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void CListView::dragMoveEvent(QDragMoveEvent* event) {
    if (LocalPathsOf(*event->mimeData()).empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void CListView::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths = LocalPathsOf(*event->mimeData());
    if (paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    lastPoint_ = event->position().toPoint();
    emit filesDropped(lastPoint_, paths);
}

std::vector<std::string> LocalPathsOf(const QMimeData& mime) {
    std::vector<std::string> paths;
    if (!mime.hasUrls()) {
        return paths;
    }
    for (const QUrl& url : mime.urls()) {
        if (url.isLocalFile()) {
            const QByteArray bytes = QFile::encodeName(url.toLocalFile());
            paths.emplace_back(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
    }
    return paths;
}

}  // namespace ui
