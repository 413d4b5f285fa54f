// Menus loaded from the module's menu templates, popup menus and message
// boxes, each with its own short modal loop over the scenario's input.
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
void DeviceChange(UINT eventType) { Queue(Input::DeviceChange, (int)eventType); }
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

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT *)
{
    if (Enter(Call::TrackPopupMenu, NULL) || UI().menus.count(menu) == 0 || FindWindow(owner) == NULL)
        return FALSE;
    PopupSeen seen{owner, {x, y}, flags, UI().foreground == owner, {}};
    CollectItems(menu, &seen.items);
    UI().popups.push_back(seen);
    for (;;) {
        if (UI().input.empty()) {
            ReportScriptMismatch("a popup menu waits for input and none is scripted");
            return TRUE;
        }
        Input input = UI().input.front();
        if (input.kind == Input::PickMenuItem) {
            UI().input.pop_front();
            if (FindItemByCommand(menu, (UINT)input.value) == NULL)
                ReportScriptMismatch("scenario picks an item the open menu does not have");
            else
                PostMessageA(owner, WM_COMMAND, MAKEWPARAM(input.value, 0), 0);
            return TRUE;
        }
        if (input.kind == Input::DismissMenu) {
            UI().input.pop_front();
            return TRUE;
        }
        if (input.kind == Input::DeviceChange || input.kind == Input::Action) {
            RunNextInput("popup menu"); // delivered while the menu stays open
            continue;
        }
        return TRUE; // any other input closes the menu first
    }
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    if (Enter(Call::MessageBox, NULL))
        return 0;
    UI().boxes.push_back({owner, text ? text : "", caption ? caption : "Error", style});
    BOOL ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    int answer = IDOK;
    for (;;) {
        if (UI().input.empty()) {
            ReportScriptMismatch("a message box waits for input and none is scripted");
            break;
        }
        Input input = UI().input.front();
        if (input.kind == Input::Answer) {
            UI().input.pop_front();
            answer = input.value;
            break;
        }
        if (input.kind == Input::DeviceChange || input.kind == Input::Action) {
            RunNextInput("message box");
            continue;
        }
        ReportScriptMismatch("scenario input other than an answer reached a message box");
        UI().input.pop_front();
    }
    if (ownerWasEnabled && FindWindow(owner))
        EnableWindow(owner, TRUE);
    return answer;
}
