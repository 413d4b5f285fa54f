// The main window as the user sees it: its size, placement, layout, icon and
// manifest, and the application's routing of help. (What the dialog manager
// makes of its template is among the platform facts.)
#include "PreviewChecks.h"

#include "ui/LightFreq.h"
#include "ui/LightFreqDlg.h"

namespace {

class MainWindowTest : public PlatformTest {};

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
    DialogRun([&](CLightFreqDlg &) {
        Geometry g = WindowGeometry(MainWindow());
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
        DialogRun([&](CLightFreqDlg &) {
            // 1024 x 768 area, 496 x 284 window.
            EXPECT_EQ((Geometry{corner.x + 264, corner.y + 242, 496, 284}), WindowGeometry(MainWindow())) << corner.x;
        });
        EndCase("work area at " + std::to_string(corner.x) + ", " + std::to_string(corner.y) + ": ");
    }
}

TEST_F(MainWindowTest, LayoutPlacesTheVisibleControlsAndLeavesTheRadiosWhereTheTemplatePutThem)
{
    DialogRun([](CLightFreqDlg &) {
        HWND dialog = MainWindow();
        EXPECT_EQ(GetDlgItem(dialog, IDC_FREQ_GROUP), GetFocus()); // OnInitDialog left the focus to the system
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
    DialogRun dlg;

    EXPECT_EQ(0u, drawnWhenRestored); // painted normally: no icon drawn
    EXPECT_EQ(LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME)), icon);
    EXPECT_EQ(icon, dlg.m_hIcon);
    EXPECT_EQ((std::vector<sim::MessageSeen>{{WM_SETICON, ICON_BIG, (LPARAM)icon}, {WM_SETICON, ICON_SMALL, (LPARAM)icon}}),
              MessagesTo(dialog, WM_SETICON, WM_SETICON));

    ASSERT_EQ(1u, sim::IconsDrawn().size());
    // Client area 490 x 260 at the default metrics.
    EXPECT_EQ(230, sim::IconsDrawn()[0].x); // (490 - 31 + 1) / 2
    EXPECT_EQ(114, sim::IconsDrawn()[0].y); // (260 - 33 + 1) / 2
    EXPECT_EQ(icon, sim::IconsDrawn()[0].icon);
    bool erased = false;
    for (const sim::MessageSeen &m : MessagesTo(dialog, WM_ICONERASEBKGND, WM_ICONERASEBKGND))
        erased |= (HDC)m.wParam == sim::IconsDrawn()[0].dc;
    EXPECT_TRUE(erased);
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
