#pragma once
// Where the parts of the skinned frame lie, and what a point of the window hits: pure
// functions of the window's size, its frame style and the frame metrics, so they can be
// tested without a screen. Coordinates are logical pixels of the window, (0, 0) at its top-left.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QStyle;

namespace ui {
struct DialogTemplate;
}

namespace lanterna::skin {

// What the window has, as its template and its icon say.
struct FrameStyle {
    bool caption = false;
    bool sysMenu = false;  // the close button (and the icon, when there is one)
    bool minimizeBox = false;
    bool maximizeBox = false;
    bool toolWindow = false;    // small caption, never a minimise or maximise button
    bool sizingBorder = false;  // a resizable window
    bool icon = false;          // the window has an icon of its own

    bool HasMinimizeButton() const { return minimizeBox && !toolWindow; }
    bool HasMaximizeButton() const { return maximizeBox && !toolWindow; }
};

FrameStyle FrameStyleOf(const ui::DialogTemplate& dialogTemplate, bool hasIcon);

// Border thicknesses and caption heights: the one place where they come from the style.
struct FrameMetrics {
    int sizingFrame = 4;    // border of a resizable window
    int dialogFrame = 3;    // border of a fixed-size dialog
    int caption = 24;       // caption of a normal window
    int smallCaption = 20;  // caption of a tool window
};

FrameMetrics FrameMetricsFromStyle(const QStyle& style);

struct FrameGeometry {
    QSize window;
    int frameWidth = 0;   // left and right border
    int frameHeight = 0;  // top and bottom border
    int captionHeight = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    QPoint closeButton;  // top-left corners; each button is buttonWidth x buttonHeight
    QPoint maxButton;
    QPoint minButton;

    // The caption band: from the top of the window to the top of the client area.
    int BandHeight() const { return frameHeight + captionHeight; }
    QRect CloseRect() const { return QRect(closeButton, QSize(buttonWidth, buttonHeight)); }
    QRect MaxRect() const { return QRect(maxButton, QSize(buttonWidth, buttonHeight)); }
    QRect MinRect() const { return QRect(minButton, QSize(buttonWidth, buttonHeight)); }
    QRect IconRect() const { return QRect(frameWidth, frameHeight, buttonWidth, buttonHeight); }
    QRect ClientRect() const;
    // From frameWidth + 2 (past the icon, when there is one) to frameWidth left of the
    // minimise button's place, whether or not that button is drawn.
    QRect TitleRect(const FrameStyle& style) const;
};

// The frame around the client area: border on every side, caption band on top.
QMargins FrameMargins(const FrameStyle& style, const FrameMetrics& metrics);
FrameGeometry ComputeFrameGeometry(QSize window, const FrameStyle& style,
                                   const FrameMetrics& metrics);

enum class FrameHit {
    Outside,  // not in the window
    Client,
    Caption,  // moves the window; also the icon and the places of absent buttons
    Border,   // the border of a fixed-size window: nothing happens
    Sizing,   // the border of a resizable window, along `edges`
    CloseButton,
    MaximizeButton,
    MinimizeButton,
};

struct HitResult {
    FrameHit area = FrameHit::Outside;
    Qt::Edges edges;  // for Sizing

    friend bool operator==(const HitResult&, const HitResult&) = default;
};

// A caption button is hit only strictly inside its outline; its outline counts as caption.
HitResult HitTestFrame(QPoint point, const FrameGeometry& geometry, const FrameStyle& style);

}  // namespace lanterna::skin
