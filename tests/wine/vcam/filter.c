/* Test-only in-process COM server of the virtual camera: the capture filter
   that DirectShow's device enumerator binds for the registered video-input
   device. It exposes IKsObject, whose handle leads to the virtual camera's
   driver. */
#define COBJMACROS
#include <windows.h>
#include <ole2.h>

#include "vcam.h"

/* {5E1A0C9B-7D3F-4B2A-9C61-4C756D657472} */
static const CLSID CLSID_VirtualCamera = {0x5E1A0C9B, 0x7D3F, 0x4B2A, {0x9C, 0x61, 0x4C, 0x75, 0x6D, 0x65, 0x74, 0x72}};
/* {423C13A2-2070-11D0-9EF7-00AA00A216A1} */
static const IID IID_KsObject = {0x423C13A2, 0x2070, 0x11D0, {0x9E, 0xF7, 0x00, 0xAA, 0x00, 0xA2, 0x16, 0xA1}};

typedef struct KsObject KsObject;
typedef struct {
    HRESULT(STDMETHODCALLTYPE *QueryInterface)(KsObject *, REFIID, void **);
    ULONG(STDMETHODCALLTYPE *AddRef)(KsObject *);
    ULONG(STDMETHODCALLTYPE *Release)(KsObject *);
    HANDLE(STDMETHODCALLTYPE *KsGetObjectHandle)(KsObject *);
} KsObjectVtbl;

struct KsObject {
    const KsObjectVtbl *vtbl;
    LONG refs;
    HANDLE device;
};

static LONG g_objects;

/* An object's answer for IUnknown and for its one other interface. */
static HRESULT QueryOwnInterface(void *self, REFIID riid, REFIID own, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, own) ? self : NULL;
    return *ppv ? S_OK : E_NOINTERFACE;
}

static HRESULT STDMETHODCALLTYPE Filter_QueryInterface(KsObject *self, REFIID riid, void **ppv)
{
    HRESULT hr = QueryOwnInterface(self, riid, &IID_KsObject, ppv);
    if (hr == S_OK)
        InterlockedIncrement(&self->refs);
    return hr;
}

static ULONG STDMETHODCALLTYPE Filter_AddRef(KsObject *self) { return (ULONG)InterlockedIncrement(&self->refs); }

static ULONG STDMETHODCALLTYPE Filter_Release(KsObject *self)
{
    LONG left = InterlockedDecrement(&self->refs);
    if (left == 0) {
        if (self->device)
            CloseHandle(self->device);
        HeapFree(GetProcessHeap(), 0, self);
        InterlockedDecrement(&g_objects);
    }
    return (ULONG)left;
}

/* The handle belongs to the filter: opened on first use, closed with it. */
static HANDLE STDMETHODCALLTYPE Filter_KsGetObjectHandle(KsObject *self)
{
    if (!self->device) {
        HANDLE device = CreateFileA(VCAM_WIN32_NAME, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, NULL);
        self->device = device == INVALID_HANDLE_VALUE ? NULL : device;
    }
    return self->device;
}

static const KsObjectVtbl kFilterVtbl = {Filter_QueryInterface, Filter_AddRef, Filter_Release,
                                        Filter_KsGetObjectHandle};

static HRESULT STDMETHODCALLTYPE Factory_QueryInterface(IClassFactory *self, REFIID riid, void **ppv)
{
    return QueryOwnInterface(self, riid, &IID_IClassFactory, ppv);
}

static ULONG STDMETHODCALLTYPE Factory_AddRef(IClassFactory *self)
{
    (void)self;
    return 2;
}

static ULONG STDMETHODCALLTYPE Factory_Release(IClassFactory *self)
{
    (void)self;
    return 1;
}

static HRESULT STDMETHODCALLTYPE Factory_CreateInstance(IClassFactory *self, IUnknown *outer, REFIID riid, void **ppv)
{
    (void)self;
    if (!ppv)
        return E_POINTER;
    *ppv = NULL;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    KsObject *filter = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(*filter));
    if (!filter)
        return E_OUTOFMEMORY;
    filter->vtbl = &kFilterVtbl;
    filter->refs = 1;
    InterlockedIncrement(&g_objects);
    HRESULT hr = Filter_QueryInterface(filter, riid, ppv);
    Filter_Release(filter);
    return hr;
}

static HRESULT STDMETHODCALLTYPE Factory_LockServer(IClassFactory *self, BOOL lock)
{
    (void)self;
    (void)lock;
    return S_OK;
}

static IClassFactoryVtbl kFactoryVtbl = {Factory_QueryInterface, Factory_AddRef, Factory_Release,
                                         Factory_CreateInstance, Factory_LockServer};
static IClassFactory g_factory = {&kFactoryVtbl};

HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv)
{
    if (!IsEqualCLSID(rclsid, &CLSID_VirtualCamera))
        return CLASS_E_CLASSNOTAVAILABLE;
    return Factory_QueryInterface(&g_factory, riid, ppv);
}

HRESULT WINAPI DllCanUnloadNow(void) { return g_objects ? S_FALSE : S_OK; }
