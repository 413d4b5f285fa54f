// Windows and messages: creation, destruction, geometry, focus, and the
// window procedures of the standard controls.
#include "ui.h"

#include <strings.h>

namespace sim {
namespace detail {

UiState &UI()
{
    static UiState state;
    return state;
}

void ResetUi()
{
    Metrics defaults;
    UI() = UiState();
    UI().metrics = defaults;
}

Window *FindWindow(HWND window)
{
    auto found = UI().windows.find(window);
    return found == UI().windows.end() ? NULL : &found->second;
}

bool IsWithin(HWND window, HWND ancestor)
{
    for (Window *w = FindWindow(window); w; w = FindWindow(w->parent))
        if (w->handle == ancestor)
            return true;
    return false;
}

namespace {

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window *button = FindWindow(hwnd);
    switch (msg) {
    case BM_GETCHECK:
        return button->check;
    case BM_SETCHECK:
        button->check = (int)wParam;
        return 0;
    case BM_CLICK:
        SendMessageA(button->parent, WM_COMMAND, MAKEWPARAM(button->id, BN_CLICKED), (LPARAM)hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

HWND CreateWindowFromTemplate(const std::string &cls, const std::string &text, DWORD style, DWORD exStyle,
                              const RECT &rect, HWND parent, int id)
{
    UiState &ui = UI();
    Window w;
    w.handle = (HWND)ui.nextWindow;
    ui.nextWindow += 4;
    w.cls = cls;
    w.text = text;
    // A top-level window always clips its siblings; a dialog frame (and a
    // thick one without a static edge) has a raised edge.
    w.style = style | (style & WS_CHILD ? 0 : WS_CLIPSIBLINGS);
    bool raised = (exStyle & WS_EX_DLGMODALFRAME) ||
                  (!(exStyle & WS_EX_STATICEDGE) && (style & (WS_DLGFRAME | WS_THICKFRAME)));
    w.exStyle = raised ? exStyle | WS_EX_WINDOWEDGE : exStyle & ~(DWORD)WS_EX_WINDOWEDGE;
    w.rect = rect;
    w.id = id;
    if (style & WS_CHILD)
        w.parent = parent;
    else
        w.owner = parent;
    w.proc = strcasecmp(cls.c_str(), "button") == 0 ? ButtonProc : DefWindowProcA;
    ui.windows[w.handle] = w;
    if (w.parent)
        FindWindow(w.parent)->children.push_back(w.handle);
    return w.handle;
}

} // namespace detail

using namespace detail;

long LiveWindows() { return (long)UI().windows.size(); }

const std::vector<MessageSeen> &MessagesTo(HWND window) { return UI().messages[window]; }

Metrics &SystemMetrics() { return UI().metrics; }

} // namespace sim

using namespace sim;
using namespace sim::detail;

HMODULE WINAPI GetModuleHandleA(LPCSTR name) { return name == NULL ? kModule : NULL; }

// A path that does not fit is cut to the buffer, terminator included, and
// the answer is the buffer's size.
DWORD WINAPI GetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size)
{
    lstrcpynA(buffer, ModuleFileName().c_str(), (int)size);
    if (ModuleFileName().size() < size)
        return (DWORD)ModuleFileName().size();
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

// Of the messages the program sends, those with a parameter Windows does not
// use: the documented macros and callers pass 0 there.
static void CheckUnusedParameters(UINT msg, WPARAM wParam, LPARAM lParam)
{
    bool zero = true;
    if (msg == WM_CLOSE)
        zero = wParam == 0 && lParam == 0;
    else if (msg == BM_SETCHECK || msg == WM_ICONERASEBKGND)
        zero = lParam == 0;
    if (!zero)
        ReportMisuse("message " + std::to_string(msg) + " with an unused parameter that is not 0");
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL) {
        SetLastError(1400); // ERROR_INVALID_WINDOW_HANDLE
        return 0;
    }
    CheckUnusedParameters(msg, wParam, lParam);
    UI().messages[hwnd].push_back({msg, wParam, lParam});
    WNDPROC proc = w->proc;
    return proc(hwnd, msg, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (FindWindow(hwnd) == NULL)
        return FALSE;
    UI().posted.push_back({hwnd, msg, wParam, lParam});
    return TRUE;
}

namespace sim {
namespace detail {
// Windows sends WM_PAINT while the window has an update region; a window
// procedure that neither paints nor leaves it to the default processing
// keeps it, and would be sent WM_PAINT again and again.
void Paint(HWND hwnd)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return;
    w->invalid = true;
    SendMessageA(hwnd, WM_PAINT, 0, 0);
    w = FindWindow(hwnd);
    if (w && w->invalid)
        ReportMisuse("WM_PAINT left " + w->cls + " window unvalidated");
}

} // namespace detail
} // namespace sim

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return proc(hwnd, msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return 0;
    switch (msg) {
    case WM_SETTEXT:
        w->text = lParam ? (LPCSTR)lParam : "";
        return TRUE;
    case WM_GETTEXT:
        lstrcpynA((LPSTR)lParam, w->text.c_str(), (int)wParam);
        return lstrlenA((LPSTR)lParam);
    case WM_GETTEXTLENGTH:
        return (LRESULT)w->text.size();
    case WM_SETICON: {
        HICON &slot = w->icons[wParam == ICON_BIG ? 1 : 0];
        HICON previous = slot;
        slot = (HICON)lParam;
        return (LRESULT)previous;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ICONERASEBKGND:
        return TRUE;
    }
    return 0;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return 0;
    switch (index) {
    case GWLP_WNDPROC:
        return (LONG_PTR)w->proc;
    case GWL_STYLE:
        return (LONG_PTR)w->style;
    case GWL_EXSTYLE:
        return (LONG_PTR)w->exStyle;
    case GWLP_USERDATA:
        return w->userData;
    case DWLP_MSGRESULT:
        return w->msgResult;
    }
    return 0;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return 0;
    LONG_PTR previous = GetWindowLongPtrA(hwnd, index);
    switch (index) {
    case GWLP_WNDPROC:
        w->proc = (WNDPROC)value;
        break;
    case GWL_STYLE:
        w->style = (DWORD)value;
        break;
    case GWLP_USERDATA:
        w->userData = value;
        break;
    case DWLP_MSGRESULT:
        w->msgResult = value;
        break;
    }
    return previous;
}

LONG WINAPI GetWindowLongA(HWND hwnd, int index) { return (LONG)GetWindowLongPtrA(hwnd, index); }

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessageA(item, msg, wParam, lParam) : 0;
}

HWND WINAPI GetDlgItem(HWND dialog, int id)
{
    Window *w = FindWindow(dialog);
    if (w == NULL)
        return NULL;
    for (HWND child : w->children)
        if (FindWindow(child)->id == id)
            return child;
    return NULL;
}

int WINAPI GetDlgCtrlID(HWND hwnd)
{
    Window *w = FindWindow(hwnd);
    return w ? w->id : 0;
}

BOOL WINAPI IsWindow(HWND hwnd) { return FindWindow(hwnd) != NULL; }

BOOL WINAPI IsWindowVisible(HWND hwnd)
{
    for (Window *w = FindWindow(hwnd); w; w = FindWindow(w->parent))
        if (!(w->style & WS_VISIBLE))
            return FALSE;
    return FindWindow(hwnd) != NULL;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd)
{
    Window *w = FindWindow(hwnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL WINAPI IsIconic(HWND hwnd)
{
    Window *w = FindWindow(hwnd);
    return w && (w->style & WS_MINIMIZE);
}

BOOL WINAPI ShowWindow(HWND hwnd, int cmd)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return FALSE;
    BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
    switch (cmd) {
    case SW_HIDE:
        w->style &= ~WS_VISIBLE;
        break;
    case SW_MINIMIZE:
        w->style |= WS_MINIMIZE | WS_VISIBLE;
        break;
    case SW_RESTORE:
        w->style &= ~WS_MINIMIZE;
        w->style |= WS_VISIBLE;
        break;
    default:
        w->style |= WS_VISIBLE;
    }
    return wasVisible;
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable)
        w->style &= ~WS_DISABLED;
    else
        w->style |= WS_DISABLED;
    // A disabled window cannot have the focus; one inside it keeps it.
    if (!enable && UI().focus == hwnd)
        SetFocus(NULL);
    return wasDisabled;
}

BOOL WINAPI DestroyWindow(HWND hwnd)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return FALSE;
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    w = FindWindow(hwnd);
    if (w == NULL)
        return TRUE;
    std::vector<HWND> children = w->children;
    for (HWND child : children)
        DestroyWindow(child);
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    w = FindWindow(hwnd);
    if (w == NULL)
        return TRUE;
    if (Window *parent = FindWindow(w->parent)) {
        std::vector<HWND> &siblings = parent->children;
        for (size_t i = 0; i < siblings.size(); ++i)
            if (siblings[i] == hwnd)
                siblings.erase(siblings.begin() + (long)i--);
    }
    if (UI().focus == hwnd)
        UI().focus = NULL;
    if (UI().foreground == hwnd)
        UI().foreground = NULL;
    UI().windows.erase(hwnd);
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return FALSE;
    w->rect = {x, y, x + width, y + height};
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return FALSE;
    RECT r = w->rect;
    if (!(flags & SWP_NOMOVE)) {
        r.right += x - r.left;
        r.bottom += y - r.top;
        r.left = x;
        r.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    w->rect = r;
    return TRUE;
}

// Where the window's client area starts, in screen coordinates.
static POINT ClientOrigin(const Window &w)
{
    if (w.style & WS_CHILD) {
        POINT parent = ClientOrigin(*FindWindow(w.parent));
        return {parent.x + w.rect.left, parent.y + w.rect.top};
    }
    const Metrics &m = UI().metrics;
    bool framed = (w.style & WS_CAPTION) != 0;
    return {w.rect.left + (framed ? m.cxFixedFrame : 0),
            w.rect.top + (framed ? m.cyFixedFrame + m.cyCaption : 0)};
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL || rect == NULL)
        return FALSE;
    *rect = w->rect;
    if (w->style & WS_CHILD) {
        POINT origin = ClientOrigin(*FindWindow(w->parent));
        *rect = {origin.x + w->rect.left, origin.y + w->rect.top, origin.x + w->rect.right,
                 origin.y + w->rect.bottom};
    }
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL || rect == NULL)
        return FALSE;
    POINT origin = ClientOrigin(*w);
    RECT outer;
    GetWindowRect(hwnd, &outer);
    const Metrics &m = UI().metrics;
    bool framed = !(w->style & WS_CHILD) && (w->style & WS_CAPTION);
    LONG width = outer.right - origin.x - (framed ? m.cxFixedFrame : 0);
    LONG height = outer.bottom - origin.y - (framed ? m.cyFixedFrame : 0);
    *rect = {0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
    return TRUE;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count)
{
    POINT a = {0, 0}, b = {0, 0};
    if (from) {
        if (!FindWindow(from))
            return 0;
        a = ClientOrigin(*FindWindow(from));
    }
    if (to) {
        if (!FindWindow(to))
            return 0;
        b = ClientOrigin(*FindWindow(to));
    }
    for (UINT i = 0; i < count; ++i) {
        points[i].x += a.x - b.x;
        points[i].y += a.y - b.y;
    }
    return MAKELONG((WORD)(a.x - b.x), (WORD)(a.y - b.y));
}

HWND WINAPI GetParent(HWND hwnd)
{
    Window *w = FindWindow(hwnd);
    return w ? (w->parent ? w->parent : w->owner) : NULL;
}

// Children are in the order they were made: a dialog's, the template's.
HWND WINAPI GetWindow(HWND hwnd, UINT cmd)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL)
        return NULL;
    if (cmd == GW_CHILD)
        return w->children.empty() ? NULL : w->children.front();
    const std::vector<HWND> &siblings = w->parent ? FindWindow(w->parent)->children : std::vector<HWND>();
    for (size_t i = 0; cmd == GW_HWNDNEXT && i + 1 < siblings.size(); ++i)
        if (siblings[i] == hwnd)
            return siblings[i + 1];
    return cmd == GW_OWNER ? w->owner : NULL;
}

