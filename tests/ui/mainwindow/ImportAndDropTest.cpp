// The import of a Sentro list file and the road of a dropped settings file.
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>
#include <cstring>
#include <fstream>

#include "MainWindowTestSupport.h"
#include "platform/FixedText.h"
#include "settings/SettingsFile.h"
#include "ui/ListView.h"

namespace mainwindowtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string SentroList(int count, int firstHost = 1) {
    std::string text = "[PROJECTOR]\r\nCount=" + std::to_string(count) + "\r\n";
    char key[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(key, sizeof key, "%03d", i);
        text += std::string("Name_") + key + "=IMP" + std::to_string(i) + "\r\n";
        text += std::string("Address_") + key + "=10.9." + std::to_string((firstHost + i) / 200) +
                "." + std::to_string((firstHost + i) % 200 + 1) + "\r\n";
        text += std::string("IMType_") + key + "=21\r\n";
    }
    return text;
}

// ---- import -------------------------------------------------------------------------------

class ImportTest : public MainWindowTest {};

TEST_F(ImportTest, PastTheLimitTheFirstAreKeptWithOneMessageAndAsManyBookEntries) {
    const std::size_t limit = lanterna::ProjectorList::kDisplayLimit;
    Open();
    listFile = TempPath("monitor.ini");
    WriteText(listFile, SentroList(static_cast<int>(limit) + 6));
    window->ClickButton(CMainDialog::kImportButton);
    EXPECT_THAT(ShownIds(), ElementsAre(149));
    EXPECT_EQ(state->projectors.Size(), limit);
    EXPECT_EQ(book->Size(), limit);
    EXPECT_EQ(book->ManualTypes().front(), "21");
    EXPECT_EQ(Images().back(), 1);
    EXPECT_EQ(state->projectors.At(static_cast<std::ptrdiff_t>(limit) - 1)->origin, 2);
    ExpectRowsMatchRecords();
}

TEST_F(ImportTest, ImportBehindFoundProjectorsStopsAtTheLimitCountedOverTheWholeList) {
    const std::size_t limit = lanterna::ProjectorList::kDisplayLimit;
    for (std::size_t i = 0; i + 4 < limit; ++i) {
        found.push_back(MakeProjector("F" + std::to_string(i), "10.2." + std::to_string(i / 200) +
                                                                  "." + std::to_string(i % 200 + 1)));
    }
    Open();
    listFile = TempPath("monitor.ini");
    WriteText(listFile, SentroList(10));
    window->ClickButton(CMainDialog::kImportButton);
    EXPECT_THAT(ShownIds(), ElementsAre(149));
    EXPECT_EQ(state->projectors.Size(), limit);
    EXPECT_EQ(book->Size(), 4u);
    ExpectRowsMatchRecords();
}

TEST_F(ImportTest, ListWithoutProjectorsShowsString123AndCancelDoesNothing) {
    Open();
    window->ClickButton(CMainDialog::kImportButton);  // no file chosen
    EXPECT_THAT(ShownIds(), IsEmpty());
    listFile = TempPath("empty.ini");
    WriteText(listFile, "[PROJECTOR]\r\nCount=0\r\n");
    window->ClickButton(CMainDialog::kImportButton);
    EXPECT_THAT(ShownIds(), ElementsAre(123));
    EXPECT_TRUE(state->projectors.Empty());
}

TEST_F(ImportTest, ImportedProjectorsAreDeletableAndGoneFromTheBook) {
    Open();
    listFile = TempPath("monitor.ini");
    WriteText(listFile, SentroList(2));
    window->ClickButton(CMainDialog::kImportButton);
    ASSERT_EQ(book->Size(), 2u);
    window->ListView(CMainDialog::kListControl)->SelectRow(3);
    menuChoice = CMainDialog::kDeleteCommand;
    window->SendCommand(CMainDialog::kListControl, ui::Notify::RightClicked);
    EXPECT_EQ(book->Size(), 1u);
    EXPECT_EQ(state->projectors.Size(), 1u);
    ExpectRowsMatchRecords();
}

// ---- dropped settings files ---------------------------------------------------------------

class DropTest : public MainWindowTest {
  protected:
    void SetUp() override {
        ProjectorRecord known = MakeProjector("KNOWN", "10.1.1.5");
        lanterna::CopyText(known.macAddress, "00a0b0c0d0e0");
        found = {known, MakeProjector("UNKNOWN", "10.1.1.6")};
        historyFolder = TempPath("history");
        Open();
        ProjectorRecord settings{};
        lanterna::CopyText(settings.macAddress, "00A0B0C0D0E0");
        lanterna::CopyText(settings.projectorName, "FROMFILE");
        settings.ipAddress = {10, 1, 1, 50};
        settings.subnetMask = {255, 255, 0, 0};
        lanterna::CopyText(settings.password, "filepw");
        settingsFile = TempPath("saved.INI");
        ASSERT_EQ(lanterna::WriteSettingsFile(settings, settingsFile), 1);
        lanterna::CopyText(state->projectors.At(0)->password, "own");
        std::memcpy(&before, state->projectors.At(0), sizeof before);
    }
    bool RecordUnchanged() const { return before == *state->projectors.At(0); }

