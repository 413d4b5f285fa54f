// CDialog: modal dialogs run by the system's dialog manager, with the
// framework's initialisation and centring.
#include "afximpl.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd *pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : NULL;
    return DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner, DialogProc,
                           (LPARAM)this);
}

// Sees only WM_INITDIALOG: from then on the window's messages pass through
// the framework's window procedure and the message maps.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog *pDialog = (CDialog *)lParam;
    pDialog->SubclassWindow(hWnd);
    CMessageScope scope(message, wParam, lParam);
    return pDialog->HandleInitDialog();
}

// A dialog that is still hidden and unmoved after its initialisation, and
// has no enabled owner, is centred where it will be shown.
BOOL CDialog::HandleInitDialog()
{
    RECT before;
    GetWindowRect(&before);
    DWORD styleBefore = GetStyle();
    BOOL result = OnInitDialog();
    if (m_hWnd == NULL || (styleBefore & WS_VISIBLE) || (GetStyle() & (WS_VISIBLE | WS_CHILD)))
        return result;
    RECT after;
    GetWindowRect(&after);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (after.left == before.left && after.top == before.top && (owner == NULL || !IsWindowEnabled(owner)))
        CenterWindow();
    return result;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange *) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

// Commands the dialog does not handle go to the application.
BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    CWinApp *pApp = AfxGetApp();
    return pApp != NULL && pApp->OnCmdMsg(nID, nCode);
}
