// The simulated Windows platform as tests see it: scenarios are set up here,
// and what the program did is read back here. Product code never includes
// this header.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// Every platform entry point the simulation answers, in the order of the
// calls' appearance in the program.
enum class Call {
    CoInitialize,
    CoUninitialize,
    CoGetMalloc,
    CoCreateInstance,
    CreateClassEnumerator,
    EnumReset,
    EnumNext,
    BindToStorage,
    PropertyBagRead,
    GetDisplayName,
    MallocFree,
    SysAllocString,
    SysFreeString,
    CreateBindCtx,
    MkParseDisplayName,
    BindToObject,
    KsGetObjectHandle,
    KsSynchronousDeviceControl,
    WideCharToMultiByte,
    Count
};
const char *CallName(Call call);

// Clears every scenario, log, failure and count.
void Reset();

// --- Failures -------------------------------------------------------------
// Makes call fail with result. occurrence counts calls of that kind from 1;
// 0 fails every one. Calls that return a pointer or handle fail with NULL;
// S_FALSE is a valid "failure" where the real call can answer it.
void FailCall(Call call, HRESULT result, int occurrence = 0);

// --- The camera driver and the video-input devices --------------------------
typedef std::array<uint8_t, 72> RequestBytes;

struct Driver {
    bool isCamera = false;    // implements the camera's property set
    int32_t lightFrequency = 2;
    HRESULT getFailure = S_OK; // a GET of the light frequency answers this
    HRESULT setFailure = S_OK; // a SET of the light frequency answers this
    bool answerGetWith = false;
    int32_t getAnswer = 0;       // used when answerGetWith is set
    std::vector<RequestBytes> requests; // every request, as received
};

struct VideoDevice {
    std::wstring friendlyName;
    std::wstring displayName;
    Driver driver;
};

// Adds a device to the video-input category; returns its index. The display
// name is made up from the index unless given.
size_t AddVideoDevice(const std::wstring &friendlyName, bool isCamera, const std::wstring &displayName = L"");
VideoDevice &Device(size_t index);
size_t DeviceCount();

// --- What happened -----------------------------------------------------------
const std::vector<Call> &CallLog();
size_t CallCount(Call call);

// --- Resource accounting -------------------------------------------------
long LiveComReferences();
std::string LiveComObjects(); // "Moniker x1, ..." for failure messages
long LiveBstrs();
long LiveTaskBlocks();
long ComInitDepth();
// Misuse the platform detected: releases past zero, frees of unknown
// pointers, unbalanced uninitialisation, requests on stale handles.
const std::vector<std::string> &Misuse();

} // namespace sim
