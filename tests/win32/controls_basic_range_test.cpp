// The ranged control base: clamping, change reports and bounds that only store.
#include <gtest/gtest.h>

#include "controls/SkinRangeCtrl.h"

namespace {

CSkinRangeCtrl* Ranged(CSkinRangeCtrl& control, int lo, int hi, int start) {
    control.SetMin(lo);
    control.SetMax(hi);
    control.value = start;
    return &control;
}

struct ClampCase {
    int lo, hi, given, expected;
};

}  // namespace

TEST(SkinRangeCtrl, SetValueClampsTestingTheLowerBoundFirst) {
    const ClampCase cases[] = {
        {0, 127, 200, 127}, {0, 127, -5, 0},   {0, 127, 64, 64},   {0, 127, 0, 0},
        {0, 127, 127, 127}, {0, 127, 128, 127}, {0, 127, -1, 0},
        // Bounds crossed: below the minimum gives the minimum, anything else the maximum.
        {10, 5, 3, 10},     {10, 5, 9, 10},     {10, 5, 10, 5},     {10, 5, 7, 10}, {10, 5, 50, 5},
    };
    for (const ClampCase& c : cases) {
        CSkinRangeCtrl control;
        Ranged(control, c.lo, c.hi, 0)->SetValue(c.given);
        EXPECT_EQ(control.GetValue(), c.expected) << c.lo << ".." << c.hi << " given " << c.given;
    }
}

TEST(SkinRangeCtrl, SetValueChangedReportsOnlyRealChanges) {
    struct Case {
        int start, given, expectedValue, changed;
    };
    const Case cases[] = {
        {64, 64, 64, 0},     // same value
        {127, 300, 127, 0},  // clamps to the value already held
        {0, -9, 0, 0},       // clamps to the minimum already held
        {64, 65, 65, 1},
        {64, 500, 127, 1},
        {64, -500, 0, 1},
    };
    for (const Case& c : cases) {
        CSkinRangeCtrl control;
        EXPECT_EQ(Ranged(control, 0, 127, c.start)->SetValueChanged(c.given), c.changed)
            << c.start << " given " << c.given;
        EXPECT_EQ(control.GetValue(), c.expectedValue);
    }
}

TEST(SkinRangeCtrl, SetValueChangedGoesThroughTheDerivedSetValue) {
    // A derived control that keeps only even values.
    class CEvenCtrl : public CSkinRangeCtrl {
    public:
        void SetValue(int newValue) override { CSkinRangeCtrl::SetValue(newValue & ~1); }
    };
    CEvenCtrl control;
    Ranged(control, 0, 127, 10);
    EXPECT_EQ(control.SetValueChanged(11), 0);
    EXPECT_EQ(control.GetValue(), 10);
    EXPECT_EQ(control.SetValueChanged(13), 1);
    EXPECT_EQ(control.GetValue(), 12);
}

TEST(SkinRangeCtrl, NarrowingTheBoundsKeepsTheValueUntilTheNextSet) {
    CSkinRangeCtrl control;
    Ranged(control, 0, 10, 0)->SetValue(5);
    control.SetMax(3);
    EXPECT_EQ(control.GetValue(), 5);
    EXPECT_EQ(control.GetMax(), 3);
    control.SetMin(8);
    EXPECT_EQ(control.GetValue(), 5);
    EXPECT_EQ(control.GetMin(), 8);
    control.SetValue(5);
    EXPECT_EQ(control.GetValue(), 8);
}
