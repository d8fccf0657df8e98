// CWirelessDialog, CWirelessSecurityDialog and CWirelessSecurityFileDialog: masked key boxes, the
// ESSID rules of both dialogs, the WEP key checks with their focus, the mode and ad hoc rules,
// ad hoc switched across two runs inside one network settings dialog, and the file variant's
// shared key, LEAP checks and stored keys.
#include <functional>
#include <string>

#include "SettingsTestSupport.h"
#include "dialogs/NetworkSettingsDialog.h"
#include "dialogs/WirelessDialog.h"
#include "dialogs/WirelessSecurityDialog.h"

namespace settingstest {
namespace {

using lanterna::kStateChanged;
using lanterna::kStateRead;
using lanterna::kStateUnchanged;
using lanterna::TextOf;
using lanterna::dialogs::CWirelessDialog;
using lanterna::dialogs::CWirelessSecurityDialog;
using lanterna::dialogs::CWirelessSecurityFileDialog;
using Basic = CWirelessDialog;
using Security = CWirelessSecurityDialog;

constexpr const char* kMask = "**********";
constexpr int kKey1 = Security::kKeyEdits[0];
constexpr int kKey3 = Security::kKeyEdits[2];

// LAB-WL1 on "CAMPUS-WL" in infrastructure mode; WEP 128-bit with key 1 stored and in use (and
// the basic module's one key).
ProjectorRecord WirelessProjector() {
    ProjectorRecord r = ReadProjector();
    lanterna::CopyText(r.projectorName, "LAB-WL1");
    r.wirelessActive = 1;
    r.essidSet = 1;
    lanterna::CopyText(r.essid, "CAMPUS-WL");
    r.wepEnabled = 1;
    lanterna::CopyText(r.wepKey, "labwl1key0001");
    r.security = {1, 2, 0, 0};
    r.wepKeyId = 1;
    lanterna::CopyText(r.wepKey1, "labwl1key0001");
    for (std::int32_t* state :
         {&r.essidState, &r.wepEnabledState, &r.wepKeyState, &r.adhocState, &r.securityState,
          &r.wepKeyIdState, &r.wepKey1State, &r.wepKey2State, &r.wepKey3State, &r.wepKey4State}) {
        *state = kStateRead;
    }
    return r;
}

// Runs the script, then OK; a dialog left open reports its focus and is cancelled.
int RunOk(ui::CDialog& dialog, const std::function<void(ui::CDialog&)>& edit,
          Focus* focus = nullptr) {
    return ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        edit(d);
        d.ClickButton(ui::IDOK);
        if (d.isVisible()) {
            if (focus != nullptr) {
                *focus = FocusOf(d);
            }
            d.ClickButton(ui::IDCANCEL);
        }
    });
}

// ---- both dialogs -------------------------------------------------------------------------

TEST_F(DialogTest, EssidRulesOfBothDialogs) {
    const struct {
        std::string essid;
        bool basicAccepts;
        bool securityAccepts;
    } cases[] = {
        {std::string(32, 'W'), true, true}, {std::string(33, 'W'), false, false},
        {"CAMPUS:WL", false, false},        {"CAMPUS WL", false, false},
        {"CAMPUS_WL", false, true},         {"", true, true},
    };
    for (const auto& c : cases) {
        ProjectorRecord record = WirelessProjector();
        Basic basic(&record);
        Security security(&record);
        for (ui::CDialog* dialog :
             {static_cast<ui::CDialog*>(&basic), static_cast<ui::CDialog*>(&security)}) {
            ui::test::ClearShownMessages();
            Focus focus;
            const bool accepted =
                RunOk(
                    *dialog, [&](ui::CDialog& d) { Type(d, 1043, c.essid.c_str()); }, &focus) ==
                ui::IDOK;
            const bool expected = dialog == &basic ? c.basicAccepts : c.securityAccepts;
            EXPECT_EQ(accepted, expected) << dialog->TemplateId() << " '" << c.essid << "'";
            if (!expected) {
                EXPECT_EQ(ShownIds(), std::vector<int>{150});
                EXPECT_EQ(focus.control, 1043);
            }
        }
        EXPECT_EQ(record.essidSet, c.essid.empty() ? 0 : 1) << c.essid;
    }
}

// ---- the basic wireless dialog ------------------------------------------------------------

