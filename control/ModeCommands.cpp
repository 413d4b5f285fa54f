// The main dialog's commands: the country and frequency popups, OutDoors,
// and the hidden radio buttons.
#include "ui/LightFreqDlg.h"

namespace {

// The country table: row i is the country of command ID_COUNTRY_CANADA + i,
// with the mode its mains frequency calls for.
struct Country {
    UINT command;
    FreqMode mode;
};
constexpr Country kCountries[] = {
    {ID_COUNTRY_CANADA, kMode60Hz},  {ID_COUNTRY_GERMAN, kMode50Hz},    {ID_COUNTRY_ITALY, kMode50Hz},
    {ID_COUNTRY_SPAIN, kMode50Hz},   {ID_COUNTRY_AMERICA, kMode60Hz},   {ID_COUNTRY_RUSSIA, kMode50Hz},
    {ID_COUNTRY_TAIWAN, kMode60Hz},  {ID_COUNTRY_AUSTRALIA, kMode50Hz}, {ID_COUNTRY_JAPAN, kMode60Hz},
    {ID_COUNTRY_CHINA, kMode50Hz},
};
const int kCountryCount = sizeof(kCountries) / sizeof(kCountries[0]);

constexpr bool RowsFollowTheirCommands()
{
    for (int i = 0; i < kCountryCount; ++i)
        if (kCountries[i].command != ID_COUNTRY_CANADA + (UINT)i)
            return false;
    return true;
}
static_assert(RowsFollowTheirCommands(), "a country's row is its command's offset from ID_COUNTRY_CANADA");
static_assert(ID_COUNTRY_CHINA == ID_COUNTRY_CANADA + kCountryCount - 1, "one row for each country command");

// The frequency popup's check goes on ID_FREQ_50HZ plus the frequency state.
static_assert(ID_FREQ_50HZ + CLightFreqDlg::FreqStateOf(kMode50Hz) == ID_FREQ_50HZ, "50 Hz checks 50Hz");
static_assert(ID_FREQ_50HZ + CLightFreqDlg::FreqStateOf(kMode60Hz) == ID_FREQ_60HZ, "60 Hz checks 60Hz");
static_assert(ID_FREQ_50HZ + CLightFreqDlg::FreqStateOf(kModeOutdoor) == ID_COUNTRY_CHINA,
              "Outdoor names an item of the country popup, so the frequency popup checks nothing");

// At the cursor; where it cannot be read (a locked or secure desktop), at the
// middle of the button that asked for popup pos, where a click leaves it.
POINT PopupPosition(HWND dialog, int pos)
{
    POINT at;
    if (GetCursorPos(&at))
        return at;
    RECT button = {0, 0, 0, 0};
    GetWindowRect(GetDlgItem(dialog, pos == CLightFreqDlg::kCountryPopup ? IDC_BTN_COUNTRY : IDC_BTN_OTHER), &button);
    at.x = (button.left + button.right) / 2;
    at.y = (button.top + button.bottom) / 2;
    return at;
}

} // namespace

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
    ShowPopupMenu(kCountryPopup);
}

void CLightFreqDlg::OnBtnOther()
{
    SetFocus();
    ShowPopupMenu(kFrequencyPopup);
}

void CLightFreqDlg::OnBtnOutdoors()
{
    SetFocus();
    ApplyMode(kModeOutdoor);
}

void CLightFreqDlg::OnCountry(UINT nID)
{
    m_nCountry = (int)(nID - ID_COUNTRY_CANADA);
    ApplyMode(kCountries[m_nCountry].mode);
}

void CLightFreqDlg::OnFreq50Hz() { ApplyMode(kMode50Hz); }
void CLightFreqDlg::OnFreq60Hz() { ApplyMode(kMode60Hz); }
void CLightFreqDlg::OnRadioOutdoor() { ApplyModeFromRadio(IDC_RADIO_OUTDOOR, kModeOutdoor); }
void CLightFreqDlg::OnRadio50Hz() { ApplyModeFromRadio(IDC_RADIO_50HZ, kMode50Hz); }
void CLightFreqDlg::OnRadio60Hz() { ApplyModeFromRadio(IDC_RADIO_60HZ, kMode60Hz); }

// Shows popup pos of the menu resource at the cursor, with the stored country
// or the current frequency checked. The pick arrives later as a command.
void CLightFreqDlg::ShowPopupMenu(int pos)
{
    CMenu menu;
    menu.LoadMenu(IDR_POPUP);
    CMenu *pPopup = menu.GetSubMenu(pos);
    if (pPopup == NULL)
        return;
    if (pos == kCountryPopup) {
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
