// The main dialog's life: start-up, the camera coming and going, and the
// ways out.
#include "ui/LightFreqDlg.h"

#include "camera/CameraPresence.h"
#include "control/CountryStore.h"

#include <dbt.h>

namespace {

const char kBusyMessage[] = "Please close other application with Zivo Web Camera!";
// Spelt as the program has always spelt it: users, their scripts and the
// tests find the box by this caption.
const char kBusyCaption[] = "Warnning";

// Checks the hidden radio of the camera's mode; any other value, the
// unknown one included, leaves all three unchecked.
void ShowModeInRadios(CWnd *pDialog, int mode)
{
    for (FreqMode radio = kModeOutdoor; radio <= kMode60Hz; ++radio)
        pDialog->SendDlgItemMessage(CLightFreqDlg::kModeRadios[radio], BM_SETCHECK,
                                    mode == radio ? BST_CHECKED : BST_UNCHECKED, 0);
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
    m_nCountry = LoadCountry();

    if (!IsCameraPresent()) {
        EnableModeButtons(FALSE);
    } else if (StartPreview()) {
        EnableModeButtons(TRUE);
        int mode = GetFrequencyMode();
        if (IsFreqMode(mode))
            m_nFreqState = FreqStateOf(mode);
    } else {
        // Present but not ours to capture: someone else holds it.
        ShowBusyWarning();
    }
    return TRUE; // the system sets the initial focus
}

BOOL CLightFreqDlg::OnDeviceChange(UINT nEventType, DWORD_PTR /*dwData*/)
{
    switch (nEventType) {
    case DBT_DEVNODES_CHANGED:
        if (!IsCameraPresent())
            StopPreview();
        else if (!m_bPreviewing)
            StartPreview();
        break;
    case DBT_DEVICEARRIVAL:
        if (!m_bPreviewing && IsCameraPresent())
            StartPreview();
        break;
    case DBT_DEVICEREMOVECOMPLETE:
        if (m_bPreviewing && !IsCameraPresent())
            StopPreview();
        break;
    }
    return (BOOL)Default();
}

void CLightFreqDlg::OnCancel()
{
    StopPreview();
    CDialog::OnCancel();
}

// Every way out passes here: the country is saved whether or not it changed.
void CLightFreqDlg::OnDestroy()
{
    CDialog::OnDestroy();
    StopPreview();
    SaveCountry(m_nCountry);
}

void CLightFreqDlg::ShowBusyWarning()
{
    EnableModeButtons(FALSE);
    MessageBox(kBusyMessage, kBusyCaption, MB_OK);
    StopPreview();
    SendMessage(WM_CLOSE); // the dialog turns it into Cancel
}
