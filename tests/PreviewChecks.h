// What must hold of the main dialog between any two events: the hidden
// radios follow the preview and stay hidden, a preview has its connected
// capture window, and there is never more than one such window.
#pragma once

#include "PlatformTest.h"
#include "ui/LightFreqDlg.h"

#include <string>

// "" when all holds, else what does not.
inline std::string PreviewInconsistency(const CLightFreqDlg &dlg)
{
    HWND dialog = MainWindow();
    for (int id : CLightFreqDlg::kModeRadios) {
        if ((dlg.m_bPreviewing != 0) != (IsWindowEnabled(GetDlgItem(dialog, id)) != 0))
            return "radio " + std::to_string(id) + " enabled while previewing is " + std::to_string(dlg.m_bPreviewing);
        if (IsWindowVisible(GetDlgItem(dialog, id)))
            return "radio " + std::to_string(id) + " visible";
    }
    if (dlg.m_bPreviewing && !sim::IsCaptureConnected(dlg.m_hCapWnd))
        return "previewing without a connected capture window";
    if (sim::CaptureWindows().size() > 1)
        return std::to_string(sim::CaptureWindows().size()) + " capture windows";
    return "";
}
