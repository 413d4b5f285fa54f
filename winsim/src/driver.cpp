// The camera's driver: answers kernel-streaming property requests laid out as
// the camera's own property record, reading every field from its byte offset.
#include "state.h"

#include <ks.h>

namespace sim {
namespace detail {
namespace {

// {9C757C5A-8D95-453C-8284-906A68DC53FA} in the standard in-memory layout.
const BYTE kCameraSetBytes[16] = {0x5A, 0x7C, 0x75, 0x9C, 0x95, 0x8D, 0x3C, 0x45,
                                  0x82, 0x84, 0x90, 0x6A, 0x68, 0xDC, 0x53, 0xFA};
const uint32_t kLightFrequencyId = 15;
const size_t kValueOffset = 24, kSecondOffset = 28, kThirdOffset = 32, kBlockOffset = 36;
const size_t kAnswerEnd = kBlockOffset + 32;

uint32_t ReadU32(const BYTE *p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

void WriteU32(BYTE *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = (BYTE)(v >> (8 * i));
}

// A GET's answer: the value and the fields after it.
HRESULT Answer(const Driver &driver, BYTE *out, ULONG outLength, ULONG *returned)
{
    if (out == NULL || outLength < kAnswerEnd)
        return HRESULT_FROM_WIN32(ERROR_MORE_DATA);
    WriteU32(out + kValueOffset, (uint32_t)(driver.answerGetWith ? driver.getAnswer : driver.lightFrequency));
    WriteU32(out + kSecondOffset, (uint32_t)driver.answerSecond);
    WriteU32(out + kThirdOffset, (uint32_t)driver.answerThird);
    memcpy(out + kBlockOffset, driver.answerBlock.data(), driver.answerBlock.size());
    if (returned)
        *returned = outLength;
    ++S().succeeded.getsAnswered;
    return S_OK;
}

} // namespace

HRESULT DriverRequest(Driver &driver, const BYTE *in, ULONG inLength, BYTE *out, ULONG outLength, ULONG *returned)
{
    if (returned)
        *returned = 0;
    if (in == NULL || inLength < sizeof(KSPROPERTY))
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    DeviceRequest request = {{}, inLength, outLength, in, out, returned};
    memcpy(request.bytes.data(), in, inLength < request.bytes.size() ? inLength : request.bytes.size());
    driver.requests.push_back(request);

    if (!driver.isCamera || memcmp(in, kCameraSetBytes, sizeof(kCameraSetBytes)) != 0)
        return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
    if (ReadU32(in + 16) != kLightFrequencyId)
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    switch (ReadU32(in + 20)) {
    case KSPROPERTY_TYPE_GET:
        if (driver.answerRaw) {
            // Whatever a faulty driver may leave in the answer.
            memcpy(out, driver.rawAnswer.data(), driver.rawAnswer.size() < outLength ? driver.rawAnswer.size() : outLength);
            if (driver.rawResult == S_OK)
                ++S().succeeded.getsAnswered;
            return driver.rawResult;
        }
        if (driver.getFailure != S_OK)
            return driver.getFailure;
        return Answer(driver, out, outLength, returned);
    case KSPROPERTY_TYPE_SET:
        if (driver.setFailure != S_OK)
            return driver.setFailure;
        if (inLength < kValueOffset + 4)
            return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
        driver.lightFrequency = (int32_t)ReadU32(in + kValueOffset);
        return S_OK;
    default:
        return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
    }
}

} // namespace detail
} // namespace sim
