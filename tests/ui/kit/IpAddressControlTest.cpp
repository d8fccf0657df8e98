// The address control: blank tracking, focus rules, the non-digit filter, the 255 limit and
// typing like the platform's control.
#include <QLineEdit>
#include <QTest>

#include "KitTestSupport.h"
#include "resources/StringIds.h"
#include "ui/DialogCodes.h"
#include "ui/IpAddressControl.h"
#include "ui/MessageBox.h"

namespace kittest {
namespace {

using ui::CDialog;
using ui::CIpAddressControl;

constexpr int kEntryTemplate = 134;
constexpr int kEntryAddress = 1069;

class AddressControl : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        ASSERT_TRUE(dialog_.Create());
        address_ = dialog_.IpAddress(kEntryAddress);
        ASSERT_NE(address_, nullptr);
    }

    // Runs `steps` on the shown, active dialog, where typing and focus behave as for a user.
    void WithRunningDialog(const std::function<void(CDialog&, CIpAddressControl&)>& steps) {
        CDialog running(kEntryTemplate);
        ui::test::RunModal(running, [&](CDialog& d) {
            steps(d, *d.IpAddress(kEntryAddress));
            d.EndDialog(ui::IDCANCEL);
        });
    }

    CDialog dialog_{kEntryTemplate};
    CIpAddressControl* address_ = nullptr;
};

// ---------------------------------------------------------------- blank tracking, read, write

TEST_F(AddressControl, TracksHowManyFieldsAreFilled) {
    EXPECT_TRUE(address_->IsBlank());
    EXPECT_EQ(address_->FilledFieldCount(), 0);
    EXPECT_EQ(address_->FirstBlankField(), 0);
    address_->SetFieldText(0, "192");
    address_->SetFieldText(2, "1");
    EXPECT_FALSE(address_->IsBlank());
    EXPECT_EQ(address_->FilledFieldCount(), 2);
    EXPECT_EQ(address_->FirstBlankField(), 1);
    address_->SetAddress({10, 0, 0, 1});
    EXPECT_EQ(address_->FilledFieldCount(), 4);
    EXPECT_EQ(address_->FirstBlankField(), -1);
    address_->ClearAddress();
    EXPECT_TRUE(address_->IsBlank());
}

TEST_F(AddressControl, ReadsBlankFieldsAsZeroAndCountsThem) {
    address_->SetText("172.20..7");
    lanterna::Octets octets{9, 9, 9, 9};
    EXPECT_EQ(address_->GetAddress(octets), 3);
    EXPECT_EQ(octets, (lanterna::Octets{172, 20, 0, 7}));
    EXPECT_EQ(address_->Text(), "172.20..7");
    address_->SetAddress({255, 255, 255, 0});
    EXPECT_EQ(address_->GetAddress(octets), 4);
    EXPECT_EQ(octets, (lanterna::Octets{255, 255, 255, 0}));
    EXPECT_EQ(dialog_.GetDlgItemText(kEntryAddress), "255.255.255.0");
    address_->SetFieldText(3, "007");
    address_->GetAddress(octets);
    EXPECT_EQ(octets[3], 7);
}

// ---------------------------------------------------------------- filter and limit

TEST_F(AddressControl, NonDigitTextBecomesZeroWithTheRangeMessage) {
    address_->SetFieldText(1, "1a");
    EXPECT_EQ(address_->FieldText(1), "0");
    address_->Field(2)->insert(QStringLiteral("x"));  // as a paste arrives
    EXPECT_EQ(address_->FieldText(2), "0");
    address_->SetFieldText(3, " 5");
    EXPECT_EQ(address_->FieldText(3), "0");
    const std::vector<ui::test::ShownMessage> shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 3u);
    for (const ui::test::ShownMessage& message : shown) {
        EXPECT_EQ(message.stringId, lanterna::kStringAddressFieldRange);
        EXPECT_EQ(message.text, "IP는, 0-255의 범위에서 입력하십시오.");
        EXPECT_EQ(message.caption, "Lanterna");
        EXPECT_EQ(message.flags, ui::MB_ICONEXCLAMATION);
        EXPECT_EQ(message.ownerTemplateId, kEntryTemplate);
    }
    EXPECT_EQ(address_->FilledFieldCount(), 3);
}

TEST_F(AddressControl, DigitsNeverShowTheMessage) {
    address_->SetText("1.22.255.0");
    EXPECT_TRUE(ui::test::ShownMessages().empty());
}

