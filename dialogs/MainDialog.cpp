// The main window's set-up, its handlers, its keys, its rows and the presence of its projectors.

#include "dialogs/MainDialog.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTreeView>
#include <algorithm>
#include <map>
#include <utility>

#include "dialogs/DialogIds.h"
#include "dialogs/FleetWording.h"
#include "dialogs/HealthWatch.h"
#include "dialogs/PresenceWatch.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "resources/TextPattern.h"
#include "settings/AddressBookStore.h"
#include "state/DebugTrace.h"
#include "ui/ListView.h"
#include "ui/MessageBox.h"
#include "ui/ResourceImages.h"
#include "ui/Text.h"

namespace lanterna::dialogs {
namespace {

// A table of details that hands typed text to the window instead of jumping to a row, and takes
// files dropped on a row as the icons do.
class CDetailsTable : public QTreeView {
  public:
    explicit CDetailsTable(QWidget* parent) : QTreeView(parent) {
        setAcceptDrops(true);
        viewport()->setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DropOnly);
    }
    std::function<void(const QString&)> onTyped;
    // The row the files were dropped on (-1 for none) and their paths.
    std::function<void(int, const std::vector<std::string>&)> onFilesDropped;

  protected:
    void keyboardSearch(const QString& search) override {
        if (onTyped) {
            onTyped(search);
        }
    }
    void dragEnterEvent(QDragEnterEvent* event) override { AcceptFiles(*event); }
    void dragMoveEvent(QDragMoveEvent* event) override { AcceptFiles(*event); }
    void dropEvent(QDropEvent* event) override {
        const std::vector<std::string> paths = ui::LocalPathsOf(*event->mimeData());
        if (paths.empty()) {
            event->ignore();
            return;
        }
        event->acceptProposedAction();
        const QModelIndex index = indexAt(event->position().toPoint());
        if (onFilesDropped) {
            onFilesDropped(index.isValid() ? index.row() : -1, paths);
        }
    }

  private:
    static void AcceptFiles(QDropEvent& event) {
        if (ui::LocalPathsOf(*event.mimeData()).empty()) {
            event.ignore();
        } else {
            event.acceptProposedAction();
        }
    }
};

}  // namespace

CMainDialog::CMainDialog(ApplicationState& state, AddressBookPlace addressBook,
                         MainDialogServices services, QWidget* owner)
    : skin::CSkinDialog(kMainTemplate, owner),
      state_(state),
      addressBook_(std::move(addressBook)),
      services_(std::move(services)),
      passwords_(services_.keyring) {
    // The buttons wait, as a double-click does, while a command or a dropped file's apply is
    // on its way: a refresh would replace the record the apply works on.
    OnCommand(kRefreshButton, ui::Notify::Clicked,
              [this] { RunGuarded([this] { Refresh(true); }); });
    OnCommand(kImportButton, ui::Notify::Clicked, [this] { RunGuarded([this] { OnImport(); }); });
    OnCommand(kAboutButton, ui::Notify::Clicked, [this] { OnHelpButton(); });
    OnCommand(kListControl, ui::Notify::DoubleClicked, [this] {
        const ui::CListView* list = List();
        OnDoubleClick(list != nullptr ? list->HitTest(list->LastMousePoint()) : -1);
    });
    OnCommand(kListControl, ui::Notify::RightClicked, [this] { OnRightClick(); });
    OnMessage(kOpenProjectorMessage, [this](ui::WParam row, ui::LParam) {
        dropPending_ = false;
        RunGuarded([this, row] { OpenProjector(static_cast<int>(row)); });
    });
    OnMessage(kShowWarningMessage, [this](ui::WParam stringId, ui::LParam) {
        const int id = static_cast<int>(stringId);
        if (warningDetail_.empty()) {
            ShowMessage(id, ui::MB_ICONEXCLAMATION);
            return;
        }
        const std::string text = Words(id) + " " + std::exchange(warningDetail_, {});
        ui::ShowStringMessageWithText(this, id, text, ui::MB_ICONEXCLAMATION);
    });
    OnMessage(kFirstRefreshMessage, [this](ui::WParam, ui::LParam) { Refresh(true); });
    viewTrace_.setSingleShot(true);
    viewTrace_.setInterval(300);
    connect(&viewTrace_, &QTimer::timeout, this, [this] { TraceRowsInView(); });

    std::vector<CProjectorListModel::FixedRow> fixedRows{
        {ui::ToQString(LoadString(kStringConnectByAddress)), kImageConnectByAddress},
        {ui::ToQString(LoadString(kStringWiredConfigFileRow)), kImageWiredFile},
        {ui::ToQString(LoadString(kStringWirelessConfigFileRow)), kImageWirelessFile}};
    rows_ = std::make_unique<CProjectorRows>(
        std::move(fixedRows),
        [this](int image) {
            const ui::CListView* list = List();
            return list != nullptr ? list->Image(image) : QIcon();
        },
        &presence_);
    if (services_.presenceRound) {
        presenceWatch_ = std::make_unique<CPresenceWatch>(
            services_.presenceRound, [this] { return ListedAddresses(); },
            [this](const std::vector<std::string>& addresses, const std::vector<bool>& answered) {
                OnPresenceRound(addresses, answered);
            });
    }
    SetUpHealthWatch();
}