HWND WINAPI SetFocus(HWND hwnd)
{
    HWND previous = UI().focus;
    if (hwnd != NULL && FindWindow(hwnd) == NULL)
        return NULL;
    if (previous && previous != hwnd)
        SendMessageA(previous, WM_KILLFOCUS, (WPARAM)hwnd, 0);
    UI().focus = hwnd;
    if (hwnd && previous != hwnd)
        SendMessageA(hwnd, WM_SETFOCUS, (WPARAM)previous, 0);
    return previous;
}

HWND WINAPI GetFocus(void) { return UI().focus; }

// The most recent top-level window of that class and caption (either may be
// left out).
HWND WINAPI FindWindowA(LPCSTR cls, LPCSTR caption)
{
    HWND found = NULL;
    for (auto &entry : UI().windows) {
        const Window &w = entry.second;
        if (!(w.style & WS_CHILD) && (!cls || strcasecmp(cls, w.cls.c_str()) == 0) && (!caption || w.text == caption))
            found = entry.first;
    }
    return found;
}

BOOL WINAPI SetForegroundWindow(HWND hwnd)
{
    if (FindWindow(hwnd) == NULL)
        return FALSE;
    UI().foreground = hwnd;
    return TRUE;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int size)
{
    return (int)SendMessageA(hwnd, WM_GETTEXT, (WPARAM)size, (LPARAM)buffer);
}

