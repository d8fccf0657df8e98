// The main window at a site's scale: the order of the rows, the typed filter, the keys, the
// details view, who is there, the size of the window and its place across runs.
#include <QHeaderView>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>
#include <mutex>
#include <set>

#include "MainWindowTestSupport.h"
#include "platform/FixedText.h"
#include "settings/WindowSettings.h"
#include "ui/ListView.h"

namespace mainwindowtest {
namespace {

using ::testing::ElementsAre;

class SiteScaleTest : public MainWindowTest {
  protected:
    lanterna::HiveFile Hive() const { return {TempPath("hive"), lanterna::RealFileSeam()}; }
    ui::CListView& List() const { return *window->ListView(CMainDialog::kListControl); }
    std::vector<std::string> ProjectorLabels() const {
        std::vector<std::string> labels = Labels();
        labels.erase(labels.begin(), labels.begin() + 3);
        return labels;
    }
    void FocusList() {
        window->activateWindow();
        List().setFocus();
        ASSERT_TRUE(ui::test::PumpUntil([&] { return List().hasFocus(); }));
    }
};

// ---- order --------------------------------------------------------------------------------

TEST_F(SiteScaleTest, ProjectorsStaySortedByNameThenAddressAcrossRefreshesAndWrites) {
    found = {MakeProjector("ROOM-9", "10.1.1.9"), MakeProjector("HALL-1F", "10.1.1.20"),
             MakeProjector("ROOM-10", "10.1.1.10"), MakeProjector("HALL-1F", "10.1.1.3")};
    Open();
    // Numbers in names by their value, addresses by theirs.
    const std::vector<std::string> sorted{"HALL-1F\n10.1.1.3", "HALL-1F\n10.1.1.20",
                                          "ROOM-9\n10.1.1.9", "ROOM-10\n10.1.1.10"};
    EXPECT_EQ(ProjectorLabels(), sorted);
    std::reverse(found.begin(), found.end());  // the network answers in another order
    window->ClickButton(CMainDialog::kRefreshButton);
    EXPECT_EQ(ProjectorLabels(), sorted);

    // A write shows the projector written; the row still opens that projector.
    operationResults = {1, 1};
    settingsResults = {ui::IDOK};
    window->OnDoubleClick(RowOf("ROOM-10"));
    ASSERT_EQ(operations.size(), 2u);
    EXPECT_EQ(operations[0].currentAddress, "10.1.1.10");
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(ProjectorLabels(), sorted);
    ExpectRowsMatchRecords();
}

// ---- typed filter and keys ----------------------------------------------------------------

TEST_F(SiteScaleTest, TypingNarrowsTheListAndEscapeClearsIt) {
    for (int i = 0; i < 300; ++i) {
        found.push_back(MakeProjector("ROOM-" + std::to_string(100 + i),
                                      "10.5." + std::to_string(i / 200) + "." +
                                          std::to_string(i % 200 + 1)));
    }
    Open();
    FocusList();
    QTest::keyClicks(&List(), "room-3");
    EXPECT_EQ(window->FilterText(), "room-3");
    EXPECT_EQ(List().ItemCount(), 3 + 100);  // the fixed rows stay
    QTest::keyClicks(&List(), "99");
    EXPECT_THAT(ProjectorLabels(), ElementsAre("ROOM-399\n10.5.1.100"));
    EXPECT_TRUE(window->IsDlgItemVisible(CMainDialog::kFilterLabel));
    EXPECT_EQ(window->GetDlgItemText(CMainDialog::kFilterLabel), "찾기: room-399");
    QTest::keyClick(&List(), Qt::Key_Backspace);
    EXPECT_EQ(window->FilterText(), "room-39");
    QTest::keyClicks(&List(), "10.5.1.1");  // addresses too
    EXPECT_EQ(List().ItemCount(), 3);
    QTest::keyClick(&List(), Qt::Key_Escape);
    EXPECT_EQ(List().ItemCount(), 303);
    EXPECT_FALSE(window->IsDlgItemVisible(CMainDialog::kFilterLabel));
    EXPECT_TRUE(window->isVisible()) << "Escape must not close the window";
}

TEST_F(SiteScaleTest, KeysOpenRefreshShowTheMenuAndDeleteAfterAQuestion) {
    StoreBook();
    found = {MakeProjector("HALL-1F", "10.1.1.5")};
    Open();
    FocusList();
    List().SelectRow(RowOf("HALL-1F"), true);
    operationResults = {-1};  // the probe fails: the road ends there
    QTest::keyClick(&List(), Qt::Key_Return);
    ASSERT_EQ(operations.size(), 1u);
    EXPECT_EQ(operations[0].currentAddress, "10.1.1.5");

    QTest::keyClick(&List(), Qt::Key_F5);
    EXPECT_EQ(searches, 2);
    QTest::keyClick(&List(), Qt::Key_F10, Qt::ShiftModifier);
    QTest::keyClick(&List(), Qt::Key_Menu);
    EXPECT_EQ(menuRuns, 2);

    // Delete: not for a found projector; for an added one after Yes only.
    QTest::keyClick(&List(), Qt::Key_Delete);
    EXPECT_TRUE(ShownIds().empty());
    List().SelectRow(RowOf("ROOM-201"), true);
    ui::test::AnswerNextMessage(ui::IDNO);
    QTest::keyClick(&List(), Qt::Key_Delete);
    EXPECT_EQ(state->projectors.Size(), 2u);
    ui::test::AnswerNextMessage(ui::IDYES);
    QTest::keyClick(&List(), Qt::Key_Delete);
    EXPECT_THAT(ShownIds(), ElementsAre(412, 412));
    EXPECT_EQ(RowOf("ROOM-201"), -1);
    EXPECT_TRUE(book->ManualEntries().empty());
    ExpectRowsMatchRecords();
}

// ---- details view -------------------------------------------------------------------------

TEST_F(SiteScaleTest, DetailsViewSortsByAnyColumnWithTheFixedRowsFirst) {
    found = {MakeProjector("B-ROOM", "10.1.1.3", 0, 22), MakeProjector("A-ROOM", "10.1.1.7", 0, 30),
             MakeProjector("C-ROOM", "10.1.1.1", 0, 21)};
    Open();
    FocusList();
    QTest::keyClick(&List(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(window->IsDetailsView());
    QTreeView& table = *window->DetailsView();
    EXPECT_EQ(table.model()->headerData(lanterna::dialogs::kColumnAddress, Qt::Horizontal),
              QStringLiteral("주소"));
    for (const bool ascending : {true, false}) {
        table.sortByColumn(lanterna::dialogs::kColumnAddress,
                           ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(window->Rows().EntryAt(row).fixedRow, row) << "ascending " << ascending;
        }
        const std::string first(lanterna::TextOf(window->Rows().EntryAt(3).record->address));
        EXPECT_EQ(first, ascending ? "10.1.1.1" : "10.1.1.7");
    }
    // A row of the table opens the projector it shows.
    operationResults = {-1};
    emit table.doubleClicked(table.model()->index(3, lanterna::dialogs::kColumnName));
    ASSERT_EQ(operations.size(), 1u);
    EXPECT_EQ(operations[0].currentAddress, "10.1.1.7");
    QTest::keyClick(&table, Qt::Key_D, Qt::ControlModifier);
    EXPECT_FALSE(window->IsDetailsView());
}

// ---- who is there -------------------------------------------------------------------------

TEST_F(SiteScaleTest, AProjectorThatStopsAnsweringIsGreyedUntilItAnswersAgain) {
    ASSERT_EQ(lanterna::SavePresencePeriod(200, Hive()), 1);
    std::mutex mutex;
    std::set<std::string> silent;
    std::vector<std::string> greeted;
    presenceRound = [&](const std::vector<std::string>& addresses) {
        std::lock_guard lock(mutex);
        greeted = addresses;
        std::vector<bool> answered;
        for (const std::string& address : addresses) {
            answered.push_back(!silent.contains(address));
        }
        return answered;
    };
    found = {MakeProjector("HALL-1F", "10.1.1.5"), MakeProjector("ROOM-201", "10.1.1.6")};
    Open();
    const auto modelData = [&](const std::string& name, int role) {
        const QAbstractItemModel& shown = *List().model();
        return shown.index(RowOf(name), lanterna::dialogs::kColumnLabel).data(role);
    };
    {
        std::lock_guard lock(mutex);
        silent = {"10.1.1.6"};
    }
    ASSERT_TRUE(ui::test::PumpUntil(
        [&] { return modelData("ROOM-201", Qt::ToolTipRole).toString().contains("응답 없음"); }));
    EXPECT_EQ(modelData("ROOM-201", Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
    // The time the greeting was first missed, in the text's place for it.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-2][0-9]:[0-5][0-9] 부터 응답 없음$"))
                    .match(modelData("ROOM-201", Qt::AccessibleDescriptionRole).toString())
                    .hasMatch());
    EXPECT_FALSE(modelData("HALL-1F", Qt::ToolTipRole).isValid());
    {
        std::lock_guard lock(mutex);
        EXPECT_THAT(greeted, ElementsAre("10.1.1.5", "10.1.1.6"));
        silent.clear();
    }
    ASSERT_TRUE(
        ui::test::PumpUntil([&] { return !modelData("ROOM-201", Qt::ToolTipRole).isValid(); }));
}

// ---- size and place -----------------------------------------------------------------------

TEST_F(SiteScaleTest, ALargerWindowShowsMoreIconsAndComesBackAsLargeWhereItWas) {
    // Not a first start: the window comes back at its designed size.
    ASSERT_EQ(lanterna::SaveWindowPlacement({20, 20, 100, 100, false}, Hive()), 1);
    for (int i = 0; i < 40; ++i) {
        found.push_back(MakeProjector("ROOM-" + std::to_string(200 + i),
                                      "10.6.0." + std::to_string(i + 1)));
    }
    Open();
    const auto inView = [&] {
        int visible = 0;
        for (int row = 0; row < List().ItemCount(); ++row) {
            visible += List().viewport()->rect().contains(List().ItemRect(row)) ? 1 : 0;
        }
        return visible;
    };
    const int before = inView();
    const QSize designed = window->size();
    // Larger, and still within the offscreen screen (800 x 600), which would move it otherwise.
    window->resize(designed + QSize(150, 100));
    ASSERT_TRUE(ui::test::PumpUntil([&] { return inView() > before; }));
    EXPECT_GT(List().width(), designed.width());
    EXPECT_EQ(window->GetDlgItem(CMainDialog::kAboutButton)->geometry().right(),
              List().geometry().right())
        << "\"?\" stays at the right edge of the list";

    PumpEvents();
    const QRect placed = window->geometry();
    window->close();
    lanterna::WindowSettings stored;
    ASSERT_EQ(lanterna::LoadWindowSettings(stored, Hive()), 1);
    ASSERT_TRUE(stored.placement);
    EXPECT_EQ(QRect(stored.placement->left, stored.placement->top, stored.placement->width,
                    stored.placement->height),
              placed);
    Reopen();
    // The offscreen platform settles a window's position on its own schedule: the size is what
    // can be held to here; the place is the one stored, as checked above.
    EXPECT_TRUE(ui::test::PumpUntil([&] { return window->size() == placed.size(); }))
        << window->width() << "x" << window->height();
}

}  // namespace
}  // namespace mainwindowtest