CMainDialog::~CMainDialog() {
    healthWatch_.reset();
    presenceWatch_.reset();  // its thread ends before the rows it reports on go
    if (List() != nullptr) {
        List()->SetModel(nullptr);
    }
    if (details_ != nullptr) {
        details_->setModel(nullptr);
    }
}

bool CMainDialog::OnInitDialog() {
    SetWindowText(LoadString(kStringAppName));
    setWindowIcon(ui::LoadIconResource(ui::ResourceId::kApplicationIcon));
    SetUpList();
    SetUpDetailsView();
    LoadWindowSettings(settings_, addressBook_.hive);
    RestorePlacement();
    RestoreListView();
    // The demonstration's projectors are not on any network: nobody is greeted then.
    if (presenceWatch_ && state_.debugMode == 0) {
        presenceWatch_->Start(static_cast<int>(settings_.presencePeriodMs));
    }
    if (healthWatch_ && state_.debugMode == 0) {
        healthWatch_->Start(static_cast<int>(settings_.presencePeriodMs));
    }
    // The list fills once the window is on screen: the search takes seconds and runs behind
    // its own wait dialog, so the window must not wait for it.
    PostMessage(kFirstRefreshMessage);
    return true;
}

void CMainDialog::SetUpList() {
    ui::CListView* list = List();
    if (list == nullptr) {
        return;
    }
    // The list has no label above it to be named after.
    list->setAccessibleName(ui::ToQString(LoadString(kStringProjectorListName)));
    list->SetImageList({ui::ResourceId::kConnectByAddressIcon, ui::ResourceId::kProjectorAddedIcon,
                        ui::ResourceId::kProjectorFoundIcon, ui::ResourceId::kWiredFileIcon,
                        ui::ResourceId::kWirelessFileIcon});
    list->SetBackgroundTile(ui::LoadBitmapResource(ui::ResourceId::kListBackground));
    rows_->Model().SetCellSize(list->gridSize() - QSize(4, 4));
    list->SetModel(&rows_->Shown());
    list->setModelColumn(kColumnLabel);
    connect(list, &ui::CListView::filesDropped, this,
            [this](QPoint point, const std::vector<std::string>& paths) {
                const ui::CListView* icons = List();
                OnFilesDropped(icons != nullptr ? icons->HitTest(point) : -1, paths);
            });
    connect(list, &ui::CListView::textTyped, this,
            [this](const QString& text) { SetFilterText(FilterText() + text); });
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { KeepFixedRowsOutOfSelection(); });
}