int WINAPI GetSystemMetrics(int index)
{
    const Metrics &m = UI().metrics;
    switch (index) {
    case SM_CXSCREEN:
        return m.cxScreen;
    case SM_CYSCREEN:
        return m.cyScreen;
    case SM_CYCAPTION:
        return m.cyCaption;
    case SM_CXDLGFRAME:
        return m.cxFixedFrame;
    case SM_CYDLGFRAME:
        return m.cyFixedFrame;
    case SM_CXICON:
        return m.cxIcon;
    case SM_CYICON:
        return m.cyIcon;
    case SM_CXEDGE:
        return m.cxEdge;
    case SM_CYEDGE:
        return m.cyEdge;
    }
    return 0;
}

BOOL WINAPI SystemParametersInfoA(UINT action, UINT, PVOID param, UINT)
{
    if (action != SPI_GETWORKAREA || param == NULL)
        return FALSE;
    *(RECT *)param = UI().metrics.workArea;
    return TRUE;
}

BOOL WINAPI GetCursorPos(LPPOINT point)
{
    if (point == NULL) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    if (Enter(Call::GetCursorPos, NULL)) {
        // A locked or secure desktop: the point is left as it was.
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *point = UI().cursor;
    return TRUE;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name)
{
    const long kGroupIcon = 14;
    if (instance == kModule && IS_INTRESOURCE(name) && !FindResourceBytes(kGroupIcon, (long)(ULONG_PTR)name).empty())
        return (HICON)(0x30000 + (ULONG_PTR)name); // shared: never destroyed
    if (instance == NULL && name == IDI_APPLICATION)
        return (HICON)0x37F00;
    return NULL;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps)
{
    if (FindWindow(hwnd) == NULL || ps == NULL)
        return NULL;
    memset(ps, 0, sizeof(*ps));
    FindWindow(hwnd)->invalid = false; // BeginPaint validates the update region
    ps->hdc = (HDC)(0x50000 + (ULONG_PTR)hwnd);
    GetClientRect(hwnd, &ps->rcPaint);
    ++UI().paintContexts;
    return ps->hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT *ps)
{
    if (ps == NULL || ps->hdc == NULL)
        return FALSE;
    --UI().paintContexts;
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC dc, int x, int y, HICON icon)
{
    UI().iconsDrawn.push_back({dc, x, y, icon});
    return icon != NULL;
}

BOOL WINAPI WinHelpA(HWND owner, LPCSTR file, UINT command, ULONG_PTR)
{
    UI().help.push_back({owner, file ? file : "", command});
    return TRUE;
}

namespace sim {
long LivePaintContexts() { return UI().paintContexts; }
const std::vector<IconDrawn> &IconsDrawn() { return UI().iconsDrawn; }
const std::vector<HelpRequest> &HelpRequests() { return UI().help; }
} // namespace sim
