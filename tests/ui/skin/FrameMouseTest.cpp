// The mouse on the drawn frame of a running dialog: the close block closes through the close
// request, a press that leaves the block does nothing, the caption drags the window, the
// maximise and minimise blocks and a double-click on the caption change the window's state.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "SkinTestSupport.h"
#include "tests/support/ui/PostedEvents.h"
#include "ui/DialogCodes.h"
#include "ui/TestHooks.h"

namespace skintest {
namespace {

using lanterna::skin::CSkinDialog;

class FrameMouse : public ::testing::Test {
  protected:
    void SetUp() override { RegisterTemplates(); }
    void TearDown() override { EXPECT_THAT(ui::test::TakeProblems(), ::testing::IsEmpty()); }

    static CSkinDialog& Skin(ui::CDialog& dialog) { return static_cast<CSkinDialog&>(dialog); }

    ui::test::Session session_;
};

// Qt gives a frameless window the desktop's frame back when it also asks for the desktop's
// caption buttons.
TEST_F(FrameMouse, TheDesktopIsAskedForNoFrameOfItsOwn) {
    for (const int id : {int{kControlsTemplate}, int{kToolTemplate}, int{kLockedTemplate}}) {
        CSkinDialog dialog(id);
        ASSERT_TRUE(dialog.Create());
        const Qt::WindowFlags flags = dialog.windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint)) << id;
        EXPECT_FALSE(flags & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)) << id;
        EXPECT_EQ(flags & Qt::WindowType_Mask, id == kToolTemplate ? Qt::Tool : Qt::Dialog) << id;
    }
}

TEST_F(FrameMouse, TheCloseBlockClosesThroughTheCloseRequest) {
    CSkinDialog dialog(kControlsTemplate);
    EXPECT_EQ(ui::test::RunModal(dialog,
                                 [](ui::CDialog& running) {
                                     CSkinDialog& skin = Skin(running);
                                     ClickAt(skin, Centre(skin.FrameGeometryNow().CloseRect()));
                                 }),
              ui::IDCANCEL);

    // Pressed on the block, released beside it: nothing; pressed beside it, released on it:
    // nothing either.
    CSkinDialog again(kControlsTemplate);
    EXPECT_EQ(ui::test::RunModal(again,
                                 [](ui::CDialog& running) {
                                     CSkinDialog& skin = Skin(running);
                                     const QRect close = skin.FrameGeometryNow().CloseRect();
                                     PressAt(skin, Centre(close));
                                     ReleaseAt(skin, close.topLeft() - QPoint(10, 0));
                                     PressAt(skin, close.topLeft());
                                     ReleaseAt(skin, Centre(close));
                                     // A close request would be posted: handled by now.
                                     ASSERT_TRUE(uitest::HandlePostedEvents());
                                     EXPECT_TRUE(running.isVisible());
                                     running.EndDialog(77);
                                 }),
              77);

    // The dialog refuses the close request while its cancel button is disabled.
    CSkinDialog locked(kLockedTemplate);
    EXPECT_EQ(ui::test::RunModal(locked,
                                 [](ui::CDialog& running) {
                                     CSkinDialog& skin = Skin(running);
                                     ClickAt(skin, Centre(skin.FrameGeometryNow().CloseRect()));
                                     ASSERT_TRUE(uitest::HandlePostedEvents());
                                     EXPECT_TRUE(running.isVisible());
                                     running.EndDialog(78);
                                 }),
              78);
}

// The offscreen window system cannot move windows itself: the dialog follows the mouse.
TEST_F(FrameMouse, ADragOnTheCaptionMovesTheWindowAndOneOnTheClientDoesNot) {
    CSkinDialog dialog(kControlsTemplate);
    ui::test::RunModal(dialog, [](ui::CDialog& running) {
        CSkinDialog& skin = Skin(running);
        const auto drag = [&skin](QPoint from, QPoint by) {
            const QPoint start = skin.pos();
            const QPointF local(from);
            const QPointF global(skin.mapToGlobal(from));
            QMouseEvent press(QEvent::MouseButtonPress, local, local, global, Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&skin, &press);
            QMouseEvent move(QEvent::MouseMove, local, local, global + QPointF(by), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&skin, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, local, local, global + QPointF(by),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&skin, &release);
            return skin.pos() - start;
        };
        const lanterna::skin::FrameGeometry& g = skin.FrameGeometryNow();
        EXPECT_EQ(drag(QPoint(g.window.width() / 2, g.frameHeight + 4), QPoint(40, 30)),
                  QPoint(40, 30));
        EXPECT_EQ(drag(g.IconRect().center(), QPoint(-15, 5)), QPoint(-15, 5));
        EXPECT_EQ(drag(QPoint(1, 100), QPoint(20, 20)), QPoint(0, 0));  // border
        EXPECT_EQ(drag(g.ClientRect().center(), QPoint(20, 20)), QPoint(0, 0));
        running.EndDialog(ui::IDOK);
    });
}

TEST_F(FrameMouse, MaximiseMinimiseAndTheDoubleClickOnTheCaption) {
    CSkinDialog dialog(kControlsTemplate);
    ui::test::RunModal(dialog, [](ui::CDialog& running) {
        CSkinDialog& skin = Skin(running);
        ClickAt(skin, Centre(skin.FrameGeometryNow().MaxRect()));
        EXPECT_TRUE(skin.isMaximized());
        ClickAt(skin, Centre(skin.FrameGeometryNow().MaxRect()));
        EXPECT_FALSE(skin.isMaximized());

        const QPoint caption(skin.width() / 2, skin.FrameGeometryNow().frameHeight + 4);
        QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(caption), QPointF(caption),
                          QPointF(skin.mapToGlobal(caption)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&skin, &twice);
        EXPECT_TRUE(skin.isMaximized());
        skin.showNormal();

        ClickAt(skin, Centre(skin.FrameGeometryNow().MinRect()));
        EXPECT_TRUE(skin.isMinimized());
        skin.showNormal();
        running.EndDialog(ui::IDOK);
    });
}

}  // namespace
}  // namespace skintest
