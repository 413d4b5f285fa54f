// Host stand-in for <ksproxy.h>: IKsObject and the synchronous device request.
#pragma once

#include <ks.h>

#define KSDDKAPI DECLSPEC_IMPORT

extern const IID IID_IKsObject;

interface IKsObject : IUnknown {
    STDMETHOD_(HANDLE, KsGetObjectHandle)() PURE;
};

KSDDKAPI HRESULT WINAPI KsSynchronousDeviceControl(HANDLE Handle, ULONG IoControl, PVOID InBuffer, ULONG InLength,
                                                   PVOID OutBuffer, ULONG OutLength, PULONG BytesReturned);
