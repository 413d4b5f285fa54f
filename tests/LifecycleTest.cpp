// The main window's life: the three ways it can start, the camera coming and
// going while it runs, and the four ways out, each saving the country.
#include "PreviewChecks.h"

#include "camera/zivo_camera.h"
#include "control/SystemDlls.h"
#include "ui/LightFreqDlg.h"

#include <dbt.h>
#include <vfw.h>

namespace {

// Counts the passes through OnCancel.
class CountingDlg : public CLightFreqDlg {
public:
    int cancels = 0;

protected:
    void OnCancel() override
    {
        ++cancels;
        CLightFreqDlg::OnCancel();
    }
};

class LifecycleTest : public PlatformTest {
protected:
    // The camera plugged in (the same one again after the first time).
    void PlugCamera(bool free = true, int32_t mode = 2)
    {
        if (camera_ == NULL)
            camera_ = &sim::camera::Plug();
        camera_->Plug();
        camera_->HoldElsewhere(!free);
        camera_->driver->lightFrequency = mode;
    }
    void UnplugCamera() { camera_->Unplug(); }
    // Checks what the case left and starts the next one without a camera.
    void NextCase(const std::string &context)
    {
        EndCase(context);
        camera_ = NULL;
    }

    sim::camera::Camera *camera_ = NULL;
};

TEST_F(LifecycleTest, StartingWithoutTheCameraShowsNothingAndDisablesTheRadios)
{
    StoreCountry("6");
    sim::Then([&] {
        EXPECT_EQ((std::vector<int>{0, 0, 0}), RadioChecks());
        EXPECT_EQ(0, RadiosEnabled());
        EXPECT_TRUE(sim::CaptureWindows().empty());
    });
    sim::Click(IDC_BTN_COUNTRY);
    sim::DismissMenu();
    DialogRun dlg;
    EXPECT_TRUE(sim::MessageBoxes().empty());
    EXPECT_EQ(6, dlg.m_nCountry);
    EXPECT_EQ(-1, dlg.m_nFreqState);
    EXPECT_TRUE(sim::Popups().at(0).items.at(6).checked);
}

TEST_F(LifecycleTest, StartingWithTheCameraFreeRunsThePreviewAndShowsItsMode)
{
    for (int32_t mode : {0, 1, 2, 3, 7}) {
        PlugCamera(true, mode);
        sim::Then([&] {
            std::vector<int> expected = {mode == 0, mode == 1, mode == 2};
            EXPECT_EQ(expected, RadioChecks()) << mode;
            EXPECT_EQ(3, RadiosEnabled());
            ASSERT_EQ(1u, sim::CaptureWindows().size());
            EXPECT_TRUE(sim::IsCaptureConnected(sim::CaptureWindows()[0]));
        });
        sim::Click(IDC_BTN_OTHER);
        sim::DismissMenu();
        DialogRun dlg;
        EXPECT_EQ(mode <= 2 ? mode - 1 : -1, dlg.m_nFreqState) << mode;
        std::vector<UINT> none, frequency = {ID_FREQ_50HZ + (UINT)mode - 1};
        EXPECT_EQ(mode == 1 || mode == 2 ? frequency : none, CheckedIn(0)) << mode;
        EXPECT_TRUE(sim::CaptureWindows().empty());
        NextCase("mode " + std::to_string(mode) + ": ");
    }
}

TEST_F(LifecycleTest, StartingWithTheCameraHeldElsewhereWarnsOnceAndCloses)
{
    PlugCamera(false);
    StoreCountry("3");
    HWND owner = NULL;
    sim::Then([&] { // inside the warning box: the radios are off, the failed preview's window still there
        owner = MainWindow();
        EXPECT_EQ(0, RadiosEnabled());
        EXPECT_EQ(1u, sim::CaptureWindows().size());
    });
    sim::AnswerMessageBox(IDOK);
    CountingDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(-1, dlg.m_nFreqState); // the mode is not read again for a preview that did not start

    ASSERT_EQ(1u, sim::MessageBoxes().size());
    const sim::MessageBoxSeen &box = sim::MessageBoxes()[0];
    EXPECT_EQ("Please close other application with Zivo Web Camera!", box.text);
    EXPECT_EQ("Warnning", box.caption);
    EXPECT_EQ((UINT)MB_OK, box.style);
    EXPECT_EQ(owner, box.owner);
    EXPECT_EQ(1, dlg.cancels);
    EXPECT_EQ(std::string("3\0", 2), StoredCountry());
    EXPECT_TRUE(sim::CaptureWindows().empty());
}

TEST_F(LifecycleTest, PluggingInStartsThePreviewOnTheFirstNotificationOnly)
{
    for (UINT first : {DBT_DEVNODES_CHANGED, DBT_DEVICEARRIVAL}) {
        sim::Then([&] { PlugCamera(); });
        sim::DeviceChange(first);
        sim::DeviceChange(DBT_DEVICEARRIVAL);
        sim::DeviceChange(DBT_DEVNODES_CHANGED);
        sim::Then([&] {
            EXPECT_EQ(3, RadiosEnabled());
            EXPECT_EQ(1u, sim::CaptureWindows().size());
        });
        CLightFreqDlg dlg;
        dlg.m_bPreviewing = 1; // the start-up clears whatever it held
        sim::Key(VK_ESCAPE);
        dlg.DoModal();
        EXPECT_EQ(1u, sim::CallCount(sim::Call::capCreateCaptureWindow)) << first;
        EXPECT_EQ(-1, dlg.m_nFreqState); // not refreshed by a device change
        NextCase("first event " + std::to_string(first) + ": ");
    }
}

TEST_F(LifecycleTest, UnpluggingStopsThePreviewAndKeepsTheFrequencyState)
{
    for (UINT notification : {DBT_DEVNODES_CHANGED, DBT_DEVICEREMOVECOMPLETE}) {
        PlugCamera(true, 1);
        sim::Then([&] { UnplugCamera(); });
        sim::DeviceChange(notification);
        sim::Then([&] {
            EXPECT_EQ(0, RadiosEnabled());
            EXPECT_TRUE(sim::CaptureWindows().empty());
        });
        DialogRun dlg;
        EXPECT_EQ(0, dlg.m_nFreqState) << notification;
        EXPECT_EQ(0, dlg.m_bPreviewing);
        NextCase("event " + std::to_string(notification) + ": ");
    }
}

// A start that failed leaves its capture window. A removal while not
// previewing neither probes nor stops; a change of the device tree that
// finds the camera gone stops the preview all the same.
TEST_F(LifecycleTest, TheWindowOfAFailedStartGoesWhenTheCameraIsFoundGone)
{
    PlugCamera(false);
    UnplugCamera();
    size_t probes = 0;
    sim::Then([&] { PlugCamera(false); });
    sim::DeviceChange(DBT_DEVICEARRIVAL);
    sim::Then([&] {
        EXPECT_EQ(1u, sim::CaptureWindows().size());
        UnplugCamera();
        probes = sim::CallCount(sim::Call::CM_Locate_DevNode);
    });
    sim::DeviceChange(DBT_DEVICEREMOVECOMPLETE);
    sim::Then([&] {
        EXPECT_EQ(probes, sim::CallCount(sim::Call::CM_Locate_DevNode));
        EXPECT_EQ(1u, sim::CaptureWindows().size());
    });
    sim::DeviceChange(DBT_DEVNODES_CHANGED);
    sim::Then([&] {
        EXPECT_EQ(probes + 1, sim::CallCount(sim::Call::CM_Locate_DevNode));
        EXPECT_TRUE(sim::CaptureWindows().empty());
    });
    DialogRun dlg;
    EXPECT_EQ(0, dlg.m_bPreviewing);
}

TEST_F(LifecycleTest, DeviceChangesThatConcernOtherDevicesChangeNothing)
{
    PlugCamera();
    HWND capture = NULL;
    sim::Then([&] { capture = sim::CaptureWindows().at(0); });
    sim::DeviceChange(DBT_DEVNODES_CHANGED);
    sim::DeviceChange(DBT_DEVICEARRIVAL);
    sim::DeviceChange(DBT_DEVICEQUERYREMOVE);
    sim::Then([&] {
        EXPECT_EQ(std::vector<HWND>{capture}, sim::CaptureWindows());
        // Each event gets the default processing's answer, 0 even to a query.
        for (UINT event : {DBT_DEVNODES_CHANGED, DBT_QUERYCHANGECONFIG, DBT_DEVICEQUERYREMOVE})
            EXPECT_EQ(0, sim::SendDeviceChange(MainWindow(), event));
    });
    DialogRun dlg;
    EXPECT_EQ(1u, sim::CallCount(sim::Call::capCreateCaptureWindow));
}

TEST_F(LifecycleTest, ADeviceChangeInsideAPopupMenuIsHandledThere)
{
    sim::Click(IDC_BTN_COUNTRY);
    // Many, each handled inside the one command and giving back what it took.
    for (int i = 0; i < 20; ++i) {
        sim::Then([&] { PlugCamera(); });
        sim::DeviceChange(DBT_DEVNODES_CHANGED);
        sim::Then([&] { UnplugCamera(); });
        sim::DeviceChange(DBT_DEVNODES_CHANGED);
    }
    sim::Then([&] { PlugCamera(); });
    sim::DeviceChange(DBT_DEVNODES_CHANGED);
    sim::Then([] { EXPECT_EQ(1u, sim::CaptureWindows().size()); });
    sim::PickMenuItem(ID_COUNTRY_JAPAN);
    DialogRun dlg;
    EXPECT_EQ(8, dlg.m_nCountry);
    EXPECT_EQ(1, dlg.m_nFreqState);
}

TEST_F(LifecycleTest, ADeviceChangeInsideTheWarningBoxIsHandledThenTheWindowCloses)
{
    PlugCamera(false);
    sim::Then([&] { camera_->HoldElsewhere(false); }); // the other application lets go
    sim::DeviceChange(DBT_DEVNODES_CHANGED);
    sim::Then([] { EXPECT_EQ(1u, sim::CaptureWindows().size()); });
    sim::AnswerMessageBox(IDOK);
    CountingDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(0, dlg.m_bPreviewing);
    EXPECT_TRUE(sim::CaptureWindows().empty());
    EXPECT_EQ(std::string("4\0", 2), StoredCountry());
}

// A button takes the focus when clicked and hands it back to the dialog, so
// that Enter after it is not a second click but the dialog's OK.
TEST_F(LifecycleTest, EveryWayOutSavesTheCountryAndOnlyEnterSkipsCancel)
{
    const struct {
        const char *how;
        std::function<void()> leave;
        INT_PTR result;
        int cancels;
    } ways[] = {
        {"Exit", [] { sim::Click(IDCANCEL); }, IDCANCEL, 1},
        {"Esc", [] { sim::Key(VK_ESCAPE); }, IDCANCEL, 1},
        {"close box", [] { sim::CloseBox(); }, IDCANCEL, 1},
        {"Enter", [] { sim::Key(VK_RETURN); }, IDOK, 0},
        {"Enter after Country", [] { sim::Click(IDC_BTN_COUNTRY); sim::DismissMenu(); sim::Key(VK_RETURN); }, IDOK, 0},
        {"Enter after Other", [] { sim::Click(IDC_BTN_OTHER); sim::DismissMenu(); sim::Key(VK_RETURN); }, IDOK, 0},
        {"Enter after OutDoors", [] { sim::Click(IDC_BTN_OUTDOORS); sim::Key(VK_RETURN); }, IDOK, 0},
    };
    for (const auto &way : ways) {
        PlugCamera();
        HWND capture = NULL;
        sim::Then([&] { capture = sim::CaptureWindows().at(0); });
        sim::Click(IDC_BTN_COUNTRY);
        sim::PickMenuItem(ID_COUNTRY_GERMAN);
        way.leave();
        CountingDlg dlg;
        EXPECT_EQ(way.result, dlg.DoModal()) << way.how;
        EXPECT_EQ(way.cancels, dlg.cancels) << way.how;
        EXPECT_EQ(std::string("1\0", 2), StoredCountry()) << way.how;
        EXPECT_TRUE(sim::CaptureWindows().empty()) << way.how;
        // Stopped, not just destroyed with the dialog.
        EXPECT_FALSE(MessagesTo(capture, WM_CAP_DRIVER_DISCONNECT, WM_CAP_DRIVER_DISCONNECT).empty()) << way.how;
        NextCase(std::string(way.how) + ": ");
    }
}

// The shipping program is a 32-bit process. For a standard user Windows keeps
// what it writes under HKEY_LOCAL_MACHINE in the user's virtual store, and
// its next start reads the country from there.
TEST_F(LifecycleTest, AStandardUsersCountrySurvivesARestartOfTheShippingProgram)
{
    sim::ThisProcess().wow64 = sim::ThisProcess().standardUser = true;
    for (UINT pick : {(UINT)ID_COUNTRY_JAPAN, 0u}) {
        sim::Click(IDC_BTN_COUNTRY);
        pick ? sim::PickMenuItem(pick) : sim::DismissMenu();
        sim::Key(VK_ESCAPE);
        EXPECT_EQ(0, WinMain(GetModuleHandleA(NULL), NULL, (LPSTR) "", SW_SHOWNORMAL));
    }
    EXPECT_TRUE(sim::Popups().at(1).items.at(8).checked); // Japan
    EXPECT_FALSE(sim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\WOW6432Node\\ZivoCam"));
}

// One request end to end, on Windows with and without
// SetDefaultDllDirectories: each DLL that is not a KnownDLL is found in the
// system folder alone when the program first calls into it.
TEST_F(LifecycleTest, OneRequestEndToEndWithEveryDllFromTheSystemFolder)
{
    const struct {
        const char *windows;
        bool hasCall, callFails;
        sim::DllSearch found;
    } cases[] = {
        {"Windows 8 or later: ", true, false, sim::DllSearch::SystemFolderOnly},
        {"Windows 7 without KB2533623: ", false, false, sim::DllSearch::AlreadyLoaded},
        {"SetDefaultDllDirectories failing: ", true, true, sim::DllSearch::AlreadyLoaded},
    };
    const std::vector<std::wstring> kFromSystemFolder = {
        L"C:\\Windows\\system32\\ksproxy.ax", L"C:\\Windows\\system32\\cfgmgr32.dll",
        L"C:\\Windows\\system32\\avicap32.dll"};
    for (const auto &c : cases) {
        sim::SetHasDefaultDllDirectories(c.hasCall);
        if (c.callFails)
            sim::FailCall(sim::Call::SetDefaultDllDirectories, 0);
        PlugCamera(true, 1);
        sim::Click(IDC_BTN_COUNTRY);
        sim::PickMenuItem(ID_COUNTRY_JAPAN);
        sim::Click(IDC_BTN_OTHER);
        sim::DismissMenu();
        sim::Click(IDCANCEL);
        EXPECT_EQ(0, WinMain(GetModuleHandleA(NULL), NULL, (LPSTR) "", SW_SHOWNORMAL)) << c.windows;

        for (const char *dll : {"ksproxy.ax", "cfgmgr32.dll", "avicap32.dll"})
            EXPECT_EQ(c.found, sim::SearchAtFirstCall(dll)) << c.windows << dll;
        EXPECT_EQ(c.hasCall && !c.callFails ? std::vector<std::wstring>() : kFromSystemFolder,
                  sim::LibrariesLoaded()) << c.windows;
        EXPECT_EQ(std::vector<int32_t>{2}, camera_->driver->Sets()) << c.windows;
        EXPECT_TRUE(sim::Popups().at(1).items.at(1).checked) << c.windows; // "60Hz"
        EXPECT_EQ(std::string("8\0", 2), StoredCountry()) << c.windows;
        NextCase(c.windows);
    }
}

// Where SetDefaultDllDirectories is missing, the three DLLs are loaded by
// their full paths: none when the system folder cannot be read, and only
// those whose full path fits in MAX_PATH characters.
TEST_F(LifecycleTest, WithoutTheSearchRestrictionOnlyWholeSystemPathsAreLoaded)
{
    sim::SetHasDefaultDllDirectories(false);
    sim::FailCall(sim::Call::GetSystemDirectory, 0);
    UseSystemFolderDllsOnly();
    EXPECT_TRUE(sim::LibrariesLoaded().empty());
    NextCase("no system folder: ");
    // 248 characters and a backslash: "ksproxy.ax" with its terminator just
    // fills MAX_PATH, the other two names are longer.
    const std::wstring folder = L"C:\\" + std::wstring(245, L'w');
    sim::SetHasDefaultDllDirectories(false);
    sim::SetSystemFolder(folder);
    UseSystemFolderDllsOnly();
    EXPECT_EQ(std::vector<std::wstring>{folder + L"\\ksproxy.ax"}, sim::LibrariesLoaded());
}

} // namespace
