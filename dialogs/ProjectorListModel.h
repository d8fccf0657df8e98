#pragma once
// The rows of the main list and the one place where a row becomes a record.
//
// CProjectorListModel holds one row per fixed command row and one per projector record, in the
// order the records were listed; a record is referred to by its address in memory, which the
// projector list keeps stable until the record is removed. CProjectorSortFilter shows them:
// the fixed rows first, then the projectors sorted by a column (by name by default), ties by
// name, then address, then origin, so that the order is the same after every refresh and
// every write; typed text keeps only the projectors whose name or address contains it.
// CProjectorRows joins the two and answers, for the rows a view shows, which fixed row or
// which records they are (the selection included, one row or several).
//
// Columns: the label the icon view shows ("name\naddress"), then the details view's name,
// address, module type, interface and state. The list says only what is known: the interface
// once the projector has been read (until then, and for module type 0, which no projector has,
// "—"). Presence (CPresenceBook) greys a projector that
// has stopped answering and says since when in its tooltip and accessible description.
//
// Health (fleet::CHealthBook, read over PJLink in the background) fills the columns power, lamp
// hours, errors and model: "—" until the projector has been read, "not reported" where it did
// not say. A projector with an error or a lamp at its threshold carries a small badge on its
// icon, said in its accessible description; the tooltip gives the reading's details.
// User-interface thread only.

#include <QAbstractTableModel>
#include <QIcon>
#include <QSortFilterProxyModel>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "discovery/Presence.h"
#include "fleet/HealthBook.h"
#include "record/ProjectorList.h"

class QItemSelectionModel;

namespace lanterna::dialogs {

enum ListColumn : int {
    kColumnLabel = 0,
    kColumnName,
    kColumnAddress,
    kColumnModuleType,
    kColumnInterface,
    kColumnState,
    kColumnPower,
    kColumnLampHours,
    kColumnErrors,
    kColumnModel,
    kColumnCount
};

// What one row stands for: a fixed command row (0 to 2) or a projector record.
struct ListEntry {
    int fixedRow = -1;
    ProjectorRecord* record = nullptr;

    bool IsFixed() const { return fixedRow >= 0; }
    bool IsProjector() const { return record != nullptr; }
};

class CProjectorListModel : public QAbstractTableModel {
  public:
    // The label and image of fixed row i.
    struct FixedRow {
        QString label;
        int image = 0;
    };
    // `imageOf` gives the icon of an image index; `presence` may be null (nobody is greyed).
    CProjectorListModel(std::vector<FixedRow> fixedRows, std::function<QIcon(int)> imageOf,
                        const CPresenceBook* presence);

    // The fixed rows, then every record of `projectors` in its order.
    void Reset(const ProjectorList& projectors);
    void Append(ProjectorRecord* record);
    void Remove(const ProjectorRecord* record);
    // The record changed (it was written): its row is drawn again and sorted into place.
    void Changed(const ProjectorRecord* record);
    // The presence book changed: every projector row is drawn again.
    void PresenceChanged();
    // Where the health columns come from (null: nowhere, every projector shows "—"), and the
    // lamp hours from which a lamp is badged.
    void SetHealth(const fleet::CHealthBook* health, int lampHoursLimit);
    // The health book changed: every projector row is drawn again.
    void HealthChanged();
    // The health reading of a projector; null when it has none.
    const pjlink::HealthRead* HealthOf(const ProjectorRecord& record) const;
    bool Badged(const ProjectorRecord& record) const;
    // The size of an icon's cell in the icon view (its grid less a margin); none by default.
    void SetCellSize(QSize size) { cellSize_ = size; }

    ListEntry EntryAt(int row) const;
    int RowOf(const ProjectorRecord* record) const;  // -1 for none
    int ProjectorCount() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The row label of a projector and its image index.
    static QString LabelOf(const ProjectorRecord& record);
    static int ImageOf(const ProjectorRecord& record);

  private:
    QVariant ProjectorData(const ProjectorRecord& record, int column, int role) const;
    QString StateText(const ProjectorRecord& record) const;
    QVariant HealthText(const ProjectorRecord& record, int column) const;
    QIcon IconOf(const ProjectorRecord& record, bool silent) const;
    QVariant DescriptionOf(const ProjectorRecord& record, bool silent) const;

    std::vector<FixedRow> fixed_;
    std::function<QIcon(int)> imageOf_;
    const CPresenceBook* presence_;
    const fleet::CHealthBook* health_ = nullptr;
    int lampHoursLimit_ = fleet::kDefaultLampHours;
    mutable std::map<std::pair<int, bool>, QIcon> badgedIcons_;  // by image and greyed
    std::vector<ProjectorRecord*> records_;
    QSize cellSize_;
};

class CProjectorSortFilter : public QSortFilterProxyModel {
  public:
    explicit CProjectorSortFilter(CProjectorListModel& source);
    void SetFilterText(const QString& text);
    const QString& FilterText() const { return filter_; }

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    CProjectorListModel& source_;
    QString filter_;
};

class CProjectorRows {
  public:
    CProjectorRows(std::vector<CProjectorListModel::FixedRow> fixedRows,
                   std::function<QIcon(int)> imageOf, const CPresenceBook* presence);

    CProjectorListModel& Model() { return model_; }
    CProjectorSortFilter& Shown() { return shown_; }

    // What shown row `row` stands for (an empty entry outside the rows).
    ListEntry EntryAt(int row) const;
    // The shown row of `record`, -1 when it is not shown.
    int ShownRowOf(const ProjectorRecord* record) const;
    // The records of the selected rows, in shown order (fixed rows are left out).
    std::vector<ProjectorRecord*> SelectedRecords(const QItemSelectionModel& selection) const;

  private:
    CProjectorListModel model_;
    CProjectorSortFilter shown_;
};

}  // namespace lanterna::dialogs
