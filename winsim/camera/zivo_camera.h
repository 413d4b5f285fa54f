// The Zivo Web Camera as a device plugged into the simulated Windows. While
// plugged in it is three things at once: a USB node in the device tree with
// the camera's hardware IDs, a video-input device whose filter leads to the
// camera's driver, and the WDM capture driver Video for Windows lists for
// it. Plugging and unplugging changes all three together. Everything here is
// cleared when a case ends.
#pragma once

#include "../sim.h"

namespace sim {
namespace camera {

// The camera's driver: answers the light-frequency property of the camera's
// own property set, reading every field of the request from its byte offset.
struct Driver : KsDevice {
    int32_t lightFrequency = 2;
    HRESULT getFailure = S_OK; // a GET of the light frequency answers this
    HRESULT setFailure = S_OK; // a SET of the light frequency answers this
    bool answerGetWith = false;
    int32_t getAnswer = 0;       // used when answerGetWith is set
    // The rest of a GET's answer, at offsets 28, 32 and 36.
    int32_t answerSecond = 0, answerThird = 0;
    std::array<uint8_t, 32> answerBlock = {};
    bool answerRaw = false;      // a GET is answered with rawAnswer's bytes and rawResult
    std::string rawAnswer;
    HRESULT rawResult = S_OK;
    int getsAnswered = 0;        // GETs answered with success

    HRESULT Property(const BYTE *in, ULONG inLength, BYTE *out, ULONG outLength, ULONG *returned) override;
    // The values of the light-frequency SETs received, in order.
    std::vector<int32_t> Sets() const;
};

struct Camera {
    // How it shows itself; set before plugging in.
    std::wstring friendlyName = L"Zivo Web Camera";
    std::string firstHardwareId = "USB\\VID_0AC8&PID_0302&REV_0100";
    DEVINST port = kRootDevNode; // the node it is plugged in under
    // Kept while it is unplugged.
    std::shared_ptr<Driver> driver = std::make_shared<Driver>();
    bool heldElsewhere = false; // another program has it: Video for Windows cannot connect

    void Plug();
    void Unplug();
    bool Plugged() const { return node != 0; }
    void HoldElsewhere(bool held);
    size_t Index() const; // its place among the video-input devices
    DEVINST node = 0;     // while plugged in
    std::wstring displayName;
    unsigned serial = 0;  // tells cameras of one model apart
};

// A new camera, plugged in; cameras are made only here.
Camera &Plug(const Camera &settings = Camera());
// Successful reads of a camera node's hardware IDs, from the device tree.
size_t HardwareIdsRead();

} // namespace camera
} // namespace sim
