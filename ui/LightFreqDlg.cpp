// The main dialog as a window: construction, message map, layout, painting.
#include "LightFreqDlg.h"

#include "control/CountryStore.h"

BEGIN_MESSAGE_MAP(CLightFreqDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DESTROY()
    ON_WM_DEVICECHANGE()
    ON_BN_CLICKED(IDC_BTN_COUNTRY, OnBtnCountry)
    ON_BN_CLICKED(IDC_BTN_OTHER, OnBtnOther)
    ON_BN_CLICKED(IDC_BTN_OUTDOORS, OnBtnOutdoors)
    ON_COMMAND_RANGE(ID_COUNTRY_CANADA, ID_COUNTRY_CHINA, OnCountry)
    ON_COMMAND(ID_FREQ_50HZ, OnFreq50Hz)
    ON_COMMAND(ID_FREQ_60HZ, OnFreq60Hz)
    ON_BN_CLICKED(IDC_RADIO_OUTDOOR, OnRadioOutdoor)
    ON_BN_CLICKED(IDC_RADIO_50HZ, OnRadio50Hz)
    ON_BN_CLICKED(IDC_RADIO_60HZ, OnRadio60Hz)
END_MESSAGE_MAP()

CLightFreqDlg::CLightFreqDlg(CWnd *pParent)
    : CDialog(CLightFreqDlg::IDD, pParent), m_hCapWnd(NULL), m_bPreviewing(0), m_nCountry(kDefaultCountry), m_nFreqState(-1)
{
    m_hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CLightFreqDlg::DoDataExchange(CDataExchange *pDX) { CDialog::DoDataExchange(pDX); }

// Places the controls in pixels, whatever the dialog font, and sizes the
// window to fit them.
void CLightFreqDlg::LayoutControls()
{
    const int captionHeight = GetSystemMetrics(SM_CYCAPTION);
    const int edgeX = GetSystemMetrics(SM_CXEDGE);
    const int edgeY = GetSystemMetrics(SM_CYEDGE);

    GetDlgItem(IDC_PREVIEW_FRAME)->MoveWindow(kPreviewFrame.left, kPreviewFrame.top,
                                              kPreviewFrame.right - kPreviewFrame.left,
                                              kPreviewFrame.bottom - kPreviewFrame.top, TRUE);
    GetDlgItem(IDC_FREQ_GROUP)->MoveWindow(342, 3, 140, 160, TRUE);
    const int buttons[] = {IDC_BTN_COUNTRY, IDC_BTN_OTHER, IDC_BTN_OUTDOORS};
    for (int i = 0; i < 3; ++i)
        GetDlgItem(buttons[i])->MoveWindow(352, 38 + 40 * i, 120, 30, TRUE);
    GetDlgItem(IDCANCEL)->MoveWindow(342, 196, 140, 30, TRUE);
    // Only the size changes. The dialog manager may have moved the window
    // into the work area already, and a corner moved here would tell the
    // base dialog not to centre it.
    RECT window;
    GetWindowRect(&window);
    // The width takes the vertical edge and the height the horizontal one.
    MoveWindow(window.left, window.top, 492 + 2 * edgeY, 262 + captionHeight + 2 * edgeX, TRUE);
}

void CLightFreqDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, (WPARAM)dc.GetSafeHdc(), 0);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CLightFreqDlg::OnQueryDragIcon() { return (HCURSOR)m_hIcon; }
