#pragma once

// Waiting on an event in a GUI test. The QTRY_ macros report a time-out to
// QTest, which gtest never hears of: the test just returns and passes.

#include <QDeadlineTimer>
#include <QTest>

namespace tc101::testing {

// Runs the event loop until the condition holds; false when the time is up.
template <typename Condition>
bool WaitFor(Condition done, int timeoutMs = 10000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(2);
    }
    return true;
}

}  // namespace tc101::testing
