// The main window as the user sees it: its template, layout, icon, the ways
// the dialog closes, and the application's routing of help.
#include "PlatformTest.h"

#include "ui/LightFreq.h"
#include "ui/LightFreqDlg.h"

namespace {

class MainWindowTest : public PlatformTest {
protected:
    // Runs the dialog; during() looks at it once it is up.
    INT_PTR Run(std::function<void(HWND)> during, int closeKey = VK_ESCAPE)
    {
        sim::Then([during] { during(MainWindow()); });
        sim::Key(closeKey);
        CLightFreqDlg dlg;
        return dlg.DoModal();
    }
};

TEST_F(MainWindowTest, TheTemplateMakesTheCaptionAndNineControlsInOrder)
{
    struct Expected {
        int id;
        const char *cls, *text;
        DWORD style, exStyle;
    };
    const Expected expected[] = {
        {IDCANCEL, "Button", "Exit", 0x50000000, 0},
        {IDC_RADIO_50HZ, "Button", "50 Hz", 0x48000009, 0},
        {IDC_RADIO_60HZ, "Button", "60 Hz", 0x48000009, 0},
        {IDC_FREQ_GROUP, "Button", "Frequency", 0x50010007, 0},
        {IDC_RADIO_OUTDOOR, "Button", "Outdoor", 0x48000009, 0},
        {IDC_PREVIEW_FRAME, "Static", "", 0x50020000, WS_EX_STATICEDGE},
        {IDC_BTN_COUNTRY, "Button", "Country", 0x50000000, 0},
        {IDC_BTN_OTHER, "Button", "Other", 0x50000000, 0},
        {IDC_BTN_OUTDOORS, "Button", "OutDoors", 0x50000000, 0},
    };
    Run([&](HWND dialog) {
        ASSERT_NE(nullptr, dialog);
        // The system gave the first tab stop the focus, as OnInitDialog asked.
        EXPECT_EQ(GetDlgItem(dialog, IDC_FREQ_GROUP), GetFocus());
        EXPECT_EQ((DWORD)0x90C800C0, (DWORD)GetWindowLongA(dialog, GWL_STYLE));
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        std::vector<HWND> children = sim::ChildrenOf(dialog);
        ASSERT_EQ(9u, children.size());
        for (size_t i = 0; i < children.size(); ++i) {
            char text[32];
            GetWindowTextA(children[i], text, sizeof(text));
            EXPECT_EQ(expected[i].id, GetDlgCtrlID(children[i])) << i;
            EXPECT_STREQ(expected[i].text, text) << i;
            EXPECT_EQ(expected[i].style, (DWORD)GetWindowLongA(children[i], GWL_STYLE)) << i;
            EXPECT_EQ(expected[i].exStyle, (DWORD)GetWindowLongA(children[i], GWL_EXSTYLE)) << i;
        }
    });
}

struct SizeCase {
    int cxEdge, cyEdge, cyCaption;
    LONG width, height;
};

void PrintTo(const SizeCase &c, std::ostream *os)
{
    *os << "edges " << c.cxEdge << "/" << c.cyEdge << ", caption " << c.cyCaption;
}

class WindowSize : public MainWindowTest, public ::testing::WithParamInterface<SizeCase> {};

// The width grows with the vertical edge, the height with the horizontal
// edge and the caption.
TEST_P(WindowSize, FollowsTheEdgeAndCaptionMetrics)
{
    const SizeCase c = GetParam();
    sim::SystemMetrics().cxEdge = c.cxEdge;
    sim::SystemMetrics().cyEdge = c.cyEdge;
    sim::SystemMetrics().cyCaption = c.cyCaption;
    Run([&](HWND dialog) {
        Geometry g = WindowGeometry(dialog);
        EXPECT_EQ(c.width, g.width);
        EXPECT_EQ(c.height, g.height);
    });
}

INSTANTIATE_TEST_SUITE_P(Metrics, WindowSize,
                         ::testing::Values(SizeCase{2, 2, 18, 496, 284}, SizeCase{3, 3, 18, 498, 286},
                                           SizeCase{2, 2, 19, 496, 285}, SizeCase{1, 4, 20, 500, 284},
                                           SizeCase{0, 0, 0, 492, 262}));

// Wherever the work area starts: a taskbar at the top or left moves it.
TEST_F(MainWindowTest, TheWindowIsCentredInTheWorkArea)
{
    for (POINT corner : {POINT{0, 0}, POINT{100, 40}}) {
        sim::SystemMetrics().workArea = {corner.x, corner.y, corner.x + 1024, corner.y + 768};
        Run([&](HWND dialog) {
            // 1024 x 768 area, 496 x 284 window.
            EXPECT_EQ((Geometry{corner.x + 264, corner.y + 242, 496, 284}), WindowGeometry(dialog)) << corner.x;
        });
        EndCase("work area at " + std::to_string(corner.x) + ", " + std::to_string(corner.y) + ": ");
    }
}

TEST_F(MainWindowTest, LayoutPlacesTheVisibleControlsAndLeavesTheRadiosWhereTheTemplatePutThem)
{
    Run([](HWND dialog) {
        EXPECT_EQ((Geometry{10, 10, 322, 242}), ControlGeometry(dialog, IDC_PREVIEW_FRAME));
        EXPECT_EQ((Geometry{342, 3, 140, 160}), ControlGeometry(dialog, IDC_FREQ_GROUP));
        EXPECT_EQ((Geometry{352, 38, 120, 30}), ControlGeometry(dialog, IDC_BTN_COUNTRY));
        EXPECT_EQ((Geometry{352, 78, 120, 30}), ControlGeometry(dialog, IDC_BTN_OTHER));
        EXPECT_EQ((Geometry{352, 118, 120, 30}), ControlGeometry(dialog, IDC_BTN_OUTDOORS));
        EXPECT_EQ((Geometry{342, 196, 140, 30}), ControlGeometry(dialog, IDCANCEL));
        // 213, 14, 43, 10 dialog units at 9 x 17 base units.
        EXPECT_EQ((Geometry{479, 30, 97, 21}), ControlGeometry(dialog, IDC_RADIO_OUTDOOR));
    });
}

TEST_F(MainWindowTest, TheRadiosStayHiddenEvenWhenEnabled)
{
    CLightFreqDlg *running = NULL;
    sim::Then([&] {
        HWND dialog = MainWindow();
        for (int id = IDC_RADIO_OUTDOOR; id <= IDC_RADIO_60HZ; ++id)
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
        running->EnableModeButtons(TRUE);
        for (int id = IDC_RADIO_OUTDOOR; id <= IDC_RADIO_60HZ; ++id) {
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, id))) << id;
        }
    });
    sim::Key(VK_ESCAPE);
    CLightFreqDlg dlg;
    running = &dlg;
    dlg.DoModal();
}

