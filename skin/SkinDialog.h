#pragma once
// CSkinDialog: the base of every dialog of the program. The window has no frame from the
// desktop; the dialog draws its own around the client area: a gradient caption with the
// shadowed title, the icon and the caption buttons, a gradient border with a bevel and a black
// outer line. Behind the controls it paints the client gradient, and its controls are the
// skin's (skin/SkinControls.h).
//
// The frame is drawn off screen whenever the size, the title, the icon or the font changes, into
// four images (caption band, sides, bottom) that together cover the window's size less the
// client; painting only copies them.
//
// The mouse on the frame: a press on the caption (the icon included) moves the window through
// the window system; a press and release on a caption button acts: close goes through the same
// path as the desktop's close command (CDialog::OnClose), maximise restores or maximises,
// minimise minimises. A double-click on the caption of a window with a maximise button does
// what that button does. The keyboard is the kit's (Escape), and the desktop's close shortcut
// reaches the dialog as any close request does.

#include <QImage>
#include <array>
#include <optional>

#include "skin/FrameGeometry.h"
#include "skin/SkinPalette.h"
#include "ui/Dialog.h"

namespace lanterna::skin {

class CSkinDialog : public ui::CDialog {
  public:
    explicit CSkinDialog(int templateId, QWidget* owner = nullptr);
    ~CSkinDialog() override;

    const SkinPalette& Colours() const { return palette_; }
    const FrameStyle& FrameStyleNow() const { return style_; }
    const FrameGeometry& FrameGeometryNow() const { return geometry_; }
    const FrameMetrics& Metrics() const { return metrics_; }

    // Draws the frame afresh at `ratio` device pixels per pixel.
    void RedrawFrame(qreal ratio);

  protected:
    void OnPaintClient(QPainter& painter, const QRect& clientRect) override;
    void OnPaintFrame(QPainter& painter) override;
    QWidget* CreateControl(const ui::ControlTemplate& control, QWidget* parent) override;
    Qt::WindowFlags ChooseWindowFlags() const override;

    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void UpdateGeometry();
    void PaintFramePieces(QPainter& painter) const;
    void InvalidateFrame();
    void StartMove(const QMouseEvent& event);
    void ActOnButton(FrameHit button);
    void ToggleMaximized();

    SkinPalette palette_;
    FrameMetrics metrics_;
    FrameStyle style_;
    FrameGeometry geometry_;
    std::array<QImage, 4> frameImages_;  // the pieces of skin::FramePieces
    qreal frameRatio_ = 1.0;
    bool frameDirty_ = true;
    FrameHit pressedButton_ = FrameHit::Outside;
    // Where the press was, relative to the window, while the window follows the mouse itself
    // (where the window system cannot move it).
    std::optional<QPoint> dragOffset_;
};

}  // namespace lanterna::skin
