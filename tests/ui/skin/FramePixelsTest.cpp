// Pixels of the drawn frame on offscreen renderings: the caption's and the border's gradients,
// the bevel, the outer line, the client gradient, the caption buttons and the title.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <functional>
#include <utility>

#include "SkinTestSupport.h"
#include "dialogs/AboutDialog.h"
#include "skin/FramePainter.h"
#include "skin/SkinPaint.h"
#include "tests/support/language/LanguageTestSupport.h"
#include "tests/support/ui/PinnedFont.h"
#include "ui/DialogTemplate.h"
#include "ui/Gallery.h"

namespace skintest {
namespace {

using lanterna::skin::CSkinDialog;
using lanterna::skin::Darken;
using lanterna::skin::FrameGeometry;
using lanterna::skin::GradientRowColor;
using lanterna::skin::kSkinColours;
using lanterna::skin::Lighten;

constexpr int kBevel = lanterna::skin::kBevelStep;

// Pixels of `image` inside `area` for which `test` holds.
int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test) {
    int count = 0;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            count += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

class FramePixels : public ::testing::Test {
  protected:
    void SetUp() override { RegisterTemplates(); }
};

TEST_F(FramePixels, GradientsBevelOuterLineAndClientOfTheAboutDialog) {
    lanterna::dialogs::CAboutDialog about;
    const QImage image = ui::RenderDialog(about);
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.devicePixelRatio(), 1.0);
    const FrameGeometry& g = about.FrameGeometryNow();
    const int w = image.width();
    const int h = image.height();
    ASSERT_EQ(QSize(w, h), g.window);
    const int band = g.BandHeight();
    const int rest = h - band;
    const auto caption = [&](int row) {
        return GradientRowColor(kSkinColours.captionTop, kSkinColours.captionBottom, row, band);
    };
    const auto border = [&](int y) {
        return GradientRowColor(kSkinColours.borderTop, kSkinColours.borderBottom, y - band, rest);
    };

    // The outer line, all the way round.
    const auto black = [](QRgb pixel) { return ToRgb(pixel) == Rgb{0, 0, 0}; };
    EXPECT_EQ(CountPixels(image, QRect(0, 0, w, 1), black), w);
    EXPECT_EQ(CountPixels(image, QRect(0, h - 1, w, 1), black), w);
    EXPECT_EQ(CountPixels(image, QRect(0, 0, 1, h), black), h);
    EXPECT_EQ(CountPixels(image, QRect(w - 1, 0, 1, h), black), h);

    // The caption gradient: its first row inside the bevel and its last row.
    EXPECT_EQ(PixelAt(image, w / 2, 2), ToRgb(caption(2)));
    EXPECT_EQ(PixelAt(image, w / 2, band - 1), ToRgb(caption(band - 1)));
    EXPECT_EQ(PixelAt(image, 1, band), ToRgb(Lighten(border(band), kBevel)));
    EXPECT_EQ(PixelAt(image, 2, band + 5), ToRgb(border(band + 5)));

    // The bevel: top and left lightened, right and bottom (and their corners) darkened.
    EXPECT_EQ(PixelAt(image, w / 2, 1), ToRgb(Lighten(caption(1), kBevel)));
    EXPECT_EQ(PixelAt(image, 1, 10), ToRgb(Lighten(caption(10), kBevel)));
    EXPECT_EQ(PixelAt(image, 1, h - 10), ToRgb(Lighten(border(h - 10), kBevel)));
    EXPECT_EQ(PixelAt(image, w - 2, 10), ToRgb(Darken(caption(10), kBevel)));
    EXPECT_EQ(PixelAt(image, w - 2, 1), ToRgb(Darken(caption(1), kBevel)));
    EXPECT_EQ(PixelAt(image, w - 2, band + 3), ToRgb(Darken(border(band + 3), kBevel)));
    EXPECT_EQ(PixelAt(image, w / 2, h - 2), ToRgb(Darken(border(h - 2), kBevel)));
    EXPECT_EQ(PixelAt(image, 1, h - 2), ToRgb(Darken(border(h - 2), kBevel)));

    // The client gradient: first and last rows, at the left edge where no control lies.
    const QRect client = g.ClientRect();
    EXPECT_EQ(PixelAt(image, client.left(), client.top()), ToRgb(kSkinColours.clientTop));
    EXPECT_EQ(PixelAt(image, client.left(), client.bottom()),
              ToRgb(GradientRowColor(kSkinColours.clientTop, kSkinColours.clientBottom,
                                     client.height() - 1, client.height())));

    // The close block: the outer edge grey on the top-left, the inner edge white, the cross
    // dark across its middle.
    const QRect close = g.CloseRect();
    EXPECT_EQ(PixelAt(image, close.topLeft()), ToRgb(kSkinColours.captionButtonBottom));
    EXPECT_EQ(PixelAt(image, close.topLeft() + QPoint(1, 1)), ToRgb(kSkinColours.captionButtonTop));
    EXPECT_EQ(PixelAt(image, close.bottomRight()), ToRgb(kSkinColours.captionButtonTop));
    EXPECT_EQ(PixelAt(image, close.bottomRight() - QPoint(1, 1)),
              ToRgb(kSkinColours.captionButtonBottom));
    EXPECT_LT(qGray(image.pixel(Centre(close))), 80);
    // No maximise or minimise block: the caption gradient goes on there.
    EXPECT_EQ(PixelAt(image, Centre(g.MaxRect())), ToRgb(caption(Centre(g.MaxRect()).y())));
    EXPECT_EQ(PixelAt(image, Centre(g.MinRect())), ToRgb(caption(Centre(g.MinRect()).y())));
}

TEST_F(FramePixels, CaptionBlocksOnlyWhereTheBoxesAreAndNeverOnAToolWindow) {
    CSkinDialog boxes(kControlsTemplate);
    const QImage withBoxes = ui::RenderDialog(boxes);
    const FrameGeometry& g = boxes.FrameGeometryNow();
    for (const QRect& block : {g.MinRect(), g.MaxRect(), g.CloseRect()}) {
        EXPECT_EQ(PixelAt(withBoxes, block.topLeft() + QPoint(1, 1)),
                  ToRgb(kSkinColours.captionButtonTop));
    }
    // Plain blocks: only the close block has a glyph.
    EXPECT_GT(qGray(withBoxes.pixel(Centre(g.MaxRect()))), 150);

    CSkinDialog tool(kToolTemplate);
    const QImage toolImage = ui::RenderDialog(tool);
    const FrameGeometry& t = tool.FrameGeometryNow();
    EXPECT_EQ(t.captionHeight, tool.Metrics().smallCaption);
    EXPECT_LT(t.captionHeight, g.captionHeight);
    EXPECT_EQ(PixelAt(toolImage, t.CloseRect().topLeft() + QPoint(1, 1)),
              ToRgb(kSkinColours.captionButtonTop));
    for (const QRect& absent : {t.MinRect(), t.MaxRect()}) {
        const QPoint inner = absent.topLeft() + QPoint(1, 1);
        EXPECT_EQ(PixelAt(toolImage, inner),
                  ToRgb(GradientRowColor(kSkinColours.captionTop, kSkinColours.captionBottom,
                                         inner.y(), t.BandHeight())));
    }
}

// The title drawn with and without its shadow (in the caption's colour): the shadow adds one
// column on the right and none on the left. A title too long for its place ends inside it.
TEST_F(FramePixels, TitleShadowIsOnePixelRightAndALongTitleStaysInItsPlace) {
    lanterna::skin::SkinPalette palette = kSkinColours;
    palette.captionTop = palette.captionBottom = qRgb(0, 0, 0);
    palette.titleText = qRgb(255, 0, 0);
    lanterna::skin::FrameStyle style;
    style.caption = style.sysMenu = style.minimizeBox = true;
    const lanterna::skin::FrameMetrics metrics;
    const FrameGeometry g = lanterna::skin::ComputeFrameGeometry(QSize(260, 120), style, metrics);
    const QRect title = g.TitleRect(style);
    const auto draw = [&](const QString& text, QRgb shadow) {
        palette.titleShadow = shadow;
        QImage image(g.window, QImage::Format_RGB32);
        image.fill(qRgb(0, 0, 0));
        lanterna::skin::DrawFrame(image, g, style, palette,
                                  {.title = text, .font = QFont(), .icon = QPixmap()});
        return image;
    };
    const auto redColumns = [&](const QImage& image) {
        int first = -1;
        int last = -1;
        for (int x = 0; x < g.CloseRect().left(); ++x) {
            for (int y = title.top(); y <= title.bottom(); ++y) {
                if (qRed(image.pixel(x, y)) > 0 && qGreen(image.pixel(x, y)) == 0) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
            }
        }
        return std::pair{first, last};
    };

    const auto [textFirst, textLast] = redColumns(draw("HALL-1F", qRgb(0, 0, 0)));
    const auto [bothFirst, bothLast] = redColumns(draw("HALL-1F", qRgb(255, 0, 0)));
    ASSERT_GE(textFirst, title.left());
    EXPECT_EQ(bothFirst, textFirst);
    EXPECT_EQ(bothLast, textLast + 1);

    const auto [longFirst, longLast] =
        redColumns(draw(QString("ROOM-201 ").repeated(20), qRgb(255, 0, 0)));
    EXPECT_LE(longLast, title.right() + 1);
    EXPECT_GT(longLast, title.right() - title.width() / 10);  // reaches its end: the ellipsis
}

// The title of every dialog, Korean or English, has room in its caption: none ends in an ellipsis.
// Measured in the pinned dialog face (see PinnedFont.h).
TEST_F(FramePixels, EveryTitleHasRoomInItsCaptionInBothLanguages) {
    if (const std::string missing = uitest::WithoutPinnedDialogFace(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    int captions = 0;
    for (const lanterna::Language language :
         {lanterna::Language::Korean, lanterna::Language::English}) {
        const lanterna::test::ScopedLanguage chosen(language);
        for (const int id : ui::DialogTemplateIds()) {
            CSkinDialog dialog(id);
            ASSERT_FALSE(ui::RenderDialog(dialog).isNull()) << id;
            if (!dialog.FrameStyleNow().caption || dialog.windowTitle().isEmpty()) {
                continue;
            }
            ++captions;
            const QRect title = dialog.FrameGeometryNow().TitleRect(dialog.FrameStyleNow());
            EXPECT_LE(QFontMetrics(dialog.font()).horizontalAdvance(dialog.windowTitle()),
                      title.width())
                << lanterna::LanguageCode(language) << " " << id << " "
                << dialog.windowTitle().toStdString();
        }
    }
    EXPECT_GT(captions, 20);
}

TEST_F(FramePixels, TwiceTheDevicePixelRatioDoublesTheLinesAndTheGradientRows) {
    lanterna::skin::FrameStyle style;
    style.caption = style.sysMenu = true;
    const lanterna::skin::FrameMetrics metrics;
    const FrameGeometry g = lanterna::skin::ComputeFrameGeometry(QSize(200, 100), style, metrics);
    QImage image(400, 200, QImage::Format_RGB32);
    image.setDevicePixelRatio(2.0);
    lanterna::skin::DrawFrame(image, g, style, kSkinColours, {});
    const int band = 2 * g.BandHeight();
    const auto caption = [&](int row) {
        return GradientRowColor(kSkinColours.captionTop, kSkinColours.captionBottom, row, band);
    };
    for (const int y : {0, 1}) {
        EXPECT_EQ(PixelAt(image, 200, y), (Rgb{0, 0, 0})) << y;
        EXPECT_EQ(PixelAt(image, y, 150), (Rgb{0, 0, 0})) << y;
    }
    for (const int y : {2, 3}) {
        EXPECT_EQ(PixelAt(image, 200, y), ToRgb(Lighten(caption(y), kBevel))) << y;
    }
    EXPECT_EQ(PixelAt(image, 200, 4), ToRgb(caption(4)));
    EXPECT_EQ(PixelAt(image, 200, band - 1), ToRgb(caption(band - 1)));
    // The close block's edges are two device pixels wide too.
    const QRect close = lanterna::skin::ToDevice(g.CloseRect(), 2.0);
    EXPECT_EQ(PixelAt(image, close.topLeft() + QPoint(1, 1)),
              ToRgb(kSkinColours.captionButtonBottom));
    EXPECT_EQ(PixelAt(image, close.topLeft() + QPoint(2, 2)), ToRgb(kSkinColours.captionButtonTop));
}

// The dialog keeps its frame in pieces; painted at twice the ratio they make the same frame as
// one drawing of the whole window.
TEST_F(FramePixels, ThePiecesOfTheFrameMakeTheWholeFrame) {
    CSkinDialog dialog(kControlsTemplate);
    ASSERT_TRUE(dialog.Create());
    QImage painted(dialog.size() * 2, QImage::Format_RGB32);
    painted.setDevicePixelRatio(2.0);
    dialog.render(&painted);
    QImage whole(painted.size(), QImage::Format_RGB32);
    whole.setDevicePixelRatio(2.0);
    lanterna::skin::DrawFrame(whole, dialog.FrameGeometryNow(), dialog.FrameStyleNow(),
                              kSkinColours,
                              {.title = dialog.windowTitle(), .font = dialog.font(), .icon = {}});
    const QRect client = lanterna::skin::ToDevice(dialog.FrameGeometryNow().ClientRect(), 2.0);
    int compared = 0;
    int different = 0;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) {
            if (!client.contains(x, y)) {
                ++compared;
                different += painted.pixel(x, y) != whole.pixel(x, y) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(compared, 4 * whole.width());
    EXPECT_EQ(different, 0);
}

TEST_F(FramePixels, ANewWindowTextRedrawsTheTitleAndNothingElse) {
    lanterna::dialogs::CAboutDialog about;
    const QImage before = ui::RenderDialog(about);
    about.SetWindowText("ROOM-201 설정");
    const QImage after = ui::RenderDialog(about);
    ASSERT_EQ(before.size(), after.size());
    const QRect title = about.FrameGeometryNow().TitleRect(about.FrameStyleNow());
    const QRect titleAndShadow = title.adjusted(0, 0, 1, 0);
    int changedInside = 0;
    int changedOutside = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) {
                (titleAndShadow.contains(x, y) ? changedInside : changedOutside) += 1;
            }
        }
    }
    EXPECT_GT(changedInside, 20);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_EQ(about.GetWindowText(), "ROOM-201 설정");
}

}  // namespace
}  // namespace skintest
