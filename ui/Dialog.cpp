#include "ui/Dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QThread>
#include <QTimer>

#include "ui/AccessibleRoles.h"
#include "ui/Controls.h"
#include "ui/IpAddressControl.h"
#include "ui/ListView.h"
#include "ui/ResourceImages.h"
#include "ui/TestHooks.h"
#include "ui/Text.h"
#include "ui/detail/MessageTargetState.h"

namespace ui {
namespace {

constexpr int kActivationChecks = 200;
constexpr int kActivationCheckMs = 10;

}  // namespace

namespace detail {

// The widget that holds the controls; it lies inside the frame margins.
class ClientArea : public QWidget {
  public:
    explicit ClientArea(CDialog& dialog) : QWidget(&dialog), dialog_(dialog) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        dialog_.OnPaintClient(painter, rect());
    }

  private:
    CDialog& dialog_;
};

// Sees every key press of the application before its receiver does and hands those meant for
// a dialog's focused widget (or for a dialog without one) to that dialog.
class KeyRouter : public QObject {
  public:
    static void Install() {
        static QPointer<KeyRouter> router;  // goes null with the application that owns it
        if (router.isNull() && QCoreApplication::instance() != nullptr) {
            router = new KeyRouter(QCoreApplication::instance());  // owned by the application
            QCoreApplication::instance()->installEventFilter(router);
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
            return false;
        }
        auto* widget = static_cast<QWidget*>(watched);
        auto* dialog = dynamic_cast<CDialog*>(widget->window());
        if (dialog == nullptr) {
            return false;
        }
        // A key travels from the focused widget up through its parents; only its first stop
        // is routed, so the dialog sees each key once.
        const QWidget* focus = dialog->focusWidget();
        if (widget != focus && !(widget == dialog && focus == nullptr)) {
            return false;
        }
        return dialog->RouteKeyPress(*static_cast<QKeyEvent*>(event));
    }

  private:
    using QObject::QObject;
};

}  // namespace detail

CDialog::CDialog(int templateId, QWidget* owner)
    : QDialog(owner),
      templateId_(templateId),
      owner_(owner),
      target_(std::make_shared<detail::MessageTargetState>()) {
    target_->receiver = this;
    setFont(DialogFont());
    baseUnits_ = MeasureBaseUnits(font());
    detail::KeyRouter::Install();
    InstallAccessibleRoles();
    focusConnection_ =
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget* previous, QWidget* current) { OnFocusChanged(previous, current); });
}

CDialog::~CDialog() {
    {
        const std::lock_guard lock(target_->mutex);
        target_->receiver = nullptr;
        target_->open = false;
    }
    // Destroying focused controls moves the focus; this dialog must no longer hear of it.
    disconnect(focusConnection_);
    controls_.clear();
    client_.reset();
}

// ---------------------------------------------------------------- life cycle

int CDialog::DoModal() {
    if (modalRunning_ || QThread::currentThread() != thread()) {
        return -1;
    }
    test::DialogScript script;
    int timeoutMs = 0;
    const test::detail::ModalPlan plan = test::detail::PlanModalRun(templateId_, script, timeoutMs);
    if (plan == test::detail::ModalPlan::Refuse) {
        return IDCANCEL;
    }
    if (!Build()) {
        return -1;
    }
    OpenRun();
    if (OnInitDialog()) {
        FocusFirstTabStop();
    }
    if (endRequested_) {
        CloseRun();
        return endCode_;
    }
    QTimer watchdog;
    if (plan == test::detail::ModalPlan::RunScripted) {
        const std::uint64_t run = target_->run;
        QTimer::singleShot(0, this, [this, run, script = std::move(script)] {
            activateWindow();
            RunScriptWhenActive(run, script, kActivationChecks);
        });
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, this, [this] {
            test::detail::RecordProblem("dialog " + std::to_string(templateId_) +
                                        " still open when its script timed out");
            EndDialog(IDCANCEL);
        });
        watchdog.start(timeoutMs);
    }
    modalRunning_ = true;
    const int code = exec();
    modalRunning_ = false;
    CloseRun();
    return code;
}

