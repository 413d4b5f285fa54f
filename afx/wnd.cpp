// CWnd: window objects, the framework's window procedure and the temporary
// objects handed out for windows the program does not own.
#include "afximpl.h"

namespace {

// Windows attached to an object for their whole life (here: the dialog).
struct PermanentEntry {
    HWND hWnd;
    CWnd *pWnd;
};
PermanentEntry s_permanent[8];

// No caller keeps a temporary object beyond the handler that asked for it.
CTempPool<CWnd, 32> s_tempWnds("temporary window objects");
int s_messageDepth;

void Forget(CWnd *pWnd) { pWnd->m_hWnd = NULL; }

struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
} s_current;

CWnd *LookupPermanent(HWND hWnd)
{
    for (PermanentEntry &e : s_permanent)
        if (e.hWnd == hWnd && hWnd != NULL)
            return e.pWnd;
    return NULL;
}

void SetPermanent(HWND hWnd, CWnd *pWnd)
{
    for (PermanentEntry &e : s_permanent) {
        if (pWnd != NULL && e.hWnd == NULL) {
            e.hWnd = hWnd;
            e.pWnd = pWnd;
            return;
        }
        if (pWnd == NULL && e.hWnd == hWnd) {
            e.hWnd = NULL;
            e.pWnd = NULL;
            return;
        }
    }
    if (pWnd != NULL)
        AfxTableFull("windows attached to objects");
}

} // namespace

void AfxTableFull(LPCSTR lpszTable)
{
    char text[128] = "Lumetra: out of ";
    int used = lstrlenA(text);
    lstrcpynA(text + used, lpszTable, (int)sizeof(text) - used);
    FatalAppExitA(0, text);
}

CMessageScope::CMessageScope(UINT message, WPARAM wParam, LPARAM lParam)
    : m_message(s_current.message), m_wParam(s_current.wParam), m_lParam(s_current.lParam),
      m_nWndMark(s_tempWnds.Mark()), m_nMenuMark(AfxTemporaryMenusMark())
{
    s_current = {message, wParam, lParam};
    ++s_messageDepth;
}

// A message handled inside another gives back only what it took itself.
// What was taken outside any message (only tests call in there) lives until
// the next message has been handled.
CMessageScope::~CMessageScope()
{
    s_current = {m_message, m_wParam, m_lParam};
    bool outermost = --s_messageDepth == 0;
    s_tempWnds.ReleaseTo(outermost ? 0 : m_nWndMark, Forget);
    AfxReleaseTemporaryMenus(outermost ? 0 : m_nMenuMark);
}

CWnd *CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    if (CWnd *pWnd = LookupPermanent(hWnd))
        return pWnd;
    CWnd *temp = s_tempWnds.Take();
    temp->m_hWnd = hWnd;
    return temp;
}

void CWnd::SubclassWindow(HWND hWnd)
{
    m_hWnd = hWnd;
    SetPermanent(hWnd, this);
    m_pfnSuper = (WNDPROC)SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd *pWnd = LookupPermanent(hWnd);
    if (pWnd == NULL)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    CMessageScope scope(message, wParam, lParam);
    LRESULT result = pWnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pWnd->m_pfnSuper);
        SetPermanent(hWnd, NULL);
        pWnd->m_hWnd = NULL;
        pWnd->m_pfnSuper = NULL;
        pWnd->PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY *entry = FindEntry(GetMessageMap(), message, 0, 0);
    if (entry == NULL)
        return FALSE;
    *pResult = entry->pfnInvoke(this, 0, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) { return OnCmdMsg(LOWORD(wParam), HIWORD(wParam)); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(s_current.message, s_current.wParam, s_current.lParam); }

void CWnd::OnDestroy() { Default(); }
void CWnd::OnPaint() { Default(); }

CWnd *CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
CWnd *CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
DWORD CWnd::GetStyle() const { return (DWORD)GetWindowLongA(m_hWnd, GWL_STYLE); }

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

// Centres the window over its owner, or in the work area when it has none,
// keeping it inside the work area.
void CWnd::CenterWindow()
{
    RECT window, area, center;
    GetWindowRect(&window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner == NULL || !::GetWindowRect(owner, &center))
        center = area;
    int width = window.right - window.left, height = window.bottom - window.top;
    int x = (center.left + center.right) / 2 - width / 2;
    int y = (center.top + center.bottom) / 2 - height / 2;
    if (x + width > area.right)
        x = area.right - width;
    if (x < area.left)
        x = area.left;
    if (y + height > area.bottom)
        y = area.bottom - height;
    if (y < area.top)
        y = area.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
