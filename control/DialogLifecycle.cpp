// The main dialog's start-up.
#include "ui/LightFreqDlg.h"

namespace {

// Checks the hidden radio of the camera's mode; any other value, the
// unknown one included, leaves all three unchecked.
void ShowModeInRadios(CWnd *pDialog, int mode)
{
    static const int kRadios[] = {IDC_RADIO_OUTDOOR, IDC_RADIO_50HZ, IDC_RADIO_60HZ};
    for (int i = 0; i < 3; ++i)
        pDialog->SendDlgItemMessage(kRadios[i], BM_SETCHECK, mode == i ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace

BOOL CLightFreqDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);
    LayoutControls();
    ShowModeInRadios(this, GetFrequencyMode());
    m_bPreviewing = 0;
    EnableModeButtons(FALSE);
    return TRUE; // the system sets the initial focus
}
