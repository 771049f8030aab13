#pragma once
// Base of the controls that hold one integer value between a minimum and a maximum.
#include "framework/AccessibleWnd.h"

class CSkinRangeCtrl : public CAccessibleWnd {
public:
    int value = 0;     // each derived class sets its own starting value
    int maxValue = 0;
    int minValue = 0;

    // The bounds are only stored: the value is not clamped again until the next SetValue.
    virtual void SetMin(int newMin);
    virtual void SetMax(int newMax);
    // Clamps to the bounds, testing the lower bound first.
    virtual void SetValue(int newValue);
    // SetValue through the virtual table; returns 1 when the value changed, else 0.
    virtual int SetValueChanged(int newValue);
    virtual int GetMin() const;
    virtual int GetMax() const;
    virtual int GetValue() const;

    DECLARE_MESSAGE_MAP()
};