TEST_F(DialogTest, BasicKeyBoxMasksTheStoredKey) {
    const struct {
        const char* what;
        std::function<void(ui::CDialog&)> edit;
        int stringId;  // 0: accepted
        const char* key;
        std::int32_t keyState;
    } cases[] = {
        {"untouched", [](ui::CDialog& d) { EXPECT_EQ(d.GetDlgItemText(1079), kMask); }, 0,
         "labwl1key0001", kStateUnchanged},
        {"asterisks typed",
         [](ui::CDialog& d) {
             Type(d, Basic::kWepKeyEdit, "");
             Type(d, Basic::kWepKeyEdit, kMask);
         },
         151, "labwl1key0001", kStateRead},
        {"new key", [](ui::CDialog& d) { Type(d, Basic::kWepKeyEdit, "0A1B2C3D4E"); }, 0,
         "0A1B2C3D4E", kStateChanged},
        {"WEP off",
         [](ui::CDialog& d) {
             d.ClickButton(Basic::kWepOff);
             EXPECT_FALSE(d.IsDlgItemEnabled(Basic::kWepKeyEdit));
         },
         0, "", kStateChanged},
    };
    for (const auto& c : cases) {
        ui::test::ClearShownMessages();
        ProjectorRecord record = WirelessProjector();
        Basic dialog(&record);
        dialog.SetReference(record);
        Focus focus;
        RunOk(dialog, c.edit, &focus);
        EXPECT_EQ(ShownIds(), c.stringId == 0 ? std::vector<int>{} : std::vector<int>{c.stringId})
            << c.what;
        if (c.stringId != 0) {
            EXPECT_EQ(focus.control, Basic::kWepKeyEdit) << c.what;
            continue;
        }
        EXPECT_EQ(TextOf(record.wepKey), c.key) << c.what;
        EXPECT_EQ(record.wepKeyState, c.keyState) << c.what;
        EXPECT_EQ(record.wepEnabledState, c.keyState) << c.what;
    }
}

// A refused OK has stored the new ESSID; Cancel puts it back together with whether it is set,
// so the write never sends the old ESSID as "no ESSID".
TEST_F(DialogTest, BasicCancelPutsBackTheEssidAndWhetherItIsSet) {
    ProjectorRecord record = WirelessProjector();
    Basic dialog(&record);
    dialog.SetReference(record);
    RunOk(dialog, [](ui::CDialog& d) {
        Type(d, Basic::kEssidEdit, "");
        Type(d, Basic::kWepKeyEdit, "bad!");
    });
    EXPECT_EQ(ShownIds(), std::vector<int>{151});
    EXPECT_EQ(TextOf(record.essid), "CAMPUS-WL");
    EXPECT_EQ(record.essidSet, 1);
    EXPECT_EQ(record.essidState, kStateChanged) << "state words stay";
}

// ---- the wireless security dialog ---------------------------------------------------------

TEST_F(DialogTest, SecurityModeAndAdhocRules) {
    ProjectorRecord record = WirelessProjector();
    Security dialog(&record);
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.IsDlgButtonChecked(Security::kWepRadio), 1);
    EXPECT_EQ(dialog.GetDlgItemText(Security::kKeySizeList), "128bit");
    EXPECT_EQ(dialog.GetDlgItemText(kKey1), kMask);
    EXPECT_TRUE(dialog.IsDlgItemEnabled(kKey3));
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Security::kSharedKeyEdit)) << "never sent to projectors";

    dialog.ClickButton(Security::kKeyRadios[2]);
    EXPECT_EQ(dialog.IsDlgButtonChecked(Security::kWepRadio), 1) << "key radios: a group apart";
    EXPECT_EQ(dialog.IsDlgButtonChecked(Security::kKeyRadios[0]), 0);
    dialog.ClickButton(Security::kNoneRadio);
    EXPECT_EQ(dialog.IsDlgButtonChecked(Security::kWepRadio), 0) << "mode radios: one group";
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Security::kKeySizeList));
    dialog.ClickButton(Security::kLeapRadio);
    EXPECT_FALSE(dialog.IsDlgItemEnabled(Security::kUserNameEdit));

    dialog.ClickButton(Security::kAdhocOn);
    for (const int id : {Security::kWpaPskRadio, Security::kNoneRadio, Security::kSecurityLabel,
                         Security::kSharedKeyLabel, kKey1, Security::kKeyRadios[3]}) {
        EXPECT_FALSE(dialog.IsDlgItemVisible(id)) << id;
        EXPECT_FALSE(dialog.IsDlgItemEnabled(id)) << id;
    }
    dialog.ClickButton(Security::kWepRadio);  // hidden: nothing happens
    dialog.ClickButton(Security::kAdhocOff);
    EXPECT_TRUE(dialog.IsDlgItemVisible(kKey1));
    EXPECT_TRUE(dialog.IsDlgItemEnabled(Security::kWpaPskRadio));
    EXPECT_FALSE(dialog.IsDlgItemEnabled(kKey1)) << "the mode rule: LEAP is checked";
}

