// The kernel-streaming declarations the camera code needs.
#pragma once

#include <windows.h>
#include <ks.h>

// ksproxy.h declares IKsObject and KsSynchronousDeviceControl only for builds
// that use the DirectShow base classes, which announce themselves with
// __STREAMS__. We use the two without those classes.
#ifndef __STREAMS__
#define __STREAMS__
#endif
#include <dshow.h>
#include <ksproxy.h>
