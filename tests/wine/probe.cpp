// Test-only helper run under Wine beside Lumetra.exe: finds Lumetra's window
// and reports what the Win32 API says of it, one fact per line.
//   probe wait SECONDS [TITLE] - until the window (or the one titled TITLE)
//                          is shown (exit 1 if it never is)
//   probe layout         - metrics, work area, window and control geometry
//   probe menu SECONDS   - the open popup menu's window
//   probe gone SECONDS   - until the window no longer exists
//   probe messagebox SECONDS - the message box Lumetra shows: its caption
//                          and items, read from the box
//   probe devicechange EVENT - WM_DEVICECHANGE with EVENT to the window
//   probe activate       - makes the window the active foreground window
//   probe bench RUNS COMMAND... - starts each command in turn and times the
//                          launch until a window titled Lumetra is shown
#include <windows.h>
#include <dbt.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// The window looked for: Lumetra's, or the one named on the command line.
static const char *g_title = "Lumetra";
static HWND FindLumetra() { return FindWindowA(NULL, g_title); }

static bool WaitFor(bool (*done)(), int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        if (done())
            return true;
        Sleep(50);
    }
    return done();
}

static BOOL CALLBACK PrintControl(HWND child, LPARAM parent)
{
    char cls[64], text[64];
    GetClassNameA(child, cls, sizeof(cls));
    GetWindowTextA(child, text, sizeof(text));
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(NULL, (HWND)parent, (POINT *)&r, 2);
    RECT screen;
    GetWindowRect(child, &screen);
    printf("control %d class=%s text=\"%s\" visible=%d enabled=%d check=%d rect=%ld,%ld,%ld,%ld screen=%ld,%ld "
           "style=0x%08lx parent=%s\n",
           GetDlgCtrlID(child), cls, text, IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0,
           (int)SendMessageA(child, BM_GETCHECK, 0, 0), r.left, r.top, r.right - r.left, r.bottom - r.top,
           screen.left, screen.top, (unsigned long)GetWindowLongA(child, GWL_STYLE),
           GetParent(child) == (HWND)parent ? "dialog" : "other");
    return TRUE;
}

// A message box of Lumetra's process: a dialog other than Lumetra's own.
static HWND g_box;
static BOOL CALLBACK FindBox(HWND window, LPARAM lumetra)
{
    char cls[16];
    DWORD process = 0, lumetraProcess = 0;
    GetWindowThreadProcessId(window, &process);
    GetWindowThreadProcessId((HWND)lumetra, &lumetraProcess);
    GetClassNameA(window, cls, sizeof(cls));
    if (window != (HWND)lumetra && process == lumetraProcess && strcmp(cls, "#32770") == 0 && IsWindowVisible(window)) {
        g_box = window;
        return FALSE;
    }
    return TRUE;
}

static bool BoxShown()
{
    g_box = NULL;
    HWND lumetra = FindLumetra();
    if (lumetra)
        EnumWindows(FindBox, (LPARAM)lumetra);
    return g_box != NULL;
}

static BOOL CALLBACK PrintBoxItem(HWND child, LPARAM)
{
    char cls[64], text[256];
    GetClassNameA(child, cls, sizeof(cls));
    GetWindowTextA(child, text, sizeof(text));
    printf("item %d class=%s text=\"%s\"\n", GetDlgCtrlID(child), cls, text);
    return TRUE;
}

// The message box Lumetra shows, as read from the box itself.
static int MessageBoxShown(int seconds)
{
    if (!WaitFor(BoxShown, seconds))
        return 1;
    char caption[256];
    GetWindowTextA(g_box, caption, sizeof(caption));
    printf("box caption=\"%s\" owner=%s\n", caption, GetWindow(g_box, GW_OWNER) == FindLumetra() ? "lumetra" : "other");
    EnumChildWindows(g_box, PrintBoxItem, 0);
    return 0;
}

// Makes Lumetra's window the foreground window, as a user switching to it
// does. (Under Wine on a bare X server a new window is activated before it
// becomes the foreground window, and so keeps an inactive caption.)
static int Activate()
{
    HWND dialog = FindLumetra();
    if (!dialog || !SetForegroundWindow(GetDesktopWindow()))
        return 1;
    Sleep(200);
    return SetForegroundWindow(dialog) ? 0 : 1;
}

