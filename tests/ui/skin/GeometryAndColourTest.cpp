// The frame's geometry and hit-testing, the colour steps and the progress bar's width: pure
// functions, as tables.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "SkinTestSupport.h"
#include "skin/FrameGeometry.h"
#include "skin/SkinPaint.h"
#include "skin/SkinProgress.h"

namespace skintest {
namespace {

using lanterna::skin::ComputeFrameGeometry;
using lanterna::skin::FrameGeometry;
using lanterna::skin::FrameHit;
using lanterna::skin::FrameMetrics;
using lanterna::skin::FrameStyle;
using lanterna::skin::HitResult;
using lanterna::skin::HitTestFrame;

// Border 3 (4 when resizable), caption 24 (20 for a tool window): buttons 22 x 22 (18 x 18).
constexpr FrameMetrics kMetrics{
    .sizingFrame = 4, .dialogFrame = 3, .caption = 24, .smallCaption = 20};
constexpr QSize kWindow(300, 200);

FrameStyle Style(bool sysMenu, bool minMax, bool tool = false, bool sizing = false) {
    return FrameStyle{.caption = true,
                      .sysMenu = sysMenu,
                      .minimizeBox = minMax,
                      .maximizeBox = minMax,
                      .toolWindow = tool,
                      .sizingBorder = sizing,
                      .icon = false};
}

// ---------------------------------------------------------------- geometry

TEST(FrameGeometry, ButtonsFromTheRightEdgeAndTheTitleBetween) {
    FrameStyle style = Style(true, true);
    const FrameGeometry g = ComputeFrameGeometry(kWindow, style, kMetrics);
    EXPECT_EQ(g.frameWidth, 3);
    EXPECT_EQ(g.captionHeight, 24);
    EXPECT_EQ(g.buttonWidth, 22);
    EXPECT_EQ(g.closeButton, QPoint(275, 3));  // 300 - 3 - 22
    EXPECT_EQ(g.maxButton, QPoint(253, 3));
    EXPECT_EQ(g.minButton, QPoint(231, 3));
    EXPECT_EQ(g.ClientRect(), QRect(3, 27, 294, 170));
    EXPECT_EQ(g.TitleRect(style), QRect(5, 3, 223, 22));  // ends 3 left of the minimise place
    style.icon = true;
    EXPECT_EQ(g.TitleRect(style), QRect(27, 3, 201, 22));  // past the icon
    // Without a minimise box the title still ends where that button would be.
    EXPECT_EQ(g.TitleRect(Style(true, false)).right(), 227);

    const FrameGeometry tool = ComputeFrameGeometry(kWindow, Style(true, true, true), kMetrics);
    EXPECT_EQ(tool.captionHeight, 20);
    EXPECT_EQ(tool.closeButton, QPoint(279, 3));
    const FrameGeometry sizing =
        ComputeFrameGeometry(kWindow, Style(true, false, false, true), kMetrics);
    EXPECT_EQ(sizing.ClientRect(), QRect(4, 28, 292, 168));
    EXPECT_EQ(lanterna::skin::FrameMargins(FrameStyle{}, kMetrics), QMargins(3, 3, 3, 3));
}

// ---------------------------------------------------------------- hit-testing

struct HitCase {
    std::string what;
    FrameStyle style;
    QPoint point;
    HitResult expected;
};

TEST(FrameHitTest, Table) {
    const FrameStyle full = Style(true, true);
    const FrameStyle closeOnly = Style(true, false);
    const FrameStyle noMenu = Style(false, false);
    const FrameStyle tool = Style(true, true, true);
    const FrameStyle sizing = Style(true, false, false, true);
    FrameStyle bare;  // no caption
    const auto hit = [](FrameHit area, Qt::Edges edges = {}) { return HitResult{area, edges}; };
    const std::vector<HitCase> cases = {
        // close 275..296 x 3..24, maximise 253..274, minimise 231..252
        {"close, inside", full, {286, 14}, hit(FrameHit::CloseButton)},
        {"close, just inside the corner", full, {276, 4}, hit(FrameHit::CloseButton)},
        {"close, left edge", full, {275, 14}, hit(FrameHit::Caption)},
        {"close, right edge", full, {296, 14}, hit(FrameHit::Caption)},
        {"close, top edge", full, {286, 3}, hit(FrameHit::Caption)},
        {"close, bottom edge", full, {286, 24}, hit(FrameHit::Caption)},
        {"maximise, inside", full, {264, 14}, hit(FrameHit::MaximizeButton)},
        {"maximise, edge shared with close", full, {274, 14}, hit(FrameHit::Caption)},
        {"minimise, inside", full, {242, 14}, hit(FrameHit::MinimizeButton)},
        {"minimise, left edge", full, {231, 14}, hit(FrameHit::Caption)},
        {"caption, middle", full, {120, 14}, hit(FrameHit::Caption)},
        {"caption, over the icon", full, {10, 10}, hit(FrameHit::Caption)},
        {"caption, below the buttons", full, {286, 26}, hit(FrameHit::Caption)},
        {"border, top", full, {150, 1}, hit(FrameHit::Border)},
        {"border, top above close", full, {286, 2}, hit(FrameHit::Border)},
        {"border, left", full, {1, 100}, hit(FrameHit::Border)},
        {"border, right", full, {298, 100}, hit(FrameHit::Border)},
        {"border, bottom", full, {150, 198}, hit(FrameHit::Border)},
        {"border, bottom-right corner", full, {299, 199}, hit(FrameHit::Border)},
        {"client, first pixel", full, {3, 27}, hit(FrameHit::Client)},
        {"client, middle", full, {150, 100}, hit(FrameHit::Client)},
        {"outside", full, {300, 10}, hit(FrameHit::Outside)},
        {"outside, negative", full, {-1, 10}, hit(FrameHit::Outside)},
        {"no boxes: maximise place", closeOnly, {264, 14}, hit(FrameHit::Caption)},
        {"no boxes: minimise place", closeOnly, {242, 14}, hit(FrameHit::Caption)},
        {"no boxes: close", closeOnly, {286, 14}, hit(FrameHit::CloseButton)},
        {"no system menu: close place", noMenu, {286, 14}, hit(FrameHit::Caption)},
        // Tool window: close 279..296 x 3..20, caption band 23 high.
        {"tool: close", tool, {288, 12}, hit(FrameHit::CloseButton)},
        {"tool: maximise place", tool, {270, 12}, hit(FrameHit::Caption)},
        {"tool: minimise place", tool, {252, 12}, hit(FrameHit::Caption)},
        {"tool: below the small caption", tool, {100, 24}, hit(FrameHit::Client)},
        // Resizable: border 4, band 28.
        {"sizing: left", sizing, {1, 100}, hit(FrameHit::Sizing, Qt::LeftEdge)},
        {"sizing: top", sizing, {150, 2}, hit(FrameHit::Sizing, Qt::TopEdge)},
        {"sizing: top-left", sizing, {0, 0}, hit(FrameHit::Sizing, Qt::LeftEdge | Qt::TopEdge)},
        {"sizing: bottom-right",
         sizing,
         {299, 199},
         hit(FrameHit::Sizing, Qt::RightEdge | Qt::BottomEdge)},
        {"sizing: caption", sizing, {150, 14}, hit(FrameHit::Caption)},
        {"no caption: top", bare, {150, 10}, hit(FrameHit::Client)},
        {"no caption: border", bare, {150, 1}, hit(FrameHit::Border)},
        {"no caption: close place", bare, {286, 14}, hit(FrameHit::Client)},
    };
    for (const HitCase& c : cases) {
        const FrameGeometry geometry = ComputeFrameGeometry(kWindow, c.style, kMetrics);
        const HitResult result = HitTestFrame(c.point, geometry, c.style);
        EXPECT_EQ(static_cast<int>(result.area), static_cast<int>(c.expected.area)) << c.what;
        EXPECT_EQ(result.edges, c.expected.edges) << c.what;
    }
}

// ---------------------------------------------------------------- colour steps

TEST(SkinColours, GradientRowsLightenDarkenAndHover) {
    using lanterna::skin::GradientRowColor;
    const QRgb captionTop = qRgb(128, 128, 128);
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_EQ(ToRgb(GradientRowColor(captionTop, black, 0, 27)), (Rgb{128, 128, 128}));
    EXPECT_EQ(ToRgb(GradientRowColor(captionTop, black, 2, 27)), (Rgb{119, 119, 119}));
    EXPECT_EQ(ToRgb(GradientRowColor(captionTop, black, 26, 27)), (Rgb{5, 5, 5}));
    // Channels move apart and truncate: 89 * 10 / 100 = 8.9 drops to 8.
    EXPECT_EQ(ToRgb(GradientRowColor(qRgb(86, 89, 150), black, 10, 100)), (Rgb{78, 81, 135}));
    // Rising channels truncate towards the top colour.
    EXPECT_EQ(ToRgb(GradientRowColor(qRgb(155, 155, 161), qRgb(255, 255, 255), 1, 3)),
              (Rgb{188, 188, 192}));
    EXPECT_EQ(ToRgb(GradientRowColor(captionTop, black, 5, 0)), (Rgb{128, 128, 128}));

    EXPECT_EQ(ToRgb(lanterna::skin::Lighten(qRgb(200, 10, 160), 100)), (Rgb{255, 110, 255}));
    EXPECT_EQ(ToRgb(lanterna::skin::Darken(qRgb(50, 120, 100), 100)), (Rgb{0, 20, 0}));
    EXPECT_EQ(ToRgb(lanterna::skin::HoverLighten(qRgb(201, 200, 0))), (Rgb{255, 250, 50}));
    EXPECT_EQ(ToRgb(lanterna::skin::HoverLighten(qRgb(155, 155, 161))), (Rgb{205, 205, 211}));
}

TEST(SkinProgress, BarWidthTable) {
    using lanterna::skin::CSkinProgress;
    struct Case {
        int position, lower, upper, width, expected;
    };
    const Case cases[] = {
        {0, 0, 100, 200, 0},
        {50, 0, 100, 200, 100},
        {100, 0, 100, 200, 200},
        {33, 0, 100, 200, 66},
        {1, 0, 3, 10, 3},
        {150, 0, 100, 200, 200},
        {-5, 0, 100, 200, 0},
        {15, 10, 20, 100, 50},
        {5, 5, 5, 200, 0},
        {7, 9, 3, 200, 0},
        {INT_MAX - 1, 0, INT_MAX, 1000, 999},
        {0, INT_MIN, INT_MAX, 1000, 500},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CSkinProgress::BarWidth(c.position, c.lower, c.upper, c.width), c.expected)
            << c.position << " in " << c.lower << ".." << c.upper;
    }
}

}  // namespace
}  // namespace skintest
