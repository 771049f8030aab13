#pragma once
// Empties the process-wide bitmap cache when the window that filled it goes away.
class CSkinBitmapsHolder {
public:
    CSkinBitmapsHolder() = default;
    ~CSkinBitmapsHolder();
    CSkinBitmapsHolder(const CSkinBitmapsHolder&) = delete;
    CSkinBitmapsHolder& operator=(const CSkinBitmapsHolder&) = delete;
};