TEST_F(AddressControl, ValuesAbove255BecomeExactly255) {
    address_->SetFieldText(0, "256");
    address_->SetFieldText(1, "999");
    address_->SetFieldText(2, "255");
    lanterna::Octets octets{};
    address_->GetAddress(octets);
    EXPECT_EQ(address_->FieldText(0), "255");
    EXPECT_EQ(address_->FieldText(1), "255");
    EXPECT_EQ(octets, (lanterna::Octets{255, 255, 255, 0}));
    EXPECT_TRUE(ui::test::ShownMessages().empty());
}

TEST_F(AddressControl, EveryChangeIsReportedToTheDialog) {
    int changes = 0;
    dialog_.OnCommand(kEntryAddress, ui::Notify::TextChanged, [&] { ++changes; });
    address_->SetFieldText(0, "1");
    address_->SetFieldText(0, "12");
    address_->ClearAddress();  // one field had text
    EXPECT_EQ(changes, 3);
    address_->SetFieldText(1, "q");  // becomes "0": reported once, as the corrected text
    EXPECT_EQ(changes, 4);
}

// ---------------------------------------------------------------- focus

TEST_F(AddressControl, FocusGoesToTheFirstBlankFieldOrTheFirstField) {
    WithRunningDialog([](CDialog& d, CIpAddressControl& address) {
        address.SetFieldFocus(CIpAddressControl::kFirstBlankField);
        EXPECT_EQ(address.FocusedField(), 0);  // all blank
        address.SetText("10.1..");
        address.SetFieldFocus(CIpAddressControl::kFirstBlankField);
        EXPECT_EQ(address.FocusedField(), 2);
        EXPECT_EQ(d.GetFocusId(), kEntryAddress);
        address.SetText("10.1.2.3");
        address.SetFieldFocus(CIpAddressControl::kFirstBlankField);
        EXPECT_EQ(address.FocusedField(), 0);  // none blank
        address.SetFieldFocus(3);
        EXPECT_EQ(address.FocusedField(), 3);
        d.GotoDlgCtrl(kEntryAddress);
        EXPECT_EQ(address.FocusedField(), 0);
    });
}

// ---------------------------------------------------------------- typing

TEST_F(AddressControl, ThreeDigitsMoveOnUnlessBroughtBackTo255) {
    WithRunningDialog([](CDialog& d, CIpAddressControl& address) {
        address.SetFieldFocus(0);
        TypeText(d, "192");
        EXPECT_EQ(address.FocusedField(), 1);
        TypeText(d, "300");
        EXPECT_EQ(address.FieldText(1), "255");
        EXPECT_EQ(address.FocusedField(), 1);  // stays where the value was corrected
    });
}

TEST_F(AddressControl, DotMovesOnOnlyAfterADigit) {
    WithRunningDialog([](CDialog& d, CIpAddressControl& address) {
        address.SetFieldFocus(0);
        TypeText(d, ".");
        EXPECT_EQ(address.FocusedField(), 0);
        TypeText(d, "10.");
        EXPECT_EQ(address.FocusedField(), 1);
        TypeText(d, "0 2.");  // a space moves on like a dot
        EXPECT_EQ(address.Text(), "10.0.2.");
        EXPECT_EQ(address.FocusedField(), 3);
        TypeText(d, "7.");  // no field after the last
        EXPECT_EQ(address.FocusedField(), 3);
        EXPECT_EQ(address.Text(), "10.0.2.7");
    });
}

TEST_F(AddressControl, TypedLettersAreDroppedWithoutAMessage) {
    WithRunningDialog([](CDialog& d, CIpAddressControl& address) {
        address.SetFieldFocus(0);
        TypeText(d, "1x2");
        EXPECT_EQ(address.FieldText(0), "12");
    });
    EXPECT_TRUE(ui::test::ShownMessages().empty());
}

TEST_F(AddressControl, BackspaceAndArrowsCrossFieldEdges) {
    WithRunningDialog([](CDialog&, CIpAddressControl& address) {
        address.SetText("1.2..");
        address.SetFieldFocus(1);
        address.Field(1)->setCursorPosition(0);
        QTest::keyClick(address.Field(1), Qt::Key_Backspace);
        EXPECT_EQ(address.FocusedField(), 0);
        EXPECT_EQ(address.FieldText(0), "1");  // moving deletes nothing
        QTest::keyClick(address.Field(0), Qt::Key_Right);
        EXPECT_EQ(address.FocusedField(), 1);
        QTest::keyClick(address.Field(1), Qt::Key_Left);
        EXPECT_EQ(address.FocusedField(), 0);
    });
}

}  // namespace
}  // namespace kittest
