// The window as an administrator uses it every day, driven by keys on the list: it says only
// what it knows, a write keeps the user's place, it opens at a size that shows the list and keeps
// its view, and a projector that is switched off can be listed.
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "MainWindowTestSupport.h"
#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "settings/WindowSettings.h"
#include "ui/ListView.h"

namespace mainwindowtest {
namespace {

using lanterna::dialogs::kColumnInterface;
using lanterna::dialogs::kColumnLabel;
using lanterna::dialogs::kColumnModuleType;
using lanterna::dialogs::kColumnName;
using lanterna::dialogs::kColumnState;

class DailyUseTest : public MainWindowTest {
  protected:
    lanterna::HiveFile Hive() const { return {TempPath("hive"), lanterna::RealFileSeam()}; }
    ui::CListView& List() const { return *window->ListView(CMainDialog::kListControl); }
    QString Cell(const std::string& name, int column) const {
        return List().model()->index(RowOf(name), column).data().toString();
    }
    // Selects the row of `name` and presses Enter on it, as the user opens a projector.
    void OpenWithEnter(const std::string& name) {
        window->activateWindow();
        List().setFocus();
        List().SelectRow(RowOf(name), true);
        QTest::keyClick(&List(), Qt::Key_Return);
    }
    void AddSites(int count) {
        for (int i = 0; i < count; ++i) {
            found.push_back(MakeProjector("ROOM-" + std::to_string(200 + i),
                                          "10.7.0." + std::to_string(i + 1)));
        }
    }
};

// The interface is not known until the projector has been read; module type 0 (found by the
// secondary search alone) is no module type.
TEST_F(DailyUseTest, TheListSaysOnlyWhatIsKnown) {
    found = {MakeProjector("HALL-1F", "10.1.1.5", 0, 22),
             MakeProjector("ROOM-201", "10.1.1.6", 0, 0)};
    Open();
    const QString unknown = QStringLiteral("\u2014");
    EXPECT_EQ(Cell("HALL-1F", kColumnInterface), unknown);
    EXPECT_EQ(Cell("HALL-1F", kColumnModuleType), "22");
    EXPECT_EQ(Cell("ROOM-201", kColumnInterface), unknown);
    EXPECT_EQ(Cell("ROOM-201", kColumnModuleType), unknown);

    duringOperation = [&](WorkerMode mode) {
        if (mode == WorkerMode::kRead) {  // what the read worker stores
            ProjectorRecord* record = state->SelectedRecord();
            record->wirelessActive = 1;
            lanterna::CopyText(record->macAddress, "0200AABBCC01");
        }
    };
    operationResults = {1, 1};
    settingsResults = {ui::IDCANCEL};
    OpenWithEnter("HALL-1F");
    EXPECT_EQ(Cell("HALL-1F", kColumnInterface), "무선");
    EXPECT_EQ(Cell("ROOM-201", kColumnInterface), unknown);
}

// After OK in the settings no search runs: the projector written shows its new name and
// address, and the selection and the scroll position stay.
TEST_F(DailyUseTest, AWriteKeepsTheUsersPlace) {
    AddSites(60);
    Open();
    List().scrollToBottom();
    const int scrolled = List().verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    duringSettings = [](ProjectorRecord& record) {
        lanterna::CopyText(record.projectorName, "ROOM-259B");
        record.ipAddress = {10, 7, 0, 99};
        record.ipAddressState = lanterna::kStateChanged;
    };
    operationResults = {1, 1};
    settingsResults = {ui::IDOK};
    OpenWithEnter("ROOM-259");
    ASSERT_EQ(settingsRuns, 1);
    EXPECT_EQ(searches, 1) << "no search and no wait after a write";
    ASSERT_EQ(window->SelectedProjectors().size(), 1u);
    const ProjectorRecord& written = *window->SelectedProjectors().front();
    EXPECT_EQ(lanterna::TextOf(written.projectorName), "ROOM-259B");
    EXPECT_EQ(lanterna::TextOf(written.address), "10.7.0.99");
    EXPECT_EQ(Cell("ROOM-259B", kColumnLabel), "ROOM-259B\n10.7.0.99");
    EXPECT_EQ(List().verticalScrollBar()->value(), scrolled);
    ExpectRowsMatchRecords();
}

// A first start opens large enough for the list, within the screen; the table's columns fit
// their content, the fixed rows' labels too, and keep the widths and the view their user chose.
TEST_F(DailyUseTest, SizesFitTheListAndTheViewIsKeptAcrossStarts) {
    AddSites(40);
    lanterna::CopyText(found[7].projectorName, "DEAN-OFFICE-12");
    Open();
    const QSize designed = window->minimumSize();
    EXPECT_GT(window->width() * window->height(), designed.width() * designed.height());
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->geometry()))
        << window->width() << "x" << window->height();

    window->activateWindow();
    List().setFocus();
    QTest::keyClick(&List(), Qt::Key_D, Qt::ControlModifier);
    QTreeView& table = *window->DetailsView();
    for (const QString& text : {QStringLiteral("DEAN-OFFICE-12"),
                                List().model()->index(1, kColumnName).data().toString()}) {
        EXPECT_GE(table.columnWidth(kColumnName), table.fontMetrics().horizontalAdvance(text))
            << text.toStdString();
    }
    table.header()->resizeSection(kColumnName, 260);  // the user drags the column wider
    table.sortByColumn(lanterna::dialogs::kColumnLampHours, Qt::DescendingOrder);
    window->close();
    Reopen();
    ASSERT_TRUE(window->IsDetailsView());
    EXPECT_EQ(window->DetailsView()->columnWidth(kColumnName), 260);
    EXPECT_EQ(window->DetailsView()->header()->sortIndicatorSection(), lanterna::dialogs::kColumnLampHours);
    EXPECT_EQ(window->DetailsView()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    lanterna::WindowSettings stored;
    ASSERT_EQ(lanterna::LoadWindowSettings(stored, Hive()), 1);
    EXPECT_TRUE(stored.listView.details);
}

// A projector not yet switched on is added by its address all the same, and listed as not
// answering.
TEST_F(DailyUseTest, AProjectorSwitchedOffIsListedAsNotAnswering) {
    Open();
    addressEntryAddress = {10, 9, 9, 9};
    addressEntryResults = {1071};
    window->activateWindow();
    List().setFocus();
    List().SelectRow(0, true);
    QTest::keyClick(&List(), Qt::Key_Return);
    const int row = window->Rows().ShownRowOf(state->SelectedRecord());
    ASSERT_GE(row, 3);
    const QModelIndex state = List().model()->index(row, kColumnState);
    EXPECT_TRUE(state.data().toString().endsWith(QStringLiteral("부터 응답 없음")))
        << state.data().toString().toStdString();
    EXPECT_EQ(List().model()->index(row, kColumnLabel).data(Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::gray));
    EXPECT_EQ(book->ManualEntries().size(), 1u);
}

}  // namespace
}  // namespace mainwindowtest
