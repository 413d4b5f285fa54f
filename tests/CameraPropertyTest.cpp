// The property channel as the camera driver sees it: the bytes of each
// request, and what an open that fails half-way holds and gives back.
#include "PlatformTest.h"

#include "camera/CameraProperty.h"
#include "camera/zivo_camera.h"

#include <initializer_list>

namespace {

using sim::Call;

const uint8_t kSetBytes[16] = {0x5A, 0x7C, 0x75, 0x9C, 0x95, 0x8D, 0x3C, 0x45,
                               0x82, 0x84, 0x90, 0x6A, 0x68, 0xDC, 0x53, 0xFA};

class CameraPropertyTest : public PlatformTest {
protected:
    void SetUp() override
    {
        PlatformTest::SetUp();
        camera_ = &sim::camera::Plug();
    }
    const std::wstring &DisplayName() { return camera_->displayName; }
    sim::camera::Driver &Driver() { return *camera_->driver; }

    sim::camera::Camera *camera_ = NULL;
};

// The camera's record goes as one 72-byte buffer, both input and output,
// with the property's set, ID and flags (1 GET, 2 SET), and zeros from
// zerosFrom up to its last field.
void ExpectRecord(const sim::DeviceRequest &request, int32_t flags, size_t zerosFrom = 68)
{
    EXPECT_EQ(72u, request.inLength);
    EXPECT_EQ(72u, request.outLength);
    EXPECT_EQ(request.in, request.out);
    EXPECT_NE(nullptr, request.bytesReturned);
    EXPECT_EQ(0, memcmp(request.bytes.data(), kSetBytes, sizeof(kSetBytes)));
    EXPECT_EQ(15, request.Field(16));
    EXPECT_EQ(flags, request.Field(20));
    for (size_t offset = zerosFrom; offset < 68; ++offset)
        EXPECT_EQ(0, request.bytes[offset]) << "offset " << offset;
}

TEST_F(CameraPropertyTest, AGetSendsAnEmptyRecordAndCopiesOutEveryFieldOfTheAnswer)
{
    Driver().lightFrequency = 1;
    Driver().answerSecond = -7;
    Driver().answerThird = 0x12345678;
    for (size_t i = 0; i < Driver().answerBlock.size(); ++i)
        Driver().answerBlock[i] = (uint8_t)(0xA0 + i);
    CCameraProperty property;
    ASSERT_TRUE(property.Open(DisplayName().c_str())->m_bValid);
    LONG value = -5, second = -5, third = -5, shortForm = -5;
    BYTE block[32] = {};
    EXPECT_TRUE(property.GetProperty(kPropLightFrequency, &value, &second, &third, block));
    EXPECT_TRUE(property.GetProperty(kPropLightFrequency, &shortForm));
    property.Close();

    EXPECT_EQ(1, value);
    EXPECT_EQ(-7, second);
    EXPECT_EQ(0x12345678, third);
    EXPECT_EQ(0, memcmp(block, Driver().answerBlock.data(), sizeof(block)));
    EXPECT_EQ(1, shortForm);
    ASSERT_EQ(2u, Driver().requests.size());
    for (const sim::DeviceRequest &request : Driver().requests)
        ExpectRecord(request, 1, 24);
}

TEST_F(CameraPropertyTest, ASetSendsEveryFieldItIsGivenAndZerosForTheRest)
{
    BYTE block[32];
    for (size_t i = 0; i < sizeof(block); ++i)
        block[i] = (BYTE)(0x10 + i);
    CCameraProperty property;
    property.Open(DisplayName().c_str());
    EXPECT_TRUE(property.SetProperty(kPropLightFrequency, 2, -3, 0x01020304, block));
    EXPECT_TRUE(property.SetProperty(kPropLightFrequency, 1));
    property.Close();

    ASSERT_EQ(2u, Driver().requests.size());
    const sim::DeviceRequest &full = Driver().requests[0], &plain = Driver().requests[1];
    ExpectRecord(full, 2);
    ExpectRecord(plain, 2, 28);
    EXPECT_EQ(2, full.Field(24));
    EXPECT_EQ(-3, full.Field(28));
    EXPECT_EQ(0x01020304, full.Field(32));
    EXPECT_EQ(0, memcmp(full.bytes.data() + 36, block, sizeof(block)));
    EXPECT_EQ(1, plain.Field(24));
    EXPECT_EQ(1, Driver().lightFrequency);
}

TEST_F(CameraPropertyTest, OpenRunsItsStepsInOrder)
{
    CCameraProperty property;
    property.Open(DisplayName().c_str());
    property.Close();
    const std::vector<Call> expected = {Call::CoInitialize,  Call::CreateBindCtx,     Call::MkParseDisplayName,
                                        Call::BindToObject,  Call::KsGetObjectHandle, Call::CoUninitialize};
    EXPECT_EQ(expected, sim::CallLog());
    EXPECT_EQ(std::vector<IBindCtx *>{NULL}, sim::BindContextsGiven()); // parsing's context is not for binding
}

struct OpenFailure {
    Call step;
    HRESULT result;
    bool holdsBindCtx, holdsMoniker;
};

void PrintTo(const OpenFailure &f, std::ostream *os) { *os << sim::CallName(f.step); }

class CameraPropertyOpenFailure : public CameraPropertyTest, public ::testing::WithParamInterface<OpenFailure> {};

// Open starts from nothing, whatever the members held before.
TEST_P(CameraPropertyOpenFailure, LeavesTheObjectInvalidSendsNothingAndCloseGivesBackWhatWasObtained)
{
    const OpenFailure failure = GetParam();
    sim::FailCall(failure.step, failure.result);
    CCameraProperty property;
    property.m_bValid = TRUE;
    property.m_pMoniker = (IMoniker *)&property;
    property.m_pKsObject = (IKsObject *)&property;
    property.m_hDevice = (HANDLE)&property;
    property.Open(DisplayName().c_str());

    EXPECT_FALSE(property.m_bValid);
    EXPECT_EQ(failure.result, property.m_hrLast);
    EXPECT_EQ(failure.holdsBindCtx, property.m_pBindCtx != NULL);
    EXPECT_EQ(failure.holdsMoniker, property.m_pMoniker != NULL);
    EXPECT_EQ(NULL, property.m_pKsObject);
    EXPECT_EQ(NULL, property.m_hDevice);
    LONG value = 42;
    EXPECT_FALSE(property.GetProperty(kPropLightFrequency, &value));
    EXPECT_FALSE(property.SetProperty(kPropLightFrequency, 1));
    EXPECT_EQ(42, value);
    EXPECT_TRUE(Driver().requests.empty());

    property.Close();
    EXPECT_EQ(1u, sim::CallCount(Call::CoUninitialize));
    EXPECT_EQ(NULL, property.m_pBindCtx);
    EXPECT_EQ(NULL, property.m_pMoniker);
}

INSTANTIATE_TEST_SUITE_P(EachStep, CameraPropertyOpenFailure,
                         ::testing::Values(OpenFailure{Call::CreateBindCtx, E_OUTOFMEMORY, false, false},
                                           OpenFailure{Call::MkParseDisplayName, MK_E_SYNTAX, true, false},
                                           OpenFailure{Call::BindToObject, E_NOINTERFACE, true, true}),
                         NameAfterFailedCall());

// An object without a handle is invalid, however it was before; Close leaves
// nothing held, so a request after it, or a second Close, does nothing.
TEST_F(CameraPropertyTest, OpenStartsFromNothingAndCloseLeavesNothing)
{
    CCameraProperty property;
    property.m_bValid = TRUE;
    sim::FailCall(Call::KsGetObjectHandle, S_OK, 1); // every step succeeds, but no handle
    property.Open(DisplayName().c_str());
    EXPECT_FALSE(property.m_bValid);
    EXPECT_EQ(S_OK, property.m_hrLast);
    EXPECT_NE(nullptr, property.m_pKsObject);
    LONG value = 42;
    EXPECT_FALSE(property.GetProperty(kPropLightFrequency, &value));
    EXPECT_EQ(42, value);
    property.Close();

    ASSERT_TRUE(property.Open(DisplayName().c_str())->m_bValid);
    property.Close();
    EXPECT_FALSE(property.m_bValid);
    EXPECT_EQ(NULL, property.m_pMoniker);
    EXPECT_EQ(NULL, property.m_pKsObject);
    EXPECT_EQ(NULL, property.m_hDevice);
    EXPECT_EQ(NULL, property.m_pBindCtx);
    EXPECT_FALSE(property.SetProperty(kPropLightFrequency, 1));
    property.Close();
    EXPECT_TRUE(Driver().requests.empty());
    EXPECT_EQ(2u, sim::CallCount(Call::CoUninitialize));
}

TEST_F(CameraPropertyTest, RejectedRequestsFailWithTheDriversResult)
{
    const HRESULT refused = HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);
    Driver().getFailure = refused;
    Driver().setFailure = refused;
    CCameraProperty property;
    property.Open(DisplayName().c_str());

