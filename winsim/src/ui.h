// Internal state of the simulated user interface.
#pragma once

#include "state.h"

#include <deque>
#include <functional>
#include <map>

namespace sim {
namespace detail {

struct Window {
    HWND handle = NULL;
    std::string cls, text;
    DWORD style = 0, exStyle = 0;
    int id = 0;
    HWND parent = NULL, owner = NULL;
    RECT rect = {}; // parent-client coordinates for children, screen for top-level windows
    WNDPROC proc = NULL;
    DLGPROC dlgProc = NULL;
    LONG_PTR msgResult = 0, userData = 0;
    bool ended = false, messageBox = false;
    INT_PTR endResult = 0;
    int check = BST_UNCHECKED;
    bool invalid = false; // has an update region no BeginPaint has validated
    HICON icons[2] = {};
    std::vector<HWND> children;
};

struct Input {
    enum Kind { Click, Notify, Command, Key, CloseBox, Minimize, DeviceChange, PickMenuItem, DismissMenu, Answer, Action };
    Kind kind = Action;
    int value = 0;
    WORD code = 0;
    std::function<void()> action;
};

struct MenuItem {
    UINT flags = 0;
    UINT id = 0;
    std::string text;
    HMENU popup = NULL;
};

struct PostedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct UiState {
    std::map<HWND, Window> windows;
    uintptr_t nextWindow = 0x10000;
    std::map<HWND, std::vector<MessageSeen>> messages;
    HWND focus = NULL, foreground = NULL;
    std::deque<Input> input;
    std::deque<PostedMessage> posted;
    std::map<HMENU, std::vector<MenuItem>> menus;
    std::map<HMENU, HMENU> menuParents;
    uintptr_t nextMenu = 0x20000;
    std::vector<PopupSeen> popups;
    std::vector<MessageBoxSeen> boxes;
    std::vector<IconDrawn> iconsDrawn;
    std::vector<HelpRequest> help;
    POINT cursor = {400, 300};
    Metrics metrics;
    long paintContexts = 0;
};

UiState &UI();
void ResetUi();
Window *FindWindow(HWND window);
// window is ancestor or one of its descendants.
bool IsWithin(HWND window, HWND ancestor);
std::vector<BYTE> FindResourceBytes(long type, long id);
std::string &ModuleFileName(); // the scenario's executable
HWND CreateWindowFromTemplate(const std::string &cls, const std::string &text, DWORD style, DWORD exStyle,
                              const RECT &rect, HWND parent, int id);
void Paint(HWND window);
LRESULT CALLBACK DefDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The thread's message queue: the oldest posted message whose window still
// exists, if any.
bool TakePosted(PostedMessage *m);
// A dialog's modal loop, until the dialog has ended: each posted message
// through the dialog manager's keys, then to its window; with none posted,
// the scenario's next input.
void RunModalLoop(HWND dialog, const char *loop);
// Runs one scripted input; false when there is none left.
bool RunNextInput(const char *loop);
void BroadcastDeviceChange(UINT eventType, DWORD deviceType);

const HINSTANCE kModule = (HINSTANCE)0x400000;

} // namespace detail
} // namespace sim
