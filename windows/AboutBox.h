#pragma once
// The about box: stone background, the emblem, the title, version and notice, and OK.
#include <memory>

#include "controls/SkinButton.h"
#include "framework/Dialog.h"
#include "windows/AboutLayout.h"

class CAboutBox : public CDialog {
public:
    CAboutBox();
    ~CAboutBox() override;

protected:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnUserNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CSkinButton m_btnOK;
    std::unique_ptr<AboutLayout> m_pLayout;
};
