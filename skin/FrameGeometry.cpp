#include "skin/FrameGeometry.h"

#include <QStyle>
#include <algorithm>

#include "ui/DialogTemplate.h"

namespace lanterna::skin {
namespace {

bool StrictlyInside(QPoint point, const QRect& rect) {
    return point.x() > rect.left() && point.x() < rect.right() && point.y() > rect.top() &&
           point.y() < rect.bottom();
}

int BorderOf(const FrameStyle& style, const FrameMetrics& metrics) {
    return style.sizingBorder ? metrics.sizingFrame : metrics.dialogFrame;
}

int CaptionOf(const FrameStyle& style, const FrameMetrics& metrics) {
    if (!style.caption) {
        return 0;
    }
    return style.toolWindow ? metrics.smallCaption : metrics.caption;
}

Qt::Edges SizingEdges(QPoint point, const FrameGeometry& geometry) {
    Qt::Edges edges;
    if (point.x() < geometry.frameWidth) {
        edges |= Qt::LeftEdge;
    } else if (point.x() >= geometry.window.width() - geometry.frameWidth) {
        edges |= Qt::RightEdge;
    }
    if (point.y() < geometry.frameHeight) {
        edges |= Qt::TopEdge;
    } else if (point.y() >= geometry.window.height() - geometry.frameHeight) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

}  // namespace

FrameStyle FrameStyleOf(const ui::DialogTemplate& dialogTemplate, bool hasIcon) {
    FrameStyle style;
    style.caption = dialogTemplate.Has(ui::DialogStyle::Caption);
    style.sysMenu = dialogTemplate.Has(ui::DialogStyle::SysMenu);
    style.minimizeBox = dialogTemplate.Has(ui::DialogStyle::MinimizeBox);
    style.maximizeBox = dialogTemplate.Has(ui::DialogStyle::MaximizeBox);
    style.toolWindow = dialogTemplate.Has(ui::DialogStyle::ToolWindow);
    style.sizingBorder = dialogTemplate.Has(ui::DialogStyle::Resizable);
    style.icon = hasIcon;
    return style;
}

// A fixed-size dialog's border is the sizing border less the thin line a window edge takes,
// as on the desktops this frame imitates; the caption heights are the style's title bar,
// and for tool windows a bar two pixels above a small icon on each side.
FrameMetrics FrameMetricsFromStyle(const QStyle& style) {
    FrameMetrics metrics;
    const int thinLine = std::max(1, style.pixelMetric(QStyle::PM_DefaultFrameWidth));
    metrics.sizingFrame = std::max(2, style.pixelMetric(QStyle::PM_MdiSubWindowFrameWidth));
    metrics.dialogFrame = std::max(2, metrics.sizingFrame - thinLine);
    metrics.caption = std::max(12, style.pixelMetric(QStyle::PM_TitleBarHeight));
    metrics.smallCaption =
        std::clamp(style.pixelMetric(QStyle::PM_SmallIconSize) + 4, 12, metrics.caption);
    return metrics;
}

QRect FrameGeometry::ClientRect() const {
    return QRect(frameWidth, BandHeight(), window.width() - 2 * frameWidth,
                 window.height() - BandHeight() - frameHeight);
}

QRect FrameGeometry::TitleRect(const FrameStyle& style) const {
    int left = frameWidth + 2;
    if (style.sysMenu && style.icon) {
        left += buttonWidth;
    }
    const int right = minButton.x() - frameWidth;
    return QRect(left, frameHeight, std::max(0, right - left), buttonHeight);
}

QMargins FrameMargins(const FrameStyle& style, const FrameMetrics& metrics) {
    const int border = BorderOf(style, metrics);
    return QMargins(border, border + CaptionOf(style, metrics), border, border);
}

FrameGeometry ComputeFrameGeometry(QSize window, const FrameStyle& style,
                                   const FrameMetrics& metrics) {
    FrameGeometry geometry;
    geometry.window = window;
    geometry.frameWidth = BorderOf(style, metrics);
    geometry.frameHeight = geometry.frameWidth;
    geometry.captionHeight = CaptionOf(style, metrics);
    geometry.buttonWidth = std::max(0, geometry.captionHeight - 2);
    geometry.buttonHeight = geometry.buttonWidth;
    const int right = window.width() - geometry.frameWidth;
    geometry.closeButton = QPoint(right - geometry.buttonWidth, geometry.frameHeight);
    geometry.maxButton = QPoint(right - 2 * geometry.buttonWidth, geometry.frameHeight);
    geometry.minButton = QPoint(right - 3 * geometry.buttonWidth, geometry.frameHeight);
    return geometry;
}

HitResult HitTestFrame(QPoint point, const FrameGeometry& geometry, const FrameStyle& style) {
    if (!QRect(QPoint(0, 0), geometry.window).contains(point)) {
        return {FrameHit::Outside, {}};
    }
    if (style.caption) {
        if (style.sysMenu && StrictlyInside(point, geometry.CloseRect())) {
            return {FrameHit::CloseButton, {}};
        }
        if (style.HasMaximizeButton() && StrictlyInside(point, geometry.MaxRect())) {
            return {FrameHit::MaximizeButton, {}};
        }
        if (style.HasMinimizeButton() && StrictlyInside(point, geometry.MinRect())) {
            return {FrameHit::MinimizeButton, {}};
        }
    }
    if (geometry.ClientRect().contains(point)) {
        return {FrameHit::Client, {}};
    }
    if (style.sizingBorder) {
        if (const Qt::Edges edges = SizingEdges(point, geometry); edges != Qt::Edges()) {
            return {FrameHit::Sizing, edges};
        }
    }
    const bool inCaption = style.caption && point.y() >= geometry.frameHeight &&
                           point.y() < geometry.BandHeight() && point.x() >= geometry.frameWidth &&
                           point.x() < geometry.window.width() - geometry.frameWidth;
    return {inCaption ? FrameHit::Caption : FrameHit::Border, {}};
}

}  // namespace lanterna::skin
