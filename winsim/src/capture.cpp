// Video for Windows: capture drivers by index and capture windows that
// connect to them.
#include "ui.h"

#include <vfw.h>

namespace sim {
namespace detail {
namespace {

const char kCaptureClass[] = "ClsCapWin";

void WriteFormat(BYTE *buffer, size_t size)
{
    BITMAPINFO format;
    memset(&format, 0, sizeof(format));
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = 640;
    format.bmiHeader.biHeight = 480;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biSizeImage = 640 * 480 * 3;
    memcpy(buffer, &format, size < sizeof(format) ? size : sizeof(format));
}

// The capture macros pass 0 for what a message does not use.
void CheckUnusedParameters(UINT msg, WPARAM wParam, LPARAM lParam)
{
    bool zero = true;
    if (msg == WM_CAP_DRIVER_DISCONNECT)
        zero = wParam == 0 && lParam == 0;
    else if (msg == WM_CAP_DRIVER_CONNECT || msg == WM_CAP_SET_PREVIEW || msg == WM_CAP_SET_PREVIEWRATE)
        zero = lParam == 0;
    if (!zero)
        ReportMisuse("capture message " + std::to_string(msg) + " with an unused parameter that is not 0");
}

// Answers the capture messages while connected; every message is recorded.
LRESULT CALLBACK CaptureWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto state = S().captureWindows.find(hwnd);
    if (state == S().captureWindows.end())
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    CheckUnusedParameters(msg, wParam, lParam);
    bool &connected = state->second;
    switch (msg) {
    case WM_CAP_DRIVER_CONNECT:
        connected = !Enter(Call::CaptureConnect, NULL) && wParam < S().captureDrivers.size() &&
                    S().captureDrivers[wParam].connects;
        S().succeeded.connects += connected;
        return connected;
    case WM_CAP_DRIVER_DISCONNECT: {
        bool was = connected;
        connected = false;
        return was;
    }
    case WM_CAP_GET_VIDEOFORMAT:
        if (!connected)
            return 0;
        if (lParam)
            WriteFormat((BYTE *)lParam, wParam);
        return sizeof(BITMAPINFO);
    case WM_CAP_SET_VIDEOFORMAT:
        if (lParam)
            S().formatsSet.push_back(std::vector<BYTE>((BYTE *)lParam, (BYTE *)lParam + wParam));
        return connected;
    case WM_CAP_SET_PREVIEW:
    case WM_CAP_SET_PREVIEWRATE:
        return connected;
    case WM_NCDESTROY:
        S().captureWindows.erase(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace
} // namespace detail

using namespace detail;

UINT AddCaptureDriver(const std::string &description, bool connects)
{
    CaptureDriver driver;
    driver.description = description;
    driver.connects = connects;
    S().captureDrivers.push_back(driver);
    return (UINT)S().captureDrivers.size() - 1;
}

void RemoveCaptureDriver(UINT index) { S().captureDrivers.erase(S().captureDrivers.begin() + index); }
CaptureDriver &CaptureDriverAt(UINT index) { return S().captureDrivers.at(index); }
size_t CaptureDriverCount() { return S().captureDrivers.size(); }

std::vector<HWND> CaptureWindows()
{
    std::vector<HWND> windows;
    for (auto &entry : S().captureWindows)
        windows.push_back(entry.first);
    return windows;
}

const std::vector<std::vector<BYTE>> &VideoFormatsSet() { return S().formatsSet; }

bool IsCaptureConnected(HWND window)
{
    auto found = S().captureWindows.find(window);
    return found != S().captureWindows.end() && found->second;
}

} // namespace sim

using namespace sim;
using namespace sim::detail;

BOOL WINAPI capGetDriverDescriptionA(UINT index, LPSTR name, int cbName, LPSTR version, int cbVersion)
{
    if (Enter(Call::capGetDriverDescription, NULL) || index >= S().captureDrivers.size())
        return FALSE;
    const CaptureDriver &driver = S().captureDrivers[index];
    if (name && cbName > 0 && driver.unterminated)
        memcpy(name, driver.description.data(), driver.description.size() < (size_t)cbName ? driver.description.size() : (size_t)cbName);
    else if (name && cbName > 0)
        lstrcpynA(name, driver.description.c_str(), cbName);
    if (version && cbVersion > 0)
        lstrcpynA(version, driver.version.c_str(), cbVersion);
    return TRUE;
}

HWND WINAPI capCreateCaptureWindowA(LPCSTR title, DWORD style, int x, int y, int width, int height, HWND parent,
                                    int id)
{
    if (Enter(Call::capCreateCaptureWindow, NULL) || (parent && !IsWindow(parent)))
        return NULL;
    RECT rect = {x, y, x + width, y + height};
    HWND hwnd = CreateWindowFromTemplate(kCaptureClass, title ? title : "", style, 0, rect, parent, id);
    FindWindow(hwnd)->proc = CaptureWindowProc;
    S().captureWindows[hwnd] = false;
    return hwnd;
}
