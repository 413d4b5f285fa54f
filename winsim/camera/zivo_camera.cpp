// The camera: its USB node, its video-input device and the driver behind its
// filter, and the capture driver Video for Windows lists for it.
#include "zivo_camera.h"

#include <cfgmgr32.h>
#include <ks.h>

#include <deque>
#include <set>

namespace sim {
namespace camera {
namespace {

const char kWdmCaptureDriver[] = "Microsoft WDM Image Capture (Win32)";

// {9C757C5A-8D95-453C-8284-906A68DC53FA} in the standard in-memory layout.
const BYTE kCameraSetBytes[16] = {0x5A, 0x7C, 0x75, 0x9C, 0x95, 0x8D, 0x3C, 0x45,
                                  0x82, 0x84, 0x90, 0x6A, 0x68, 0xDC, 0x53, 0xFA};
const uint32_t kLightFrequencyId = 15;
const size_t kFlagsOffset = 20, kValueOffset = 24, kSecondOffset = 28, kThirdOffset = 32, kBlockOffset = 36;
const size_t kAnswerEnd = kBlockOffset + 32;

struct Module {
    std::deque<Camera> cameras;
    std::set<DEVINST> nodes; // every node a camera was plugged in as
};

void Clear();

Module &M()
{
    static Module module;
    static bool registered = (AtReset(Clear), true);
    (void)registered;
    return module;
}

void Clear() { M() = Module(); }

void WriteU32(BYTE *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = (BYTE)(v >> (8 * i));
}

// Video for Windows lists one WDM capture driver while any camera is plugged
// in; it connects to the first one, unless another program holds that.
void ShowCaptureDriver()
{
    const Camera *first = NULL;
    for (const Camera &camera : M().cameras)
        if (camera.Plugged() && first == NULL)
            first = &camera;
    UINT index = 0;
    while (index < CaptureDriverCount() && CaptureDriverAt(index).description != kWdmCaptureDriver)
        ++index;
    bool listed = index < CaptureDriverCount();
    if (first == NULL && listed)
        RemoveCaptureDriver(index);
    else if (first != NULL && !listed)
        AddCaptureDriver(kWdmCaptureDriver, !first->heldElsewhere);
    else if (first != NULL)
        CaptureDriverAt(index).connects = !first->heldElsewhere;
}

} // namespace

HRESULT Driver::Property(const BYTE *in, ULONG inLength, BYTE *out, ULONG outLength, ULONG *returned)
{
    if (memcmp(in, kCameraSetBytes, sizeof(kCameraSetBytes)) != 0)
        return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
    if (LittleEndian32(in + 16) != kLightFrequencyId)
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    switch (LittleEndian32(in + kFlagsOffset)) {
    case KSPROPERTY_TYPE_GET:
        if (answerRaw) {
            // Whatever a faulty driver may leave in the answer.
            memcpy(out, rawAnswer.data(), rawAnswer.size() < outLength ? rawAnswer.size() : outLength);
            getsAnswered += rawResult == S_OK;
            return rawResult;
        }
        if (getFailure != S_OK)
            return getFailure;
        if (out == NULL || outLength < kAnswerEnd)
            return HRESULT_FROM_WIN32(ERROR_MORE_DATA);
        WriteU32(out + kValueOffset, (uint32_t)(answerGetWith ? getAnswer : lightFrequency));
        WriteU32(out + kSecondOffset, (uint32_t)answerSecond);
        WriteU32(out + kThirdOffset, (uint32_t)answerThird);
        memcpy(out + kBlockOffset, answerBlock.data(), answerBlock.size());
        *returned = outLength;
        ++getsAnswered;
        return S_OK;
    case KSPROPERTY_TYPE_SET:
        if (setFailure != S_OK)
            return setFailure;
        if (inLength < kValueOffset + 4)
            return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
        lightFrequency = (int32_t)LittleEndian32(in + kValueOffset);
        return S_OK;
    default:
        return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
    }
}

std::vector<int32_t> Driver::Sets() const
{
    std::vector<int32_t> values;
    for (const DeviceRequest &r : requests)
        if (r.Field(kFlagsOffset) == KSPROPERTY_TYPE_SET)
            values.push_back(r.Field(kValueOffset));
    return values;
}

void Camera::Plug()
{
    if (Plugged())
        return;
    DevNode usb;
    usb.driver = Sz("{6bdd1fc6-810f-11d0-bec7-08002be2092f}\\0003");
    usb.description = Sz("Zivo Web Camera");
    usb.hardwareIds = MultiSz({firstHardwareId, "USB\\VID_0AC8&PID_0302"});
    node = AddDevNode(port, usb);
    M().nodes.insert(node);
    displayName = L"@device:pnp:\\\\?\\usb#vid_0ac8&pid_0302#5&1f0c3b2&0&" + std::to_wstring(serial) +
                  L"#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
    AddVideoDevice(friendlyName, displayName, driver);
    ShowCaptureDriver();
}

void Camera::Unplug()
{
    if (!Plugged())
        return;
    RemoveDevNode(node);
    RemoveVideoDevice(displayName);
    node = 0;
    ShowCaptureDriver();
}

void Camera::HoldElsewhere(bool held)
{
    heldElsewhere = held;
    ShowCaptureDriver();
}

size_t Camera::Index() const
{
    for (size_t i = 0; i < DeviceCount(); ++i)
        if (Plugged() && Device(i).displayName == displayName)
            return i;
    return (size_t)-1;
}

Camera &Plug(const Camera &settings)
{
    M().cameras.push_back(settings);
    Camera &camera = M().cameras.back();
    camera.driver = std::make_shared<Driver>(*settings.driver);
    camera.node = 0;
    camera.serial = (unsigned)M().cameras.size();
    camera.Plug();
    return camera;
}

size_t HardwareIdsRead()
{
    size_t reads = 0;
    for (const PropertyRead &read : PropertyReads())
        reads += read.delivered && read.property == CM_DRP_HARDWAREID && M().nodes.count(read.node);
    return reads;
}

} // namespace camera
} // namespace sim
