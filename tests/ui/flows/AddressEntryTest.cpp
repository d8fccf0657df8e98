// CAddressEntryDialog: the address rules, the known address, and the probe on its thread
// against a simulated projector on loopback.
#include <atomic>

#include "FlowSupport.h"
#include "dialogs/AddressEntryDialog.h"
#include "ui/DialogCodes.h"
#include "ui/IpAddressControl.h"

namespace dialogtest {
namespace {

using lanterna::dialogs::CAddressEntryDialog;
constexpr int kAddress = CAddressEntryDialog::kAddressControl;

class AddressEntry : public DialogTest {
  protected:
    // A probe that counts its calls and answers `answer` with name "FOUND".
    CAddressEntryDialog::Probe CountingProbe(int answer) {
        return [this, answer](std::string_view address, lanterna::ProbeAnswer& result) {
            ++probes_;
            lastProbed_ = std::string(address);
            lanterna::CopyText(result.name, "FOUND");
            result.imType = 22;
            return answer;
        };
    }

    // Types `text` into the address control, clicks `button`, and reports what followed.
    struct Outcome {
        int code = 0;
        bool open = false;
        int focusedField = -2;
    };
    Outcome Enter(CAddressEntryDialog& dialog, const QString& text, int button) {
        Outcome outcome;
        outcome.code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
            d.IpAddress(kAddress)->SetText(text);
            d.ClickButton(button);
            outcome.open = d.IsRunning();
            if (outcome.open) {
                outcome.focusedField = d.IpAddress(kAddress)->FocusedField();
                d.ClickButton(ui::IDCANCEL);
            }
        });
        return outcome;
    }

    lanterna::ApplicationState state_;
    std::atomic<int> probes_{0};
    std::string lastProbed_;
};

TEST_F(AddressEntry, UnusableAddressesShowOneTwentyNineWithoutAProbe) {
    struct Case {
        const char* text;
        int focusedField;
    };
    const Case cases[] = {
        {"", 0}, {"10.1..", 2}, {"10..3.4", 1}, {"127.0.0.1", 0}, {"0.0.0.0", 0}, {"224.1.1.1", 0},
    };
    for (const Case& c : cases) {
        for (const int button : {ui::IDOK, CAddressEntryDialog::kAddButton}) {
            ui::test::ClearShownMessages();
            CAddressEntryDialog dialog(state_, nullptr, CountingProbe(1));
            const Outcome outcome = Enter(dialog, c.text, button);
            EXPECT_TRUE(outcome.open) << c.text;
            EXPECT_EQ(outcome.code, ui::IDCANCEL) << c.text;
            EXPECT_EQ(outcome.focusedField, c.focusedField) << c.text;
            EXPECT_EQ(ShownIds(), std::vector<int>{129}) << c.text;
        }
    }
    EXPECT_EQ(probes_, 0);
}

TEST_F(AddressEntry, KnownAddressEndsAtOnceWithoutAProbe) {
    lanterna::ProjectorRecord known{};
    lanterna::ScanDottedInto("192.168.0.20", known.ipAddress);
    state_.projectors.Append(known);
    CAddressEntryDialog connect(state_, nullptr, CountingProbe(1));
    EXPECT_EQ(Enter(connect, "192.168.0.20", ui::IDOK).code, 1426);
    CAddressEntryDialog add(state_, nullptr, CountingProbe(1));
    EXPECT_EQ(Enter(add, "192.168.0.20", CAddressEntryDialog::kAddButton).code, 1425);
    EXPECT_EQ(probes_, 0);
    EXPECT_EQ(lanterna::FormatDotted(state_.pendingAddress), "192.168.0.20");
    EXPECT_TRUE(ui::test::ShownMessages().empty());
}

TEST_F(AddressEntry, AnsweringProjectorFillsThePendingFields) {
    for (const auto& [button, expected] :
         {std::pair{ui::IDOK, ui::IDOK}, std::pair{CAddressEntryDialog::kAddButton, 1070}}) {
        CAddressEntryDialog dialog(state_, nullptr, CountingProbe(1));
        EXPECT_EQ(Enter(dialog, "192.168.0.31", button).code, expected);
        EXPECT_EQ(lastProbed_, "192.168.0.31");
        EXPECT_EQ(lanterna::TextOf(state_.pendingName), "FOUND");
        EXPECT_EQ(state_.pendingType, 22);
        EXPECT_EQ(lanterna::FormatDotted(state_.pendingAddress), "192.168.0.31");
    }
}

TEST_F(AddressEntry, NoAnswerShowsOneTwentyNineAndStaysOpen) {
    lanterna::CopyText(state_.pendingName, "stale");
    CAddressEntryDialog dialog(state_, nullptr, CountingProbe(0));
    const Outcome outcome = Enter(dialog, "192.168.0.32", ui::IDOK);
    EXPECT_TRUE(outcome.open);
    EXPECT_EQ(outcome.focusedField, 0);
    EXPECT_EQ(ShownIds(), std::vector<int>{129});
    EXPECT_EQ(lanterna::TextOf(state_.pendingName), "");
    EXPECT_EQ(probes_, 1);
}

// The real hello probe, sent to a simulated projector on loopback instead of the typed address
// (loopback addresses are not host addresses the dialog accepts).
TEST_F(AddressEntry, HelloProbeAgainstASimulatedProjector) {
    auto config = ProjectorAt("127.88.3.1");
    config.name = "HALL-PJ";
    config.imType = 22;
    CFlowBench bench(config);
    const auto probeSimulator = [&](std::string_view, lanterna::ProbeAnswer& answer) {
        lanterna::AddressProbeOptions options;
        options.port = bench.projector.HelloPort();
        options.localPort = 0;
        lanterna::CAddressProbe probe(options);
        return probe.Run(bench.projector.Address(), answer);
    };
    CAddressEntryDialog dialog(*bench.state, nullptr, probeSimulator);
    EXPECT_EQ(Enter(dialog, "192.168.0.33", CAddressEntryDialog::kAddButton).code, 1070);
    EXPECT_EQ(lanterna::TextOf(bench.state->pendingName), "HALL-PJ");
    EXPECT_EQ(bench.state->pendingType, 22);
    EXPECT_EQ(bench.projector.Counters().helloAnswered, 1u);
}

TEST_F(AddressEntry, CancelEndsWithTwo) {
    CAddressEntryDialog dialog(state_, nullptr, CountingProbe(1));
    EXPECT_EQ(ui::test::RunModal(dialog, [](ui::CDialog& d) { PressKey(d, Qt::Key_Escape); }),
              ui::IDCANCEL);
    EXPECT_EQ(probes_, 0);
}

}  // namespace
}  // namespace dialogtest
