// The dialog manager: dialogs created from extended templates, the default
// dialog procedure, its keys, and the modal loops that take the thread's
// posted messages and, when none waits, the scenario's input.
#include "ui.h"

#include <dbt.h>
#include <strings.h>

namespace sim {
namespace detail {
namespace {

const long kDialogType = 5;

struct Reader {
    const std::vector<BYTE> &bytes;
    size_t at = 0;
    bool ok = true;
    uint32_t Take(size_t width)
    {
        if (at + width > bytes.size()) {
            ok = false;
            return 0;
        }
        uint32_t v = 0;
        for (size_t i = 0; i < width; ++i)
            v |= (uint32_t)bytes[at + i] << (8 * i);
        at += width;
        return v;
    }
    // A string or an ordinal (0xFFFF then the number); ordinals of the
    // predefined classes come back as their names.
    std::string SzOrOrd()
    {
        uint32_t first = Take(2);
        if (first == 0xFFFF) {
            uint32_t ord = Take(2);
            return ord == 0x80 ? "Button" : ord == 0x82 ? "Static" : "#" + std::to_string(ord);
        }
        std::string text;
        for (uint32_t c = first; ok && c != 0; c = Take(2))
            text += c < 0x80 ? (char)c : '?';
        return text;
    }
    void Skip(size_t width)
    {
        ok = ok && at + width <= bytes.size();
        at += width;
    }
    void Align() { at = (at + 3) & ~(size_t)3; }
};

// Dialog units to pixels, rounded as MulDiv rounds.
LONG DluX(int v) { return (v * UI().metrics.baseUnitX * 2 + 4) / 8; }
LONG DluY(int v) { return (v * UI().metrics.baseUnitY * 2 + 8) / 16; }

// A new top-level dialog is moved into the work area, clear of a taskbar
// at any edge of the screen.
void FitIntoWorkArea(RECT *r)
{
    const RECT &area = UI().metrics.workArea;
    LONG dx = 0, dy = 0;
    if (r->right > area.right)
        dx = area.right - r->right;
    if (r->left + dx < area.left)
        dx = area.left - r->left;
    if (r->bottom > area.bottom)
        dy = area.bottom - r->bottom;
    if (r->top + dy < area.top)
        dy = area.top - r->top;
    *r = {r->left + dx, r->top + dy, r->right + dx, r->bottom + dy};
}

// Creates the dialog (hidden) and its controls from an extended template.
HWND CreateDialogFromTemplate(const std::vector<BYTE> &bytes, HWND owner, DWORD *templateStyle)
{
    Reader r{bytes};
    if (r.Take(2) != 1 || r.Take(2) != 0xFFFF)
        return NULL; // only extended templates
    r.Take(4);       // help id
    DWORD exStyle = r.Take(4), style = r.Take(4);
    int count = (int)r.Take(2);
    int x = (int16_t)r.Take(2), y = (int16_t)r.Take(2), cx = (int16_t)r.Take(2), cy = (int16_t)r.Take(2);
    r.SzOrOrd(); // menu
    r.SzOrOrd(); // class
    std::string caption = r.SzOrOrd();
    if (style & DS_SETFONT) {
        r.Skip(6); // point size, weight, italic, character set
        r.SzOrOrd();
    }
    const Metrics &m = UI().metrics;
    LONG left = DluX(x), top = DluY(y);
    RECT outer = {left, top, left + DluX(cx) + 2 * m.cxFixedFrame,
                  top + DluY(cy) + 2 * m.cyFixedFrame + m.cyCaption};
    if (!(style & WS_CHILD))
        FitIntoWorkArea(&outer);
    // What the dialog manager adds to a template's styles, as Wine and
    // ReactOS do: the 3-D look, the dialog's own tab navigation, and
    // controls that do not tell it of their creation.
    if (style & DS_MODALFRAME)
        exStyle |= WS_EX_DLGMODALFRAME;
    style |= DS_3DLOOK;
    exStyle |= WS_EX_CONTROLPARENT;
    *templateStyle = style;
    HWND dialog = CreateWindowFromTemplate("#32770", caption, style & ~WS_VISIBLE, exStyle, outer, owner, 0);
    for (int i = 0; i < count && r.ok; ++i) {
        r.Align();
        r.Take(4); // help id
        DWORD cExStyle = r.Take(4), cStyle = r.Take(4);
        int x0 = (int16_t)r.Take(2), y0 = (int16_t)r.Take(2), w0 = (int16_t)r.Take(2), h0 = (int16_t)r.Take(2);
        int id = (int)r.Take(4);
        std::string cls = r.SzOrOrd(), text = r.SzOrOrd();
        r.Skip(r.Take(2)); // creation data
        RECT rect = {DluX(x0), DluY(y0), DluX(x0 + w0), DluY(y0 + h0)};
        CreateWindowFromTemplate(cls, text, cStyle, cExStyle | WS_EX_NOPARENTNOTIFY, rect, dialog, id);
    }
    return r.ok ? dialog : NULL;
}

HWND FirstTabStop(HWND dialog)
{
    for (HWND child : FindWindow(dialog)->children) {
        Window *c = FindWindow(child);
        if ((c->style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE))
            return child;
    }
    return NULL;
}

} // namespace

// The default dialog procedure: the dialog's own procedure first, then the
// default handling.
LRESULT CALLBACK DefDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window *w = FindWindow(hwnd);
    DLGPROC dlgProc = w->dlgProc;
    w->msgResult = 0;
    INT_PTR handled = dlgProc ? dlgProc(hwnd, msg, wParam, lParam) : FALSE;
    w = FindWindow(hwnd);
    if (w == NULL)
        return 0;
    if (handled)
        return msg == WM_INITDIALOG || msg == WM_QUERYDRAGICON ? handled : w->msgResult;
    switch (msg) {
    case WM_SETFOCUS:
        // The dialog passes the focus on to its first tab stop.
        if (HWND first = FirstTabStop(hwnd))
            SetFocus(first);
        return 0;
    case WM_CLOSE:
        // The close box means Cancel.
        PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(hwnd, IDCANCEL));
        return 0;
    case WM_INITDIALOG:
    case WM_COMMAND:
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

namespace {

bool IsPushButton(HWND hwnd)
{
    Window *w = FindWindow(hwnd);
    return w && strcasecmp(w->cls.c_str(), "Button") == 0 &&
           ((w->style & BS_TYPEMASK) == BS_PUSHBUTTON || (w->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
}

HWND ActiveDialog()
{
    HWND found = NULL;
    for (auto &entry : UI().windows)
        if (entry.second.cls == "#32770" && !entry.second.ended)
            found = entry.first; // the most recent one
    return found;
}

// DM_GETDEFID's answer: the default push button's ID, else IDOK.
int DefaultId(HWND dialog)
{
    for (HWND child : FindWindow(dialog)->children)
        if ((FindWindow(child)->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && IsPushButton(child))
            return GetDlgCtrlID(child);
    return IDOK;
}

// IsDialogMessage's keys: Esc is Cancel; Enter clicks the push button that
// has the focus, else the default one.
bool DialogKey(HWND dialog, WPARAM key)
{
    int id;
    if (key == VK_ESCAPE) {
        id = IDCANCEL;
    } else if (key == VK_RETURN) {
        HWND focus = GetFocus();
        id = IsPushButton(focus) && GetParent(focus) == dialog ? GetDlgCtrlID(focus) : DefaultId(dialog);
    } else {
        return false;
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
    return true;
}

void ClickControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
        ReportScriptMismatch("scenario clicks control " + std::to_string(id) + ", which cannot be clicked");
        return;
    }
    if (IsPushButton(control))
        SetFocus(control); // a click gives a push button the focus
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)control);
}

// A key the user presses goes to the window with the focus.
void PostKey(HWND dialog, int key)
{
    HWND focus = GetFocus();
    PostMessageA(IsWithin(focus, dialog) ? focus : dialog, WM_KEYDOWN, (WPARAM)key, 0);
}

} // namespace
} // namespace detail

// The events of a device carry its DEV_BROADCAST_HDR, a volume's (drive E:)
// or a port's; those of the whole system (a change of the device tree, of the
// configuration) carry nothing.
LRESULT SendDeviceChange(HWND window, UINT eventType, DWORD deviceType)
{
    DEV_BROADCAST_VOLUME volume = {sizeof(volume), DBT_DEVTYP_VOLUME, 0, 1u << 4, 0};
    DEV_BROADCAST_PORT_A port = {sizeof(port), DBT_DEVTYP_PORT, 0, {0}};
    LPARAM data = !(eventType & 0x8000) ? 0 : deviceType == DBT_DEVTYP_VOLUME ? (LPARAM)&volume : (LPARAM)&port;
    return SendMessageA(window, WM_DEVICECHANGE, eventType, data);
}

namespace detail {

void BroadcastDeviceChange(UINT eventType, DWORD deviceType)
{
    bool ofADevice = (eventType & 0x8000) != 0;
    if (ofADevice && deviceType != DBT_DEVTYP_VOLUME && deviceType != DBT_DEVTYP_PORT) {
        ReportScriptMismatch("device change " + std::to_string(eventType) + " for device type " +
                             std::to_string(deviceType) + ", which a top-level window is never sent");
        return;
    }
    std::vector<HWND> topLevel;
    for (auto &entry : UI().windows)
        if (!(entry.second.style & WS_CHILD))
            topLevel.push_back(entry.first);
    for (HWND hwnd : topLevel)
        if (FindWindow(hwnd))
            SendDeviceChange(hwnd, eventType, deviceType);
}

bool TakePosted(PostedMessage *m)
{
    while (!UI().posted.empty()) {
        *m = UI().posted.front();
        UI().posted.pop_front();
        if (FindWindow(m->window))
            return true;
    }
    return false;
}

void DispatchInDialog(HWND dialog, const PostedMessage &m)
{
    if (m.message == WM_KEYDOWN && IsWithin(m.window, dialog) && DialogKey(dialog, m.wParam))
        return;
    SendMessageA(m.window, m.message, m.wParam, m.lParam);
}

void RunModalLoop(HWND dialog, const char *loop)
{
    while (FindWindow(dialog) && !FindWindow(dialog)->ended) {
        PostedMessage m;
        if (TakePosted(&m)) {
            DispatchInDialog(dialog, m);
        } else if (!RunNextInput(loop)) {
            ReportScriptMismatch(std::string("the ") + loop + " waits for input and none is scripted");
            EndDialog(dialog, -1);
        }
    }
}

bool RunNextInput(const char *loop)
{
    if (UI().input.empty())
        return false;
    Input input = UI().input.front();
    UI().input.pop_front();
    HWND dialog = ActiveDialog();
    switch (input.kind) {
    case Input::Click:
        ClickControl(dialog, input.value);
        break;
    case Input::Notify:
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(input.value, input.code), (LPARAM)GetDlgItem(dialog, input.value));
        break;
    case Input::Command:
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(input.value, 0), 0);
        break;
    case Input::Key:
        PostKey(dialog, input.value);
        break;
    case Input::CloseBox:
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case Input::Minimize:
        ShowWindow(dialog, input.value ? SW_MINIMIZE : SW_RESTORE);
        Paint(dialog);
        break;
    case Input::DeviceChange:
        BroadcastDeviceChange((UINT)input.value, input.code);
        break;
    case Input::Answer:
        if (FindWindow(dialog)->messageBox)
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(input.value, BN_CLICKED),
                         (LPARAM)GetDlgItem(dialog, input.value));
        else
            ReportScriptMismatch(std::string("scenario answers a message box in the ") + loop);
        break;
    case Input::Action:
        input.action();
        break;
    default:
        ReportScriptMismatch(std::string("scenario input for a menu reached the ") + loop);
    }
    return true;
}

} // namespace detail
} // namespace sim

