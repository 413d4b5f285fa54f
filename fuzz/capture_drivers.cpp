// Capture-driver descriptions of any bytes, unterminated and 260 bytes long
// among them, and drivers that do or do not connect.
#include "FuzzSupport.h"

#include "ui/LightFreqDlg.h"

#include <vfw.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FreshPlatform();
    Bytes in(data, size);
    while (!in.empty()) {
        uint8_t flags = in.Byte();
        size_t length = flags & 0x80 ? 260 : in.Byte();
        UINT index = sim::AddCaptureDriver(in.Take(length), flags & 1);
        sim::CaptureDriverAt(index).unterminated = flags & 2;
        if (index == 12)
            break;
    }
    CLightFreqDlg dlg;
    sim::Then([&] {
        BOOL started = dlg.StartPreview();
        REQUIRE(started == dlg.m_bPreviewing);
        REQUIRE(!started || sim::IsCaptureConnected(dlg.m_hCapWnd));
        dlg.StopPreview();
        REQUIRE(sim::CaptureWindows().empty());
    });
    sim::Key(VK_ESCAPE);
    dlg.DoModal();
    RequireNothingLeaked();
    return 0;
}
