#pragma once
// CMainDialog (template 102): the program's main window. It shows the projector list as large
// icons or as a table of details (three fixed command rows first, then the projectors sorted by
// name and address), starts every operation on a projector and keeps the address book in step
// with what the user does. It never talks to a projector itself: the searches and the link
// workers run behind the dialogs its services open (MainDialogServices.h).
//
// Rows become records in one place only, CProjectorRows (ProjectorListModel.h): nothing here
// counts rows to find a record. The window can be resized and maximised (the icons reflow) and
// comes back where and as large as it was. Listed projectors are greeted in the background
// (PresenceWatch.h) and greyed while they do not answer; their health is read over PJLink on the
// same period (HealthWatch.h), beside the records, and badges those that ask for attention.
//
// The first refresh starts as soon as the window's run has begun, so the window is on screen
// while the search runs behind its wait dialog. User-interface thread only.

#include <QPoint>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/MainDialogServices.h"
#include "dialogs/ProjectorListModel.h"
#include "dialogs/PjlinkPasswords.h"
#include "dialogs/SessionPasswords.h"
#include "fleet/HealthBook.h"
#include "fleet/ReadFlow.h"
#include "record/ProjectorRecord.h"
#include "settings/WindowSettings.h"
#include "skin/SkinDialog.h"

class QTreeView;

namespace lanterna::dialogs {

class CHealthWatch;
class CPresenceWatch;
struct GreetedList;

class CMainDialog : public skin::CSkinDialog {
  public:
    static constexpr int kListControl = 1003;
    static constexpr int kRefreshButton = 1004;
    static constexpr int kImportButton = 1073;
    static constexpr int kFilterLabel = 1075;
    static constexpr int kAboutButton = 1006;
    static constexpr std::size_t kFixedRowCount = 3;

    static constexpr int kSettingsCommand = 32771;
    static constexpr int kDeleteCommand = 32772;
    static constexpr int kChangePasswordCommand = 32773;
    static constexpr int kDetailsViewCommand = 32774;
    static constexpr int kOtherSubnetsCommand = 32775;
    static constexpr int kHelpCommand = 32776;
    static constexpr int kAboutCommand = 32777;
    // The commands on a selection of projectors (on one projector, from "Save settings
    // files..." on).
    static constexpr int kApplySettingsFileCommand = 32790;
    static constexpr int kChangePasswordsCommand = 32791;
    static constexpr int kSaveSettingsFilesCommand = 32792;
    static constexpr int kAuditCommand = 32793;
    static constexpr int kExportInventoryCommand = 32794;
    static constexpr int kHealthCommand = 32795;
    static constexpr int kPowerOnCommand = 32796;
    static constexpr int kPowerOffCommand = 32797;

    // Posted by the drop handling: OpenProjector for row wParam, and a warning of string wParam.
    static constexpr unsigned kOpenProjectorMessage = ui::WM_USER + 0x123;
    static constexpr unsigned kShowWarningMessage = ui::WM_USER + 0x133;
    // Posted to itself when the window opens: the first refresh.
    static constexpr unsigned kFirstRefreshMessage = ui::WM_USER + 0x140;

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
    // Rebuilds the records and the rows; with `useAddressBook` the first call of a run loads
    // the address book. Every caller in the program sets it.
    void Refresh(bool useAddressBook = true);
    // Adds the projector of the pending address, name and type (origin 1). 1 added, 0 when the
    // list is full (string 149 with `showMessage`). With `addRow`: its row, the selection and
    // the address-book entry too.
    int AddProjectorByAddress(bool showMessage, bool addRow);
    // Probe, password, read, then the settings dialog or the dropped file's write, for the
    // projector that shown row `row` stands for.
    void OpenProjector(int row);
    // The menu the right button shows for shown row `row`: the commands on a projector, then
    // those on the window; only the window's for a fixed row or no row. With several
    // projectors selected, the commands on a selection instead of those on a projector.
    std::vector<MenuCommand> PopupMenuFor(int row) const;
    // The projectors selected, in shown order (never a fixed row).
    std::vector<ProjectorRecord*> SelectedProjectors() const;
    // Selects the projectors of `records` (and nothing else).
    void SelectProjectors(const std::vector<const ProjectorRecord*>& records);

