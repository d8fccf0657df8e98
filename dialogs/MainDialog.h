#pragma once
// CMainDialog (template 102): the program's main window. It shows the projector list as large
// icons (three fixed command rows, then one row per projector record, index-aligned with the
// state's `projectors`), starts every operation on a projector and keeps the address book in
// step with what the user does. It never talks to a projector itself: the searches and the link
// workers run behind the dialogs its services open (MainDialogServices.h).
//
// The first refresh starts as soon as the window's run has begun, so the window is on screen
// while the search runs behind its wait dialog. User-interface thread only.

#include <QPoint>
#include <string>
#include <vector>

#include "dialogs/MainDialogServices.h"
#include "record/ProjectorRecord.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CMainDialog : public skin::CSkinDialog {
  public:
    static constexpr int kListControl = 1003;
    static constexpr int kRefreshButton = 1004;
    static constexpr int kImportButton = 1073;
    static constexpr int kAboutButton = 1006;

    static constexpr int kSettingsCommand = 32771;
    static constexpr int kDeleteCommand = 32772;
    static constexpr int kChangePasswordCommand = 32773;

    // Posted by the drop handling: OpenProjector for row wParam, and a warning of string wParam.
    static constexpr unsigned kOpenProjectorMessage = ui::WM_USER + 0x123;
    static constexpr unsigned kShowWarningMessage = ui::WM_USER + 0x133;
    // Posted to itself when the window opens: the first refresh.
    static constexpr unsigned kFirstRefreshMessage = ui::WM_USER + 0x140;

    // Rows 0 to 2 are the fixed command rows; row r >= 3 shows projectors[r - 3].
    static constexpr int kFirstProjectorRow = 3;

    // Images of the list, by index: the icons 144, 143, 145, 155, 156.
    static constexpr int kImageConnectByAddress = 0;
    static constexpr int kImageProjectorAdded = 1;
    static constexpr int kImageProjectorFound = 2;
    static constexpr int kImageWiredFile = 3;
    static constexpr int kImageWirelessFile = 4;

    CMainDialog(ApplicationState& state, AddressBookPlace addressBook, MainDialogServices services,
                QWidget* owner = nullptr);
    ~CMainDialog() override;

    // ---- operations (public for the program's own callers and for tests)
    // Rebuilds the rows and the records; with `useAddressBook` the first call of a run loads
    // the address book. Every caller in the program sets it.
    void Refresh(bool useAddressBook = true);
    // Adds the projector of the pending address, name and type (origin 1). 1 added, 0 when the
    // list is full (string 149 with `showMessage`). With `addRow`: its row, the selection and
    // the address-book entry too.
    int AddProjectorByAddress(bool showMessage, bool addRow);
    // Probe, password, read, then the settings dialog or the dropped file's write, for row r.
    void OpenProjector(int row);
    // The menu the right button shows for projector row `row`; empty for rows 0 to 2.
    std::vector<MenuCommand> PopupMenuFor(int row) const;
    // Writes the address book to its hive (the close request does this), once it has been
    // loaded: before the first refresh there is nothing of it in memory to write.
    void SaveAddressBook();

    // ---- what the user does, as the window's handlers run it
    void OnDoubleClick(int row);
    void OnRightClick();
    void OnFilesDropped(QPoint point, const std::vector<std::string>& paths);
    void OnImport();
    void OnDelete();
    void OnSettingsCommand();

    bool IsBusy() const { return busy_ != 0; }
    bool DroppedFile() const { return droppedFile_ != 0; }
    bool AddressBookPending() const { return addressBookPending_ != 0; }
    int NextRow() const { return nextRow_; }
    const ProjectorRecord& DroppedBackup() const { return droppedBackup_; }
    ApplicationState& State() { return state_; }
    const AddressBook& Book() const { return addressBook_.book; }

    // The row label of a projector: its name, a line feed, its dotted address.
    static std::string RowLabelOf(const ProjectorRecord& record);
    static int RowImageOf(const ProjectorRecord& record);

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    ui::KeyRoute PreTranslateKeyPress(const QKeyEvent& event) override;

  private:
    ui::CListView* List() const;
    void SetUpList();
    void InsertFixedRows();
    int InsertProjectorRow(const ProjectorRecord& record);
    int ShowMessage(int stringId, unsigned flags);

    // Steps 2 to 6 of OpenProjector on the selected record; false when the road ended early
    // (the link is then closed and a dropped file undone).
    bool OpenSelected();
    bool ProbeAndRead(ProjectorRecord& record);
    bool ApplySettingsDialog(ProjectorRecord& record);
    bool ApplyDroppedFile(ProjectorRecord& record);
    void EndOpenFailed(ProjectorRecord* record);
    void RestoreDroppedRecord(ProjectorRecord* record);
    void ConnectByAddress();
    int FindRecordOfAddress(const Octets& address) const;
    // Runs a double-click command once at a time (`busy`).
    template <class Command>
    void RunGuarded(Command command);

    ApplicationState& state_;
    AddressBookPlace addressBook_;
    MainDialogServices services_;

    int nextRow_ = 0;
    int addressBookPending_ = 1;
    int busy_ = 0;
    int droppedFile_ = 0;
    bool dropPending_ = false;  // a drop has posted its apply, which has not run yet
    ProjectorRecord droppedBackup_{};
};

}  // namespace lanterna::dialogs