// A fixed row is a command, not a projector: it may be selected alone, never among others.
void CMainDialog::KeepFixedRowsOutOfSelection() {
    const ui::CListView* list = List();
    QItemSelectionModel* selection = list != nullptr ? list->selectionModel() : nullptr;
    if (selection == nullptr) {
        return;
    }
    const std::vector<int> rows = list->SelectedRows();
    if (rows.size() < 2) {
        return;
    }
    QItemSelection fixed;
    for (const int row : rows) {
        if (rows_->EntryAt(row).IsFixed()) {
            const QModelIndex index = rows_->Shown().index(row, 0);
            fixed.select(index, index);
        }
    }
    if (!fixed.isEmpty()) {
        selection->select(fixed, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
}

void CMainDialog::SetUpDetailsView() {
    ui::CListView* list = List();
    if (list == nullptr) {
        return;
    }
    auto* table = new CDetailsTable(list->parentWidget());  // owned by the client area
    details_ = table;
    table->onTyped = [this](const QString& text) { SetFilterText(FilterText() + text); };
    table->onFilesDropped = [this](int row, const std::vector<std::string>& paths) {
        OnFilesDropped(row, paths);
    };
    table->setModel(&rows_->Shown());
    table->setSelectionModel(list->selectionModel());
    table->setColumnHidden(kColumnLabel, true);
    table->setRootIsDecorated(false);
    table->setUniformRowHeights(true);
    table->setAllColumnsShowFocus(true);
    table->setSortingEnabled(true);
    table->sortByColumn(kColumnName, Qt::AscendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setIconSize(QSize(16, 16));
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    table->setAccessibleName(list->accessibleName());
    table->header()->setStretchLastSection(true);
    table->setGeometry(list->geometry());
    table->hide();
    connect(table, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& index) { OnDoubleClick(index.row()); });
    connect(table, &QTreeView::customContextMenuRequested, this, [this, table, list](QPoint point) {
        const QModelIndex index = table->indexAt(point);
        // A row of a selection keeps the selection, as in the list.
        const QModelIndex item = index.siblingAtColumn(list->modelColumn());
        if (index.isValid() && !table->selectionModel()->isSelected(item)) {
            table->selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        if (busy_ == 0) {
            ShowPopupMenu(index.isValid() ? index.row() : -1,
                          table->viewport()->mapToGlobal(point));
        }
    });
}

ui::CListView* CMainDialog::List() const {
    return ListView(kListControl);
}

// ---------------------------------------------------------------- size and place

// The list takes every pixel the window gains; the buttons stay at the bottom, "?" at the right.
void CMainDialog::OnSize(const QSize& clientSize) {
    const ui::DialogTemplate* layout = Template();
    ui::CListView* list = List();
    if (layout == nullptr || list == nullptr) {
        return;
    }
    const QSize designed(ui::DluToPixelsX(layout->width, BaseUnits()),
                         ui::DluToPixelsY(layout->height, BaseUnits()));
    const int grownX = clientSize.width() - designed.width();
    const int grownY = clientSize.height() - designed.height();
    for (const ui::ControlTemplate& control : layout->controls) {
        QWidget* widget = GetDlgItem(control.id);
        if (widget == nullptr) {
            continue;
        }
        QRect place = MapDialogRect(control.rect);
        if (control.id == kListControl) {
            place.setSize(place.size() + QSize(grownX, grownY));
        } else {
            place.translate(control.id == kAboutButton ? grownX : 0, grownY);
            if (control.id == kFilterLabel) {
                place.setWidth(place.width() + grownX);
            }
        }
        widget->setGeometry(place);
    }
    if (details_ != nullptr) {
        details_->setGeometry(list->geometry());
    }
    viewTrace_.start();
}

// How many rows the list shows whole without scrolling, once a resize has settled.
void CMainDialog::TraceRowsInView() const {
    const ui::CListView* list = List();
    if (list == nullptr || !list->isVisible()) {
        return;
    }
    int inView = 0;
    for (int row = 0; row < list->ItemCount(); ++row) {
        const QRect place = list->ItemRect(row);
        inView += place.isValid() && list->viewport()->rect().contains(place) ? 1 : 0;
    }
    DebugTrace("List : %d of %d rows in view", inView, list->ItemCount());
}

void CMainDialog::RestorePlacement() {
    const ui::DialogTemplate* layout = Template();
    if (layout != nullptr) {
        setMinimumSize(size());  // the designed size: nothing smaller has room for the buttons
    }
    if (!settings_.placement) {
        return;
    }
    const WindowPlacement& place = *settings_.placement;
    const QRect stored(place.left, place.top, std::max(place.width, minimumWidth()),
                       std::max(place.height, minimumHeight()));
    // A place on a screen that is no longer there would put the window out of sight.
    const bool onScreen = std::any_of(
        QGuiApplication::screens().begin(), QGuiApplication::screens().end(),
        [&](const QScreen* screen) { return screen->availableGeometry().intersects(stored); });
    const auto apply = [this, stored, onScreen, maximized = place.maximized] {
        resize(stored.size());
        if (onScreen) {
            move(stored.topLeft());
        }
        if (maximized) {
            setWindowState(windowState() | Qt::WindowMaximized);
        }
    };
    apply();
    // Once more when the window is on screen: showing a dialog may place it by its own rules.
    QMetaObject::invokeMethod(this, apply, Qt::QueuedConnection);
}

void CMainDialog::SavePlacement() const {
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    if (!normal.isValid()) {
        return;
    }
    SaveWindowPlacement(
        WindowPlacement{normal.x(), normal.y(), normal.width(), normal.height(), isMaximized()},
        addressBook_.hive);
}

// ---------------------------------------------------------------- keys

// Neither Enter nor Escape closes the main window: in the list Enter opens the projector and
// Escape clears the typed filter. F5 refreshes; Delete, the menu key and Shift+F10 act on the
// selected row; Ctrl+D switches the view.
ui::KeyRoute CMainDialog::PreTranslateKeyPress(const QKeyEvent& event) {
    const QWidget* focus = focusWidget();
    const bool inList = focus != nullptr && (focus == List() || focus == details_);
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int current = List() != nullptr && List()->currentIndex().isValid()
                            ? List()->currentIndex().row()
                            : -1;
    if (event.key() == Qt::Key_F5 && modifiers == Qt::NoModifier) {
        RunGuarded([this] { Refresh(true); });
        return ui::KeyRoute::Swallow;
    }
    if (event.key() == Qt::Key_D && modifiers == Qt::ControlModifier) {
        SetDetailsView(!IsDetailsView());
        return ui::KeyRoute::Swallow;
    }
    if (inList && ui::IsMenuKey(event)) {
        const auto* view = static_cast<const QAbstractItemView*>(focus);
        const QRect place = view->visualRect(view->currentIndex());
        if (busy_ == 0) {
            ShowPopupMenu(current, view->viewport()->mapToGlobal(
                                       place.isValid() ? place.center() : QPoint(0, 0)));
        }
        return ui::KeyRoute::Swallow;
    }
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (inList && modifiers == Qt::NoModifier) {
                OnDoubleClick(current);
                return ui::KeyRoute::Swallow;
            }
            return ui::KeyRoute::ControlOnly;
        case Qt::Key_Escape:
            if (inList) {
                SetFilterText({});
                return ui::KeyRoute::Swallow;
            }
            return ui::KeyRoute::ControlOnly;
        case Qt::Key_Backspace:
            if (inList) {
                SetFilterText(FilterText().chopped(FilterText().isEmpty() ? 0 : 1));
                return ui::KeyRoute::Swallow;
            }
            return ui::KeyRoute::Default;
        case Qt::Key_Delete:
            if (inList && modifiers == Qt::NoModifier) {
                OnDeleteKey();
                return ui::KeyRoute::Swallow;
            }
            return ui::KeyRoute::Default;
        default:
            return ui::KeyRoute::Default;
    }
}

// ---------------------------------------------------------------- views and filter

void CMainDialog::SetDetailsView(bool details) {
    ui::CListView* list = List();
    if (list == nullptr || details_ == nullptr) {
        return;
    }
    const bool focused = list->hasFocus() || details_->hasFocus();
    list->setVisible(!details);
    details_->setVisible(details);
    QAbstractItemView* shown = details ? static_cast<QAbstractItemView*>(details_) : list;
    if (shown->currentIndex().isValid()) {
        shown->scrollTo(shown->currentIndex());
    }
    if (focused) {
        shown->setFocus(Qt::OtherFocusReason);
    }
}

bool CMainDialog::IsDetailsView() const {
    return details_ != nullptr && !details_->isHidden();
}

void CMainDialog::SetFilterText(const QString& text) {
    if (text == FilterText()) {
        return;
    }
    rows_->Shown().SetFilterText(text);
    ShowFilter();
    DebugTrace("Filter : %d of %d projectors shown",
               rows_->Shown().rowCount() - static_cast<int>(kFixedRowCount),
               rows_->Model().ProjectorCount());
}

QString CMainDialog::FilterText() const {
    return rows_->Shown().FilterText();
}

void CMainDialog::ShowFilter() {
    const QString filter = FilterText();
    SetDlgItemText(kFilterLabel,
                   FormatString(kStringFilterShown, UserLanguage(), {ui::ToUtf8(filter)}));
    ShowDlgItem(kFilterLabel, !filter.isEmpty());
}

// ---------------------------------------------------------------- closing

void CMainDialog::OnOK() {}

void CMainDialog::OnCancel() {}

// The close request: the address book and the window's place are written, then the window
// ends (and with it the run).
void CMainDialog::OnClose() {
    if (healthWatch_) {
        healthWatch_->Stop();
    }
    if (presenceWatch_) {
        presenceWatch_->Stop();
    }
    SaveAddressBook();
    SavePlacement();
    SaveListView();
    EndDialog(ui::IDCANCEL);
}

void CMainDialog::SaveAddressBook() {
    // A book that was never loaded is empty only here: writing it would wipe the stored one.
    if (addressBookPending_ != 0) {
        return;
    }
    lanterna::SaveAddressBook(addressBook_.book, addressBook_.hive);
}

int CMainDialog::ShowMessage(int stringId, unsigned flags) {
    return ui::ShowStringMessage(this, stringId, flags);
}

// A command that opens modal dialogs must not start again from a double-click that arrives
// while it runs; input queued meanwhile is dispatched while still busy, so it is dropped. Nor
// may one start between a drop and the apply it posted: the dropped record is already merged.
void CMainDialog::RunGuarded(const std::function<void()>& command) {
    if (busy_ != 0 || dropPending_) {
        return;
    }
    busy_ = 1;
    command();
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    busy_ = 0;
}

// ---------------------------------------------------------------- rows and records

int CMainDialog::IndexOfRecord(const ProjectorRecord* record) const {
    int found = -1;
    state_.projectors.ForEach([&](std::size_t index, const ProjectorRecord& listed) {
        if (found < 0 && &listed == record) {
            found = static_cast<int>(index);
        }
    });
    return record != nullptr ? found : -1;
}

int CMainDialog::IndexOfRow(int row) const {
    return IndexOfRecord(rows_->EntryAt(row).record);
}

void CMainDialog::SelectRecord(const ProjectorRecord* record) {
    if (ui::CListView* list = List()) {
        list->SelectRow(rows_->ShownRowOf(record), false);
    }
}

void CMainDialog::OnDoubleClick(int row) {
    const ListEntry entry = rows_->EntryAt(row);
    if (!entry.IsFixed() && !entry.IsProjector()) {
        return;
    }
    RunGuarded([this, entry] {
        droppedFile_ = 0;
        switch (entry.fixedRow) {
            case 0:
                ConnectByAddress();
                break;
            case 1:
            case 2:
                if (services_.runConfigFile) {
                    services_.runConfigFile(*this, entry.fixedRow == 2);
                }
                break;
            default:
                state_.selectedIndex = IndexOfRecord(entry.record);
                OpenSelected();
                break;
        }
    });
}

// ---------------------------------------------------------------- presence

GreetedList CMainDialog::ListedAddresses() const {
    // An address listed more than once is greeted once: with a hello when any of its records
    // answered one.
    std::map<std::string, Greeting> wayOf;
    state_.projectors.ForEach([&](std::size_t, const ProjectorRecord& record) {
        const Greeting way = GreetingOf(record);
        const auto [entry, added] = wayOf.try_emplace(FormatDotted(record.ipAddress), way);
        if (!added && way == Greeting::kHello) {
            entry->second = way;
        }
    });
    GreetedList list;
    list.addresses.reserve(wayOf.size());
    list.ways.reserve(wayOf.size());
    for (const auto& [address, way] : wayOf) {
        list.addresses.push_back(address);
        list.ways.push_back(way);
    }
    return list;
}

void CMainDialog::OnPresenceRound(const std::vector<std::string>& addresses,
                                  const std::vector<bool>& answered) {
    std::vector<bool> wasSilent;
    for (const std::string& address : addresses) {
        wasSilent.push_back(presence_.SilentSince(address).has_value());
    }
    presence_.Record(addresses, answered, std::time(nullptr));
    for (std::size_t i = 0; i < addresses.size() && i < answered.size(); ++i) {
        if (wasSilent[i] == answered[i]) {  // it changed
            const auto since = presence_.SilentSince(addresses[i]);
            if (since) {
                DebugTrace("Presence : %s not answering since %s", addresses[i].c_str(),
                           ClockText(*since).c_str());
            } else {
                DebugTrace("Presence : %s answering", addresses[i].c_str());
            }
        }
    }
    rows_->Model().PresenceChanged();
}

}  // namespace lanterna::dialogs
