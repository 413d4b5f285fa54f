// Whether the camera is plugged in with its driver installed, from the
// Configuration Manager's device tree.
#pragma once

#include <windows.h>

// The first hardware ID of the camera's USB node starts with this, in any case.
extern const char kCameraHardwareId[];

BOOL IsCameraPresent();
