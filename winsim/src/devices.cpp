// DirectShow's system device enumerator over the scenario's video-input
// devices, their monikers and property bags, and the kernel-streaming filter
// whose handle leads to each device's kernel object.
#include "state.h"

#include <dshow.h>
#include <ksproxy.h>

#include <wchar.h>

namespace sim {
namespace detail {
namespace {

// The index of the device with this display name, or -1 once it is gone.
long DeviceNamed(const std::wstring &displayName)
{
    for (size_t i = 0; i < S().devices.size(); ++i)
        if (S().devices[i].displayName == displayName)
            return (long)i;
    return -1;
}

// "@device:", the kind of device (pnp, cm or sw), a colon and the device's
// own part: the names the system device enumerator gives its monikers.
bool IsDeviceDisplayName(const std::wstring &name)
{
    for (const wchar_t *kind : {L"@device:pnp:", L"@device:cm:", L"@device:sw:"}) {
        size_t length = wcslen(kind);
        if (name.size() > length && name.compare(0, length, kind) == 0)
            return true;
    }
    return false;
}

class PropertyBag : public Object<IPropertyBag> {
public:
    explicit PropertyBag(size_t device) : Object<IPropertyBag>("IPropertyBag", IID_IPropertyBag), device_(device) {}
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT *var, IErrorLog *) override
    {
        HRESULT failure;
        if (Enter(Call::PropertyBagRead, &failure))
            return failure;
        if (name == NULL || var == NULL)
            return E_POINTER;
        if (std::wstring(name) != L"FriendlyName" || device_ >= S().devices.size())
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        if (var->vt != VT_BSTR && var->vt != VT_EMPTY)
            return DISP_E_TYPEMISMATCH;
        var->vt = VT_BSTR;
        var->bstrVal = AllocBstr(S().devices[device_].friendlyName.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT *) override { return E_NOTIMPL; }

private:
    size_t device_;
};

// The device's capture filter; its handle leads to the device's kernel
// object while the filter lives.
class KsFilter : public Object<IKsObject> {
public:
    explicit KsFilter(size_t device) : Object<IKsObject>("IKsObject", IID_IKsObject)
    {
        handle_ = (HANDLE)S().nextHandle;
        S().nextHandle += 4;
        S().deviceHandles[handle_] = S().devices[device].device;
    }
    ~KsFilter() override { S().deviceHandles.erase(handle_); }
    HANDLE STDMETHODCALLTYPE KsGetObjectHandle() override
    {
        if (Enter(Call::KsGetObjectHandle, NULL))
            return NULL;
        ++S().succeeded.handlesIssued;
        return handle_;
    }

private:
    HANDLE handle_;
};

// A device moniker names its device; binding finds the device, if it is
// still there.
class DeviceMoniker : public Object<IMoniker> {
public:
    explicit DeviceMoniker(const std::wstring &displayName)
        : Object<IMoniker>("IMoniker", IID_IMoniker), displayName_(displayName)
    {
    }

    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx *pbc, IMoniker *, REFIID riid, void **ppv) override
    {
        long device = -1;
        HRESULT hr = StartBinding(Call::BindToObject, ppv, &device);
        S().bindContexts.push_back(pbc);
        if (hr != S_OK)
            return hr;
        KsFilter *filter = new KsFilter((size_t)device);
        hr = filter->QueryInterface(riid, ppv);
        filter->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx *, IMoniker *, REFIID riid, void **ppv) override
    {
        long device = -1;
        HRESULT hr = StartBinding(Call::BindToStorage, ppv, &device);
        if (hr != S_OK)
            return hr;
        PropertyBag *bag = new PropertyBag((size_t)device);
        hr = bag->QueryInterface(riid, ppv);
        bag->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx *, IMoniker *, LPOLESTR *ppsz) override
    {
        HRESULT failure;
        if (ppsz == NULL)
            return E_POINTER;
        *ppsz = NULL;
        if (Enter(Call::GetDisplayName, &failure))
            return failure;
        *ppsz = (LPOLESTR)AllocTaskBlock((displayName_.size() + 1) * sizeof(OLECHAR));
        memcpy(*ppsz, displayName_.c_str(), (displayName_.size() + 1) * sizeof(OLECHAR));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IStream *, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reduce(IBindCtx *, DWORD, IMoniker **, IMoniker **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker *, BOOL, IMoniker **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Enum(BOOL, IEnumMoniker **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsEqual(IMoniker *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Hash(DWORD *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx *, IMoniker *, IMoniker *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx *, IMoniker *, FILETIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Inverse(IMoniker **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker *, IMoniker **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker *, IMoniker **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx *, IMoniker *, LPOLESTR, ULONG *, IMoniker **) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD *) override { return E_NOTIMPL; }

private:
    // What every binding checks first; S_OK with the device found.
    HRESULT StartBinding(Call call, void **ppv, long *device)
    {
        HRESULT failure;
        if (ppv == NULL)
            return E_POINTER;
        *ppv = NULL;
        if (Enter(call, &failure))
            return failure;
        if (ApartmentDepth() == 0)
            return CO_E_NOTINITIALIZED;
        *device = DeviceNamed(displayName_);
        return *device < 0 ? MK_E_NOOBJECT : S_OK;
    }

    std::wstring displayName_;
};

class DeviceEnumerator : public Object<IEnumMoniker> {
public:
    DeviceEnumerator() : Object<IEnumMoniker>("IEnumMoniker", IID_IEnumMoniker) {}
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker **rgelt, ULONG *fetched) override
    {
        HRESULT failure;
        if (rgelt == NULL || (celt != 1 && fetched == NULL))
            return E_INVALIDARG;
        if (Enter(Call::EnumNext, &failure))
            return failure;
        ULONG got = 0;
        while (got < celt && position_ < S().devices.size())
            rgelt[got++] = new DeviceMoniker(S().devices[position_++].displayName);
        if (fetched)
            *fetched = got;
        return got == celt ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override
    {
        position_ += celt;
        return position_ <= S().devices.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        HRESULT failure;
        if (Enter(Call::EnumReset, &failure))
            return failure;
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumMoniker **) override { return E_NOTIMPL; }

private:
    size_t position_ = 0;
};

class SystemDeviceEnum : public Object<ICreateDevEnum> {
public:
    SystemDeviceEnum() : Object<ICreateDevEnum>("ICreateDevEnum", IID_ICreateDevEnum) {}
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker **ppEnum, DWORD flags) override
    {
        HRESULT failure;
        if (ppEnum == NULL)
            return E_POINTER;
        *ppEnum = NULL;
        if (Enter(Call::CreateClassEnumerator, &failure))
            return failure;
        // With any flag set only the filters the flags name are listed; the
        // devices here are all Plug and Play hardware.
        const DWORD kPnpDevices = 0x40; // CDEF_DEVMON_PNP_DEVICE
        bool listed = flags == 0 || (flags & kPnpDevices) != 0;
        // An empty or unknown category answers S_FALSE and no enumerator.
        if (category != CLSID_VideoInputDeviceCategory || S().devices.empty() || !listed)
            return S_FALSE;
        *ppEnum = new DeviceEnumerator;
        return S_OK;
    }
};

} // namespace
} // namespace detail

using namespace detail;

HRESULT KsDevice::Property(const BYTE *, ULONG, BYTE *, ULONG, ULONG *)
{
    return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
}

size_t AddVideoDevice(const std::wstring &friendlyName, const std::wstring &displayName,
                      std::shared_ptr<KsDevice> device)
{
    VideoDevice added = {friendlyName, displayName, device ? device : std::make_shared<KsDevice>()};
    if (added.displayName.empty()) {
        added.displayName = L"@device:pnp:\\\\?\\usb#vid_sim&pid_" + std::to_wstring(S().nextDevice++) +
                            L"#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
    }
    S().devices.push_back(added);
    return S().devices.size() - 1;
}

void RemoveVideoDevice(const std::wstring &displayName)
{
    long index = DeviceNamed(displayName);
    if (index >= 0)
        S().devices.erase(S().devices.begin() + index);
}

VideoDevice &Device(size_t index) { return S().devices.at(index); }
size_t DeviceCount() { return S().devices.size(); }

} // namespace sim

using namespace sim;
using namespace sim::detail;

HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN outer, DWORD context, REFIID riid, LPVOID *ppv)
{
    HRESULT failure;
    if (ppv == NULL)
        return E_POINTER;
    *ppv = NULL;
    if (Enter(Call::CoCreateInstance, &failure))
        return failure;
    if (ApartmentDepth() == 0)
        return CO_E_NOTINITIALIZED;
    if (rclsid != CLSID_SystemDeviceEnum || !(context & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    if (outer != NULL)
        return E_INVALIDARG; // CLASS_E_NOAGGREGATION in spirit
    SystemDeviceEnum *devEnum = new SystemDeviceEnum;
    HRESULT hr = devEnum->QueryInterface(riid, ppv);
    devEnum->Release();
    return hr;
}

HRESULT WINAPI MkParseDisplayName(LPBC pbc, LPCOLESTR name, ULONG *eaten, LPMONIKER *ppmk)
{
    HRESULT failure;
    if (pbc == NULL || name == NULL || *name == 0 || eaten == NULL || ppmk == NULL)
        return E_INVALIDARG; // nothing is written
    *ppmk = NULL;
    *eaten = 0;
    if (Enter(Call::MkParseDisplayName, &failure))
        return failure;
    // "@device:" names the device enumerator's parser, a COM object; a name
    // it does not take, or one no parser takes, is a syntax error. Parsing
    // does not look for the device: that is binding's business.
    std::wstring displayName(name);
    if (displayName.compare(0, 8, L"@device:") == 0 && ApartmentDepth() == 0)
        return CO_E_NOTINITIALIZED;
    if (!IsDeviceDisplayName(displayName))
        return MK_E_SYNTAX;
    *eaten = (ULONG)displayName.size();
    *ppmk = new DeviceMoniker(displayName);
    return S_OK;
}

HRESULT WINAPI KsSynchronousDeviceControl(HANDLE handle, ULONG ioControl, PVOID in, ULONG inLength, PVOID out,
                                          ULONG outLength, PULONG returned)
{
    HRESULT failure;
    if (Enter(Call::KsSynchronousDeviceControl, &failure))
        return failure;
    auto device = S().deviceHandles.find(handle);
    if (device == S().deviceHandles.end()) {
        ReportMisuse("device request on a handle no live filter owns");
        return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
    }
    if (returned == NULL) {
        // The count is written unconditionally: on Windows this would crash.
        ReportMisuse("KsSynchronousDeviceControl without BytesReturned");
        return E_POINTER;
    }
    if (ioControl != IOCTL_KS_PROPERTY)
        return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
    if (in == NULL || inLength < sizeof(KSPROPERTY))
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    KsDevice &target = *device->second;
    DeviceRequest request = {{}, inLength, outLength, in, out, returned};
    memcpy(request.bytes.data(), in, inLength < request.bytes.size() ? inLength : request.bytes.size());
    target.requests.push_back(request);
    // The count is written on success only, as ReactOS's ksproxy and
    // DeviceIoControl do; a failure leaves what the caller had there.
    ULONG count = 0;
    HRESULT hr = target.Property((const BYTE *)in, inLength, (BYTE *)out, outLength, &count);
    if (SUCCEEDED(hr))
        *returned = count;
    return hr;
}