    LONG value = 42, second = 43, third = 44;
    BYTE block[32];
    memset(block, 0xAB, sizeof(block));
    EXPECT_FALSE(property.GetProperty(kPropLightFrequency, &value, &second, &third, block));
    EXPECT_EQ(refused, property.m_hrLast);
    EXPECT_EQ(42, value);
    EXPECT_EQ(43, second);
    EXPECT_EQ(44, third);
    EXPECT_EQ(0xAB, block[0]);

    EXPECT_FALSE(property.SetProperty(kPropLightFrequency, 0));
    EXPECT_EQ(refused, property.m_hrLast);
    EXPECT_EQ(2, Driver().lightFrequency);
    property.Close();
}

// A thread already in the multithreaded apartment keeps it and COM works;
// either way a CoInitialize that failed is not balanced.
TEST_F(CameraPropertyTest, AFailedCoInitializeIsNotBalancedByClose)
{
    sim::FailCall(Call::CoInitialize, E_OUTOFMEMORY, 1);
    CCameraProperty property;
    property.Open(DisplayName().c_str());
    EXPECT_EQ(CO_E_NOTINITIALIZED, property.m_hrLast);
    property.Close();
    EXPECT_EQ(0u, sim::CallCount(Call::CoUninitialize));

    ASSERT_EQ(S_OK, CoInitializeEx(NULL, COINIT_MULTITHREADED));
    EXPECT_TRUE(property.Open(DisplayName().c_str())->m_bValid);
    EXPECT_TRUE(property.SetProperty(kPropLightFrequency, 1));
    property.Close();
    EXPECT_EQ(1, sim::ComInitDepth());
    CoUninitialize();
}

} // namespace
