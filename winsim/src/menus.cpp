// Menus loaded from the module's menu templates, popup menus and message
// boxes, each with its own short modal loop over the posted messages and
// the scenario's input.
#include "ui.h"

namespace sim {
namespace detail {
namespace {

const long kMenuType = 4;

// Parses a standard menu template's items into a new menu; nested popups
// become menus of their own.
HMENU ParseMenu(const std::vector<BYTE> &bytes, size_t *at, HMENU parent)
{
    HMENU menu = (HMENU)UI().nextMenu;
    UI().nextMenu += 4;
    UI().menus[menu];
    if (parent)
        UI().menuParents[menu] = parent;
    auto word = [&]() -> UINT {
        if (*at + 2 > bytes.size())
            return MF_END;
        UINT v = bytes[*at] | bytes[*at + 1] << 8;
        *at += 2;
        return v;
    };
    for (;;) {
        MenuItem item;
        item.flags = word();
        if (!(item.flags & MF_POPUP))
            item.id = word();
        for (UINT c = word(); c != 0 && c != MF_END; c = word())
            item.text += c < 0x80 ? (char)c : '?';
        if (item.flags & MF_POPUP)
            item.popup = ParseMenu(bytes, at, menu);
        bool last = (item.flags & MF_END) != 0;
        item.flags &= ~MF_END;
        UI().menus[menu].push_back(item);
        if (last || *at >= bytes.size())
            break;
    }
    return menu;
}

MenuItem *FindItemByCommand(HMENU menu, UINT id)
{
    auto found = UI().menus.find(menu);
    if (found == UI().menus.end())
        return NULL;
    for (MenuItem &item : found->second) {
        if (item.popup) {
            if (MenuItem *inner = FindItemByCommand(item.popup, id))
                return inner;
        } else if (item.id == id) {
            return &item;
        }
    }
    return NULL;
}

void CollectItems(HMENU menu, std::vector<MenuItemSeen> *seen)
{
    for (const MenuItem &item : UI().menus[menu]) {
        if (!item.popup)
            seen->push_back({item.id, item.text, (item.flags & MF_CHECKED) != 0});
    }
}

void DestroyMenuTree(HMENU menu)
{
    for (const MenuItem &item : UI().menus[menu])
        if (item.popup)
            DestroyMenuTree(item.popup);
    UI().menus.erase(menu);
    UI().menuParents.erase(menu);
}

} // namespace
} // namespace detail

using namespace detail;

long LiveMenus()
{
    long roots = 0;
    for (auto &entry : UI().menus)
        roots += UI().menuParents.count(entry.first) == 0;
    return roots;
}

const std::vector<PopupSeen> &Popups() { return UI().popups; }
const std::vector<MessageBoxSeen> &MessageBoxes() { return UI().boxes; }

static void Queue(Input::Kind kind, int value = 0, WORD code = 0, std::function<void()> action = nullptr)
{
    Input input;
    input.kind = kind;
    input.value = value;
    input.code = code;
    input.action = std::move(action);
    UI().input.push_back(input);
}
void Click(int id) { Queue(Input::Click, id); }
void Notify(int id, WORD code) { Queue(Input::Notify, id, code); }
void Command(WORD id) { Queue(Input::Command, id); }
void Key(int key) { Queue(Input::Key, key); }
void CloseBox() { Queue(Input::CloseBox); }
void Minimize(bool minimized) { Queue(Input::Minimize, minimized ? 1 : 0); }
void DeviceChange(UINT eventType, DWORD deviceType) { Queue(Input::DeviceChange, (int)eventType, (WORD)deviceType); }
void PickMenuItem(UINT id) { Queue(Input::PickMenuItem, (int)id); }
void DismissMenu() { Queue(Input::DismissMenu); }
void AnswerMessageBox(int id) { Queue(Input::Answer, id); }
void Then(std::function<void()> action) { Queue(Input::Action, 0, 0, std::move(action)); }
size_t PendingInput() { return UI().input.size(); }
void SetCursorPos(int x, int y) { UI().cursor = {x, y}; }

} // namespace sim

using namespace sim;
using namespace sim::detail;

HMENU WINAPI LoadMenuA(HINSTANCE instance, LPCSTR name)
{
    if (Enter(Call::LoadMenu, NULL) || instance != kModule || !IS_INTRESOURCE(name))
        return NULL;
    std::vector<BYTE> bytes = FindResourceBytes(kMenuType, (long)(ULONG_PTR)name);
    if (bytes.size() < 4)
        return NULL;
    size_t at = 4; // version and header size
    return ParseMenu(bytes, &at, NULL);
}

