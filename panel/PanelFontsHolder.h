#pragma once
// Creates the shared panel font before any control of the window needs it.
class CPanelFontsHolder {
public:
    CPanelFontsHolder();
    CPanelFontsHolder(const CPanelFontsHolder&) = delete;
    CPanelFontsHolder& operator=(const CPanelFontsHolder&) = delete;
};
