// CMenu and CPaintDC.
#include "afximpl.h"

namespace {
CTempPool<CMenu, 4> s_tempMenus("temporary menu objects");
void Forget(CMenu *pMenu) { pMenu->Detach(); }
} // namespace

int AfxTemporaryMenusMark() { return s_tempMenus.Mark(); }
void AfxReleaseTemporaryMenus(int mark) { s_tempMenus.ReleaseTo(mark, Forget); }

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
    CMenu *temp = s_tempMenus.Take();
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