using namespace sim;
using namespace sim::detail;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC dlgProc, LPARAM param)
{
    if (Enter(Call::DialogBox, NULL) || instance != kModule || !IS_INTRESOURCE(name))
        return -1;
    std::vector<BYTE> bytes = FindResourceBytes(kDialogType, (long)(ULONG_PTR)name);
    DWORD templateStyle = 0;
    HWND dialog = bytes.empty() ? NULL : CreateDialogFromTemplate(bytes, owner, &templateStyle);
    if (dialog == NULL)
        return -1;
    Window *w = FindWindow(dialog);
    w->proc = DefDlgProc;
    w->dlgProc = dlgProc;
    if (owner)
        EnableWindow(owner, FALSE);
    HWND first = FirstTabStop(dialog);
    if (SendMessageA(dialog, WM_INITDIALOG, (WPARAM)first, param) && first)
        SetFocus(first);
    if ((templateStyle & WS_VISIBLE) && !FindWindow(dialog)->ended)
        ShowWindow(dialog, SW_SHOW);
    RunModalLoop(dialog, "dialog");
    INT_PTR result = FindWindow(dialog)->endResult;
    if (owner)
        EnableWindow(owner, TRUE);
    DestroyWindow(dialog);
    return result;
}

BOOL WINAPI EndDialog(HWND hwnd, INT_PTR result)
{
    Window *w = FindWindow(hwnd);
    if (w == NULL || w->cls != "#32770")
        return FALSE;
    w->ended = true;
    w->endResult = result;
    return TRUE;
}
