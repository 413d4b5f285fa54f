// Device friendly names of any UTF-16 content and length, unpaired
// surrogates and characters the ANSI code page fits best included: the
// camera is found by its own name or not at all.
#include "FuzzSupport.h"

#include "camera/CameraMode.h"
#include "camera/zivo_camera.h"

#include <ctype.h>
#include <string.h>

// The name's first 15 units in the ANSI code page, as the platform converts
// them, against the prefix in any case.
static bool StartsWithCameraName(const std::wstring &name)
{
    const char *prefix = "zivo web camera";
    const size_t length = strlen(prefix);
    if (name.size() < length)
        return false;
    std::string ansi = sim::AnsiCodePageOf(name.substr(0, length));
    for (size_t i = 0; i < length; ++i) {
        if (i >= ansi.size() || tolower((unsigned char)ansi[i]) != prefix[i])
            return false;
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FreshPlatform();
    Bytes in(data, size);
    int expected = -1;
    std::wstring name;
    std::vector<sim::camera::Camera *> cameras; // each a camera of any name
    // Names are separated by a zero unit; at most 20 devices.
    while (!in.empty() && sim::DeviceCount() < 20) {
        uint16_t unit = in.Unit();
        if (unit != 0)
            name += (wchar_t)unit;
        if (unit == 0 || in.empty()) {
            if (sim::DeviceCount() < kMaxVideoDevices && StartsWithCameraName(name))
                expected = (int)sim::DeviceCount(); // the last match wins
            sim::camera::Camera camera;
            camera.friendlyName = name;
            cameras.push_back(&sim::camera::Plug(camera));
            name.clear();
        }
    }
    DeviceEntry list[kMaxVideoDevices];
    UINT count = EnumVideoDevices(list, kMaxVideoDevices);
    REQUIRE(count == (sim::DeviceCount() < kMaxVideoDevices ? sim::DeviceCount() : kMaxVideoDevices));
    REQUIRE(FindCameraEntry(list, count) == expected);
    FreeDeviceList(list, kMaxVideoDevices);
    REQUIRE(SetFrequencyMode(1) == (expected >= 0));
    if (expected >= 0)
        REQUIRE(cameras[(size_t)expected]->driver->lightFrequency == 1);
    RequireNothingLeaked();
    return 0;
}
