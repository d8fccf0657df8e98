#include "skin/SkinDialog.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <array>

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

void CSkinDialog::RedrawFrame(qreal ratio) {
    FrameContent content{.title = windowTitle(), .font = font(), .icon = QPixmap()};
    if (style_.icon) {
        content.icon = windowIcon().pixmap(geometry_.IconRect().size(), ratio);
    }
    const std::array<QRect, 4> pieces = FramePieces(geometry_, ratio);
    for (std::size_t index = 0; index < pieces.size(); ++index) {
        QImage& image = frameImages_[index];
        if (image.size() != pieces[index].size() || image.devicePixelRatio() != ratio) {
            image = QImage(pieces[index].size(), QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
        }
        DrawFramePart(image, pieces[index].topLeft(), geometry_, style_, palette_, content);
    }
    frameRatio_ = ratio;
    frameDirty_ = false;
}

void CSkinDialog::OnPaintFrame(QPainter& painter) {
    const qreal ratio = DevicePixelRatioOf(painter);
    if (frameDirty_ || frameRatio_ != ratio) {
        RedrawFrame(ratio);
    }
    PaintFramePieces(painter);
}

void CSkinDialog::PaintFramePieces(QPainter& painter) const {
    const std::array<QRect, 4> pieces = FramePieces(geometry_, frameRatio_);
    for (std::size_t index = 0; index < pieces.size(); ++index) {
        if (!frameImages_[index].isNull()) {
            painter.drawImage(QPointF(pieces[index].topLeft()) / frameRatio_, frameImages_[index]);
        }
    }
}

// The client gradient row by row, in device pixels and only over the rows being painted: a
// solid fill per row costs about half of copying a gradient image of the client's size.
void CSkinDialog::OnPaintClient(QPainter& painter, const QRect& clientRect) {
    const qreal ratio = DevicePixelRatioOf(painter);
    const QRect device = ToDevice(clientRect, ratio);
    QRect rows = device;
    if (painter.hasClipping()) {
        rows &= ToDevice(painter.clipBoundingRect().toAlignedRect(), ratio).adjusted(0, -1, 0, 1);
    }
    painter.save();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    for (int y = rows.top(); y <= rows.bottom(); ++y) {
        painter.fillRect(QRect(rows.left(), y, rows.width(), 1),
                         QColor::fromRgb(GradientRowColor(palette_.clientTop, palette_.clientBottom,
                                                          y - device.top(), device.height())));
    }
    painter.restore();
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
