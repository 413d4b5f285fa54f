// The main dialog's commands: the country and frequency popups, OutDoors,
// and the hidden radio buttons.
#include "ui/LightFreqDlg.h"

namespace {

// The mode each country's mains frequency calls for, by row.
const FreqMode kCountryModes[] = {2, 1, 1, 1, 2, 1, 2, 1, 2, 1};
const int kCountryCount = sizeof(kCountryModes) / sizeof(kCountryModes[0]);

// At the cursor; where it cannot be read (a locked or secure desktop), at the
// middle of the button that asked for popup pos, where a click leaves it.
POINT PopupPosition(HWND dialog, int pos)
{
    POINT at;
    if (GetCursorPos(&at))
        return at;
    RECT button = {0, 0, 0, 0};
    GetWindowRect(GetDlgItem(dialog, pos == 0 ? IDC_BTN_COUNTRY : IDC_BTN_OTHER), &button);
    at.x = (button.left + button.right) / 2;
    at.y = (button.top + button.bottom) / 2;
    return at;
}

} // namespace

// Outdoor checks nothing in the frequency popup (-1), 50 Hz its first item.
int CLightFreqDlg::FreqStateOf(FreqMode mode) { return mode - 1; }

BOOL CLightFreqDlg::ApplyMode(FreqMode mode)
{
    if (!SetFrequencyMode(mode))
        return FALSE;
    m_nFreqState = FreqStateOf(mode);
    return TRUE;
}

void CLightFreqDlg::ApplyModeFromRadio(int radioId, FreqMode mode)
{
    if (!ApplyMode(mode))
        SendDlgItemMessage(radioId, BM_SETCHECK, BST_UNCHECKED, 0);
}

void CLightFreqDlg::OnBtnCountry()
{
    SetFocus();
    ShowPopupMenu(0);
}

void CLightFreqDlg::OnBtnOther()
{
    SetFocus();
    ShowPopupMenu(1);
}

void CLightFreqDlg::OnBtnOutdoors()
{
    SetFocus();
    ApplyMode(0);
}

void CLightFreqDlg::OnCountry(UINT nID)
{
    m_nCountry = (int)(nID - ID_COUNTRY_CANADA);
    ApplyMode(kCountryModes[m_nCountry]);
}

void CLightFreqDlg::OnFreq50Hz() { ApplyMode(1); }
void CLightFreqDlg::OnFreq60Hz() { ApplyMode(2); }
void CLightFreqDlg::OnRadioOutdoor() { ApplyModeFromRadio(IDC_RADIO_OUTDOOR, 0); }
void CLightFreqDlg::OnRadio50Hz() { ApplyModeFromRadio(IDC_RADIO_50HZ, 1); }
void CLightFreqDlg::OnRadio60Hz() { ApplyModeFromRadio(IDC_RADIO_60HZ, 2); }

// Shows popup pos of the menu resource at the cursor, with the stored country
// or the current frequency checked. The pick arrives later as a command.
void CLightFreqDlg::ShowPopupMenu(int pos)
{
    CMenu menu;
    menu.LoadMenu(IDR_POPUP);
    CMenu *pPopup = menu.GetSubMenu(pos);
    if (pPopup == NULL)
        return;
    if (pos == 0) {
        // Any stored index is accepted; only a row of the table has an item.
        if (m_nCountry >= 0 && m_nCountry < kCountryCount)
            pPopup->CheckMenuItem(ID_COUNTRY_CANADA + m_nCountry, MF_BYCOMMAND | MF_CHECKED);
    } else {
        // Outdoor (-1) names an item of the other popup: nothing is checked.
        pPopup->CheckMenuItem(ID_FREQ_50HZ + m_nFreqState, MF_BYCOMMAND | MF_CHECKED);
    }
    POINT at = PopupPosition(m_hWnd, pos);
    SetForegroundWindow();
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, this);
}

void CLightFreqDlg::EnableModeButtons(BOOL bEnable)
{
    for (int id : kModeRadios) {
        if (CWnd *pRadio = GetDlgItem(id))
            pRadio->EnableWindow(bEnable);
    }
}
