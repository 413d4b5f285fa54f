// Device trees whose properties hold any bytes: unterminated, exactly 260
// bytes, longer, multi-strings. The probe reads only what fits its buffer.
#include "FuzzSupport.h"

#include "camera/CameraPresence.h"

#include <strings.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FreshPlatform();
    Bytes in(data, size);
    std::vector<DEVINST> nodes = {sim::kRootDevNode};
    bool expected = false;
    while (!in.empty() && nodes.size() < 40) {
        uint8_t flags = in.Byte();
        sim::DevNode node;
        node.hasDriver = flags & 1;
        node.hasDescription = flags & 2;
        node.hasHardwareIds = flags & 4;
        DEVINST parent = nodes[in.Byte() % nodes.size()];
        node.driver = in.Take(in.Byte() * 2u);
        node.description = in.Take(in.Byte() * 2u);
        node.hardwareIds = flags & 8 ? "usb\\VID_0ac8&pid_0302" + in.Take(in.Byte() * 2u) : in.Take(in.Byte() * 2u);
        bool fits = node.driver.size() <= 260 && node.description.size() <= 260 && node.hardwareIds.size() <= 260;
        expected |= node.hasDriver && node.hasDescription && node.hasHardwareIds && fits &&
                    node.hardwareIds.size() >= 21 && strncasecmp(node.hardwareIds.c_str(), "usb\\vid_0ac8&pid_0302", 21) == 0;
        nodes.push_back(sim::AddDevNode(parent, node));
    }
    REQUIRE(IsCameraPresent() == (BOOL)expected);
    RequireNothingLeaked();
    return 0;
}