// Sends WM_DEVICECHANGE with the event to Lumetra's window, as Windows
// broadcasts it to every top-level window, and prints the answer. A
// device's event (0x8000 and up) comes with its header: to a window that
// registered for no notifications only a volume's or a port's is sent, so
// it is a volume's (a memory card put in beside the camera, say).
static int DeviceChange(unsigned long event)
{
    HWND dialog = FindLumetra();
    DWORD_PTR answer = 0;
    DEV_BROADCAST_VOLUME volume;
    ZeroMemory(&volume, sizeof(volume));
    volume.dbcv_size = sizeof(volume);
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1 << ('E' - 'A');
    LPARAM header = event & 0x8000 ? (LPARAM)&volume : 0;
    if (!dialog || !SendMessageTimeoutA(dialog, WM_DEVICECHANGE, event, header, SMTO_ABORTIFHUNG, 20000, &answer))
        return 1;
    printf("answer %lu\n", (unsigned long)answer);
    return 0;
}

static int Layout()
{
    HWND dialog = FindLumetra();
    if (!dialog)
        return 1;
    RECT window, client, area;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    printf("metrics caption=%d cxedge=%d cyedge=%d\n", GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXEDGE),
           GetSystemMetrics(SM_CYEDGE));
    printf("workarea %ld,%ld,%ld,%ld\n", area.left, area.top, area.right, area.bottom);
    printf("window %ld,%ld,%ld,%ld\n", window.left, window.top, window.right - window.left, window.bottom - window.top);
    printf("client %ld,%ld\n", client.right, client.bottom);
    EnumChildWindows(dialog, PrintControl, (LPARAM)dialog);
    return 0;
}

static HWND FindPopup() { return FindWindowA("#32768", NULL); }

// Menus of another process cannot be read under Wine, so the popup is
// described by its window: items are as tall as the menu font's line.
static int Menu(int seconds)
{
    if (!WaitFor([] { return FindPopup() != NULL && IsWindowVisible(FindPopup()); }, seconds))
        return 1;
    RECT r;
    GetWindowRect(FindPopup(), &r);
    NONCLIENTMETRICSA metrics;
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    printf("popup %ld,%ld,%ld,%ld menuheight=%d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
           (int)metrics.iMenuHeight);
    return 0;
}

// Milliseconds from CreateProcess until a visible "Lumetra" window exists;
// the program is then closed and waited for.
static double TimeStart(const char *exe)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    char command[MAX_PATH + 2];
    lstrcpynA(command, exe, MAX_PATH);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return -1;
    HWND window = NULL;
    for (int i = 0; i < 20000 && !(window && IsWindowVisible(window)); ++i) {
        window = FindLumetra();
        if (!(window && IsWindowVisible(window)))
            Sleep(1);
    }
    QueryPerformanceCounter(&now);
    if (window)
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return window ? (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart : -1;
}

// Starts each command in turn, runs times: one line per round.
static int Bench(int runs, int count, char **commands)
{
    for (int i = 0; i < runs; ++i) {
        printf("run %d", i);
        for (int c = 0; c < count; ++c) {
            double t = TimeStart(commands[c]);
            printf(" %.1f", t);
            if (t < 0)
                return 1;
        }
        printf("\n");
        fflush(stdout);
    }
    return 0;
}

int main(int argc, char **argv)
{
    const char *what = argc > 1 ? argv[1] : "";
    int seconds = argc > 2 ? atoi(argv[2]) : 10;
    if (strcmp(what, "wait") == 0 && argc > 3)
        g_title = argv[3];
    if (strcmp(what, "wait") == 0)
        return WaitFor([] { return FindLumetra() != NULL && IsWindowVisible(FindLumetra()); }, seconds) ? 0 : 1;
    if (strcmp(what, "gone") == 0)
        return WaitFor([] { return FindLumetra() == NULL; }, seconds) ? 0 : 1;
    if (strcmp(what, "layout") == 0)
        return Layout();
    if (strcmp(what, "menu") == 0)
        return Menu(seconds);
    if (strcmp(what, "activate") == 0)
        return Activate();
    if (strcmp(what, "messagebox") == 0)
        return MessageBoxShown(seconds);
    if (strcmp(what, "devicechange") == 0 && argc > 2)
        return DeviceChange(strtoul(argv[2], NULL, 0));
    if (strcmp(what, "bench") == 0 && argc > 3)
        return Bench(seconds, argc - 3, argv + 3);
    fprintf(stderr, "usage: probe wait|gone|layout|menu|messagebox [seconds] | activate | devicechange EVENT | bench RUNS COMMAND...\n");
    return 2;
}