    // ---- the commands on the selected projectors (jobs on the fleet engine, off the
    // user-interface thread, behind CFleetProgressDialog)
    // Applies a settings file as a template: preview, then the write and its read-back, then
    // the results.
    void OnApplySettingsFile();
    // One new password for every selected projector.
    void OnChangePasswords();
    // The backup of the selected projectors (a folder per run, a settings file per projector, an
    // index) in a folder the user chooses.
    void OnSaveSettingsFiles();
    // The audit's findings in a table.
    void OnAudit();
    // The inventory's rows as a CSV file.
    void OnExportInventory();
    // The health of the selected projectors over PJLink, read now, in a table; a projector that
    // wants a PJLink password the session does not know is asked for it, then read again.
    void OnHealth();
    // Switches the selected projectors on or off over PJLink once the user confirms, asking for
    // the PJLink passwords it lacks as Health... does, and shows the outcome of each.
    void OnPower(bool on);
    // The health readings of the listed projectors, and the PJLink passwords of the session.
    const fleet::CHealthBook& Health() const { return health_; }
    CPjlinkPasswords& PjlinkPasswords() { return pjlinkPasswords_; }
    // Background health rounds that have come back.
    int HealthRoundsDone() const;
    // What the session remembers and keeps of projector passwords.
    CSessionPasswords& Passwords() { return passwords_; }
    // The menu of the "?" button.
    std::vector<MenuCommand> HelpMenu() const;
    // Writes the address book to its hive (the close request does this), once it has been
    // loaded: before the first refresh there is nothing of it in memory to write.
    void SaveAddressBook();
    // Switches between the icons and the table of details.
    void SetDetailsView(bool details);
    bool IsDetailsView() const;
    // Keeps only the projectors whose name or address contains `text` (empty: all).
    void SetFilterText(const QString& text);
    QString FilterText() const;

    // ---- what the user does, as the window's handlers run it
    void OnDoubleClick(int row);
    void OnRightClick();
    // Files dropped on shown row `row` (-1: beside every row) of either view.
    void OnFilesDropped(int row, const std::vector<std::string>& paths);
    void OnImport();
    void OnDelete();
    // The Delete key: asks first, then deletes the selected projector added by address.
    void OnDeleteKey();
    void OnSettingsCommand();
    void OnHelpButton();

    bool IsBusy() const { return busy_ != 0; }
    bool DroppedFile() const { return droppedFile_ != 0; }
    bool AddressBookPending() const { return addressBookPending_ != 0; }
    const ProjectorRecord& DroppedBackup() const { return droppedBackup_; }
    ApplicationState& State() { return state_; }
    const std::string& HistoryFolder() const { return services_.historyFolder; }
    const AddressBook& Book() const { return addressBook_.book; }
    // What the rows stand for: the one place where a row becomes a record.
    const CProjectorRows& Rows() const { return *rows_; }
    const CPresenceBook& Presence() const { return presence_; }
    QTreeView* DetailsView() const { return details_; }
    // The addresses of the other subnets the refresh in progress greets besides its broadcast.
    const std::vector<std::string>& OtherSubnetAddresses() const { return otherSubnets_; }

    // The row label of a projector: its name, a line feed, its dotted address.
    static std::string RowLabelOf(const ProjectorRecord& record);
    static int RowImageOf(const ProjectorRecord& record);

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnSize(const QSize& clientSize) override;
    ui::KeyRoute PreTranslateKeyPress(const QKeyEvent& event) override;

