// The skinned controls: which class each template control becomes, the button's faces in its
// states, the progress bar at its bounds, labels over the gradient, and the texts the
// accessibility interface reads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include "SkinTestSupport.h"
#include "skin/SkinButton.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinLabel.h"
#include "skin/SkinPaint.h"
#include "skin/SkinProgress.h"
#include "ui/DialogCodes.h"
#include "ui/TestHooks.h"

namespace skintest {
namespace {

using lanterna::skin::CSkinButton;
using lanterna::skin::CSkinDialog;
using lanterna::skin::GradientRowColor;
using lanterna::skin::HoverLighten;
using lanterna::skin::kSkinColours;

class SkinControls : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterTemplates();
        ASSERT_TRUE(dialog_.Create());
    }
    CSkinButton& Button(int id) { return *dialog_.GetDlgItemAs<CSkinButton>(id); }
    void Move(QWidget& widget, QPoint point, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, QPointF(point), QPointF(point),
                         QPointF(widget.mapToGlobal(point)), Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&widget, &move);
    }
    void Leave(QWidget& widget) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&widget, &leave);
    }

    CSkinDialog dialog_{kControlsTemplate};
};

TEST_F(SkinControls, EveryTemplateControlBecomesItsSkinnedClass) {
    for (const int id :
         {int{kButton}, int{kFlatButton}, int{kMultiLineButton}, int{kDisabledButton}, ui::IDOK}) {
        EXPECT_NE(dialog_.GetDlgItemAs<CSkinButton>(id), nullptr) << id;
    }
    EXPECT_NE(dialog_.GetDlgItemAs<lanterna::skin::CSkinLabel>(kLabel), nullptr);
    EXPECT_NE(dialog_.GetDlgItemAs<lanterna::skin::CSkinLabel>(kOtherIcon), nullptr);
    EXPECT_NE(dialog_.GetDlgItemAs<lanterna::skin::CSkinIconStatic>(kHeaderIcon), nullptr);
    EXPECT_NE(dialog_.GetDlgItemAs<lanterna::skin::CSkinCheckBox>(kCheck), nullptr);
    EXPECT_NE(dialog_.GetDlgItemAs<lanterna::skin::CSkinRadioButton>(kRadio), nullptr);
    EXPECT_NE(dialog_.GetDlgItemAs<lanterna::skin::CSkinProgress>(kProgress), nullptr);
    // Set up as the kit's own: texts, styles, the default button, the check box's states.
    EXPECT_EQ(dialog_.GetDlgItemText(kButton), "갱신");
    EXPECT_EQ(dialog_.GetDlgItemText(kLabel), "HALL-1F 연결 중");
    EXPECT_TRUE(Button(kFlatButton).isFlat());
    EXPECT_TRUE(Button(kMultiLineButton).IsMultiLine());
    EXPECT_FALSE(Button(kButton).IsMultiLine());
    EXPECT_FALSE(dialog_.IsDlgItemEnabled(kDisabledButton));
    EXPECT_EQ(dialog_.DefaultButton(), ui::IDOK);
    EXPECT_TRUE(Button(ui::IDOK).isDefault());
    dialog_.CheckDlgButton(kCheck, 1);
    EXPECT_EQ(dialog_.IsDlgButtonChecked(kCheck), 1);
    const auto* label = dialog_.GetDlgItemAs<QLabel>(kLabel);
    EXPECT_EQ(label->palette().color(QPalette::WindowText),
              QColor::fromRgb(kSkinColours.labelText));
    EXPECT_FALSE(dialog_.GetDlgItemAs<QLabel>(kOtherIcon)->pixmap().isNull());
}

TEST_F(SkinControls, AccessibleNamesAreTheControlsTexts) {
    for (const int id : {int{kButton}, int{kLabel}, int{kCheck}, int{kRadio}, ui::IDOK}) {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(dialog_.GetDlgItem(id));
        ASSERT_NE(accessible, nullptr) << id;
        EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), dialog_.GetDlgItemText(id))
            << id;
    }
}

// Face pixels away from the centred text: just inside both bevel lines, top and bottom.
TEST_F(SkinControls, ButtonFaceInItsStates) {
    CSkinButton& button = Button(kButton);
    const int h = button.height();
    const QRgb top = kSkinColours.buttonFaceTop;
    const QRgb bottom = kSkinColours.buttonFaceBottom;
    const auto expectFace = [&](const QImage& face, QRgb first, QRgb second, const char* state) {
        EXPECT_EQ(PixelAt(face, 3, 2), ToRgb(GradientRowColor(first, second, 2, h))) << state;
        EXPECT_EQ(PixelAt(face, 3, h - 3), ToRgb(GradientRowColor(first, second, h - 3, h)))
            << state;
        // Inner bevel light on the top-left, outer edge dark there.
        EXPECT_EQ(PixelAt(face, 1, 1), ToRgb(first)) << state;
        EXPECT_EQ(PixelAt(face, 0, 0), ToRgb(second)) << state;
    };

    expectFace(button.grab().toImage(), top, bottom, "normal");

    Move(button, QPoint(5, 5));
    ASSERT_TRUE(button.IsHovered());
    expectFace(button.grab().toImage(), HoverLighten(top), HoverLighten(bottom), "hover");
    Leave(button);
    EXPECT_FALSE(button.IsHovered());

    button.setDown(true);
    const QImage pressed = button.grab().toImage();
    EXPECT_EQ(PixelAt(pressed, 3, 2), ToRgb(GradientRowColor(bottom, top, 2, h)));
    EXPECT_EQ(PixelAt(pressed, 1, 1), ToRgb(top));  // the bevel does not turn over
    button.setDown(false);

    // Disabled: the same face, the text grey instead of the text colour.
    CSkinButton& disabled = Button(kDisabledButton);
    const auto darkest = [](const QImage& face) {
        QRgb darkest = qRgb(255, 255, 255);
        for (int y = 2; y < face.height() - 2; ++y) {
            for (int x = 2; x < face.width() - 2; ++x) {
                if (qGray(face.pixel(x, y)) < qGray(darkest)) {
                    darkest = face.pixel(x, y);
                }
            }
        }
        return darkest;
    };
    const QImage disabledFace = disabled.grab().toImage();
    expectFace(disabledFace, top, bottom, "disabled");
    const QRgb grey = darkest(disabledFace);
    EXPECT_NEAR(qRed(grey), 128, 24);
    EXPECT_NEAR(qBlue(grey), qRed(grey), 8);  // grey, not the blue text colour
    const QRgb text = darkest(button.grab().toImage());
    EXPECT_LT(qRed(text), 60);
    EXPECT_GT(qBlue(text) - qRed(text), 20);
}

