// Every test runs on a freshly reset simulated platform, and every case of a
// test ends by checking that the program gave back everything it obtained.
#pragma once

#include <gtest/gtest.h>

#include <ctype.h>

#include <ostream>
#include <string>
#include <vector>

#include "sim.h"

namespace sim {
inline void PrintTo(Call call, std::ostream *os) { *os << CallName(call); }
inline bool operator==(const MessageSeen &a, const MessageSeen &b)
{
    return a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
}
inline void PrintTo(const MessageSeen &m, std::ostream *os)
{
    *os << "{" << m.message << ", " << m.wParam << ", " << m.lParam << "}";
}
} // namespace sim

// Names a parameterised case after the platform call its parameter fails.
struct NameAfterFailedCall {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param> &info) const
    {
        std::string name = sim::CallName(info.param.step);
        for (char &c : name)
            if (!isalnum((unsigned char)c))
                c = '_';
        return name;
    }
};

// Ends one case of a test: resets the platform and fails the test for
// anything the case left (resources, misuse, scripted input that did not
// fit); context prefixes each failure. The end of a test is its last case.
void EndCase(const std::string &context);

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// x, y, width and height: of a control in its dialog's client area, or of a
// top-level window on the screen.
struct Geometry {
    LONG x, y, width, height;
    bool operator==(const Geometry &o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};
std::ostream &operator<<(std::ostream &os, const Geometry &g);
Geometry ControlGeometry(HWND dialog, int id);
Geometry WindowGeometry(HWND window);

// The messages first to last the window received, in order.
std::vector<sim::MessageSeen> MessagesTo(HWND window, UINT first, UINT last);
// The main window while the program runs.
HWND MainWindow();
// The country value under HKLM\Software\ZivoCam: stored as data of a type,
// and as stored, a string, or "<none>".
extern const char kCountryKey[];
void StoreCountry(const std::string &data, DWORD type = REG_SZ);
std::string StoredCountry();
