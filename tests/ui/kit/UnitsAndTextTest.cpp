// Dialog units and text conversion.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include "ui/Dialog.h"
#include "ui/DialogUnits.h"
#include "ui/Text.h"
#include "tests/support/ui/PinnedFont.h"

namespace {

// ---------------------------------------------------------------- dialog units

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(ui::MulDiv(10, 6, 4), 15);
    EXPECT_EQ(ui::MulDiv(1, 6, 4), 2);    // 1.5 -> 2
    EXPECT_EQ(ui::MulDiv(1, 5, 4), 1);    // 1.25 -> 1
    EXPECT_EQ(ui::MulDiv(-1, 6, 4), -2);  // -1.5 -> -2
    EXPECT_EQ(ui::MulDiv(7, 3, 0), 0);
}

TEST(DialogUnits, ConvertWithQuarterWidthAndEighthHeight) {
    const ui::DialogBaseUnits base{6, 13};
    EXPECT_EQ(ui::DluToPixelsX(4, base), 6);
    EXPECT_EQ(ui::DluToPixelsY(8, base), 13);
    EXPECT_EQ(ui::DluToPixelsX(209, base), 314);  // 313.5 rounds up
    EXPECT_EQ(ui::DluToPixelsY(85, base), 138);   // 138.125
    EXPECT_EQ(ui::DluToPixels({7, 8, 50, 14}, base), QRect(11, 13, 75, 23));
}

TEST(DialogUnits, DialogFontIsKoreanCapableAndMeasuresPlausibly) {
    const QFont font = ui::DialogFont();
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_TRUE(QFontMetrics(font).inFont(QChar(0xD55C)));  // 한
    const ui::DialogBaseUnits base = ui::MeasureBaseUnits(font);
    EXPECT_GE(base.x, 4);
    EXPECT_LE(base.x, 9);
    EXPECT_GE(base.y, 11);
    EXPECT_LE(base.y, 20);
}

// The lowest row that holds ink between columns `from` and `to` of `image`, or -1.
int LowestInkRow(const QImage& image, int from, int to) {
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = from; x < to; ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                return y;
            }
        }
    }
    return -1;
}

// The period of "2.00" ends on the row the digits end on: one row lower it reads as a comma
// (the face's light hinting snapped it there at the dialog's size).
TEST(DialogUnits, PeriodSitsOnTheDigitsBaseline) {
    if (const std::string missing = uitest::WithoutPinnedDialogFace(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const QFont font = ui::DialogFont();
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(QStringLiteral("2.00")) + 4, metrics.height() + 4,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(2, 2 + metrics.ascent()), QStringLiteral("2.00"));
    }
    const int digitEnd = 2 + metrics.horizontalAdvance(QStringLiteral("2"));
    const int periodEnd = 2 + metrics.horizontalAdvance(QStringLiteral("2."));
    const int period = LowestInkRow(image, digitEnd, periodEnd);
    const int digits = LowestInkRow(image, 2, digitEnd);
    ASSERT_GE(digits, 0);
    EXPECT_EQ(period, digits);
}

TEST(DialogUnits, DialogClientSizeFollowsTemplateUnits) {
    ui::CDialog dialog(146);
    ASSERT_TRUE(dialog.Create());
    const ui::DialogBaseUnits base = dialog.BaseUnits();
    EXPECT_EQ(base, ui::MeasureBaseUnits(dialog.font()));
    EXPECT_EQ(dialog.ClientSize(), QSize(ui::MulDiv(209, base.x, 4), ui::MulDiv(85, base.y, 8)));
    EXPECT_EQ(dialog.size(), dialog.ClientSize());
    EXPECT_EQ(dialog.GetDlgItem(1095)->geometry(), dialog.MapDialogRect({34, 10, 170, 45}));
}

TEST(DialogUnits, FrameMarginsSurroundTheClientArea) {
    ui::CDialog dialog(146);
    ASSERT_TRUE(dialog.Create());
    const QSize client = dialog.ClientSize();
    dialog.SetFrameMargins(QMargins(4, 22, 4, 4));
    EXPECT_EQ(dialog.size(), client + QSize(8, 26));
    EXPECT_EQ(dialog.ClientArea()->geometry(), QRect(QPoint(4, 22), client));
}

// ---------------------------------------------------------------- text

TEST(Text, Utf8LengthCountsBytes) {
    EXPECT_EQ(ui::Utf8Length(QStringLiteral("abc")), 3u);
    EXPECT_EQ(ui::Utf8Length(QString::fromUtf8("한글")), 6u);
    EXPECT_EQ(ui::Utf8Length(QString::fromUtf8("é")), 2u);
    EXPECT_EQ(ui::Utf8Length(QString::fromUtf8("😀")), 4u);  // one surrogate pair
}

TEST(Text, TruncationNeverSplitsACharacter) {
    const QString mixed = QString::fromUtf8("a한😀b");  // 1 + 3 + 4 + 1 bytes
    EXPECT_EQ(ui::TruncateToUtf8Bytes(mixed, 3), QStringLiteral("a"));
    EXPECT_EQ(ui::TruncateToUtf8Bytes(mixed, 4), QString::fromUtf8("a한"));
    EXPECT_EQ(ui::TruncateToUtf8Bytes(mixed, 7), QString::fromUtf8("a한"));
    EXPECT_EQ(ui::TruncateToUtf8Bytes(mixed, 8), QString::fromUtf8("a한😀"));
    EXPECT_EQ(ui::TruncateToUtf8Bytes(mixed, 100), mixed);
}

TEST(Text, RoundTripKeepsUtf8Bytes) {
    const std::string korean = "프로젝터 이름";
    EXPECT_EQ(ui::ToUtf8(ui::ToQString(korean)), korean);
    EXPECT_EQ(ui::ToQString(std::string_view("a\0b", 3)).size(), 3);
}

}  // namespace