TEST_F(SkinControls, HoverFollowsTheMouseButNotWhileTheButtonIsHeld) {
    CSkinButton& button = Button(kButton);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    Move(button, QPoint(6, 6), Qt::LeftButton);
    EXPECT_FALSE(button.IsHovered());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(6, 6));
    Move(button, QPoint(7, 7));
    EXPECT_TRUE(button.IsHovered());
    Leave(button);
    EXPECT_FALSE(button.IsHovered());
}

// The default button looks like any other button, wherever the default moves.
TEST_F(SkinControls, TheDefaultButtonKeepsTheCommonLook) {
    CSkinButton& plain = Button(kButton);
    CSkinButton& twin = Button(kTwinButton);
    ASSERT_EQ(plain.size(), twin.size());
    dialog_.SetDefaultButton(kTwinButton);
    EXPECT_TRUE(twin.isDefault());
    EXPECT_EQ(twin.grab().toImage(), plain.grab().toImage());
    dialog_.SetDefaultButton(kButton);
    EXPECT_EQ(twin.grab().toImage(), plain.grab().toImage());
}

TEST_F(SkinControls, ProgressBarAtItsLowerBoundHalfWayAndUpperBound) {
    auto* progress = dialog_.GetDlgItemAs<lanterna::skin::CSkinProgress>(kProgress);
    const int w = progress->width();
    const int h = progress->height();
    const int row = h / 2;
    const Rgb back = ToRgb(
        GradientRowColor(kSkinColours.progressBackTop, kSkinColours.progressBackBottom, row, h));
    const Rgb bar = ToRgb(
        GradientRowColor(kSkinColours.progressBarTop, kSkinColours.progressBarBottom, row, h));
    progress->setRange(0, 100);

    progress->setValue(0);
    QImage image = progress->grab().toImage();
    EXPECT_EQ(PixelAt(image, 0, row), back);
    EXPECT_EQ(PixelAt(image, w - 1, row), back);

    progress->setValue(50);
    image = progress->grab().toImage();
    const int edge = w * 50 / 100;
    EXPECT_EQ(PixelAt(image, 0, row), bar);
    EXPECT_EQ(PixelAt(image, edge - 1, row), bar);
    EXPECT_EQ(PixelAt(image, edge, row), back);
    EXPECT_EQ(PixelAt(image, 0, 0), ToRgb(GradientRowColor(kSkinColours.progressBarTop,
                                                           kSkinColours.progressBarBottom, 0, h)));

    progress->setValue(100);
    image = progress->grab().toImage();
    EXPECT_EQ(PixelAt(image, 0, row), bar);
    EXPECT_EQ(PixelAt(image, w - 1, row), bar);
}

// On screen (the offscreen platform keeps what was painted): a long label text replaced by a
// short one leaves only the client gradient where the long text was.
TEST_F(SkinControls, AChangedLabelLeavesNoTraceOfTheOldText) {
    ui::test::Session session;
    ui::test::RunModal(dialog_, [](ui::CDialog& running) {
        auto& dialog = static_cast<CSkinDialog&>(running);
        QWidget* label = dialog.GetDlgItem(kLabel);
        const QRect client = dialog.FrameGeometryNow().ClientRect();
        const auto screenImage = [&] {
            QApplication::processEvents();
            return dialog.screen()->grabWindow(dialog.winId()).toImage();
        };
        dialog.SetDlgItemText(kLabel, "ROOM-201 LAB-WL1 HALL-1F ROOM-201");
        QImage shown = screenImage();
        const QRect area = label->geometry().translated(client.topLeft());
        const QRect tail(area.left() + area.width() / 2, area.top(), area.width() / 2,
                         area.height());
        int textPixels = 0;
        const auto gradientAt = [&](int y) {
            return GradientRowColor(kSkinColours.clientTop, kSkinColours.clientBottom,
                                    y - client.top(), client.height());
        };
        for (int y = tail.top(); y <= tail.bottom(); ++y) {
            for (int x = tail.left(); x <= tail.right(); ++x) {
                textPixels += ToRgb(shown.pixel(x, y)) == ToRgb(gradientAt(y)) ? 0 : 1;
            }
        }
        EXPECT_GT(textPixels, 20);  // the long text reaches the tail

        dialog.SetDlgItemText(kLabel, "1F");
        shown = screenImage();
        int leftOver = 0;
        for (int y = tail.top(); y <= tail.bottom(); ++y) {
            for (int x = tail.left(); x <= tail.right(); ++x) {
                leftOver += PixelAt(shown, x, y) == ToRgb(gradientAt(y)) ? 0 : 1;
            }
        }
        EXPECT_EQ(leftOver, 0);
        dialog.EndDialog(ui::IDOK);
    });
    EXPECT_THAT(ui::test::TakeProblems(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace skintest
