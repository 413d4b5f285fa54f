// Finding the camera among the video-input devices and reading or writing its
// light-frequency mode. Every call enumerates afresh and releases everything.
#pragma once

#include <windows.h>

typedef int FreqMode;

// The light-frequency modes the camera's driver knows.
const FreqMode kModeOutdoor = 0;
const FreqMode kMode50Hz = 1;
const FreqMode kMode60Hz = 2;
// What GetFrequencyMode reports when the camera cannot be read; no mode.
const int kModeUnknown = 101;

inline bool IsFreqMode(int mode) { return mode >= kModeOutdoor && mode <= kMode60Hz; }

const UINT kMaxVideoDevices = 15;
extern const char kCameraNamePrefix[];

struct DeviceEntry {
    BSTR displayName;  // moniker display name, or NULL
    BSTR friendlyName; // "FriendlyName" property, or NULL
};

// Fills the list in enumeration order; returns the number of complete entries.
// Strings of an entry left incomplete stay in the list until FreeDeviceList.
UINT EnumVideoDevices(DeviceEntry *list, UINT capacity);
void FreeDeviceList(DeviceEntry *list, UINT capacity);
// Index of the last entry whose friendly name starts with the camera's name, or -1.
int FindCameraEntry(const DeviceEntry *list, UINT count);

// 1 when the camera was found and opened (even if it refused the value).
BOOL SetFrequencyMode(FreqMode mode);
int GetFrequencyMode();
