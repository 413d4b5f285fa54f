// Test-only helper run under Wine beside Lumetra.exe: finds Lumetra's window
// and reports what the Win32 API says of it, one fact per line.
//   probe wait SECONDS [TITLE] - until the window (or the one titled TITLE)
//                          is shown (exit 1 if it never is)
//   probe layout         - metrics, work area, window and control geometry
//   probe menu SECONDS   - the open popup menu's window
//   probe gone SECONDS   - until the window no longer exists
//   probe bench RUNS COMMAND... - starts each command in turn and times the
//                          launch until a window titled Lumetra is shown
#include <windows.h>

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
    printf("control %d class=%s text=\"%s\" visible=%d enabled=%d check=%d rect=%ld,%ld,%ld,%ld screen=%ld,%ld\n",
           GetDlgCtrlID(child), cls, text, IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0,
           (int)SendMessageA(child, BM_GETCHECK, 0, 0), r.left, r.top, r.right - r.left, r.bottom - r.top,
           screen.left, screen.top);
    return TRUE;
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
    if (strcmp(what, "bench") == 0 && argc > 3)
        return Bench(seconds, argc - 3, argv + 3);
    fprintf(stderr, "usage: probe wait|gone|layout|menu [seconds] | bench RUNS COMMAND...\n");
    return 2;
}