  private:
    void KeepFixedRowsOutOfSelection();
    std::vector<MenuCommand> SelectionMenu() const;
    void RememberChangedPassword();
    // The password source of a job on `records`: the session's, asking through the prompt.
    std::unique_ptr<CSelectionPasswords> PasswordsFor(
        const std::vector<ProjectorRecord*>& records);
    int PromptPassword(PasswordPrompt& prompt);
    // Whether the keyring's entry `marked` (sent once to another projector) may be used again.
    bool ConfirmKeptEntry(const fleet::Credential& marked);
    // Tells that another projector (`found`) answered at `address` and was sent the password
    // kept for `keptFor`.
    void ShowKeptPasswordReachedOther(const std::string& address, const std::string& found,
                                      const std::string& keptFor);
    // Reads `records` behind the progress dialog with the session's passwords; empty when the
    // reading was cancelled.
    std::vector<fleet::ReadResult> ReadSelected(const std::vector<ProjectorRecord*>& records);
    // The results of a job in a table (projector, outcome, detail), with a summary.
    // `note`, when given, follows the summary.
    void ShowResults(std::vector<std::vector<std::string>> rows,
                     const std::vector<bool>& succeeded, std::size_t notStarted,
                     const std::string& note = {});
    std::string ChooseCsv(const std::string& suggested);
    ui::CListView* List() const;
    void SetUpList();
    void SetUpDetailsView();
    void ConnectListKeys();
    void RestorePlacement();
    void SavePlacement() const;
    void FitFirstStart();
    void FitColumns();
    void RestoreListView();
    void SaveListView() const;
    int ShowMessage(int stringId, unsigned flags);
    void ShowPopupMenu(int row, QPoint globalPoint);
    void RunMenuCommand(int command);
    void SelectRecord(const ProjectorRecord* record);
    // Index in the state's list of the record a shown row stands for; -1 for none.
    int IndexOfRow(int row) const;
    int IndexOfRecord(const ProjectorRecord* record) const;
    void DeleteSelected();
    void ShowFilter();
    void OnPresenceRound(const std::vector<std::string>& addresses,
                         const std::vector<bool>& answered);
    GreetedList ListedAddresses() const;
    void SetUpHealthWatch();
    // Where PJLink answers for each listed projector, once each.
    std::vector<std::string> PjlinkAddresses() const;
    // After a read told `record`'s hardware address: the row only PJLink found for the same
    // projector joins it.
    void JoinPjlinkTwinsOf(ProjectorRecord& record);
    // The same after a refresh, for the projectors read earlier this session.
    void JoinPjlinkTwinsReadBefore();
    void OnHealthRound(const std::vector<fleet::HealthOfTarget>& readings);
    // Reads `results` behind the progress dialog; false when the reading was cancelled.
    bool ReadHealthBehindProgress(std::vector<fleet::HealthOfTarget>& results,
                                  const std::vector<std::string>& names);
    // Asks for the PJLink password of each projector whose link ended wanting one (`errors`,
    // beside `addresses` and `names`); the indices of those that were given one.
    std::vector<std::size_t> AskPjlinkPasswords(const std::vector<std::string>& addresses,
                                                const std::vector<pjlink::LinkError>& errors,
                                                const std::vector<std::string>& names);
    // Switches `results` behind the progress dialog; false when it was cancelled.
    bool SwitchPowerBehindProgress(std::vector<fleet::PowerOfTarget>& results,
                                   const std::vector<std::string>& names, bool on);
    void TraceRowsInView() const;

    // Steps 2 to 6 of OpenProjector on the selected record; false when the road ended early
    // (the link is then closed and a dropped file undone).
    bool OpenSelected();
    bool ProbeAndRead(ProjectorRecord& record);
    bool ApplySettingsDialog(ProjectorRecord& record);
    bool ApplyDroppedFile(ProjectorRecord& record);
    void EndOpenFailed(ProjectorRecord* record);
    void ShowWritten(ProjectorRecord& record);
    void RestoreDroppedRecord(ProjectorRecord* record);
    void ConnectByAddress();
    int FindRecordOfAddress(const Octets& address) const;
    // Runs a double-click command once at a time (`busy`).
    void RunGuarded(const std::function<void()>& command);

    ApplicationState& state_;
    AddressBookPlace addressBook_;
    MainDialogServices services_;
    WindowSettings settings_;
    CPresenceBook presence_;
    CSessionPasswords passwords_;
    CPjlinkPasswords pjlinkPasswords_;  // never the module's passwords above
    fleet::CHealthBook health_;
    // The module hardware address each address read this session reported.
    std::map<std::string, std::string> readHardware_;
    std::unique_ptr<CProjectorRows> rows_;
    std::unique_ptr<CPresenceWatch> presenceWatch_;
    std::unique_ptr<CHealthWatch> healthWatch_;
    QTreeView* details_ = nullptr;  // a child of the client area
    QTimer viewTrace_;              // traces the rows in view once a resize has settled
    std::vector<std::string> otherSubnets_;  // read from the hive by each refresh

    int addressBookPending_ = 1;
    int busy_ = 0;
    int droppedFile_ = 0;
    bool dropPending_ = false;  // a drop has posted its apply, which has not run yet
    bool refreshing_ = false;
    bool fittedFirstStart_ = false;
    bool columnsSetByUser_ = false;  // a width of the table was set: it no longer fits itself
    bool fittingColumns_ = false;
    ProjectorRecord droppedBackup_{};
    ProjectorRecord droppedSettings_{};  // the dropped file as read, applied after the read
    std::string warningDetail_;  // said after the next posted warning's text (why a file failed)
};

}  // namespace lanterna::dialogs
