#pragma once
// CDialog: the base of every dialog of the program, built from a dialog template.
//
// Life cycle. The constructor takes the template id and the owner window; handlers are
// registered there (like a message map). DoModal() creates the controls from the template
// (afresh on every run), calls OnInitDialog(), shows the dialog over its owner and runs it
// until EndDialog(code); it returns that code, or -1 when the template does not exist or the
// dialog is already running. EndDialog may be called from OnInitDialog: the dialog then ends
// without being shown. Create() builds and initialises the dialog without running it (for
// rendering and for modeless use). Buttons 1 (IDOK) and 2 (IDCANCEL) call OnOK() and
// OnCancel() unless a handler is registered for them; Enter clicks the focused push button or
// else the default button (ignored when that button is disabled or hidden), Escape sends the
// IDCANCEL command, and the close box calls OnClose(), which sends IDCANCEL unless the IDCANCEL
// button exists and is disabled.
//
// Threads. A dialog lives on the user-interface thread; only Target() and PostMessage() may be
// used from other threads (see ui/MessageTarget.h). Posted messages reach the handlers
// registered with OnMessage, in posting order, while the run they were posted to goes on;
// messages arriving after EndDialog are dropped.
//
// Controls. Addressed by their template ids; texts are UTF-8. An id that names no control makes
// getters return empty values and setters do nothing.
//
// Accessibility. Every control is found by the desktop's accessibility interface under a name:
// buttons, check boxes and radio buttons under their text; an input control (edit, address
// control, combo box, list view, progress bar) and a button without text under the text of the
// label on its row (the nearest label to its left that shares its height); an input without
// one under the text of the nearest radio button or check box to its left on its row; else
// under the text of the nearest label above it, else under the dialog's caption. The name follows
// the label's text when the program changes it. An address control's four fields are named "1" to
// "4". Buttons that show one text more than once in a dialog are named after their row as well
// ("WEP: 사용함"), so that no two of them share a name; a check box without a text that would
// share its row's name with the row's input is that row's indicator ("프로젝터 이름 표시등"). A
// template may give a control its own name ("name"). Radio buttons are announced as radio
// buttons and an open popup menu of a dialog as a child of that dialog (ui/AccessibleRoles.h).
//
// Size. A dialog whose template is "resizable" may be resized by the user, down to its designed
// size; its client area follows the window and OnSize() places the controls by their anchors
// (ui/DialogTemplate.h) unless the dialog places them itself.
//
// Room for the skin. CreateControl() makes each control and may return subclasses that draw
// themselves (see ui/Controls.h); OnPaintClient() paints behind the controls; SetFrameMargins()
// reserves a frame around the client area that OnPaintFrame() paints; ChooseWindowFlags()
// decides the window decoration (e.g. frameless); PreTranslateKeyPress() sees every key press
// for the dialog before its controls do.

#include <QDialog>
#include <QMargins>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/DialogCodes.h"
#include "ui/DialogTemplate.h"
#include "ui/DialogUnits.h"
#include "ui/MessageTarget.h"

class QLabel;
class QPainter;

