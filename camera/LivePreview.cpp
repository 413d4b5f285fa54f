// The live preview: a Video for Windows capture window inside the dialog.
#include "ui/LightFreqDlg.h"

#include <vfw.h>

namespace {

const char kWdmCaptureDriver[] = "Microsoft WDM Image Capture";
const int kPreviewRateMs = 15;
const int kDriverNameSize = 260;

// Room for the driver's 40-byte header and one colour entry, the size the
// capture messages are given.
static_assert(sizeof(BITMAPINFO) == 44, "the format buffer holds a header and one colour");

// The first driver, in index order, whose description is a single space or
// starts with the WDM driver's name; neither wins over the other, only the
// order does. Driver 0 when none is.
UINT ChooseCaptureDriver()
{
    char name[kDriverNameSize], version[kDriverNameSize];
    for (UINT i = 0; capGetDriverDescriptionA(i, name, sizeof(name), version, sizeof(version)); ++i) {
        name[sizeof(name) - 1] = '\0';
        if (lstrcmpA(name, " ") == 0)
            return i;
        char head[sizeof(kWdmCaptureDriver)];
        lstrcpynA(head, name, sizeof(head));
        if (lstrcmpA(head, kWdmCaptureDriver) == 0)
            return i;
    }
    return 0;
}

// Capture messages go only to a window that still exists.
LRESULT SendToCapture(HWND capture, UINT message, WPARAM wParam, LPARAM lParam)
{
    return IsWindow(capture) ? ::SendMessageA(capture, message, wParam, lParam) : 0;
}

void RunPreview(HWND capture)
{
    SendToCapture(capture, WM_CAP_SET_PREVIEWRATE, kPreviewRateMs, 0);
    SendToCapture(capture, WM_CAP_SET_PREVIEW, TRUE, 0);
}

} // namespace

// Connects a new capture window, asks for 320 x 240 frames and starts the
// preview. A failure leaves the window in m_hCapWnd for the next stop.
BOOL CLightFreqDlg::StartPreview()
{
    UINT driver = ChooseCaptureDriver();
    StopPreview();
    m_hCapWnd = capCreateCaptureWindowA("", WS_CHILD | WS_VISIBLE, kPreviewFrame.left + 1, kPreviewFrame.top + 1,
                                        kPreviewWidth, kPreviewHeight, m_hWnd, 0);
    if (m_hCapWnd == NULL || !IsWindow(m_hCapWnd))
        return FALSE;
    if (!::SendMessageA(m_hCapWnd, WM_CAP_DRIVER_CONNECT, driver, 0))
        return FALSE;

    BITMAPINFO format;
    ZeroMemory(&format, sizeof(format));
    SendToCapture(m_hCapWnd, WM_CAP_GET_VIDEOFORMAT, sizeof(format), (LPARAM)&format);
    format.bmiHeader.biWidth = kPreviewWidth;
    format.bmiHeader.biHeight = kPreviewHeight;
    SendToCapture(m_hCapWnd, WM_CAP_SET_VIDEOFORMAT, sizeof(format), (LPARAM)&format);
    RunPreview(m_hCapWnd);

    // Connecting again makes the driver take up the new format.
    if (!IsWindow(m_hCapWnd) || !::SendMessageA(m_hCapWnd, WM_CAP_DRIVER_CONNECT, driver, 0))
        return FALSE;
    RunPreview(m_hCapWnd);
    EnableModeButtons(TRUE);
    m_bPreviewing = 1;
    return TRUE;
}

BOOL CLightFreqDlg::StopPreview()
{
    if (m_hCapWnd != NULL) {
        SendToCapture(m_hCapWnd, WM_CAP_DRIVER_DISCONNECT, 0, 0);
        DestroyWindow(m_hCapWnd);
        m_hCapWnd = NULL;
    }
    EnableModeButtons(FALSE);
    m_bPreviewing = 0;
    return TRUE;
}
