#include "LightFreq.h"
#include "LightFreqDlg.h"

#include "control/SystemDlls.h"

BEGIN_MESSAGE_MAP(CLightFreqApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CLightFreqApp::CLightFreqApp() {}

CLightFreqApp theApp;

// Runs the main dialog; returning FALSE then ends the program.
BOOL CLightFreqApp::InitInstance()
{
    UseSystemFolderDllsOnly();
    AfxEnableControlContainer();
    Enable3dControls();
    CLightFreqDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}
