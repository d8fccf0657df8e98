#pragma once
// Shared pieces of the kit's dialog tests: a template with one control of every kind and a
// fixture that runs each test in a test session and fails on any recorded problem.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QString>
#include <ostream>

#include "ui/Dialog.h"
#include "ui/TestHooks.h"

// Lets gtest print QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kittest {

// Types `text` into whatever widget of `dialog` holds the focus at each character, as a user
// would: ASCII through key presses, other characters as committed input-method text (the way
// Hangul arrives).
void TypeText(ui::CDialog& dialog, const QString& text);

// Template 9001, registered on first use.
inline constexpr int kTestTemplate = 9001;
// Control ids of template 9001.
enum Id {
    kLimitedEdit = 100,   // text limit 6 bytes
    kPasswordEdit = 101,  // password, limit 14
    kDigitsEdit = 102,    // digits only
    kCheck = 110,
    kThreeState = 111,
    kManualThreeState = 112,
    kRadioA = 120,  // group 1: 120, 121, 122
    kRadioB = 121,
    kRadioC = 122,
    kRadioX = 130,  // group 2: 130, 131
    kRadioY = 131,
    kAddress = 140,
    kAction = 150,  // plain button
    kHiddenButton = 151,
    kDisabledButton = 152,
    kLabel = 160,
    kCombo = 170,
    kProgress = 180,
};

void RegisterTestTemplate();

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override { RegisterTestTemplate(); }
    void TearDown() override { EXPECT_THAT(ui::test::TakeProblems(), ::testing::IsEmpty()); }

    ui::test::Session session_;
};

}  // namespace kittest
