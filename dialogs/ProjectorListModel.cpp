#include "dialogs/ProjectorListModel.h"

#include <QCollator>
#include <QColor>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <string_view>
#include <tuple>

#include "dialogs/HealthWording.h"
#include "discovery/PjlinkSide.h"
#include "platform/DisplayText.h"
#include "platform/FixedText.h"
#include "resources/StringTable.h"
#include "resources/TextPattern.h"
#include "settings/AddressBook.h"
#include "ui/ListView.h"
#include "ui/Text.h"

namespace lanterna::dialogs {
namespace {

// Images of the list: a projector found by the search, and one added by address or imported.
constexpr int kImageAdded = 1;
constexpr int kImageFound = 2;

QString StringText(int id) {
    return ui::ToQString(LoadString(id));
}

QString NameOf(const ProjectorRecord& record) {
    return ui::ToQString(TextOf(record.projectorName));
}

// What the list shows for what it does not know.
const QString kNotKnownText = QStringLiteral("\u2014");

// The interface in use, known once the projector has been read: the read asks for it before the
// hardware address, which only a read stores. The search tells neither.
QString InterfaceText(const ProjectorRecord& record) {
    if (IsEmptyText(record.macAddress)) {
        return kNotKnownText;
    }
    return StringText(record.wirelessActive != 0 ? kStringInterfaceWireless
                                                 : kStringInterfaceWired);
}

QString FormatWithText(int stringId, std::string_view text) {
    return ui::ToQString(FormatString(stringId, UserLanguage(), {text}));
}

// Names in the order a person expects: letters without regard to case, numbers by their value
// ("ROOM-2" before "ROOM-10").
const QCollator& NameOrder() {
    static const QCollator collator = [] {
        QCollator order(QLocale(QLocale::English, QLocale::UnitedStates));  // not C: no numbers there
        order.setNumericMode(true);
        order.setCaseSensitivity(Qt::CaseInsensitive);
        return order;
    }();
    return collator;
}

// The order of projectors when the sort column ties: name, then the name's exact bytes,
// address (numerically), origin.
int CompareTies(const ProjectorRecord& x, const ProjectorRecord& y) {
    const QString nameX = NameOf(x);
    const QString nameY = NameOf(y);
    if (const int names = NameOrder().compare(nameX, nameY); names != 0) {
        return names;
    }
    if (const int bytes = nameX.compare(nameY); bytes != 0) {
        return bytes;
    }
    const auto rest = [](const ProjectorRecord& record) {
        return std::make_tuple(ToHostOrder(record.ipAddress), record.origin);
    };
    return rest(x) < rest(y) ? -1 : (rest(y) < rest(x) ? 1 : 0);
}

// The icon with the badge of a projector that asks for attention: a red disc with a white
// mark at its lower right, a third of the icon wide.
QIcon WithAttentionBadge(const QIcon& icon, bool greyed) {
    constexpr int kIconSide = 32;
    QPixmap pixmap = icon.pixmap(kIconSide, greyed ? QIcon::Disabled : QIcon::Normal);
    if (pixmap.isNull()) {
        pixmap = QPixmap(kIconSide, kIconSide);
        pixmap.fill(Qt::transparent);
    }
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = pixmap.width() * 3 / 8;
    const QRect disc(pixmap.width() - side, pixmap.height() - side, side, side);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(QColor(204, 32, 32));
    painter.drawEllipse(disc.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::white, 2));
    const int middle = disc.center().x();
    painter.drawLine(middle, disc.top() + 3, middle, disc.bottom() - 5);
    painter.drawPoint(middle, disc.bottom() - 3);
    painter.end();
    return QIcon(pixmap);
}

// Lamp hours to sort by: none read first.
int SortableLampHours(const pjlink::HealthRead* read) {
    if (read == nullptr || read->error != pjlink::LinkError::kNone) {
        return -1;
    }
    return pjlink::MostLampHours(read->health).value_or(-1);
}

}  // namespace

// ---------------------------------------------------------------- the model

CProjectorListModel::CProjectorListModel(std::vector<FixedRow> fixedRows,
                                         std::function<QIcon(int)> imageOf,
                                         const CPresenceBook* presence)
    : fixed_(std::move(fixedRows)), imageOf_(std::move(imageOf)), presence_(presence) {}

