#include "PlatformTest.h"

extern const unsigned char g_lumetraRes[];
extern const size_t g_lumetraRes_size;

void PlatformTest::SetUp()
{
    sim::SetModuleResources(g_lumetraRes, g_lumetraRes_size);
    sim::Reset();
}

void ExpectNothingLeaked(const std::string &context)
{
    EXPECT_EQ(0, sim::LiveComReferences()) << context << "leaked: " << sim::LiveComObjects();
    EXPECT_EQ(0, sim::LiveBstrs()) << context << "BSTRs leaked";
    EXPECT_EQ(0, sim::LiveTaskBlocks()) << context << "task-allocator blocks leaked";
    EXPECT_EQ(0, sim::ComInitDepth()) << context << "COM left initialised";
    EXPECT_EQ(0, sim::LiveWindows()) << context << "windows left";
    EXPECT_EQ(0, sim::LiveMenus()) << context << "menus left";
    EXPECT_EQ(0, sim::LivePaintContexts()) << context << "paint contexts left";
    EXPECT_EQ(0, sim::LiveRegistryKeys()) << context << "registry keys left open";
    for (const std::string &misuse : sim::Misuse())
        ADD_FAILURE() << context << "platform misuse: " << misuse;
}

void PlatformTest::TearDown()
{
    ExpectNothingLeaked("");
    EXPECT_EQ(0u, sim::PendingInput()) << "scripted input the program never consumed";
    for (const std::string &mismatch : sim::ScriptMismatches())
        ADD_FAILURE() << "scenario: " << mismatch;
    sim::Reset();
}

std::ostream &operator<<(std::ostream &os, const Geometry &g)
{
    return os << g.x << "," << g.y << " " << g.width << "x" << g.height;
}

Geometry ControlGeometry(HWND dialog, int id)
{
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(NULL, dialog, (POINT *)&r, 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Geometry WindowGeometry(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

HWND MainWindow() { return sim::FindWindowByCaption("Lumetra"); }