    std::string settingsFile;
    ProjectorRecord before{};
};

TEST_F(DropTest, FixedRowsAndEmptySpaceIgnoreTheDrop) {
    for (int row : {0, 1, 2, -1}) {
        DropOnRow(row, {settingsFile});
    }
    EXPECT_THAT(ShownIds(), IsEmpty());
    EXPECT_THAT(operations, IsEmpty());
    EXPECT_TRUE(RecordUnchanged());
}

TEST_F(DropTest, SeveralFilesOrAnotherExtensionShowString124) {
    DropOnRow(3, {settingsFile, settingsFile});
    const std::string text = TempPath("saved.txt");
    WriteText(text, "[FILE]\r\n");
    DropOnRow(3, {text});
    EXPECT_THAT(ShownIds(), ElementsAre(124, 124));
    EXPECT_THAT(operations, IsEmpty());
    EXPECT_TRUE(RecordUnchanged());
}

TEST_F(DropTest, UnreadableFileOrForeignHardwareAddressOrRefusedValueShowString123) {
    DropOnRow(3, {TempPath("missing.ini")});
    ProjectorRecord other{};
    lanterna::CopyText(other.macAddress, "00a0b0c0d0ff");
    lanterna::CopyText(other.projectorName, "OTHER");
    const std::string foreign = TempPath("other.ini");
    ASSERT_EQ(lanterna::WriteSettingsFile(other, foreign), 1);
    DropOnRow(3, {foreign});
    const std::string refused = TempPath("refused.ini");
    WriteText(refused, "[FILE]\r\nNM_INIVER=200\r\n[NETWORK]\r\nNM_DHCP=2\r\n");
    DropOnRow(3, {refused});
    EXPECT_THAT(ShownIds(), ElementsAre(123, 123, 123));
    EXPECT_NE(ui::test::ShownMessages().back().text.find("[NETWORK] NM_DHCP=2: "),
              std::string::npos);
    EXPECT_THAT(operations, IsEmpty());
    EXPECT_TRUE(RecordUnchanged());
}

TEST_F(DropTest, AnsweringNoRestoresTheRecordByteForByte) {
    operationResults = {1, 1};
    ui::test::AnswerNextMessage(ui::IDNO);
    DropOnRow(3, {settingsFile});
    EXPECT_THAT(ShownIds(), ElementsAre(109));
    ASSERT_EQ(operations.size(), 2u);
    EXPECT_EQ(operations[0].mode, WorkerMode::kProbe);
    EXPECT_EQ(operations[1].mode, WorkerMode::kRead);
    EXPECT_EQ(operations[1].readAllSettings, 1);  // all of it, for the history
    EXPECT_TRUE(RecordUnchanged());
    EXPECT_EQ(searches, 1);
}

TEST_F(DropTest, NothingElseStartsBetweenTheDropAndItsApply) {
    operationResults = {1, 1};
    ui::test::AnswerNextMessage(ui::IDNO);
    ui::CListView* list = window->ListView(CMainDialog::kListControl);
    emit list->filesDropped(list->ItemRect(3).center(), {settingsFile});
    window->ClickButton(CMainDialog::kRefreshButton);
    window->OnDoubleClick(4);
    emit list->filesDropped(list->ItemRect(4).center(), {settingsFile});
    EXPECT_EQ(searches, 1);
    EXPECT_THAT(operations, IsEmpty());
    PumpEvents();
    ASSERT_EQ(operations.size(), 2u);
    EXPECT_EQ(operations[0].currentAddress, "10.1.1.5");
    EXPECT_TRUE(RecordUnchanged());
    EXPECT_EQ(lanterna::TextOf(state->projectors.At(1)->projectorName), "UNKNOWN");
}

TEST_F(DropTest, FailedWriteRestoresTheRecord) {
    operationResults = {1, 1, 2};
    ui::test::AnswerNextMessage(ui::IDYES);
    DropOnRow(3, {settingsFile});
    ASSERT_EQ(operations.size(), 3u);
    EXPECT_EQ(operations[2].mode, WorkerMode::kWrite);
    EXPECT_TRUE(RecordUnchanged());
    EXPECT_EQ(searches, 1);
}

// Where the settings as read cannot be kept, nothing is sent and the user is told.
TEST_F(DropTest, HistoryThatCannotBeKeptSendsNothing) {
    WriteText(TempPath("history"), "a file where the folder would be");
    operationResults = {1, 1};
    ui::test::AnswerNextMessage(ui::IDYES);
    DropOnRow(3, {settingsFile});
    EXPECT_THAT(ShownIds(), ElementsAre(109, 266));
    EXPECT_EQ(operations.size(), 2u);  // the probe and the read; no write
    EXPECT_TRUE(RecordUnchanged());
    EXPECT_FALSE(state->link);
}

