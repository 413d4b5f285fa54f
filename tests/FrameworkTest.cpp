// The framework's fixed tables: a run that would overflow one ends the
// program with a message instead of dropping an entry or handing out an
// object still in use.
#include "PlatformTest.h"

#include <afxwin.h>
#include <vfw.h>

#include "res/resource.h"

namespace {

class FrameworkDeathTest : public PlatformTest {};

TEST_F(FrameworkDeathTest, TheFixedTablesEndTheProgramWhenFull)
{
    EXPECT_DEATH(
        {
            for (uintptr_t i = 0; i < 33; ++i)
                CWnd::FromHandle((HWND)(0x100 + 4 * i));
        },
        "out of temporary window objects");
    EXPECT_DEATH(
        {
            CMenu menu;
            menu.LoadMenu(IDR_POPUP);
            for (int i = 0; i < 5; ++i)
                menu.GetSubMenu(0);
        },
        "out of temporary menu objects");
    EXPECT_DEATH(
        {
            CWnd windows[9];
            for (CWnd &window : windows)
                window.SubclassWindow(capCreateCaptureWindowA("", WS_POPUP, 0, 0, 1, 1, NULL, 0));
        },
        "out of windows attached to objects");
}

} // namespace