TEST_F(DialogTest, SecurityWepKeysAreCheckedWithTheirFocus) {
    const struct {
        const char* what;
        std::function<void(ui::CDialog&)> edit;
        int focus;  // 0: accepted
    } cases[] = {
        {"stored 13-character key, switched to 64bit",
         [](ui::CDialog& d) { d.SetDlgItemText(Security::kKeySizeList, "64bit"); }, kKey1},
        {"all four empty", [](ui::CDialog& d) { Type(d, kKey1, ""); }, kKey1},
        {"key 3 in use, only key 1 set",
         [](ui::CDialog& d) { d.ClickButton(Security::kKeyRadios[2]); }, kKey3},
        {"key 3 of the wrong size", [](ui::CDialog& d) { Type(d, kKey3, "abcde"); }, kKey3},
        {"key 3 typed and in use",
         [](ui::CDialog& d) {
             Type(d, kKey3, "0123456789abcdef0123456789");
             d.ClickButton(Security::kKeyRadios[2]);
         },
         0},
    };
    for (const auto& c : cases) {
        ui::test::ClearShownMessages();
        ProjectorRecord record = WirelessProjector();
        Security dialog(&record);
        dialog.SetReference(record);
        Focus focus;
        const int code = RunOk(dialog, c.edit, &focus);
        if (c.focus == 0) {
            EXPECT_EQ(code, ui::IDOK) << c.what;
            EXPECT_EQ(record.wepKeyId, 3);
            EXPECT_EQ(record.wepKeyIdState, kStateChanged);
            EXPECT_EQ(TextOf(record.wepKey1), "labwl1key0001") << "the mask stands for it";
            EXPECT_EQ(record.wepKey1State, kStateUnchanged);
            EXPECT_EQ(record.wepKey3State, kStateChanged);
            EXPECT_EQ(record.securityState, kStateUnchanged);
            continue;
        }
        EXPECT_EQ(ShownIds(), std::vector<int>{151}) << c.what;
        EXPECT_EQ(focus.control, c.focus) << c.what;
    }
}