void CProjectorListModel::Reset(const ProjectorList& projectors) {
    beginResetModel();
    records_.clear();
    records_.reserve(projectors.Size());
    for (std::size_t i = 0; i < projectors.Size(); ++i) {
        records_.push_back(projectors.At(static_cast<std::ptrdiff_t>(i)));
    }
    endResetModel();
}

void CProjectorListModel::Append(ProjectorRecord* record) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    records_.push_back(record);
    endInsertRows();
}

void CProjectorListModel::Remove(const ProjectorRecord* record) {
    const int row = RowOf(record);
    if (row < 0) {
        return;
    }
    beginRemoveRows({}, row, row);
    records_.erase(records_.begin() + (row - static_cast<int>(fixed_.size())));
    endRemoveRows();
}

void CProjectorListModel::Changed(const ProjectorRecord* record) {
    const int row = RowOf(record);
    if (row >= 0) {
        emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    }
}

void CProjectorListModel::SetHealth(const fleet::CHealthBook* health, int lampHoursLimit) {
    health_ = health;
    lampHoursLimit_ = lampHoursLimit;
    HealthChanged();
}

// The icons and what is said of them, then the health columns: with the roles named, the
// sorting and the filter are touched only when the rows are sorted by a health column.
void CProjectorListModel::HealthChanged() {
    if (records_.empty()) {
        return;
    }
    const int first = static_cast<int>(fixed_.size());
    const int last = rowCount() - 1;
    emit dataChanged(index(first, kColumnLabel), index(last, kColumnName),
                     {Qt::DecorationRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
    emit dataChanged(index(first, kColumnPower), index(last, kColumnModel),
                     {Qt::DisplayRole, Qt::AccessibleTextRole, Qt::ToolTipRole,
                      Qt::AccessibleDescriptionRole});
}

const pjlink::HealthRead* CProjectorListModel::HealthOf(const ProjectorRecord& record) const {
    return health_ != nullptr ? health_->Find(PjlinkAddressOf(record)) : nullptr;
}

bool CProjectorListModel::Badged(const ProjectorRecord& record) const {
    const pjlink::HealthRead* read = HealthOf(record);
    return read != nullptr && fleet::NeedsAttention(*read, lampHoursLimit_);
}

void CProjectorListModel::PresenceChanged() {
    if (!records_.empty()) {
        emit dataChanged(index(static_cast<int>(fixed_.size()), 0),
                         index(rowCount() - 1, kColumnCount - 1));
    }
}

ListEntry CProjectorListModel::EntryAt(int row) const {
    const int fixedCount = static_cast<int>(fixed_.size());
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    if (row < fixedCount) {
        return ListEntry{row, nullptr};
    }
    return ListEntry{-1, records_[static_cast<std::size_t>(row - fixedCount)]};
}

int CProjectorListModel::RowOf(const ProjectorRecord* record) const {
    const auto found = std::find(records_.begin(), records_.end(), record);
    if (record == nullptr || found == records_.end()) {
        return -1;
    }
    return static_cast<int>(fixed_.size()) + static_cast<int>(found - records_.begin());
}

int CProjectorListModel::ProjectorCount() const {
    return static_cast<int>(records_.size());
}

int CProjectorListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fixed_.size() + records_.size());
}

int CProjectorListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

Qt::ItemFlags CProjectorListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant CProjectorListModel::headerData(int section, Qt::Orientation orientation,
                                         int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case kColumnName:
            return StringText(kStringColumnName);
        case kColumnAddress:
            return StringText(kStringColumnAddress);
        case kColumnModuleType:
            return StringText(kStringColumnModuleType);
        case kColumnInterface:
            return StringText(kStringColumnInterface);
        case kColumnState:
            return StringText(kStringColumnState);
        case kColumnPower:
            return StringText(kStringColumnPower);
        case kColumnLampHours:
            return StringText(kStringColumnLampHours);
        case kColumnErrors:
            return StringText(kStringColumnErrors);
        case kColumnModel:
            return StringText(kStringColumnModel);
        default:
            return {};
    }
}

