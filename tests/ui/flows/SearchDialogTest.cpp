// CSearchDialog: both searches against a simulated projector on loopback, the end after both
// reports, the swallowed keys and the gradient.
#include <QImage>

#include "FlowSupport.h"
#include "dialogs/SearchDialog.h"
#include "discovery/HelloSweep.h"
#include "ui/DialogCodes.h"
#include "ui/Gallery.h"

namespace dialogtest {
namespace {

using lanterna::dialogs::CSearchDialog;

lanterna::SearchTargets TargetsAt(const lanterna::sim::SimulatedProjector& projector) {
    return lanterna::SearchTargets{
        .hello = {.address = projector.Address(), .port = projector.HelloPort(), .localPort = 0},
        .secondary = {.address = projector.Address(), .port = projector.SecondaryPort()},
        .pjlink = {.address = projector.Address(), .port = 9, .localPort = 0}};
}

using SearchDialog = DialogTest;

TEST_F(SearchDialog, EndsWithOkAfterBothSearchesAndKeepsWhatTheyFound) {
    auto config = ProjectorAt("127.88.4.1");
    config.name = "LOBBY";
    lanterna::sim::SimulatedProjector projector(config);
    ASSERT_TRUE(projector.Start());
    lanterna::ApplicationState state;
    CSearchDialog dialog(state, nullptr, TargetsAt(projector));
    bool openAfterKeys = false;
    bool oneDoneEarly = true;
    const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        oneDoneEarly = dialog.OneDone();
        PressKey(d, Qt::Key_Return);
        PressKey(d, Qt::Key_Escape);
        openAfterKeys = d.IsRunning();
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_TRUE(openAfterKeys);
    EXPECT_FALSE(oneDoneEarly);
    // Found by both searches: the duplicate is removed later by the main window.
    ASSERT_EQ(state.projectors.Size(), 2u);
    for (std::size_t index = 0; index < 2; ++index) {
        EXPECT_EQ(lanterna::TextOf(state.projectors.At(index)->projectorName), "LOBBY");
        EXPECT_EQ(lanterna::TextOf(state.projectors.At(index)->address), "127.88.4.1");
        EXPECT_EQ(state.projectors.At(index)->origin, 0);
    }
}

// A dialog created only to be drawn starts no search. The searches are aimed at a simulated
// projector; a hello of the test's own, answered after any that came before it, shows that the
// projector was asked nothing else.
TEST_F(SearchDialog, PaintsAVerticalGradientFromLightToDark) {
    lanterna::sim::SimulatedProjector projector(ProjectorAt("127.88.4.2"));
    ASSERT_TRUE(projector.Start());
    lanterna::ApplicationState state;
    CSearchDialog dialog(state, nullptr, TargetsAt(projector));
    const QImage image = ui::RenderDialog(dialog);
    ASSERT_FALSE(image.isNull());
    EXPECT_FALSE(dialog.OneDone());
    std::vector<lanterna::HelloAnswer> answers;
    ASSERT_EQ(lanterna::CHelloSweep({.port = projector.HelloPort(), .localPort = 0, .quietMs = 0})
                  .Run({{projector.Address()}}, answers),
              1);
    ASSERT_TRUE(answers.at(0));
    EXPECT_EQ(projector.Counters().helloAnswered, 1U) << "the test's own hello only";
    EXPECT_TRUE(state.projectors.Empty());
    const QRect client(dialog.ClientArea()->geometry());
    const QColor top = image.pixelColor(client.left() + 3, client.top() + 2);
    const QColor bottom = image.pixelColor(client.left() + 3, client.bottom() - 2);
    EXPECT_NEAR(top.red(), 238, 3);
    EXPECT_NEAR(top.blue(), 248, 3);
    EXPECT_NEAR(bottom.red(), 187, 3);
    EXPECT_NEAR(bottom.blue(), 195, 3);
}

}  // namespace
}  // namespace dialogtest
