#include "PlatformTest.h"

extern const unsigned char g_lumetraRes[];
extern const size_t g_lumetraRes_size;

void PlatformTest::SetUp()
{
    sim::SetModuleResources(g_lumetraRes, g_lumetraRes_size);
    sim::SetModuleFileName("C:\\Program Files\\Lumetra\\Lumetra.exe");
    EndCase("before the test: ");
}

void EndCase(const std::string &context)
{
    sim::Reset();
    for (const std::string &finding : sim::TakeResetFindings())
        ADD_FAILURE() << context << finding;
}

void PlatformTest::TearDown() { EndCase(""); }

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

std::vector<sim::MessageSeen> MessagesTo(HWND window, UINT first, UINT last)
{
    std::vector<sim::MessageSeen> seen;
    for (const sim::MessageSeen &m : sim::MessagesTo(window))
        if (m.message >= first && m.message <= last)
            seen.push_back(m);
    return seen;
}

HWND MainWindow() { return FindWindowA(NULL, "Lumetra"); }

const char kCountryKey[] = "Software\\ZivoCam";

void StoreCountry(const std::string &data, DWORD type)
{
    sim::SetRegistryValue(HKEY_LOCAL_MACHINE, kCountryKey, "Country", type, data);
}

std::string StoredCountry()
{
    sim::RegValue value = {};
    if (!sim::GetRegistryValue(HKEY_LOCAL_MACHINE, kCountryKey, "Country", &value))
        return "<none>";
    EXPECT_EQ((DWORD)REG_SZ, value.type);
    return value.data;
}
