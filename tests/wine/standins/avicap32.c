/* Test-only stand-in for avicap32.dll under Wine, which has no Video for
   Windows capture driver: the drivers the test lists (standins.h), and a
   capture window that answers the capture messages Lumetra sends as Video
   for Windows documents them, logs each, and previews a moving test picture.
   Never shipped. */
#define __USE_MINGW_ANSI_STDIO 1
#include "standins.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <vfw.h>

#define MAX_DRIVERS 10 /* the indexes Video for Windows has, 0 through 9 */
#define MAX_DESCRIPTION 260
#define DRIVER_VERSION "Version: 1.0"
#define CLASS_NAME "ClsCapWin"
#define PREVIEW_TIMER 1
#define DEFAULT_PREVIEW_RATE_MS 66

/* What a capture window knows, in its extra bytes. */
typedef struct {
    BOOL connected;
    UINT driver;
    BOOL previewing;
    UINT rateMs;
    UINT frame;
} Capture;

static HINSTANCE module;
/* The format each driver captures in; it keeps the last one set, as a
   driver does, from one connection and one capture window to the next. */
static BITMAPINFOHEADER formats[MAX_DRIVERS];

static void Log(const char *format, ...)
{
    char line[256];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(line, sizeof(line) - 1, format, args);
    va_end(args);
    if (length < 0)
        return;
    if (length > (int)sizeof(line) - 2)
        length = sizeof(line) - 2;
    line[length++] = '\n';
    /* Opened for each line, so that every line is in the file once written. */
    HANDLE file = CreateFileA(STANDIN_CAPTURE_LOG_FILE, FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(file, line, (DWORD)length, &written, NULL);
    CloseHandle(file);
}

/* The description of driver index, from the test's list; FALSE if there is
   no such driver. */
static BOOL ReadDriver(UINT index, char description[MAX_DESCRIPTION])
{
    char text[MAX_DRIVERS * (MAX_DESCRIPTION + 2)];
    DWORD length;
    if (index >= MAX_DRIVERS || !ReadControlFile(STANDIN_CAPTURE_DRIVERS_FILE, text, sizeof(text), &length))
        return FALSE;
    const char *line = text;
    for (UINT i = 0; i < index; ++i) {
        const char *end = strchr(line, '\n');
        if (end == NULL)
            return FALSE;
        line = end + 1;
    }
    size_t size = strcspn(line, "\n");
    if (size == 0 && line[0] == '\0')
        return FALSE; /* past the last line */
    if (size > 0 && line[size - 1] == '\r')
        --size;
    if (size >= MAX_DESCRIPTION)
        size = MAX_DESCRIPTION - 1;
    CopyMemory(description, line, size);
    description[size] = '\0';
    return TRUE;
}

static BOOL DriverConnects(void)
{
    char text[16];
    DWORD length;
    return !ReadControlFile(STANDIN_CAPTURE_CONNECT_FILE, text, sizeof(text), &length) || text[0] != '0';
}

BOOL VFWAPI capGetDriverDescriptionA(UINT wDriverIndex, LPSTR lpszName, int cbName, LPSTR lpszVer, int cbVer)
{
    char description[MAX_DESCRIPTION];
    if (!ReadDriver(wDriverIndex, description))
        return FALSE;
    /* Truncated to fit, always terminated, not copied into an empty buffer. */
    if (lpszName != NULL && cbName > 0)
        lstrcpynA(lpszName, description, cbName);
    if (lpszVer != NULL && cbVer > 0)
        lstrcpynA(lpszVer, DRIVER_VERSION, cbVer);
    return TRUE;
}

/* The sizes are in bytes, as for the ANSI function. */
BOOL VFWAPI capGetDriverDescriptionW(UINT wDriverIndex, LPWSTR lpszName, int cbName, LPWSTR lpszVer, int cbVer)
{
    char description[MAX_DESCRIPTION];
    WCHAR wide[MAX_DESCRIPTION];
    if (!ReadDriver(wDriverIndex, description))
        return FALSE;
    int nameChars = cbName / (int)sizeof(WCHAR), versionChars = cbVer / (int)sizeof(WCHAR);
    if (lpszName != NULL && nameChars > 0) {
        if (!MultiByteToWideChar(CP_ACP, 0, description, -1, wide, MAX_DESCRIPTION))
            return FALSE;
        lstrcpynW(lpszName, wide, nameChars);
    }
    if (lpszVer != NULL && versionChars > 0)
        lstrcpynW(lpszVer, L"" DRIVER_VERSION, versionChars);
    return TRUE;
}

/* The format a driver starts with: 640 x 480, 24-bit RGB, which has no
   colour table. */
static BITMAPINFOHEADER *FormatOf(UINT driver)
{
    BITMAPINFOHEADER *format = &formats[driver];
    if (format->biSize == 0) {
        format->biSize = sizeof(*format);
        format->biWidth = 640;
        format->biHeight = 480;
        format->biPlanes = 1;
        format->biBitCount = 24;
        format->biCompression = BI_RGB;
        format->biSizeImage = 640 * 3 * 480;
    }
    return format;
}

/* The frame sizes of the modelled camera, all 24-bit RGB, bottom-up. */
static BOOL FormatSupported(const BITMAPINFOHEADER *format)
{
    static const SIZE sizes[] = {{640, 480}, {352, 288}, {320, 240}, {176, 144}, {160, 120}};
    if (format->biPlanes != 1 || format->biBitCount != 24 || format->biCompression != BI_RGB)
        return FALSE;
    for (size_t i = 0; i < sizeof(sizes) / sizeof(sizes[0]); ++i)
        if (format->biWidth == sizes[i].cx && format->biHeight == sizes[i].cy)
            return TRUE;
    return FALSE;
}

static BOOL SetPreview(HWND window, Capture *capture, BOOL on)
{
    if (on && !SetTimer(window, PREVIEW_TIMER, capture->rateMs, NULL))
        return FALSE;
    if (!on && capture->previewing)
        KillTimer(window, PREVIEW_TIMER);
    capture->previewing = on;
    InvalidateRect(window, NULL, FALSE);
    return TRUE;
}

static BOOL Disconnect(HWND window, Capture *capture)
{
    if (!capture->connected)
        return FALSE;
    SetPreview(window, capture, FALSE);
    capture->connected = FALSE;
    return TRUE;
}

/* Connecting first disconnects the driver connected before, if any. */
static BOOL Connect(HWND window, Capture *capture, WPARAM index)
{
    char description[MAX_DESCRIPTION];
    Disconnect(window, capture);
    if (index >= MAX_DRIVERS || !ReadDriver((UINT)index, description) || !DriverConnects())
        return FALSE;
    capture->connected = TRUE;
    capture->driver = (UINT)index;
    return TRUE;
}

/* Copies as much of the format as the buffer holds; returns its size, or 0
   when no driver is connected. */
static LRESULT GetVideoFormat(Capture *capture, WPARAM size, BITMAPINFO *buffer)
{
    if (!capture->connected)
        return 0;
    const BITMAPINFOHEADER *format = FormatOf(capture->driver);
    if (buffer != NULL)
        CopyMemory(buffer, format, size < sizeof(*format) ? size : sizeof(*format));
    return sizeof(*format);
}

static BOOL SetVideoFormat(HWND window, Capture *capture, WPARAM size, const BITMAPINFO *buffer)
{
    if (!capture->connected || buffer == NULL || size < sizeof(BITMAPINFOHEADER) ||
        buffer->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || buffer->bmiHeader.biSize > size ||
        !FormatSupported(&buffer->bmiHeader))
        return FALSE;
    BITMAPINFOHEADER *format = FormatOf(capture->driver);
    *format = buffer->bmiHeader;
    format->biSize = sizeof(*format);
    format->biSizeImage = (DWORD)(format->biWidth * 3 + 3) / 4 * 4 * (DWORD)format->biHeight;
    InvalidateRect(window, NULL, FALSE);
    return TRUE;
}

static BOOL SetPreviewRate(HWND window, Capture *capture, WPARAM rateMs)
{
    if (!capture->connected)
        return FALSE; /* as capSetPreviewRate's page says */
    capture->rateMs = (UINT)rateMs;
    return !capture->previewing || SetPreview(window, capture, TRUE);
}

static LRESULT OnCaptureMessage(HWND window, Capture *capture, UINT message, WPARAM wParam, LPARAM lParam)
{
    const long long lp = (long long)lParam;
    const unsigned long long wp = (unsigned long long)wParam;
    LRESULT result;
    switch (message) {
    case WM_CAP_DRIVER_CONNECT:
        result = Connect(window, capture, wParam);
        Log("connect wparam=%llu lparam=%lld result=%d", wp, lp, (int)result);
        return result;
    case WM_CAP_DRIVER_DISCONNECT:
        result = Disconnect(window, capture);
        Log("disconnect wparam=%llu lparam=%lld result=%d", wp, lp, (int)result);
        return result;
    case WM_CAP_GET_VIDEOFORMAT: {
        BITMAPINFO *buffer = (BITMAPINFO *)lParam;
        result = GetVideoFormat(capture, wParam, buffer);
        BOOL filled = result != 0 && buffer != NULL && wParam >= sizeof(BITMAPINFOHEADER);
        Log("get_videoformat wparam=%llu lparam=%lld width=%ld height=%ld result=%d", wp, lp,
            filled ? buffer->bmiHeader.biWidth : 0L, filled ? buffer->bmiHeader.biHeight : 0L, (int)result);
        return result;
    }
    case WM_CAP_SET_VIDEOFORMAT: {
        const BITMAPINFO *buffer = (const BITMAPINFO *)lParam;
        result = SetVideoFormat(window, capture, wParam, buffer);
        BOOL readable = buffer != NULL && wParam >= sizeof(BITMAPINFOHEADER);
        Log("set_videoformat wparam=%llu lparam=%lld width=%ld height=%ld result=%d", wp, lp,
            readable ? buffer->bmiHeader.biWidth : 0L, readable ? buffer->bmiHeader.biHeight : 0L, (int)result);
        return result;
    }
    case WM_CAP_SET_PREVIEWRATE:
        result = SetPreviewRate(window, capture, wParam);
        Log("set_previewrate wparam=%llu lparam=%lld result=%d", wp, lp, (int)result);
        return result;
    case WM_CAP_SET_PREVIEW:
        result = capture->connected && SetPreview(window, capture, wParam != 0);
        Log("set_preview wparam=%llu lparam=%lld result=%d", wp, lp, (int)result);
        return result;
    }
    Log("cap+%u wparam=%llu lparam=%lld result=0", message - WM_CAP_START, wp, lp);
    return 0;
}

static void FillColour(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    RECT area = {left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    if (brush == NULL)
        return;
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

/* Colour bars over three quarters of the frame, and below them a square
   that moves on by four pixels a frame; black outside the frame and while
   there is no preview. The frame is the format's size, unscaled. */
static void PaintPicture(HDC dc, const RECT *client, const Capture *capture)
{
    static const COLORREF bars[] = {RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255), RGB(0, 255, 0),
                                    RGB(255, 0, 255),   RGB(255, 0, 0),   RGB(0, 0, 255),   RGB(0, 0, 0)};
    const int count = sizeof(bars) / sizeof(bars[0]);
    int width = 0, height = 0;
    if (capture->previewing) {
        const BITMAPINFOHEADER *format = FormatOf(capture->driver);
        width = min(format->biWidth, client->right);
        height = min(format->biHeight, client->bottom);
    }
    int barsBottom = height * 3 / 4, side = height - barsBottom;
    for (int i = 0; i < count && width > 0; ++i)
        FillColour(dc, i * width / count, 0, (i + 1) * width / count, barsBottom, bars[i]);
    FillColour(dc, 0, barsBottom, width, height, RGB(32, 32, 32));
    if (side > 0 && width > side) {
        int x = (int)(capture->frame * 4 % (UINT)(width - side));
        FillColour(dc, x, barsBottom, x + side, height, RGB(255, 255, 255));
    }
    FillColour(dc, width, 0, client->right, client->bottom, RGB(0, 0, 0));
    FillColour(dc, 0, height, width, client->bottom, RGB(0, 0, 0));
}

static void Paint(HWND window, const Capture *capture)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == NULL)
        return;
    RECT client;
    GetClientRect(window, &client);
    PaintPicture(dc, &client, capture);
    EndPaint(window, &paint);
}

static LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Capture *capture = (Capture *)GetWindowLongPtrA(window, 0);
    switch (message) {
    case WM_NCCREATE:
        capture = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(*capture));
        if (capture == NULL)
            return FALSE;
        capture->rateMs = DEFAULT_PREVIEW_RATE_MS;
        SetWindowLongPtrA(window, 0, (LONG_PTR)capture);
        break;
    case WM_NCDESTROY:
        if (capture != NULL)
            HeapFree(GetProcessHeap(), 0, capture);
        SetWindowLongPtrA(window, 0, 0);
        break;
    case WM_DESTROY:
        if (capture != NULL)
            Disconnect(window, capture); /* a window ends its connection */
        Log("destroy");
        break;
    case WM_TIMER:
        if (wParam == PREVIEW_TIMER && capture != NULL) {
            capture->frame++;
            InvalidateRect(window, NULL, FALSE);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return TRUE; /* WM_PAINT paints all of it */
    case WM_PAINT:
        if (capture != NULL) {
            Paint(window, capture);
            return 0;
        }
        break;
    default:
        if (capture != NULL && message > WM_CAP_START && message <= WM_CAP_END)
            return OnCaptureMessage(window, capture, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static BOOL RegisterCaptureClass(void)
{
    WNDCLASSEXA windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = CaptureWindowProc;
    windowClass.cbWndExtra = sizeof(Capture *);
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.lpszClassName = CLASS_NAME;
    return RegisterClassExA(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND VFWAPI capCreateCaptureWindowA(LPCSTR lpszWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                                    HWND hwndParent, int nID)
{
    HWND window = NULL;
    if (RegisterCaptureClass())
        window = CreateWindowExA(0, CLASS_NAME, lpszWindowName, dwStyle, x, y, nWidth, nHeight, hwndParent,
                                 (HMENU)(INT_PTR)nID, module, NULL);
    Log("create style=0x%08lx x=%d y=%d width=%d height=%d id=%d result=%d", (unsigned long)dwStyle, x, y, nWidth,
        nHeight, nID, window != NULL);
    return window;
}

HWND VFWAPI capCreateCaptureWindowW(LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                                    HWND hwndParent, int nID)
{
    HWND window = NULL;
    if (RegisterCaptureClass())
        window = CreateWindowExW(0, L"" CLASS_NAME, lpszWindowName, dwStyle, x, y, nWidth, nHeight, hwndParent,
                                 (HMENU)(INT_PTR)nID, module, NULL);
    Log("create style=0x%08lx x=%d y=%d width=%d height=%d id=%d result=%d", (unsigned long)dwStyle, x, y, nWidth,
        nHeight, nID, window != NULL);
    return window;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        module = instance;
    else if (reason == DLL_PROCESS_DETACH && reserved == NULL) {
        /* A DLL's classes outlive it unless it unregisters them. */
        UnregisterClassA(CLASS_NAME, instance);
    }
    return TRUE;
}

#include "avicap32_stubs.h"
