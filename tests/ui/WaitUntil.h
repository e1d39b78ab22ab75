#pragma once
// Waiting for a window's background work in a gtest test. QTRY_VERIFY reports a time-out to
// QTest, which a gtest run never reads: the test went on and passed. This fails it.

#include <QTest>

#define WAIT_UNTIL_MS(condition, ms) ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); }, ms)) << #condition
#define WAIT_UNTIL(condition) WAIT_UNTIL_MS(condition, 10000)