// A dropped file passes the write gate like every road: an address another listed projector
// has is refused with a message, and nothing is sent.
TEST_F(DropTest, TheWriteGateRefusesAnAddressAnotherListedProjectorHas) {
    ProjectorRecord settings{};
    lanterna::CopyText(settings.macAddress, "00A0B0C0D0E0");
    lanterna::CopyText(settings.projectorName, "FROMFILE");
    settings.ipAddress = {10, 1, 1, 6};
    settings.subnetMask = {255, 255, 0, 0};
    const std::string taken = TempPath("taken.ini");
    ASSERT_EQ(lanterna::WriteSettingsFile(settings, taken), 1);
    operationResults = {1, 1};
    ui::test::AnswerNextMessage(ui::IDYES);
    DropOnRow(3, {taken});
    EXPECT_THAT(ShownIds(), ElementsAre(109, 132));
    EXPECT_EQ(operations.size(), 2u);  // the probe and the read; no write
    EXPECT_TRUE(RecordUnchanged());
}

TEST_F(DropTest, FailedProbeOrRefusedPasswordRestoresTheRecord) {
    operationResults = {-1};
    DropOnRow(3, {settingsFile});
    EXPECT_TRUE(RecordUnchanged());
    operationResults = {2};
    passwordResults = {ui::IDCANCEL};
    DropOnRow(3, {settingsFile});
    EXPECT_TRUE(RecordUnchanged());
    EXPECT_EQ(operations.size(), 2u);
}

TEST_F(DropTest, MergedRecordIsWrittenAndShownWithoutASearch) {
    ProjectorRecord atWrite{};
    duringOperation = [&](WorkerMode mode) {
        if (mode == WorkerMode::kWrite) {
            std::memcpy(&atWrite, state->SelectedRecord(), sizeof atWrite);
        }
    };
    operationResults = {2, 1, 1};
    passwordResults = {ui::IDOK};
    ui::test::AnswerNextMessage(ui::IDYES);
    DropOnRow(3, {settingsFile});
    ASSERT_EQ(operations.size(), 3u);
    EXPECT_TRUE(operations[1].passwordEntered);
    EXPECT_EQ(operations[2].mode, WorkerMode::kWrite);
    EXPECT_EQ(lanterna::TextOf(atWrite.projectorName), "FROMFILE");
    EXPECT_EQ(lanterna::TextOf(atWrite.password), "pw");
    EXPECT_EQ(atWrite.writeAll, 1);
    EXPECT_EQ(searches, 1);
    EXPECT_NE(RowOf("FROMFILE"), -1) << "its row shows what was written";
    EXPECT_FALSE(state->link);
}

TEST_F(DropTest, MergeKeepsAddressPasswordAndOriginAndTakesTheFileMacWhenUnknown) {
    // The merged record as the write takes it; the failed write's restore then undoes it.
    ProjectorRecord* unknown = state->projectors.At(1);
    ProjectorRecord seen{};
    duringOperation = [&](WorkerMode mode) {
        if (mode == WorkerMode::kWrite) {
            std::memcpy(&seen, state->SelectedRecord(), sizeof seen);
        }
    };
    operationResults = {1, 1, 2};
    ui::test::AnswerNextMessage(ui::IDYES);
    ui::CListView* list = window->ListView(CMainDialog::kListControl);
    emit list->filesDropped(list->ItemRect(4).center(), {settingsFile});
    PumpEvents();
    EXPECT_EQ(lanterna::TextOf(seen.projectorName), "FROMFILE");
    EXPECT_EQ(lanterna::TextOf(seen.address), "10.1.1.6");
    EXPECT_EQ(seen.ipAddress, (lanterna::Octets{10, 1, 1, 50}));
    EXPECT_EQ(lanterna::TextOf(seen.macAddress), "00A0B0C0D0E0");
    EXPECT_EQ(lanterna::TextOf(seen.password), "");
    EXPECT_EQ(seen.origin, 0);
    EXPECT_EQ(seen.writeAll, 1);
    EXPECT_TRUE(window->DroppedFile());
    EXPECT_EQ(lanterna::TextOf(unknown->projectorName), "UNKNOWN");  // restored
}

// The table of details takes a file dropped on a row (a real drop on its viewport) the road the
// icons take it; beside the rows, the drop does nothing.
TEST_F(DropTest, TheDetailsViewTakesAFileDroppedOnARow) {
    window->SetDetailsView(true);
    QTreeView& table = *window->DetailsView();
    table.resize(600, 300);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(settingsFile))});
    const auto dropAt = [&](QPoint point) {
        QDragEnterEvent enter(point, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(table.viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(point, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(table.viewport(), &drop);
        PumpEvents();
    };
    dropAt(QPoint(table.viewport()->width() - 2, table.viewport()->height() - 2));
    EXPECT_THAT(operations, IsEmpty());

    operationResults = {1, 1};
    ui::test::AnswerNextMessage(ui::IDNO);
    const QModelIndex known = table.model()->index(RowOf("KNOWN"), 1);
    dropAt(table.visualRect(known).center());
    EXPECT_THAT(ShownIds(), ElementsAre(109));
    ASSERT_EQ(operations.size(), 2u);
    EXPECT_EQ(operations[0].currentAddress, "10.1.1.5");
    EXPECT_EQ(table.currentIndex().row(), known.row());
    EXPECT_TRUE(RecordUnchanged());
}

}  // namespace
}  // namespace mainwindowtest