namespace ui {

class CEdit;
class CIpAddressControl;
class CListView;
class CProgressBar;

namespace detail {
struct MessageTargetState;
class ClientArea;
class KeyRouter;
}  // namespace detail

// What a control reports to its dialog.
enum class Notify {
    Clicked,           // a button was clicked (by mouse, key or ClickButton)
    TextChanged,       // an edit's or address control's text changed, also by the program
    FocusGained,       // the focus entered the control (an address control counts as one)
    FocusLost,         // the focus left the control
    SelectionChanged,  // the user chose an item of a combo box
    DoubleClicked,     // list view: double-click with the left button
    RightClicked,      // list view: release of the right button
};

// What happens to a key press after PreTranslateKeyPress.
enum class KeyRoute {
    Default,      // the dialog's own keys (Enter, Escape) first, then the control
    ControlOnly,  // to the focused control only; the dialog does nothing with it
    Swallow,      // nobody sees it
};

class CDialog : public QDialog {
  public:
    explicit CDialog(int templateId, QWidget* owner = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // ---- life cycle
    int DoModal();
    bool Create();
    void EndDialog(int code);
    bool IsRunning() const { return modalRunning_; }
    int TemplateId() const { return templateId_; }
    const DialogTemplate* Template() const { return template_; }
    QWidget* Owner() const { return owner_; }

    // ---- handlers (user-interface thread; a later registration replaces an earlier one)
    using CommandHandler = std::function<void()>;
    using MessageHandler = std::function<void(WParam wParam, LParam lParam)>;
    void OnCommand(int controlId, Notify notify, CommandHandler handler);
    void OnMessage(unsigned message, MessageHandler handler);
    // Runs what the control's notification would run, as if it had happened.
    void SendCommand(int controlId, Notify notify);

    // ---- posted messages (any thread)
    MessageTarget Target() const;
    bool PostMessage(unsigned message, WParam wParam = 0, LParam lParam = 0) const;

    // ---- controls
    QWidget* GetDlgItem(int controlId) const;
    template <class Control>
    Control* GetDlgItemAs(int controlId) const {
        return dynamic_cast<Control*>(GetDlgItem(controlId));
    }
    CEdit* Edit(int controlId) const;
    CIpAddressControl* IpAddress(int controlId) const;
    CListView* ListView(int controlId) const;
    CProgressBar* ProgressBar(int controlId) const;
    // Ids of the controls in template order (static controls appear as -1).
    std::vector<int> ControlIds() const;

    std::string GetDlgItemText(int controlId) const;
    void SetDlgItemText(int controlId, std::string_view text);
    // 0 unchecked, 1 checked, 2 indeterminate.
    int IsDlgButtonChecked(int controlId) const;
    void CheckDlgButton(int controlId, int state);
    // Checks `checkId` and unchecks every other button whose id lies in firstId..lastId.
    void CheckRadioButton(int firstId, int lastId, int checkId);
    // The first checked button with an id in firstId..lastId, 0 for none.
    int GetCheckedRadioButton(int firstId, int lastId) const;
    // The checked radio button of the group that `memberId` belongs to, 0 for none.
    int GetCheckedInGroup(int memberId) const;
    void EnableDlgItem(int controlId, bool enable);
    bool IsDlgItemEnabled(int controlId) const;
    void ShowDlgItem(int controlId, bool show);
    // Whether the control itself is shown (true for a shown control of a hidden dialog).
    bool IsDlgItemVisible(int controlId) const;
    // Focuses the control; an edit gets its text selected, an address control its first field.
    void GotoDlgCtrl(int controlId);
    // The control holding the focus within this dialog, 0 for none.
    int GetFocusId() const;
    void SetTextLimit(int controlId, int bytes);
    void SetPasswordStyle(int controlId, bool password);
    // Clicks a button as the user would; disabled or hidden buttons ignore it.
    void ClickButton(int controlId);
    void SetDefaultButton(int controlId);
    int DefaultButton() const { return defaultId_; }
    void SetWindowText(std::string_view text);
    std::string GetWindowText() const;

    // ---- geometry
    DialogBaseUnits BaseUnits() const { return baseUnits_; }
    QRect MapDialogRect(const DluRect& rect) const { return DluToPixels(rect, baseUnits_); }
    QSize ClientSize() const;
    QWidget* ClientArea() const;
    void SetFrameMargins(const QMargins& margins);
    QMargins FrameMargins() const { return frameMargins_; }

  protected:
    // ---- overridables
    // Called once the controls exist; true lets the kit focus the first tab stop.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnClose();
    virtual KeyRoute PreTranslateKeyPress(const QKeyEvent& event);
    virtual void OnPaintClient(QPainter& painter, const QRect& clientRect);
    virtual void OnPaintFrame(QPainter& painter);
    virtual QWidget* CreateControl(const ControlTemplate& control, QWidget* parent);
    virtual Qt::WindowFlags ChooseWindowFlags() const;
    virtual void OnUnhandledMessage(unsigned message, WParam wParam, LParam lParam);
    // A resizable dialog's client area has taken a new size: each control with anchors moves
    // and grows by what the client area gained over the designed size (the others stay where the
    // template put them unless this moves them).
    virtual void OnSize(const QSize& clientSize);

    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void reject() override;

  private:
    friend class detail::ClientArea;
    friend class detail::KeyRouter;

    struct Control {
        int id;
        QWidget* widget;
        int group;  // radio groups: controls from one "group" style to the next
        const ControlTemplate* source;
        QLabel* nameLabel = nullptr;  // the label whose text is the control's accessible name
    };

    bool Build();
    void RunScriptWhenActive(std::uint64_t run, const std::function<void(CDialog&)>& script,
                             int checksLeft);
    void BuildControl(const ControlTemplate& control, int group);
    void NameControls();
    const Control* FindNamingLabel(const Control& control) const;
    const Control* FindNamingButton(const Control& control) const;
    QString RowNameOf(const Control& control) const;
    void QualifySharedButtonNames();
    void QualifyIndicatorNames();
    void RenameControlsOf(const QLabel* label);
    void ConnectNotifications(QWidget* widget, int controlId);
    void OnRadioClicked(int controlId);
    void OnFocusChanged(QWidget* previous, QWidget* current);
    void LayOut();
    void OpenRun();
    void CloseRun();
    void FocusFirstTabStop();
    void Dispatch(int controlId, Notify notify);
    bool RouteKeyPress(QKeyEvent& event);
    void PressEnter();
    const Control* FindControl(int controlId) const;
    int ControlIdOf(const QWidget* widget) const;

    int templateId_;
    QWidget* owner_;
    const DialogTemplate* template_ = nullptr;
    DialogBaseUnits baseUnits_;
    QMargins frameMargins_;
    std::unique_ptr<detail::ClientArea> client_;  // a child widget, deleted before the dialog
    std::vector<Control> controls_;
    int defaultId_ = IDOK;
    std::map<std::pair<int, Notify>, CommandHandler> commandHandlers_;
    std::map<unsigned, MessageHandler> messageHandlers_;
    std::shared_ptr<detail::MessageTargetState> target_;
    QMetaObject::Connection focusConnection_;
    bool modalRunning_ = false;
    bool endRequested_ = false;
    int endCode_ = IDCANCEL;
};

}  // namespace ui
