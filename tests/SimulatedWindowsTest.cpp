// The simulated platform where Windows is strict and a kinder model would let
// a faulty program pass: each case is what Windows documents for the call.
#include "PlatformTest.h"

#include <dshow.h>
#include <ksproxy.h>
#include <wchar.h>

#include "res/resource.h"

namespace {

class SimulatedWindowsTest : public PlatformTest {};

TEST_F(SimulatedWindowsTest, WideCharToMultiByteFitsBestOrWritesWhatFits)
{
    char fit[32];
    EXPECT_EQ(18, WideCharToMultiByte(CP_ACP, 0, L"\u0179ivo \uFF37eb Camer\u0101 \u20AC", -1, fit, sizeof(fit),
                                      NULL, NULL));
    EXPECT_STREQ("Zivo Web Camera \x80", fit);
    EXPECT_EQ(9, WideCharToMultiByte(CP_ACP, 0, L"Zivo Web", -1, NULL, 0, NULL, NULL));

    // One byte short: the part that fits is written, and the call fails.
    char shortOf[8];
    SetLastError(0);
    EXPECT_EQ(0, WideCharToMultiByte(CP_ACP, 0, L"Zivo Web", -1, shortOf, sizeof(shortOf), NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(0, memcmp(shortOf, "Zivo Web", 8));
}

// COM calls need the thread's apartment, and nothing of it survives the last
// CoUninitialize. A device name parses without its device: binding looks.
TEST_F(SimulatedWindowsTest, ComNeedsAnApartmentAndDeviceMonikersBindOnlyToDevicesPresent)
{
    const wchar_t kUnplugged[] = L"@device:pnp:\\\\?\\usb#vid_0ac8&pid_0302#gone#{65e8773d-8f56-11d0-a3b9-00a0c9223196}";
    IBindCtx *context = NULL;
    IMoniker *moniker = NULL;
    ULONG eaten = 0;
    void *object = NULL;
    ASSERT_EQ(S_OK, CoInitialize(NULL));
    ASSERT_EQ(S_OK, CreateBindCtx(0, &context));
    EXPECT_EQ(MK_E_SYNTAX, MkParseDisplayName(context, L"@device:usb", &eaten, &moniker));
    ASSERT_EQ(S_OK, MkParseDisplayName(context, kUnplugged, &eaten, &moniker));
    EXPECT_EQ(wcslen(kUnplugged), eaten);
    EXPECT_EQ(MK_E_NOOBJECT, moniker->BindToObject(context, NULL, IID_IKsObject, &object));
    EXPECT_EQ(std::vector<IBindCtx *>{context}, sim::BindContextsGiven());
    CoUninitialize();

    EXPECT_EQ(CO_E_NOTINITIALIZED, moniker->BindToObject(NULL, NULL, IID_IKsObject, &object));
    IMoniker *second = NULL;
    EXPECT_EQ(CO_E_NOTINITIALIZED, MkParseDisplayName(context, kUnplugged, &eaten, &second));
    EXPECT_EQ(CO_E_NOTINITIALIZED, CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER,
                                                    IID_ICreateDevEnum, &object));
    moniker->Release();
    context->Release();
    sim::Reset();
    EXPECT_EQ((std::vector<std::string>{"platform misuse: Release of IMoniker after the thread's last CoUninitialize"}),
              sim::TakeResetFindings());
}

// A dialog made at 0, 0 is first moved clear of a taskbar at the top or
// left; once up, it passes the focus it is given on to its first tab stop.
TEST_F(SimulatedWindowsTest, TheDialogManagerPlacesANewDialogInTheWorkAreaAndPassesItsFocusOn)
{
    sim::SystemMetrics().workArea = {100, 40, 1024, 768};
    static RECT placed;
    HWND focused = NULL, groupBox = NULL;
    sim::Then([&] {
        SetFocus(MainWindow());
        focused = GetFocus();
        groupBox = GetDlgItem(MainWindow(), IDC_FREQ_GROUP);
        EndDialog(MainWindow(), IDOK);
    });
    DLGPROC records = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG)
            GetWindowRect(dialog, &placed);
        return message == WM_INITDIALOG;
    };
    DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_MAIN), NULL, records, 0);
    EXPECT_EQ(100, placed.left);
    EXPECT_EQ(40, placed.top);
    EXPECT_NE(nullptr, groupBox);
    EXPECT_EQ(groupBox, focused);
}

// A key handle allows what it was opened for; the options are 0 or a link.
TEST_F(SimulatedWindowsTest, ARegistryKeyOpenedToReadCannotSetAValue)
{
    sim::SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\ZivoCam", "Country", REG_SZ, "7");
    HKEY key = NULL;
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\ZivoCam", REG_OPTION_BACKUP_RESTORE, KEY_READ, &key));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\ZivoCam", REG_OPTION_OPEN_LINK, KEY_READ, &key));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(key, "Country", 0, REG_SZ, (const BYTE *)"8", 1));
    RegCloseKey(key);
    sim::RegValue stored = {};
    ASSERT_TRUE(sim::GetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\ZivoCam", "Country", &stored));
    EXPECT_EQ("7", stored.data);
}

// A WM_PAINT that neither paints nor reaches the default processing leaves
// the update region, and Windows would send it again and again.
TEST_F(SimulatedWindowsTest, APaintLeftUnvalidatedIsReported)
{
    sim::Minimize(false);
    sim::Then([] { EndDialog(MainWindow(), IDOK); });
    DLGPROC ignoresPaint = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_PAINT; };
    DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_MAIN), NULL, ignoresPaint, 0);
    sim::Reset();
    EXPECT_EQ(std::vector<std::string>{"platform misuse: WM_PAINT left #32770 window unvalidated"},
              sim::TakeResetFindings());
}

} // namespace
