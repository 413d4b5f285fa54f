// A camera driver that answers a GET with any bytes and any result: the mode
// read is the value at offset 24 when the request succeeded, else unknown.
#include "FuzzSupport.h"

#include "camera/CameraMode.h"
#include "camera/zivo_camera.h"

#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FreshPlatform();
    Bytes in(data, size);
    sim::camera::Driver &driver = *sim::camera::Plug().driver;
    driver.answerRaw = true;
    uint8_t how = in.Byte();
    driver.rawResult = how & 1 ? (HRESULT)(0x80000000u | in.Unit()) : (how & 2 ? S_FALSE : S_OK);
    driver.rawAnswer = in.Take(72);
    int mode = GetFrequencyMode();
    // The answer lands over the request, whose value field was zero.
    unsigned char field[4] = {0, 0, 0, 0};
    for (size_t i = 24; i < 28 && i < driver.rawAnswer.size(); ++i)
        field[i - 24] = (unsigned char)driver.rawAnswer[i];
    int32_t value;
    memcpy(&value, field, sizeof(value));
    REQUIRE(mode == (driver.rawResult == S_OK ? value : kModeUnknown));
    REQUIRE(SetFrequencyMode(how % 4) == TRUE);
    RequireNothingLeaked();
    return 0;
}