TEST_F(MainWindowTest, TheIconIsSetBigThenSmallAndPaintedCentredWhenMinimized)
{
    // Odd sizes, so that the halving's rounding shows.
    sim::SystemMetrics().cxIcon = 31;
    sim::SystemMetrics().cyIcon = 33;
    HWND dialog = NULL;
    HICON icon = NULL;
    size_t drawnWhenRestored = 1;
    sim::Then([&] {
        dialog = MainWindow();
        icon = (HICON)SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0);
    });
    sim::Minimize(false);
    sim::Then([&] { drawnWhenRestored = sim::IconsDrawn().size(); });
    sim::Minimize(true);
    sim::Key(VK_ESCAPE);
    CLightFreqDlg dlg;
    dlg.DoModal();

    EXPECT_EQ(0u, drawnWhenRestored); // painted normally: no icon drawn
    EXPECT_EQ(LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME)), icon);
    EXPECT_EQ(icon, dlg.m_hIcon);
    std::vector<sim::MessageSeen> icons;
    for (const sim::MessageSeen &m : sim::MessagesTo(dialog))
        if (m.message == WM_SETICON)
            icons.push_back(m);
    ASSERT_EQ(2u, icons.size());
    EXPECT_EQ((WPARAM)ICON_BIG, icons[0].wParam);
    EXPECT_EQ((WPARAM)ICON_SMALL, icons[1].wParam);
    EXPECT_EQ((LPARAM)icon, icons[1].lParam);

    ASSERT_EQ(1u, sim::IconsDrawn().size());
    // Client area 490 x 260 at the default metrics.
    EXPECT_EQ(230, sim::IconsDrawn()[0].x); // (490 - 31 + 1) / 2
    EXPECT_EQ(114, sim::IconsDrawn()[0].y); // (260 - 33 + 1) / 2
    EXPECT_EQ(icon, sim::IconsDrawn()[0].icon);
    bool erased = false;
    for (const sim::MessageSeen &m : sim::MessagesTo(dialog))
        erased |= m.message == WM_ICONERASEBKGND && (HDC)m.wParam == sim::IconsDrawn()[0].dc;
    EXPECT_TRUE(erased);
}

TEST_F(MainWindowTest, EnterEscAndTheCloseBoxEndTheDialog)
{
    EXPECT_EQ(IDOK, Run([](HWND) {}, VK_RETURN));
    EXPECT_EQ(IDCANCEL, Run([](HWND) {}, VK_ESCAPE));

    sim::CloseBox();
    CLightFreqDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());

    sim::Click(IDCANCEL);
    CLightFreqDlg exit;
    EXPECT_EQ(IDCANCEL, exit.DoModal());
}

TEST_F(MainWindowTest, HelpIsRoutedFromTheDialogToTheApplication)
{
    HWND dialog = NULL;
    sim::Then([&] { dialog = MainWindow(); });
    sim::Command(ID_HELP);
    sim::Key(VK_ESCAPE);
    EXPECT_EQ(0, WinMain(GetModuleHandleA(NULL), NULL, (LPSTR) "", SW_SHOWNORMAL));

    ASSERT_EQ(1u, sim::HelpRequests().size());
    EXPECT_EQ(dialog, sim::HelpRequests()[0].owner);
    EXPECT_EQ("C:\\Program Files\\Lumetra\\Lumetra.HLP", sim::HelpRequests()[0].file);
}

TEST_F(MainWindowTest, TheManifestDeclaresWindowsVersionsAndNoDpiAwareness)
{
    const long kManifest = 24;
    std::string manifest = sim::ModuleResource(kManifest, 1);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(std::string::npos, manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")); // Windows 10
    EXPECT_EQ(std::string::npos, manifest.find("dpiAware")); // the layout is in pixels
}

} // namespace
