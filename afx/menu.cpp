// CMenu and CPaintDC.
#include "afximpl.h"

namespace {
const int kTemporaries = 4;
CMenu s_tempMenus[kTemporaries];
int s_tempMenusUsed;
} // namespace

void AfxReleaseTemporaryMenus()
{
    for (int i = 0; i < s_tempMenusUsed; ++i)
        s_tempMenus[i].Detach();
    s_tempMenusUsed = 0;
}

CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    m_hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    return m_hMenu != NULL;
}

CMenu *CMenu::GetSubMenu(int nPos) const
{
    HMENU hPopup = ::GetSubMenu(m_hMenu, nPos);
    if (hPopup == NULL)
        return NULL;
    CMenu *temp = &s_tempMenus[s_tempMenusUsed % kTemporaries];
    s_tempMenusUsed = s_tempMenusUsed % kTemporaries + 1;
    temp->m_hMenu = hPopup;
    return temp;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd *pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == NULL)
        return FALSE;
    return ::DestroyMenu(Detach());
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    m_hMenu = NULL;
    return hMenu;
}

CPaintDC::CPaintDC(CWnd *pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