QVariant CProjectorListModel::data(const QModelIndex& index, int role) const {
    // Every icon takes its whole cell, so that a label of three lines is laid out in the cell's
    // width and height rather than in what the style guesses from the icon alone.
    if (role == Qt::SizeHintRole && index.column() == kColumnLabel && cellSize_.isValid()) {
        return cellSize_;
    }
    const ListEntry entry = EntryAt(index.row());
    if (entry.IsProjector()) {
        return ProjectorData(*entry.record, index.column(), role);
    }
    if (!entry.IsFixed()) {
        return {};
    }
    const FixedRow& fixed = fixed_[static_cast<std::size_t>(entry.fixedRow)];
    const bool firstColumn = index.column() == kColumnLabel || index.column() == kColumnName;
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return firstColumn ? QVariant(fixed.label) : QVariant();
        case Qt::DecorationRole:
            return firstColumn && imageOf_ ? QVariant(imageOf_(fixed.image)) : QVariant();
        case ui::kListImageRole:
            return fixed.image;
        case Qt::TextAlignmentRole:
            return index.column() == kColumnLabel
                       ? QVariant(Qt::AlignHCenter | Qt::AlignTop)
                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant CProjectorListModel::ProjectorData(const ProjectorRecord& record, int column,
                                            int role) const {
    const bool silent = presence_ != nullptr && presence_->SilentSince(FormatDotted(record.ipAddress));
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            switch (column) {
                case kColumnLabel:
                    return LabelOf(record);
                case kColumnName:
                    return ui::ToQString(IsolatedForDisplay(TextOf(record.projectorName)));
                case kColumnAddress:
                    return ui::ToQString(FormatDotted(record.ipAddress));
                case kColumnModuleType:
                    return record.imType != 0 ? QString::number(record.imType) : kNotKnownText;
                case kColumnInterface:
                    return InterfaceText(record);
                case kColumnState:
                    return StateText(record);
                default:
                    return HealthText(record, column);
            }
        case Qt::DecorationRole:
            if (!imageOf_ || (column != kColumnLabel && column != kColumnName)) {
                return {};
            }
            return IconOf(record, silent);
        case ui::kListImageRole:
            return ImageOf(record);
        case Qt::ForegroundRole:
            return silent ? QVariant(QColor(Qt::gray)) : QVariant();
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            return DescriptionOf(record, silent);
        case Qt::TextAlignmentRole:
            return column == kColumnLabel ? QVariant(Qt::AlignHCenter | Qt::AlignTop)
                                          : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant CProjectorListModel::HealthText(const ProjectorRecord& record, int column) const {
    if (column < kColumnPower || column > kColumnModel) {
        return {};
    }
    const pjlink::HealthRead* read = HealthOf(record);
    if (read == nullptr || read->error != pjlink::LinkError::kNone) {
        return kNotKnownText;
    }
    switch (column) {
        case kColumnPower:
            return ui::ToQString(PowerWords(read->health));
        case kColumnLampHours:
            return ui::ToQString(LampHoursWords(read->health));
        case kColumnErrors:
            return ui::ToQString(ErrorWords(read->health));
        default:
            return ui::ToQString(IsolatedForDisplay(ModelWords(read->health)));
    }
}

QIcon CProjectorListModel::IconOf(const ProjectorRecord& record, bool silent) const {
    const int image = ImageOf(record);
    if (!Badged(record)) {
        return silent ? QIcon(imageOf_(image).pixmap(32, QIcon::Disabled)) : imageOf_(image);
    }
    auto& badged = badgedIcons_[{image, silent}];
    if (badged.isNull()) {
        badged = WithAttentionBadge(imageOf_(image), silent);
    }
    return badged;
}

// Why a projector is greyed, what asks for attention, then the health reading's details.
QVariant CProjectorListModel::DescriptionOf(const ProjectorRecord& record, bool silent) const {
    QStringList lines;
    if (silent) {
        lines << StateText(record);
    }
    if (const pjlink::HealthRead* read = HealthOf(record)) {
        if (const std::string attention = AttentionWords(*read, lampHoursLimit_);
            !attention.empty()) {
            lines << ui::ToQString(attention);
        }
        lines << ui::ToQString(HealthDetailWords(*read, lampHoursLimit_));
    }
    return lines.isEmpty() ? QVariant() : QVariant(lines.join(QLatin1Char('\n')));
}

QString CProjectorListModel::StateText(const ProjectorRecord& record) const {
    const auto since =
        presence_ != nullptr ? presence_->SilentSince(FormatDotted(record.ipAddress)) : std::nullopt;
    if (since) {
        return FormatWithText(kStringNotAnsweringSince, ClockText(*since));
    }
    return StringText(kStringAnswering);
}

QString CProjectorListModel::LabelOf(const ProjectorRecord& record) {
    // A name cannot reorder its address line: its controls shown, its direction kept to itself.
    const std::string label =
        FormatAddressBookEntry(IsolatedForDisplay(TextOf(record.projectorName)), record.ipAddress);
    return OnlyPjlinkFound(record) ? FormatWithText(kStringPjlinkOnlyLabel, label)
                                   : ui::ToQString(label);
}

int CProjectorListModel::ImageOf(const ProjectorRecord& record) {
    return record.origin == kOriginSearch ? kImageFound : kImageAdded;
}

// ---------------------------------------------------------------- sorting and filtering

CProjectorSortFilter::CProjectorSortFilter(CProjectorListModel& source) : source_(source) {
    setSourceModel(&source_);
    setDynamicSortFilter(true);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    sort(kColumnName, Qt::AscendingOrder);
}

void CProjectorSortFilter::SetFilterText(const QString& text) {
    if (text == filter_) {
        return;
    }
    filter_ = text;
    invalidateFilter();
}

// Fixed rows stay first in either direction: the comparison is turned for them so that the
// view's own reversal of a descending order puts them back in front.
bool CProjectorSortFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const ListEntry a = source_.EntryAt(left.row());
    const ListEntry b = source_.EntryAt(right.row());
    const bool ascending = sortOrder() == Qt::AscendingOrder;
    if (a.IsFixed() || b.IsFixed()) {
        if (a.IsFixed() && b.IsFixed()) {
            return ascending ? a.fixedRow < b.fixedRow : a.fixedRow > b.fixedRow;
        }
        return a.IsFixed() == ascending;
    }
    if (!a.IsProjector() || !b.IsProjector()) {
        return false;
    }
    const ProjectorRecord& x = *a.record;
    const ProjectorRecord& y = *b.record;
    switch (left.column()) {
        case kColumnAddress:
            if (x.ipAddress != y.ipAddress) {
                return ToHostOrder(x.ipAddress) < ToHostOrder(y.ipAddress);
            }
            break;
        case kColumnModuleType:
            if (x.imType != y.imType) {
                return x.imType < y.imType;
            }
            break;
        case kColumnLampHours: {
            const int hoursX = SortableLampHours(source_.HealthOf(x));
            const int hoursY = SortableLampHours(source_.HealthOf(y));
            if (hoursX != hoursY) {
                return hoursX < hoursY;
            }
            break;
        }
        case kColumnInterface:
        case kColumnState:
        case kColumnPower:
        case kColumnErrors:
        case kColumnModel: {
            const int order = QString::localeAwareCompare(left.data().toString(),
                                                          right.data().toString());
            if (order != 0) {
                return order < 0;
            }
            break;
        }
        default:
            break;
    }
    return CompareTies(x, y) < 0;
}

bool CProjectorSortFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const ListEntry entry = source_.EntryAt(sourceRow);
    if (filter_.isEmpty() || !entry.IsProjector()) {
        return true;
    }
    return NameOf(*entry.record).contains(filter_, Qt::CaseInsensitive) ||
           ui::ToQString(FormatDotted(entry.record->ipAddress)).contains(filter_);
}

// ---------------------------------------------------------------- rows to records

CProjectorRows::CProjectorRows(std::vector<CProjectorListModel::FixedRow> fixedRows,
                               std::function<QIcon(int)> imageOf, const CPresenceBook* presence)
    : model_(std::move(fixedRows), std::move(imageOf), presence), shown_(model_) {}

ListEntry CProjectorRows::EntryAt(int row) const {
    const QModelIndex index = shown_.index(row, 0);
    return index.isValid() ? model_.EntryAt(shown_.mapToSource(index).row()) : ListEntry{};
}

int CProjectorRows::ShownRowOf(const ProjectorRecord* record) const {
    const int row = model_.RowOf(record);
    return row < 0 ? -1 : shown_.mapFromSource(model_.index(row, 0)).row();
}

std::vector<ProjectorRecord*> CProjectorRows::SelectedRecords(
    const QItemSelectionModel& selection) const {
    std::vector<int> rows;
    for (const QModelIndex& index : selection.selectedIndexes()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<ProjectorRecord*> records;
    for (const int row : rows) {
        if (const ListEntry entry = EntryAt(row); entry.IsProjector()) {
            records.push_back(entry.record);
        }
    }
    return records;
}

}  // namespace lanterna::dialogs