// A script acts as the user would, on an active window: focus changes are only reported there.
// The window system activates a shown window a moment later; the script waits for that, but
// not without bound.
void CDialog::RunScriptWhenActive(std::uint64_t run, const test::DialogScript& script,
                                  int checksLeft) {
    if (!modalRunning_ || target_->run != run || endRequested_) {
        return;
    }
    if (!isActiveWindow() && checksLeft > 0) {
        QTimer::singleShot(kActivationCheckMs, this, [this, run, script, checksLeft] {
            RunScriptWhenActive(run, script, checksLeft - 1);
        });
        return;
    }
    script(*this);
}

bool CDialog::Create() {
    if (modalRunning_ || !Build()) {
        return false;
    }
    OpenRun();
    if (OnInitDialog()) {
        FocusFirstTabStop();
    }
    return true;
}

void CDialog::EndDialog(int code) {
    if (endRequested_ || !target_->open) {
        return;
    }
    endRequested_ = true;
    endCode_ = code;
    CloseRun();
    if (modalRunning_) {
        QDialog::done(code);
    } else {
        hide();
    }
}

void CDialog::OpenRun() {
    const std::lock_guard lock(target_->mutex);
    ++target_->run;
    target_->open = true;
    endRequested_ = false;
    endCode_ = IDCANCEL;
}

void CDialog::CloseRun() {
    {
        const std::lock_guard lock(target_->mutex);
        target_->open = false;
    }
    QCoreApplication::removePostedEvents(this, detail::PostedMessageEvent::EventType());
}

bool CDialog::Build() {
    template_ = FindDialogTemplate(templateId_);
    if (template_ == nullptr) {
        qWarning("dialog template %d does not exist", templateId_);
        return false;
    }
    controls_.clear();
    client_.reset();  // the controls of an earlier run go with it
    client_ = std::make_unique<detail::ClientArea>(*this);
    baseUnits_ = MeasureBaseUnits(font());
    defaultId_ = IDOK;
    int group = 0;
    for (const ControlTemplate& control : template_->controls) {
        if (control.Has(ControlStyle::Group)) {
            ++group;
        }
        BuildControl(control, group);
    }
    setWindowTitle(ToQString(template_->caption));
    NameControls();
    setWindowFlags(ChooseWindowFlags());
    LayOut();
    return true;
}

void CDialog::BuildControl(const ControlTemplate& control, int group) {
    QWidget* widget = CreateControl(control, client_.get());
    if (widget == nullptr) {
        return;
    }
    QRect geometry = MapDialogRect(control.rect);
    if (control.kind == ControlKind::Icon) {
        geometry.setSize(QSize(kIconSize, kIconSize));  // an icon control takes its icon's size
    }
    widget->setGeometry(geometry);
    widget->setHidden(control.Has(ControlStyle::Hidden));
    widget->setEnabled(!control.Has(ControlStyle::Disabled));
    if (control.Has(ControlStyle::NoTabStop)) {
        widget->setFocusPolicy(Qt::ClickFocus);
    }
    if (control.kind == ControlKind::GroupBox) {
        widget->lower();
    }
    if (control.Has(ControlStyle::Default) && control.id != kStaticId) {
        defaultId_ = control.id;
    }
    controls_.push_back(Control{control.id, widget, group, &control});
    ConnectNotifications(widget, control.id);
}

void CDialog::ConnectNotifications(QWidget* widget, int controlId) {
    if (auto* radio = dynamic_cast<CRadioButton*>(widget)) {
        connect(radio, &QAbstractButton::clicked, this, [this, controlId] {
            OnRadioClicked(controlId);
            Dispatch(controlId, Notify::Clicked);
        });
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, controlId] { Dispatch(controlId, Notify::Clicked); });
    } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, controlId] { Dispatch(controlId, Notify::TextChanged); });
    } else if (auto* address = dynamic_cast<CIpAddressControl*>(widget)) {
        connect(address, &CIpAddressControl::changed, this,
                [this, controlId] { Dispatch(controlId, Notify::TextChanged); });
    } else if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::activated, this,
                [this, controlId] { Dispatch(controlId, Notify::SelectionChanged); });
    } else if (auto* list = dynamic_cast<CListView*>(widget)) {
        connect(list, &CListView::rowDoubleClicked, this,
                [this, controlId] { Dispatch(controlId, Notify::DoubleClicked); });
        connect(list, &CListView::rightClicked, this,
                [this, controlId] { Dispatch(controlId, Notify::RightClicked); });
    }
}

