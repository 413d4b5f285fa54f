// Finding the camera among the video-input devices and the two mode
// operations, seen from the devices' drivers.
#include "PlatformTest.h"

#include "camera/CameraMode.h"
#include "camera/zivo_camera.h"

namespace {

using sim::Call;

class CameraModeTest : public PlatformTest {
protected:
    static size_t Other(const std::wstring &name) { return sim::AddVideoDevice(name); }
    static sim::camera::Camera &Camera(const std::wstring &name = L"Zivo Web Camera")
    {
        sim::camera::Camera settings;
        settings.friendlyName = name;
        return sim::camera::Plug(settings);
    }
    static size_t Requests(size_t device) { return sim::Device(device).device->requests.size(); }
    static size_t Requests(const sim::camera::Camera &camera) { return camera.driver->requests.size(); }
    static int Find()
    {
        DeviceEntry list[kMaxVideoDevices];
        UINT count = EnumVideoDevices(list, kMaxVideoDevices);
        int index = FindCameraEntry(list, count);
        FreeDeviceList(list, kMaxVideoDevices);
        return index;
    }
};

TEST_F(CameraModeTest, WithoutVideoDevicesNothingIsFound)
{
    EXPECT_FALSE(SetFrequencyMode(1));
    EXPECT_EQ(kModeUnknown, GetFrequencyMode());
    EXPECT_EQ(0u, sim::CallCount(Call::EnumNext));
}

TEST_F(CameraModeTest, EnumerationCopiesBothNamesAndFreesEachIntermediateAtOnce)
{
    Other(L"Integrated Webcam");
    DeviceEntry list[kMaxVideoDevices];
    EXPECT_EQ(1u, EnumVideoDevices(list, kMaxVideoDevices));
    EXPECT_STREQ(L"Integrated Webcam", list[0].friendlyName);
    EXPECT_EQ(sim::Device(0).displayName, list[0].displayName);
    EXPECT_EQ(NULL, list[1].friendlyName);
    FreeDeviceList(list, kMaxVideoDevices);

    const std::vector<Call> expected = {
        Call::CoInitialize,   Call::CoGetMalloc,     Call::CoCreateInstance, Call::CreateClassEnumerator,
        Call::EnumReset,      Call::EnumNext,        Call::BindToStorage,    Call::PropertyBagRead,
        Call::SysAllocString, Call::SysFreeString,   Call::GetDisplayName,   Call::SysAllocString,
        Call::MallocFree,     Call::EnumNext,        Call::CoUninitialize,
    };
    std::vector<Call> enumeration(sim::CallLog().begin(), sim::CallLog().begin() + expected.size());
    EXPECT_EQ(expected, enumeration);
}

struct StepFailure {
    Call step;
    HRESULT result;
    bool keepsFriendlyName; // the stopped entry's name stays until the list is freed
};

void PrintTo(const StepFailure &f, std::ostream *os) { *os << sim::CallName(f.step); }

class EnumerationStop : public CameraModeTest, public ::testing::WithParamInterface<StepFailure> {};

// The second device fails; the first stays counted, the second does not.
TEST_P(EnumerationStop, OnTheSecondDeviceKeepsTheFirst)
{
    Other(L"First");
    Other(L"Second");
    Other(L"Third");
    const StepFailure failure = GetParam();
    sim::FailCall(failure.step, failure.result, failure.step == Call::SysAllocString ? 3 : 2);

    DeviceEntry list[kMaxVideoDevices];
    EXPECT_EQ(1u, EnumVideoDevices(list, kMaxVideoDevices));
    EXPECT_STREQ(L"First", list[0].friendlyName);
    EXPECT_EQ(failure.keepsFriendlyName, list[1].friendlyName != NULL);
    EXPECT_EQ(NULL, list[1].displayName);
    FreeDeviceList(list, kMaxVideoDevices);
}

INSTANTIATE_TEST_SUITE_P(EachStep, EnumerationStop,
                         ::testing::Values(StepFailure{Call::EnumNext, E_FAIL, false},
                                           StepFailure{Call::BindToStorage, E_NOINTERFACE, false},
                                           StepFailure{Call::PropertyBagRead, E_FAIL, false},
                                           StepFailure{Call::SysAllocString, S_OK, false},
                                           StepFailure{Call::GetDisplayName, E_OUTOFMEMORY, true}),
                         NameAfterFailedCall());

// A step of the enumeration or of opening the camera that fails: no camera,
// and nothing sent to it.
TEST_F(CameraModeTest, ACameraThatCannotBeEnumeratedOrOpenedCountsAsAbsent)
{
    const struct {
        Call step;
        HRESULT result;
    } failures[] = {
        {Call::CoCreateInstance, E_OUTOFMEMORY}, {Call::CreateClassEnumerator, E_OUTOFMEMORY},
        {Call::CoGetMalloc, E_OUTOFMEMORY},      {Call::BindToObject, E_NOINTERFACE},
        {Call::KsGetObjectHandle, S_OK}, // no handle
    };
    for (const auto &f : failures) {
        sim::camera::Camera &camera = Camera();
        sim::FailCall(f.step, f.result);
        EXPECT_FALSE(SetFrequencyMode(2)) << sim::CallName(f.step);
        EXPECT_EQ(kModeUnknown, GetFrequencyMode()) << sim::CallName(f.step);
        EXPECT_EQ(0u, Requests(camera)) << sim::CallName(f.step);
        EndCase(std::string(sim::CallName(f.step)) + " failing: ");
    }
}

// The names are compared as the ANSI code page writes them: the prefix in any
// case, at the start only, each name judged by its own head however long; a
// letter the code page lacks takes Windows' best fit, and one without any
// matches nothing. Of several matches the last is used, and only it is sent
// the request.
TEST_F(CameraModeTest, TheLastDeviceWhoseNameStartsWithThePrefixIsUsed)
{
    const struct {
        std::vector<std::wstring> names;
        int found;
    } cases[] = {
        {{L"USB Video Device", L"ZIVO WEB CAMERA #2 (Rev 3)", L"My Zivo Web Camera"}, 1},
        {{L"Zivo", L"Zivo Web Camer", L"Z\u00EDvo Web Camera", L""}, -1},
        {{L"\u017Bivo Web Camera", L"Zivo Web Camer\u0430"}, 0},
        // too long for a whole conversion; an unpaired surrogate after the prefix
        {{L"Zivo Web Camera", std::wstring(300, L'X'), L"Zivo Web Camera" + std::wstring(1, (wchar_t)0xD800)}, 2},
        {{L"Zivo Web Camera", L"zivo web camera " + std::wstring(400, (wchar_t)0x4E2D), std::wstring(200, L'z')}, 1},
        {{L"Zivo Web Camera", L"Zivo Web Camera (2)"}, 1},
        {{L"Zivo Web Camera", L"Zivo"}, 0}, // nothing left over from the name before
    };
    for (const auto &c : cases) {
        for (const std::wstring &name : c.names)
            Other(name);
        EXPECT_EQ(c.found, Find());
        EXPECT_EQ(c.found >= 0, SetFrequencyMode(1) != 0);
        for (size_t i = 0; i < c.names.size(); ++i)
            EXPECT_EQ(i == (size_t)c.found ? 1u : 0u, Requests(i)) << i;
        if (c.found >= 0) { // each head fits (an empty name converts nothing)
            EXPECT_EQ(sim::CallCount(Call::WideCharToMultiByte), (size_t)sim::Succeeded().conversions);
        }
        EndCase(std::to_string(c.names.size()) + " devices, expecting " + std::to_string(c.found) + ": ");
    }
    const DeviceEntry unnamed[1] = {{NULL, NULL}};
    EXPECT_EQ(-1, FindCameraEntry(unnamed, 1));
}

TEST_F(CameraModeTest, TheSixteenthDeviceIsNeverExamined)
{
    for (int i = 0; i < 15; ++i)
        Other(L"Capture " + std::to_wstring(i));
    sim::camera::Camera &camera = Camera();
    EXPECT_FALSE(SetFrequencyMode(2));
    EXPECT_EQ(kModeUnknown, GetFrequencyMode());
    EXPECT_EQ(0u, Requests(camera));
    EXPECT_EQ(15u * 2, sim::CallCount(Call::EnumNext)); // two enumerations, none asked for a 16th
}

TEST_F(CameraModeTest, ModesOutsideZeroToTwoOpenTheCameraButSendNothing)
{
    sim::camera::Camera &camera = Camera();
    for (int mode : {5, 3, -1, 101})
        EXPECT_TRUE(SetFrequencyMode(mode)) << mode;
    EXPECT_EQ(0u, Requests(camera));
    EXPECT_EQ(4u, sim::CallCount(Call::KsGetObjectHandle));
}

TEST_F(CameraModeTest, ARefusedSetStillReportsTheCameraOpened)
{
    sim::camera::Camera &camera = Camera();
    camera.driver->setFailure = HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);
    EXPECT_TRUE(SetFrequencyMode(1));
    EXPECT_EQ(1u, Requests(camera));
    EXPECT_EQ(2, camera.driver->lightFrequency);
}

TEST_F(CameraModeTest, GetReportsTheDriversValueUncheckedOrUnknownOnFailure)
{
    sim::camera::Driver &driver = *Camera().driver;
    driver.lightFrequency = 1;
    EXPECT_EQ(1, GetFrequencyMode());

    driver.answerGetWith = true;
    driver.getAnswer = 7;
    EXPECT_EQ(7, GetFrequencyMode());

    driver.getFailure = HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);
    EXPECT_EQ(kModeUnknown, GetFrequencyMode());
}

TEST_F(CameraModeTest, EverySetEnumeratesAfreshNothingIsCached)
{
    sim::camera::Camera &camera = Camera();
    EXPECT_TRUE(SetFrequencyMode(0));
    EXPECT_TRUE(SetFrequencyMode(0));
    ASSERT_EQ(2u, Requests(camera));
    EXPECT_EQ(2u, sim::CallCount(Call::CoCreateInstance));
}

} // namespace
