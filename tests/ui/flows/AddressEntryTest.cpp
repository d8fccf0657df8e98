// CAddressEntryDialog: the address rules, the known address, and what the probe on its thread
// answered (the probe itself against a simulated projector is the discovery tests' own).
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

// Nothing answers at a usable address: not string 129 (the address is good) but a question of
// its own, whose Yes adds the address all the same and whose No leaves the dialog open.
TEST_F(AddressEntry, NoAnswerOffersToAddTheAddressAllTheSame) {
    for (const int button : {ui::IDOK, CAddressEntryDialog::kAddButton}) {
        for (const int answer : {ui::IDNO, ui::IDYES}) {
            ui::test::ClearShownMessages();
            lanterna::CopyText(state_.pendingName, "stale");
            state_.pendingType = 22;
            CAddressEntryDialog dialog(state_, nullptr, CountingProbe(0));
            ui::test::AnswerNextMessage(answer);
            const Outcome outcome = Enter(dialog, "192.168.0.32", button);
            EXPECT_EQ(ShownIds(), std::vector<int>{706});
            EXPECT_NE(ui::test::ShownMessages().front().text.find("192.168.0.32"),
                      std::string::npos);
            EXPECT_EQ(outcome.code, answer == ui::IDNO ? ui::IDCANCEL : 1071) << button;
            EXPECT_TRUE(outcome.open || answer == ui::IDYES) << "No leaves the dialog open";
            if (answer == ui::IDYES) {
                EXPECT_EQ(lanterna::TextOf(state_.pendingName), "");
                EXPECT_EQ(state_.pendingType, 0);
                EXPECT_EQ(lanterna::FormatDotted(state_.pendingAddress), "192.168.0.32");
            }
        }
    }
    EXPECT_EQ(probes_, 4);
}

TEST_F(AddressEntry, CancelEndsWithTwo) {
    CAddressEntryDialog dialog(state_, nullptr, CountingProbe(1));
    EXPECT_EQ(ui::test::RunModal(dialog, [](ui::CDialog& d) { PressKey(d, Qt::Key_Escape); }),
              ui::IDCANCEL);
    EXPECT_EQ(probes_, 0);
}

}  // namespace
}  // namespace dialogtest
