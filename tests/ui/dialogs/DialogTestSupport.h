#pragma once
// Shared pieces of the dialog tests: a fixture with a test session that fails the test on any
// problem the session recorded (unscripted dialogs, unused answers).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <string>

#include "ui/Dialog.h"
#include "ui/TestHooks.h"

namespace dialogtest {

class DialogTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_THAT(ui::test::TakeProblems(), ::testing::IsEmpty()); }

    ui::test::Session session_;
};

inline void PressKey(ui::CDialog& dialog, Qt::Key key) {
    QWidget* target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
    QTest::keyClick(target, key);
}

// Ids of the messages shown so far, oldest first.
inline std::vector<int> ShownIds() {
    std::vector<int> ids;
    for (const auto& shown : ui::test::ShownMessages()) {
        ids.push_back(shown.stringId);
    }
    return ids;
}

}  // namespace dialogtest
