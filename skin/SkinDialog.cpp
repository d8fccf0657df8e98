#include "skin/SkinDialog.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "skin/FramePainter.h"
#include "skin/SkinControls.h"
#include "skin/SkinPaint.h"

namespace lanterna::skin {

CSkinDialog::CSkinDialog(int templateId, QWidget* owner)
    : ui::CDialog(templateId, owner),
      palette_(CurrentSkinPalette()),
      metrics_(FrameMetricsFromStyle(*style())) {
    if (const ui::DialogTemplate* dialogTemplate = ui::FindDialogTemplate(templateId)) {
        style_ = FrameStyleOf(*dialogTemplate, false);
    }
    SetFrameMargins(skin::FrameMargins(style_, metrics_));
    UpdateGeometry();
}

CSkinDialog::~CSkinDialog() = default;

// ---------------------------------------------------------------- drawing

const QImage& CSkinDialog::RedrawFrame() {
    const qreal ratio = devicePixelRatioF();
    const QSize device = ToDevice(rect(), ratio).size();
    if (frameImage_.size() != device || frameImage_.devicePixelRatio() != ratio) {
        frameImage_ = QImage(device, QImage::Format_RGB32);
        frameImage_.setDevicePixelRatio(ratio);
        frameImage_.fill(palette_.borderTop);  // under the client: never shown, but defined
    }
    FrameContent content{.title = windowTitle(), .font = font(), .icon = QPixmap()};
    if (style_.icon) {
        const QRect iconRect = geometry_.IconRect();
        content.icon = windowIcon().pixmap(iconRect.size(), ratio);
    }
    DrawFrame(frameImage_, geometry_, style_, palette_, content);
    frameDirty_ = false;
    return frameImage_;
}

void CSkinDialog::OnPaintFrame(QPainter& painter) {
    if (frameDirty_ || frameImage_.devicePixelRatio() != devicePixelRatioF() ||
        frameImage_.size() != ToDevice(rect(), devicePixelRatioF()).size()) {
        RedrawFrame();
    }
    // Only the frame's strips: the caption band, the two sides and the bottom.
    const QRect client = geometry_.ClientRect();
    const int width = geometry_.window.width();
    const int height = geometry_.window.height();
    const QRect strips[] = {
        QRect(0, 0, width, client.top()),
        QRect(0, client.top(), client.left(), client.height()),
        QRect(client.right() + 1, client.top(), width - client.right() - 1, client.height()),
        QRect(0, client.bottom() + 1, width, height - client.bottom() - 1),
    };
    const qreal ratio = frameImage_.devicePixelRatio();
    for (const QRect& strip : strips) {
        if (strip.isValid()) {
            painter.drawImage(strip, frameImage_, ToDevice(strip, ratio));
        }
    }
}

void CSkinDialog::OnPaintClient(QPainter& painter, const QRect& clientRect) {
    const qreal ratio = painter.device()->devicePixelRatioF();
    if (clientImage_.isNull() || clientImage_.devicePixelRatio() != ratio ||
        clientImage_.size() != ToDevice(clientRect, ratio).size()) {
        clientImage_ =
            GradientImage(clientRect.size(), ratio, palette_.clientTop, palette_.clientBottom);
    }
    painter.drawImage(clientRect.topLeft(), clientImage_);
}

void CSkinDialog::InvalidateFrame() {
    frameDirty_ = true;
    update();
}

void CSkinDialog::UpdateGeometry() {
    geometry_ = ComputeFrameGeometry(size(), style_, metrics_);
}

// ---------------------------------------------------------------- kit hooks

QWidget* CSkinDialog::CreateControl(const ui::ControlTemplate& control, QWidget* parent) {
    if (QWidget* skinned = CreateSkinControl(control, parent, palette_)) {
        return skinned;
    }
    return ui::CDialog::CreateControl(control, parent);
}

// The kind of window (dialog or tool window) without any of the desktop's decorations: asking
// for a caption button of the desktop's would bring its frame back.
Qt::WindowFlags CSkinDialog::ChooseWindowFlags() const {
    return (ui::CDialog::ChooseWindowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint;
}

bool CSkinDialog::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowIconChange:
            style_.icon = testAttribute(Qt::WA_SetWindowIcon);
            InvalidateFrame();
            break;
        case QEvent::WindowTitleChange:
        case QEvent::FontChange:
            InvalidateFrame();
            break;
        default:
            break;
    }
    return ui::CDialog::event(event);
}

