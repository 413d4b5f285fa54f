// What must hold of the main dialog between any two events: the hidden
// radios follow the preview and stay hidden, a preview has its connected
// capture window, and there is never more than one such window; and what
// the tests read of the dialog's radios and popups.
#pragma once

#include "PlatformTest.h"
#include "ui/LightFreqDlg.h"

#include <functional>
#include <string>
#include <vector>

// Lumetra's dialog, run when made over the input scripted so far; during(),
// if given, is called once that input is done, and then Esc leaves it.
struct DialogRun : CLightFreqDlg {
    explicit DialogRun(const std::function<void(CLightFreqDlg &)> &during = nullptr)
    {
        if (during)
            sim::Then([&] { during(*this); });
        sim::Key(VK_ESCAPE);
        DoModal();
    }
};

// The radios' checks, in mode order.
inline std::vector<int> RadioChecks()
{
    std::vector<int> checks;
    for (int id : CLightFreqDlg::kModeRadios)
        checks.push_back((int)SendDlgItemMessageA(MainWindow(), id, BM_GETCHECK, 0, 0));
    return checks;
}

// How many of the radios are enabled.
inline int RadiosEnabled()
{
    int enabled = 0;
    for (int id : CLightFreqDlg::kModeRadios)
        enabled += IsWindowEnabled(GetDlgItem(MainWindow(), id)) != 0;
    return enabled;
}

// The items checked in the popup shown n-th.
inline std::vector<UINT> CheckedIn(size_t n)
{
    std::vector<UINT> checked;
    for (const sim::MenuItemSeen &item : sim::Popups().at(n).items)
        if (item.checked)
            checked.push_back(item.id);
    return checked;
}

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
