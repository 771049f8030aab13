#pragma once
// Per-stream synchronization switches of one card, record and playback, while the
// card's automatic synchronization is off. Every click goes to the card at once and
// every repaint reads all sixteen switches back.
#include <cstdint>
#include <memory>

#include "controls/SkinButton.h"
#include "device/CardControl.h"
#include "framework/Dialog.h"
#include "windows/SyncLayout.h"

class CCustomSyncDialog : public CDialog {
public:
    static constexpr int kStreams = CSyncLayout::kStreams;
    static constexpr int kRecordStreams = 6;  // streams 6..9 are playback only

    struct ChannelSwitches {
        CSkinButton record;  // windows of streams 6..9 are never created
        CSkinButton playback;
    };

    // Borrows device; the window owns nothing of it.
    CCustomSyncDialog(CCardControl* device, int32_t card, CWnd* parent = nullptr);
    ~CCustomSyncDialog() override;

protected:
    BOOL OnInitDialog() override;

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnUserNotify(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    bool CreateButtons();
    void DescribeButtons();
    void PaintWindow(CDC& dc) const;
    // The card's flag for a stream as a switch shows it, off when it was not
    // delivered; false when the card could not be read.
    bool ReadSwitch(uint32_t direction, uint16_t stream, int* state) const;
    void RefreshSwitches();
    int32_t SetGroup(uint32_t direction, int flag);
    int32_t SendSwitch(CSkinButton& sw, uint32_t direction, uint16_t stream, int flag, int before);

    HICON m_hIcon;
    CCardControl* m_pDevice;
    int32_t m_nCard;
    std::unique_ptr<CSyncLayout> m_pLayout;
    CSkinButton m_btnOK;
    CSkinButton m_btnRecordAllOn;
    CSkinButton m_btnRecordAllOff;
    CSkinButton m_btnPlaybackAllOn;
    CSkinButton m_btnPlaybackAllOff;
    ChannelSwitches m_channels[kStreams];
};