TEST_F(DialogTest, SecurityWithAdhocOnLeavesTheSecuritySettingsAlone) {
    ProjectorRecord record = WirelessProjector();
    Security dialog(&record);
    dialog.SetReference(record);
    const int code = RunOk(dialog, [](ui::CDialog& d) {
        d.ClickButton(Security::kNoneRadio);
        Type(d, kKey1, "bad");
        d.ClickButton(Security::kAdhocOn);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_EQ(record.security, (lanterna::SecurityCode{1, 2, 0, 0}));
    EXPECT_EQ(TextOf(record.wepKey1), "labwl1key0001");
    EXPECT_EQ(record.securityState, kStateRead);
    EXPECT_EQ(record.adhoc, 1);
    EXPECT_EQ(record.adhocState, kStateChanged);
}

// The wireless button opens the dialog of the module's type; ad hoc switched off in one run and
// back on in a later one ends where the projector was.
TEST_F(DialogTest, AdhocOffAndOnAgainAcrossTwoRunsIsUnchanged) {
    for (const int imType : {22, 21}) {
        ProjectorRecord projector = WirelessProjector();
        projector.imType = static_cast<std::uint8_t>(imType);
        projector.adhoc = 1;
        SettingsBench bench(projector);
        lanterna::dialogs::CNetworkSettingsDialog dialog(*bench.state);
        const int wirelessTemplate = imType == 22 ? 147 : 132;
        std::int32_t afterFirst = -1;
        ui::test::RunModal(dialog, [&](ui::CDialog& d) {
            ui::test::ScriptNextDialog(wirelessTemplate, [](ui::CDialog& w) {
                w.ClickButton(Security::kAdhocOff);
                w.ClickButton(ui::IDOK);
            });
            d.ClickButton(lanterna::dialogs::CNetworkSettingsDialog::kWirelessButton);
            afterFirst = bench.Record().adhocState;
            ui::test::ScriptNextDialog(wirelessTemplate, [](ui::CDialog& w) {
                w.ClickButton(Security::kAdhocOn);
                w.ClickButton(ui::IDOK);
            });
            d.ClickButton(lanterna::dialogs::CNetworkSettingsDialog::kWirelessButton);
            EXPECT_EQ(bench.Record().adhoc, 1) << imType;
            EXPECT_EQ(bench.Record().adhocState, kStateUnchanged) << imType;
            d.ClickButton(ui::IDCANCEL);
        });
        EXPECT_EQ(afterFirst, kStateChanged) << imType;
    }
}

// ---- configuration-file variant -----------------------------------------------------------

TEST_F(DialogTest, SecurityFileVariantSharedKeyAndLeapChecks) {
    const struct {
        const char* what;
        lanterna::SecurityCode stored;
        std::function<void(ui::CDialog&)> edit;
        int stringId;
        int focus;
    } cases[] = {
        {"entering the masked shared key empties it",
         {2, 0, 1, 0},
         [](ui::CDialog& d) {
             EXPECT_EQ(d.GetDlgItemText(Security::kSharedKeyEdit), kMask);
             d.GotoDlgCtrl(Security::kSharedKeyEdit);
             EXPECT_EQ(d.GetDlgItemText(Security::kSharedKeyEdit), "");
         },
         188,
         Security::kSharedKeyEdit},
        {"empty password",
         {0, 0, 0, 0},
         [](ui::CDialog& d) {
             d.ClickButton(Security::kLeapRadio);
             EXPECT_TRUE(d.IsDlgItemEnabled(Security::kPasswordEdit));
             Type(d, Security::kUserNameEdit, "lab-wl1");
         },
         190,
         Security::kPasswordEdit},
    };
    for (const auto& c : cases) {
        ui::test::ClearShownMessages();
        ProjectorRecord fileRecord{};
        fileRecord.security = c.stored;
        lanterna::CopyText(fileRecord.securityPsk, "lab-wireless-passphrase");
        lanterna::CopyText(fileRecord.securityUser, "lab-wl1");
        lanterna::CopyText(fileRecord.securityPassword, "secret");
        CWirelessSecurityFileDialog dialog;
        dialog.SetRecord(&fileRecord);
        Focus focus;
        RunOk(dialog, c.edit, &focus);
        EXPECT_EQ(ShownIds(), std::vector<int>{c.stringId}) << c.what;
        EXPECT_EQ(focus.control, c.focus) << c.what;
        EXPECT_EQ(fileRecord.essidState, 0) << "nothing stored: " << c.what;
    }
}

// A second run shows the stored keys masked; OK without touching them keeps the keys, never the
// asterisks.
TEST_F(DialogTest, SecurityFileVariantKeepsStoredKeysBehindTheirMasks) {
    ProjectorRecord fileRecord{};
    CWirelessSecurityFileDialog dialog;
    dialog.SetRecord(&fileRecord);
    RunOk(dialog, [](ui::CDialog& d) {
        Type(d, Security::kEssidEdit, "LAB-WL");
        d.ClickButton(Security::kWepRadio);
        d.SetDlgItemText(Security::kKeySizeList, "64bit");
        Type(d, Security::kKeyEdits[1], "abcde");
        d.ClickButton(Security::kKeyRadios[1]);
    });
    EXPECT_EQ(fileRecord.security, (lanterna::SecurityCode{1, 1, 0, 0}));
    EXPECT_EQ(RunOk(dialog,
                    [](ui::CDialog& d) {
                        EXPECT_EQ(d.GetDlgItemText(Security::kKeyEdits[1]), kMask);
                        EXPECT_EQ(d.GetDlgItemText(Security::kKeySizeList), "64bit");
                    }),
              ui::IDOK);
    EXPECT_EQ(TextOf(fileRecord.wepKey2), "abcde");
    EXPECT_EQ(fileRecord.wepKeyId, 2);
    EXPECT_EQ(fileRecord.wepKey2State, kStateChanged);
    EXPECT_EQ(fileRecord.essidSet, 1);
}

}  // namespace
}  // namespace settingstest
