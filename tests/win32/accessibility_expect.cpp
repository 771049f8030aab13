#include "tests/win32/accessibility_expect.h"

#include <gtest/gtest.h>

#include "tests/win32/accessibility_support.h"

void ExpectReads(HWND control, const ExpectedReading& expected) {
    SCOPED_TRACE(expected.name);
    ASSERT_NE(control, nullptr);
    const AccessibleReading r = ReadAccessible(control);
    ASSERT_EQ(r.found, S_OK);
    EXPECT_EQ(r.name, expected.name);
    EXPECT_EQ(r.role, expected.role);
    EXPECT_EQ(r.value, expected.value);
    EXPECT_EQ(r.state, expected.state);
    EXPECT_EQ(r.defaultAction, expected.action);
}
