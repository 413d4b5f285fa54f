// The simulated platform where Windows is strict and a kinder model would let
// a faulty program pass: each case is what Windows documents for the call.
#include "PlatformTest.h"

namespace {

class SimulatedWindowsTest : public PlatformTest {};

TEST_F(SimulatedWindowsTest, WideCharToMultiByteFitsBestOrFailsWhole)
{
    char fit[32];
    EXPECT_EQ(18, WideCharToMultiByte(CP_ACP, 0, L"\u0179ivo \uFF37eb Camer\u0101 \u20AC", -1, fit, sizeof(fit),
                                      NULL, NULL));
    EXPECT_STREQ("Zivo Web Camera \x80", fit);
    EXPECT_EQ(9, WideCharToMultiByte(CP_ACP, 0, L"Zivo Web", -1, NULL, 0, NULL, NULL));

    // One byte short: no part of the text is left for the caller to use.
    char shortOf[8];
    SetLastError(0);
    EXPECT_EQ(0, WideCharToMultiByte(CP_ACP, 0, L"Zivo Web", -1, shortOf, sizeof(shortOf), NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
    for (char c : shortOf)
        EXPECT_EQ((char)0xFE, c);
}

} // namespace
