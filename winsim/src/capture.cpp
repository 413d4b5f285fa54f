// Video for Windows: capture drivers by index and capture windows that
// connect to them.
#include "ui.h"

#include <vfw.h>

namespace sim {
namespace detail {
namespace {

const char kCaptureClass[] = "ClsCapWin";
const UINT kNotConnected = (UINT)-1;

// The driver's format, as much of it as fits; its size, or 0 unconnected.
LRESULT GetFormat(UINT driver, BYTE *buffer, size_t size)
{
    if (driver == kNotConnected)
        return 0;
    const CaptureDriver &d = S().captureDrivers[driver];
    BITMAPINFOHEADER format;
    memset(&format, 0, sizeof(format));
    format.biSize = sizeof(format);
    format.biWidth = d.width;
    format.biHeight = d.height;
    format.biPlanes = 1;
    format.biBitCount = 24;
    format.biSizeImage = (DWORD)((d.width * 3 + 3) / 4 * 4 * d.height);
    if (buffer)
        memcpy(buffer, &format, size < sizeof(format) ? size : sizeof(format));
    return sizeof(format);
}

// A driver takes a format of its own: a header that the buffer holds, 24-bit
// RGB in one plane, at one of its sizes. Anything else it refuses.
BOOL SetFormat(UINT driver, const BYTE *buffer, size_t size)
{
    BITMAPINFOHEADER format;
    if (driver == kNotConnected || buffer == NULL || size < sizeof(format))
        return FALSE;
    memcpy(&format, buffer, sizeof(format));
    CaptureDriver &d = S().captureDrivers[driver];
    if (format.biSize < sizeof(format) || format.biSize > size || format.biPlanes != 1 || format.biBitCount != 24 ||
        format.biCompression != 0)
        return FALSE;
    for (const auto &supported : d.sizes) {
        if (supported.first == format.biWidth && supported.second == format.biHeight) {
            d.width = format.biWidth;
            d.height = format.biHeight;
            return TRUE;
        }
    }
    return FALSE;
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
    UINT &driver = state->second;
    bool connected = driver != kNotConnected;
    switch (msg) {
    case WM_CAP_DRIVER_CONNECT:
        // Connecting first ends the connection before.
        driver = kNotConnected;
        if (!Enter(Call::CaptureConnect, NULL) && wParam < S().captureDrivers.size() &&
            S().captureDrivers[wParam].connects)
            driver = (UINT)wParam;
        S().succeeded.connects += driver != kNotConnected;
        return driver != kNotConnected;
    case WM_CAP_DRIVER_DISCONNECT:
        driver = kNotConnected;
        return connected;
    case WM_CAP_GET_VIDEOFORMAT:
        return GetFormat(driver, (BYTE *)lParam, wParam);
    case WM_CAP_SET_VIDEOFORMAT:
        return SetFormat(driver, (const BYTE *)lParam, wParam);
    case WM_CAP_SET_PREVIEW:
    case WM_CAP_SET_PREVIEWRATE:
        return connected; // FALSE without a driver, as their pages say
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


bool IsCaptureConnected(HWND window)
{
    auto found = S().captureWindows.find(window);
    return found != S().captureWindows.end() && found->second != kNotConnected;
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
    S().captureWindows[hwnd] = kNotConnected;
    return hwnd;
}
