// Lumetra's small application framework: the MFC classes and behaviours the
// program relies on, under MFC's names, built on the Win32 API alone.
#pragma once

#include <windows.h>

#include <type_traits>

#define afx_msg

class CCmdTarget;
class CWnd;
class CWinApp;

// --- Message maps -------------------------------------------------------------
// Each entry names its handler through an invoker made for the handler's
// type, so that a handler of the wrong type does not compile.
typedef LRESULT (*AFX_PINVOKE)(CCmdTarget *pTarget, UINT nID, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;   // notification code of WM_COMMAND entries
    UINT nID;     // first command id
    UINT nLastID; // last command id
    AFX_PINVOKE pfnInvoke;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP *(*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY *lpEntries;
};

template <class T, auto F>
LRESULT AfxInvoke_vv(CCmdTarget *p, UINT, WPARAM, LPARAM)
{
    static_assert(std::is_convertible<decltype(F), void (T::*)()>::value, "handler must be void (void)");
    (static_cast<T *>(p)->*F)();
    return 0;
}

template <class T, auto F>
LRESULT AfxInvoke_vw(CCmdTarget *p, UINT nID, WPARAM, LPARAM)
{
    static_assert(std::is_convertible<decltype(F), void (T::*)(UINT)>::value, "handler must be void (UINT)");
    (static_cast<T *>(p)->*F)(nID);
    return 0;
}

template <class T, auto F>
LRESULT AfxInvoke_hv(CCmdTarget *p, UINT, WPARAM, LPARAM)
{
    static_assert(std::is_convertible<decltype(F), HCURSOR (T::*)()>::value, "handler must be HCURSOR (void)");
    return (LRESULT)(static_cast<T *>(p)->*F)();
}

template <class T, auto F>
LRESULT AfxInvoke_bwd(CCmdTarget *p, UINT, WPARAM wParam, LPARAM lParam)
{
    static_assert(std::is_convertible<decltype(F), BOOL (T::*)(UINT, DWORD_PTR)>::value,
                  "handler must be BOOL (UINT, DWORD_PTR)");
    return (static_cast<T *>(p)->*F)((UINT)wParam, (DWORD_PTR)lParam);
}

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP *GetThisMessageMap();                                                  \
    const AFX_MSGMAP *GetMessageMap() const override;

// The entries live in a function of the class, so that they may name its
// protected handlers.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP *theClass::GetMessageMap() const { return GetThisMessageMap(); }              \
    const AFX_MSGMAP *theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {0, 0, 0, 0, NULL}                                                                             \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(id), &AfxInvoke_vv<ThisClass, &ThisClass::memberFxn>},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(idLast), &AfxInvoke_vw<ThisClass, &ThisClass::memberFxn>},
#define ON_CONTROL(code, id, memberFxn)                                                            \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), &AfxInvoke_vv<ThisClass, &ThisClass::memberFxn>},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, &AfxInvoke_vv<ThisClass, &ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, 0, 0, &AfxInvoke_hv<ThisClass, &ThisClass::OnQueryDragIcon>},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, &AfxInvoke_vv<ThisClass, &ThisClass::OnDestroy>},
#define ON_WM_DEVICECHANGE()                                                                       \
    {WM_DEVICECHANGE, 0, 0, 0, &AfxInvoke_bwd<ThisClass, &ThisClass::OnDeviceChange>},

// --- Command targets --------------------------------------------------------
class CCmdTarget {
public:
    virtual ~CCmdTarget() {}
    // Runs the handler of command nID with notification nCode, if any.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);
    static const AFX_MSGMAP *GetThisMessageMap();

protected:
    virtual const AFX_MSGMAP *GetMessageMap() const;
    static const AFX_MSGMAP_ENTRY *FindEntry(const AFX_MSGMAP *map, UINT message, UINT code, UINT id);
};

// --- Windows ----------------------------------------------------------------
class CWnd : public CCmdTarget {
public:
    CWnd() : m_hWnd(NULL), m_pfnSuper(NULL) {}
    ~CWnd() override {}

    HWND m_hWnd;
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object for a window; windows without one get a temporary object
    // that lives until the current message has been handled.
    static CWnd *FromHandle(HWND hWnd);

    CWnd *GetDlgItem(int nID) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    BOOL EnableWindow(BOOL bEnable = TRUE);
    CWnd *SetFocus();
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    BOOL SetForegroundWindow();
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = NULL, UINT nType = MB_OK);
    DWORD GetStyle() const;
    void CenterWindow();

    // Attaches the object to a window and routes the window's messages
    // through its message map.
    void SubclassWindow(HWND hWnd);

protected:
    // The default processing of the message being handled.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy() {}
    afx_msg void OnDestroy();
    afx_msg void OnPaint();

    WNDPROC m_pfnSuper;

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// --- Dialogs --------------------------------------------------------------
class CDataExchange {
public:
    CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd *m_pDlgWnd;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd *pParentWnd = NULL);
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL OnCmdMsg(UINT nID, int nCode) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange *pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT m_nIDTemplate;
    CWnd *m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL HandleInitDialog();

    DECLARE_MESSAGE_MAP()
};

// --- Menus and painting -------------------------------------------------------
class CMenu {
public:
    CMenu() : m_hMenu(NULL) {}
    ~CMenu(); // destroys the menu it holds
    HMENU m_hMenu;
    BOOL LoadMenu(UINT nIDResource);
    // The popup at nPos; the object is temporary, as for windows.
    CMenu *GetSubMenu(int nPos) const;
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd *pWnd, LPCRECT lpRect = NULL);
    BOOL DestroyMenu();
    HMENU Detach();

private:
    CMenu(const CMenu &);
    CMenu &operator=(const CMenu &);
};

class CDC {
public:
    CDC() : m_hDC(NULL) {}
    HDC m_hDC;
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd *pWnd);
    ~CPaintDC();
    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

// --- The application --------------------------------------------------------
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    ~CWinApp() override;
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    afx_msg void OnHelp();
    void Enable3dControls() {}

    HINSTANCE m_hInstance;
    CWnd *m_pMainWnd;
    LPCSTR m_pszAppName;
    char m_szHelpFilePath[MAX_PATH];

    DECLARE_MESSAGE_MAP()
};

CWinApp *AfxGetApp();
HINSTANCE AfxGetResourceHandle();
inline void AfxEnableControlContainer() {}