HMENU WINAPI GetSubMenu(HMENU menu, int pos)
{
    auto found = UI().menus.find(menu);
    if (found == UI().menus.end() || pos < 0 || (size_t)pos >= found->second.size())
        return NULL;
    return found->second[(size_t)pos].popup;
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT id, UINT check)
{
    MenuItem *item = (check & MF_BYPOSITION) ? NULL : FindItemByCommand(menu, id);
    if (item == NULL)
        return (DWORD)-1;
    DWORD previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

BOOL WINAPI DestroyMenu(HMENU menu)
{
    if (UI().menus.count(menu) == 0)
        return FALSE;
    DestroyMenuTree(menu);
    return TRUE;
}

namespace {

// The popup menu loop's keys: Down and Up move the selection, Esc closes
// the menu, Enter picks the selected item (Wine and ReactOS take it as the
// character the key makes, which this loop sees the same way).
bool MenuKey(const std::vector<MenuItem> &items, const PostedMessage &m, int *selected, UINT *picked)
{
    int n = (int)items.size();
    bool enter = (m.message == WM_KEYDOWN && m.wParam == VK_RETURN) || (m.message == WM_CHAR && m.wParam == '\r');
    if (m.message == WM_KEYDOWN && m.wParam == VK_DOWN)
        *selected = (*selected + 1) % n;
    else if (m.message == WM_KEYDOWN && m.wParam == VK_UP)
        *selected = *selected <= 0 ? n - 1 : *selected - 1;
    else if (enter)
        *picked = *selected >= 0 ? items[(size_t)*selected].id : 0;
    return enter || (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE);
}

// The scenario's next input while a popup menu is open: a pick or a
// dismissal becomes the keys that make it. False when the menu closes: no
// input is left, or the next is not for the menu (it stays for the loop the
// menu returns to).
bool MenuInput(const std::vector<MenuItem> &items, int selected, HWND owner)
{
    if (UI().input.empty()) {
        ReportScriptMismatch("a popup menu waits for input and none is scripted");
        return false;
    }
    Input input = UI().input.front();
    if (input.kind == Input::DeviceChange || input.kind == Input::Action)
        return RunNextInput("popup menu"); // delivered while the menu stays open
    if (input.kind != Input::PickMenuItem && input.kind != Input::DismissMenu)
        return false;
    UI().input.pop_front();
    int at = 0;
    while (input.kind == Input::PickMenuItem && at < (int)items.size() && items[(size_t)at].id != (UINT)input.value)
        ++at;
    if (input.kind == Input::DismissMenu) {
        PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 0);
    } else if (at == (int)items.size()) {
        ReportScriptMismatch("scenario picks an item the open menu does not have");
        return false;
    } else {
        int n = (int)items.size();
        for (int steps = selected < 0 ? at + 1 : (at - selected + n) % n; steps; --steps)
            PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
    }
    return true;
}

// A message box answers OK to OK, Esc and its close box.
INT_PTR CALLBACK MessageBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg != WM_COMMAND || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL))
        return FALSE;
    EndDialog(box, IDOK);
    return TRUE;
}

} // namespace

// Without TPM_RETURNCMD the pick is posted to the owner as WM_COMMAND, and
// the answer is TRUE however the menu closed.
BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT *)
{
    if (Enter(Call::TrackPopupMenu, NULL) || UI().menus.count(menu) == 0 || FindWindow(owner) == NULL)
        return FALSE;
    PopupSeen seen{owner, {x, y}, flags, UI().foreground == owner, {}};
    CollectItems(menu, &seen.items);
    UI().popups.push_back(seen);
    const std::vector<MenuItem> items = UI().menus[menu];
    int selected = -1;
    UINT picked = 0;
    for (bool open = !items.empty(); open;) {
        PostedMessage m;
        if (!TakePosted(&m))
            open = MenuInput(items, selected, owner);
        else if (m.message == WM_KEYDOWN || m.message == WM_CHAR)
            open = !MenuKey(items, m, &selected, &picked);
        else
            SendMessageA(m.window, m.message, m.wParam, m.lParam);
    }
    if (flags & TPM_RETURNCMD)
        return (BOOL)picked;
    if (picked)
        PostMessageA(owner, WM_COMMAND, picked, 0);
    return TRUE;
}

// The box is a dialog of its own, with the text in a static control and an
// OK button that has the focus, run modally while its owner is disabled.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    if (Enter(Call::MessageBox, NULL))
        return 0;
    if ((style & 0xF) != MB_OK)
        ReportMisuse("message box buttons other than OK are not modelled");
    UI().boxes.push_back({owner, text ? text : "", caption ? caption : "Error", style});
    const RECT none = {0, 0, 0, 0};
    HWND box = CreateWindowFromTemplate("#32770", caption ? caption : "Error",
                                        WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                        WS_EX_DLGMODALFRAME, none, owner, 0);
    Window *w = FindWindow(box);
    w->proc = DefDlgProc;
    w->dlgProc = MessageBoxProc;
    w->messageBox = true;
    CreateWindowFromTemplate("Static", text ? text : "", WS_CHILD | WS_VISIBLE, 0, none, box, 0xFFFF);
    HWND ok = CreateWindowFromTemplate("Button", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                                       none, box, IDOK);
    HWND focus = GetFocus();
    BOOL ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    SetFocus(ok);
    RunModalLoop(box, "message box");
    int answer = FindWindow(box) && FindWindow(box)->endResult != -1 ? (int)FindWindow(box)->endResult : IDOK;
    if (ownerWasEnabled && FindWindow(owner))
        EnableWindow(owner, TRUE);
    DestroyWindow(box);
    if (FindWindow(focus))
        SetFocus(focus);
    return answer;
}
