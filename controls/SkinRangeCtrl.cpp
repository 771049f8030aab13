#include "controls/SkinRangeCtrl.h"

#include "controls/RangeLaw.h"

BEGIN_MESSAGE_MAP(CSkinRangeCtrl, CAccessibleWnd)
END_MESSAGE_MAP()

void CSkinRangeCtrl::SetMin(int newMin) { minValue = newMin; }

void CSkinRangeCtrl::SetMax(int newMax) { maxValue = newMax; }

void CSkinRangeCtrl::SetValue(int newValue) { value = ClampToRange(newValue, minValue, maxValue); }

int CSkinRangeCtrl::SetValueChanged(int newValue) {
    const int previous = value;
    SetValue(newValue);
    return value != previous ? 1 : 0;
}

int CSkinRangeCtrl::GetMin() const { return minValue; }

int CSkinRangeCtrl::GetMax() const { return maxValue; }

int CSkinRangeCtrl::GetValue() const { return value; }