void CDialog::OnRadioClicked(int controlId) {
    const Control* clicked = FindControl(controlId);
    if (clicked == nullptr) {
        return;
    }
    auto* radio = dynamic_cast<CRadioButton*>(clicked->widget);
    if (radio == nullptr || radio->IsManual()) {
        return;
    }
    for (const Control& other : controls_) {
        auto* member = dynamic_cast<CRadioButton*>(other.widget);
        if (member != nullptr && member != radio && other.group == clicked->group) {
            member->setChecked(false);
        }
    }
}

void CDialog::LayOut() {
    const QSize client = ClientSize();
    client_->setGeometry(QRect(QPoint(frameMargins_.left(), frameMargins_.top()), client));
    const QSize outer(client.width() + frameMargins_.left() + frameMargins_.right(),
                      client.height() + frameMargins_.top() + frameMargins_.bottom());
    if (template_ != nullptr && template_->Has(DialogStyle::Resizable)) {
        setMinimumSize(outer);  // nothing smaller has room for every control
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(outer);
    } else {
        setFixedSize(outer);
    }
}

void CDialog::FocusFirstTabStop() {
    for (const Control& control : controls_) {
        QWidget* widget = control.widget;
        if (!widget->isHidden() && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) != 0) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

// ---------------------------------------------------------------- handlers and messages

void CDialog::OnCommand(int controlId, Notify notify, CommandHandler handler) {
    commandHandlers_[{controlId, notify}] = std::move(handler);
}

void CDialog::OnMessage(unsigned message, MessageHandler handler) {
    messageHandlers_[message] = std::move(handler);
}

void CDialog::SendCommand(int controlId, Notify notify) {
    Dispatch(controlId, notify);
}

void CDialog::Dispatch(int controlId, Notify notify) {
    const auto found = commandHandlers_.find({controlId, notify});
    if (found != commandHandlers_.end()) {
        const CommandHandler handler = found->second;  // it may register handlers itself
        handler();
        return;
    }
    if (notify == Notify::Clicked && controlId == IDOK) {
        OnOK();
    } else if (notify == Notify::Clicked && controlId == IDCANCEL) {
        OnCancel();
    }
}

MessageTarget CDialog::Target() const {
    const std::lock_guard lock(target_->mutex);
    return MessageTarget(target_, target_->open ? target_->run : target_->run + 1);
}

bool CDialog::PostMessage(unsigned message, WParam wParam, LParam lParam) const {
    return Target().Post(message, wParam, lParam);
}

bool CDialog::event(QEvent* event) {
    if (event->type() != detail::PostedMessageEvent::EventType()) {
        return QDialog::event(event);
    }
    const auto* posted = static_cast<detail::PostedMessageEvent*>(event);
    if (!target_->open || posted->run != target_->run) {
        return true;  // posted to a run that has ended
    }
    const auto found = messageHandlers_.find(posted->message);
    if (found == messageHandlers_.end()) {
        OnUnhandledMessage(posted->message, posted->wParam, posted->lParam);
        return true;
    }
    const MessageHandler handler = found->second;
    handler(posted->wParam, posted->lParam);
    return true;
}

// ---------------------------------------------------------------- overridables

bool CDialog::OnInitDialog() {
    return true;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnClose() {
    const QWidget* cancel = GetDlgItem(IDCANCEL);
    if (cancel != nullptr && !cancel->isEnabled()) {
        return;
    }
    Dispatch(IDCANCEL, Notify::Clicked);
}

KeyRoute CDialog::PreTranslateKeyPress(const QKeyEvent&) {
    return KeyRoute::Default;
}

void CDialog::OnPaintClient(QPainter& painter, const QRect& clientRect) {
    painter.fillRect(clientRect, palette().window());
}

void CDialog::OnPaintFrame(QPainter&) {}

QWidget* CDialog::CreateControl(const ControlTemplate& control, QWidget* parent) {
    return CreateStandardControl(control, parent);
}

Qt::WindowFlags CDialog::ChooseWindowFlags() const {
    const bool tool = template_ != nullptr && template_->Has(DialogStyle::ToolWindow);
    Qt::WindowFlags flags = (tool ? Qt::Tool : Qt::Dialog) | Qt::CustomizeWindowHint;
    if (template_ == nullptr) {
        return flags;
    }
    if (!template_->Has(DialogStyle::Caption)) {
        return flags | Qt::FramelessWindowHint;
    }
    flags |= Qt::WindowTitleHint;
    if (template_->Has(DialogStyle::SysMenu)) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (template_->Has(DialogStyle::MinimizeBox) && !tool) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (template_->Has(DialogStyle::MaximizeBox) && !tool) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}

void CDialog::OnUnhandledMessage(unsigned, WParam, LParam) {}

void CDialog::OnSize(const QSize& clientSize) {
    const QSize grown = clientSize - ClientSize();
    for (const Control& control : controls_) {
        const std::uint32_t anchors = control.source->anchors;
        if (anchors == 0) {
            continue;
        }
        QRect place = MapDialogRect(control.source->rect);
        place.translate((anchors & Anchor::Right) != 0 ? grown.width() : 0,
                        (anchors & Anchor::Bottom) != 0 ? grown.height() : 0);
        place.setSize(place.size() + QSize((anchors & Anchor::Wide) != 0 ? grown.width() : 0,
                                           (anchors & Anchor::Tall) != 0 ? grown.height() : 0));
        control.widget->setGeometry(place);
    }
}

void CDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (client_ == nullptr || template_ == nullptr || !template_->Has(DialogStyle::Resizable)) {
        return;
    }
    const QRect client = rect().marginsRemoved(frameMargins_);
    client_->setGeometry(client);
    OnSize(client.size());
}

// ---------------------------------------------------------------- keys, closing, painting

bool CDialog::RouteKeyPress(QKeyEvent& event) {
    const KeyRoute route = PreTranslateKeyPress(event);
    if (route == KeyRoute::Swallow) {
        return true;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (route == KeyRoute::ControlOnly || modifiers.toInt() != 0) {
        return false;
    }
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            PressEnter();
            return true;
        case Qt::Key_Escape:
            Dispatch(IDCANCEL, Notify::Clicked);
            return true;
        default:
            return false;
    }
}

void CDialog::PressEnter() {
    if (auto* focused = dynamic_cast<QPushButton*>(focusWidget());
        focused != nullptr && ControlIdOf(focused) != 0) {
        focused->click();
        return;
    }
    QWidget* button = GetDlgItem(defaultId_);
    if (button == nullptr) {
        Dispatch(defaultId_, Notify::Clicked);
        return;
    }
    if (auto* clickable = dynamic_cast<QAbstractButton*>(button);
        clickable != nullptr && clickable->isEnabled() && !clickable->isHidden()) {
        clickable->click();
    }
}

void CDialog::keyPressEvent(QKeyEvent* event) {
    event->ignore();  // Enter and Escape were handled on their way in
}

void CDialog::reject() {
    OnClose();  // the close box and the window manager's close end up here
}

void CDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    OnPaintFrame(painter);
}

// ---------------------------------------------------------------- geometry

QSize CDialog::ClientSize() const {
    if (template_ == nullptr) {
        return QSize();
    }
    return QSize(DluToPixelsX(template_->width, baseUnits_),
                 DluToPixelsY(template_->height, baseUnits_));
}

QWidget* CDialog::ClientArea() const {
    return client_.get();
}

void CDialog::SetFrameMargins(const QMargins& margins) {
    frameMargins_ = margins;
    if (client_ != nullptr) {
        LayOut();
    }
}

}  // namespace ui
