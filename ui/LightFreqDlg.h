// The main window: the camera's live preview, the country and frequency
// commands, and the three hidden radio buttons that hold the camera's mode.
#pragma once

#include <afxwin.h>

#include "camera/CameraMode.h"
#include "res/resource.h"

// The live preview's place in the client area: a frame, and the capture
// window one pixel inside it, showing 320 x 240 frames.
const int kPreviewWidth = 320, kPreviewHeight = 240;
const RECT kPreviewFrame = {10, 10, 10 + 1 + kPreviewWidth + 1, 10 + 1 + kPreviewHeight + 1};

class CLightFreqDlg : public CDialog {
public:
    explicit CLightFreqDlg(CWnd *pParent = NULL);
    enum { IDD = IDD_MAIN };

    // Layout and painting (ui/)
    void LayoutControls();

    // Live preview (camera/)
    BOOL StartPreview();
    BOOL StopPreview();

    // Commands and life cycle (control/)
    // The popups of the menu resource, by position.
    enum { kCountryPopup = 0, kFrequencyPopup = 1 };
    void ShowPopupMenu(int pos);
    void EnableModeButtons(BOOL bEnable);
    void ShowBusyWarning();

    // The frequency state a mode puts the popup's check at: its offset from
    // the 50Hz item, so Outdoor (-1) checks nothing there.
    static constexpr int FreqStateOf(FreqMode mode) { return mode - kMode50Hz; }
    // The hidden radios holding the camera's mode, indexed by the mode.
    static constexpr int kModeRadios[3] = {IDC_RADIO_OUTDOOR, IDC_RADIO_50HZ, IDC_RADIO_60HZ};

    HWND m_hCapWnd;     // the live preview's capture window, or NULL
    BOOL m_bPreviewing; // 1 while the preview runs
    int m_nCountry;     // row of the country table, any value accepted
    int m_nFreqState;   // check offset in the frequency popup: -1, 0 or 1
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange *pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDestroy();
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    afx_msg void OnBtnCountry();
    afx_msg void OnBtnOther();
    afx_msg void OnBtnOutdoors();
    afx_msg void OnCountry(UINT nID);
    afx_msg void OnFreq50Hz();
    afx_msg void OnFreq60Hz();
    afx_msg void OnRadioOutdoor();
    afx_msg void OnRadio50Hz();
    afx_msg void OnRadio60Hz();

private:
    BOOL ApplyMode(FreqMode mode);
    void ApplyModeFromRadio(int radioId, FreqMode mode);

    DECLARE_MESSAGE_MAP()
};