void CSkinDialog::resizeEvent(QResizeEvent* event) {
    ui::CDialog::resizeEvent(event);
    UpdateGeometry();
    InvalidateFrame();
}

// ---------------------------------------------------------------- the mouse on the frame

void CSkinDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        ui::CDialog::mousePressEvent(event);
        return;
    }
    const HitResult hit = HitTestFrame(event->position().toPoint(), geometry_, style_);
    switch (hit.area) {
        case FrameHit::CloseButton:
        case FrameHit::MaximizeButton:
        case FrameHit::MinimizeButton:
            pressedButton_ = hit.area;  // acts on the release
            event->accept();
            return;
        case FrameHit::Caption:
            StartMove(*event);
            event->accept();
            return;
        case FrameHit::Sizing:
            if (QWindow* window = windowHandle()) {
                window->startSystemResize(hit.edges);
            }
            event->accept();
            return;
        default:
            ui::CDialog::mousePressEvent(event);
            return;
    }
}

void CSkinDialog::StartMove(const QMouseEvent& event) {
    const QPoint local = event.position().toPoint();
    const QPoint global = event.globalPosition().toPoint();
    QWindow* window = windowHandle();
    if (window != nullptr) {
        // On X11 the window's own idea of its place can lag behind the window manager's
        // placement; the move starts from where the press really was.
        if (QGuiApplication::platformName() == QLatin1String("xcb") &&
            window->mapToGlobal(local) != global) {
            window->setPosition(global - local);
        }
        if (window->startSystemMove()) {
            return;
        }
    }
    dragOffset_ = global - pos();
}

void CSkinDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton) != 0) {
        move(event->globalPosition().toPoint() - *dragOffset_);
        event->accept();
        return;
    }
    ui::CDialog::mouseMoveEvent(event);
}

void CSkinDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        ui::CDialog::mouseReleaseEvent(event);
        return;
    }
    dragOffset_.reset();
    const FrameHit pressed = pressedButton_;
    pressedButton_ = FrameHit::Outside;
    const HitResult hit = HitTestFrame(event->position().toPoint(), geometry_, style_);
    if (pressed != FrameHit::Outside && hit.area == pressed) {
        event->accept();
        ActOnButton(pressed);
        return;
    }
    ui::CDialog::mouseReleaseEvent(event);
}

void CSkinDialog::mouseDoubleClickEvent(QMouseEvent* event) {
    const HitResult hit = HitTestFrame(event->position().toPoint(), geometry_, style_);
    if (event->button() == Qt::LeftButton && hit.area == FrameHit::Caption &&
        style_.HasMaximizeButton()) {
        ToggleMaximized();
        event->accept();
        return;
    }
    ui::CDialog::mouseDoubleClickEvent(event);
}

void CSkinDialog::ActOnButton(FrameHit button) {
    switch (button) {
        case FrameHit::CloseButton:
            // Posted, as the desktop's close command is: the dialog decides in OnClose.
            QMetaObject::invokeMethod(
                this, [this] { close(); }, Qt::QueuedConnection);
            break;
        case FrameHit::MaximizeButton:
            ToggleMaximized();
            break;
        case FrameHit::MinimizeButton:
            showMinimized();
            break;
        default:
            break;
    }
}

void CSkinDialog::ToggleMaximized() {
    if (isMaximized()) {
        showNormal();
    } else {
        showMaximized();
    }
}

}  // namespace lanterna::skin
