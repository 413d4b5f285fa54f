// The live preview: which capture driver is chosen, the messages a start
// sends, and what a stop or a failed start leaves behind.
#include "PreviewChecks.h"

#include "ui/LightFreqDlg.h"

#include <vfw.h>

namespace {

// The dialog runs with the camera absent, so it starts no preview of its own.
class LivePreviewTest : public PlatformTest {
protected:
    // The capture messages a window received, without the window's own.
    static std::vector<sim::MessageSeen> CaptureMessages(HWND capture)
    {
        return MessagesTo(capture, WM_CAP_START, WM_APP - 1);
    }
    static WPARAM ConnectedIndex(HWND capture) { return CaptureMessages(capture).at(0).wParam; }
};

TEST_F(LivePreviewTest, ASuccessfulStartSendsTheCaptureMessagesInOrder)
{
    sim::AddCaptureDriver("Microsoft WDM Image Capture (Win32)");
    DialogRun([](CLightFreqDlg &dlg) {
        ASSERT_TRUE(dlg.StartPreview());
        EXPECT_EQ(1, dlg.m_bPreviewing);
        HWND capture = dlg.m_hCapWnd;
        ASSERT_EQ(std::vector<HWND>{capture}, sim::CaptureWindows());
        EXPECT_TRUE(sim::IsCaptureConnected(capture));
        EXPECT_EQ(MainWindow(), GetParent(capture));
        EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE), (DWORD)GetWindowLongA(capture, GWL_STYLE));
        EXPECT_EQ(0, GetDlgCtrlID(capture));
        EXPECT_EQ((Geometry{11, 11, 320, 240}), ControlGeometry(MainWindow(), 0));

        std::vector<sim::MessageSeen> seen = CaptureMessages(capture);
        ASSERT_EQ(8u, seen.size());
        const LPARAM buffer = seen[1].lParam; // one buffer, read then written back
        EXPECT_NE(0, buffer);
        const std::vector<sim::MessageSeen> expected = {
            {WM_CAP_DRIVER_CONNECT, 0, 0},  {WM_CAP_GET_VIDEOFORMAT, 44, buffer}, {WM_CAP_SET_VIDEOFORMAT, 44, buffer},
            {WM_CAP_SET_PREVIEWRATE, 15, 0}, {WM_CAP_SET_PREVIEW, 1, 0},            {WM_CAP_DRIVER_CONNECT, 0, 0},
            {WM_CAP_SET_PREVIEWRATE, 15, 0}, {WM_CAP_SET_PREVIEW, 1, 0},
        };
        EXPECT_EQ(expected, seen);
        // The driver's format with only the frame size changed: the driver took it.
        EXPECT_EQ(320, sim::CaptureDriverAt(0).width);
        EXPECT_EQ(240, sim::CaptureDriverAt(0).height);
        EXPECT_EQ(3, RadiosEnabled());
    });
}

TEST_F(LivePreviewTest, TheDriverIsChosenByItsDescription)
{
    const struct {
        std::vector<std::string> drivers;
        WPARAM index;
    } cases[] = {
        {{}, 0},
        {{"VfW driver A", "VfW driver B", "Microsoft WDM Image Capture (Win32)"}, 2},
        {{"VfW driver A", " ", "Microsoft WDM Image Capture (Win32)"}, 1},
        {{"Microsoft WDM Image Capture (Win32)", " "}, 0},
        {{"VfW driver A", "microsoft wdm image capture (win32)"}, 0},
        {{"VfW driver A", "  ", "Microsoft WDM Image Captur"}, 0},
        {{"VfW driver A", std::string(300, 'x'), "Microsoft WDM Image Capture"}, 2},
    };
    for (const auto &c : cases) {
        for (const std::string &d : c.drivers)
            sim::AddCaptureDriver(d);
        DialogRun([&](CLightFreqDlg &dlg) {
            dlg.StartPreview();
            EXPECT_EQ(c.index, ConnectedIndex(dlg.m_hCapWnd)) << c.drivers.size();
        });
        EndCase(std::to_string(c.drivers.size()) + " drivers, expecting " + std::to_string(c.index) + ": ");
    }
}

TEST_F(LivePreviewTest, AFailedConnectLeavesItsWindowForTheNextStop)
{
    DialogRun([](CLightFreqDlg &dlg) { // no capture driver at all
        EXPECT_FALSE(dlg.StartPreview());
        EXPECT_EQ(0, dlg.m_bPreviewing);
        HWND left = dlg.m_hCapWnd;
        ASSERT_TRUE(IsWindow(left));
        EXPECT_EQ(1u, CaptureMessages(left).size());
        EXPECT_TRUE(dlg.StopPreview());
        EXPECT_FALSE(IsWindow(left));
        EXPECT_EQ(NULL, dlg.m_hCapWnd);
    });
}

TEST_F(LivePreviewTest, StopWithoutAWindowStillDisablesTheRadios)
{
    DialogRun([](CLightFreqDlg &dlg) {
        dlg.EnableModeButtons(TRUE);
        dlg.m_bPreviewing = 1;
        EXPECT_TRUE(dlg.StopPreview());
        EXPECT_EQ(0, dlg.m_bPreviewing);
        EXPECT_EQ(0, RadiosEnabled());
    });
}

TEST_F(LivePreviewTest, StartingWhilePreviewingReplacesTheWindow)
{
    sim::AddCaptureDriver(" ");
    DialogRun([](CLightFreqDlg &dlg) {
        ASSERT_TRUE(dlg.StartPreview());
        HWND first = dlg.m_hCapWnd;
        ASSERT_TRUE(dlg.StartPreview());
        EXPECT_NE(first, dlg.m_hCapWnd);
        EXPECT_FALSE(IsWindow(first));
        EXPECT_EQ((sim::MessageSeen{WM_CAP_DRIVER_DISCONNECT, 0, 0}), CaptureMessages(first).back());
        EXPECT_EQ(std::vector<HWND>{dlg.m_hCapWnd}, sim::CaptureWindows());
    });
}

TEST_F(LivePreviewTest, AWindowThatCannotBeCreatedFailsTheStart)
{
    sim::AddCaptureDriver(" ");
    sim::FailCall(sim::Call::capCreateCaptureWindow, S_OK);
    DialogRun([](CLightFreqDlg &dlg) {
        EXPECT_FALSE(dlg.StartPreview());
        EXPECT_EQ(NULL, dlg.m_hCapWnd);
        EXPECT_EQ(0, dlg.m_bPreviewing);
    });
}

} // namespace
