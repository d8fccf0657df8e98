#include "ui/ListView.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QUrl>
#include <algorithm>

#include "ui/ResourceImages.h"
#include "ui/Text.h"

namespace ui {

CListView::CListView(QWidget* parent)
    : QListView(parent), items_(std::make_unique<QStandardItemModel>()) {
    QListView::setModel(items_.get());
    setViewMode(QListView::IconMode);
    setIconSize(QSize(kIconSize, kIconSize));
    // Wide and tall enough for a 15-byte name or three lines of a fixed row's label.
    setGridSize(QSize(112, 92));
    setMovement(QListView::Static);
    // The icons reflow whenever the list's width changes; a long list is laid out in batches so
    // that its first screen shows before the rest is placed.
    setResizeMode(QListView::Adjust);
    setLayoutMode(QListView::Batched);
    setBatchSize(200);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setWordWrap(true);
    setUniformItemSizes(false);  // each label is laid out in its own width
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
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

CListView::~CListView() {
    QListView::setModel(nullptr);  // before the own model goes
}

void CListView::SetImageList(const std::vector<int>& iconIds) {
    images_.clear();
    for (const int id : iconIds) {
        images_.push_back(LoadIconResource(id));
    }
    for (int row = 0; row < items_->rowCount(); ++row) {
        QStandardItem* entry = items_->item(row);
        entry->setIcon(Image(entry->data(kListImageRole).toInt()));
    }
}

QIcon CListView::Image(int image) const {
    return image >= 0 && image < ImageCount() ? images_[static_cast<std::size_t>(image)] : QIcon();
}

void CListView::SetBackgroundTile(const QPixmap& tile) {
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setBrush(group, QPalette::Base, QBrush(tile));
    }
    setPalette(colours);
    viewport()->setAutoFillBackground(true);
}

void CListView::SetModel(QAbstractItemModel* shown) {
    QListView::setModel(shown != nullptr ? shown : items_.get());
}

int CListView::InsertItem(int row, std::string_view label, int image) {
    if (model() != items_.get()) {
        return -1;
    }
    row = std::clamp(row, 0, items_->rowCount());
    auto* entry = new QStandardItem(ToQString(label));  // the model owns it from here
    entry->setData(image, kListImageRole);
    entry->setIcon(Image(image));
    entry->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    items_->insertRow(row, entry);
    return row;
}

bool CListView::DeleteItem(int row) {
    if (model() != items_.get() || row < 0 || row >= items_->rowCount()) {
        return false;
    }
    return items_->removeRow(row);
}

void CListView::DeleteAllItems() {
    items_->removeRows(0, items_->rowCount());
}

bool CListView::SetItemText(int row, std::string_view label) {
    QStandardItem* entry = model() == items_.get() ? items_->item(row) : nullptr;
    if (entry == nullptr) {
        return false;
    }
    entry->setText(ToQString(label));
    return true;
}

int CListView::ItemCount() const {
    return model()->rowCount();
}

std::string CListView::ItemText(int row) const {
    const QModelIndex index = model()->index(row, modelColumn());
    return index.isValid() ? ToUtf8(index.data(Qt::DisplayRole).toString()) : std::string();
}

int CListView::ItemImage(int row) const {
    const QModelIndex index = model()->index(row, modelColumn());
    if (!index.isValid()) {
        return -1;
    }
    const QVariant image = index.data(kListImageRole);
    return image.isValid() ? image.toInt() : -1;
}

int CListView::SelectedRow() const {
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

std::vector<int> CListView::SelectedRows() const {
    std::vector<int> rows;
    if (selectionModel() == nullptr) {
        return rows;
    }
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        if (index.column() == modelColumn()) {
            rows.push_back(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CListView::SelectRow(int row, bool focus) {
    const QModelIndex index = model()->index(row, modelColumn());
    if (!index.isValid()) {
        clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
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
    const QModelIndex index = model()->index(row, modelColumn());
    return index.isValid() ? visualRect(index) : QRect();
}

void CListView::keyPressEvent(QKeyEvent* event) {
    const int row = currentIndex().isValid() ? currentIndex().row() : -1;
    if (IsMenuKey(*event)) {
        const QRect place = ItemRect(row);
        emit menuRequested(row, place.isValid() ? place.center() : viewport()->rect().center());
        event->accept();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (row >= 0) {
                emit rowActivated(row);
            }
            event->accept();
            return;
        case Qt::Key_Backspace:
        case Qt::Key_Escape:
            emit filterKey(event->key());
            event->accept();
            return;
        default:
            QListView::keyPressEvent(event);
            return;
    }
}

void CListView::keyboardSearch(const QString& search) {
    emit textTyped(search);
}

void CListView::mouseDoubleClickEvent(QMouseEvent* event) {
    lastPoint_ = event->position().toPoint();
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit rowDoubleClicked(HitTest(lastPoint_), lastPoint_);
    }
}

void CListView::mousePressEvent(QMouseEvent* event) {
    lastPoint_ = event->position().toPoint();
    QListView::mousePressEvent(event);
}

void CListView::mouseReleaseEvent(QMouseEvent* event) {
    lastPoint_ = event->position().toPoint();
    QListView::mouseReleaseEvent(event);
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

bool IsMenuKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

}  // namespace ui
