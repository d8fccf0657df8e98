#pragma once
// Waiting for the user-interface thread to have handled what was posted to it, so that a test
// can read the state after an event without waiting for time to pass.

#include <QCoreApplication>
#include <QMetaObject>

#include "ui/TestHooks.h"

namespace uitest {

// Handles events until every event posted to the user-interface thread before the call has
// been handled: a marker posted now comes after them, as posted events of one priority are
// delivered in the order they were posted. False when the marker was not reached within half a
// minute.
inline bool HandlePostedEvents() {
    bool reached = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&reached] { reached = true; }, Qt::QueuedConnection);
    return ui::test::PumpUntil([&reached] { return reached; }, 30000);
}

}  // namespace uitest
