// CWinApp and the program's entry point.
#include "afximpl.h"

namespace {
CWinApp *s_pApp;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) : m_hInstance(NULL), m_pMainWnd(NULL), m_pszAppName(lpszAppName)
{
    m_szHelpFilePath[0] = '\0';
    s_pApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = NULL;
}

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }

// The help file sits beside the executable, named after it.
void CWinApp::OnHelp()
{
    if (m_szHelpFilePath[0] == '\0') {
        DWORD length = GetModuleFileNameA(m_hInstance, m_szHelpFilePath, MAX_PATH);
        if (length > 4 && length < MAX_PATH)
            lstrcpyA(m_szHelpFilePath + length - 4, ".HLP");
    }
    ::WinHelpA(m_pMainWnd ? m_pMainWnd->m_hWnd : NULL, m_szHelpFilePath, HELP_FINDER, 0);
}

CWinApp *AfxGetApp() { return s_pApp; }

HINSTANCE AfxGetResourceHandle()
{
    return s_pApp && s_pApp->m_hInstance ? s_pApp->m_hInstance : GetModuleHandleA(NULL);
}

// A dialog-based program does all its work in InitInstance, which returns
// FALSE once the dialog has closed; there is no message pump to run after it.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp *pApp = AfxGetApp();
    if (pApp == NULL)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->InitInstance();
    return pApp->ExitInstance();
}
