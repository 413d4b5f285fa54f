// DirectShow's system device enumerator over the scenario's video-input
// devices, their monikers and property bags, and the kernel-streaming filter
// that leads to each device's driver.
#include "state.h"

#include <dshow.h>
#include <ksproxy.h>

namespace sim {
namespace detail {
namespace {

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

// The device's capture filter; its handle leads to the device's driver while
// the filter lives.
class KsFilter : public Object<IKsObject> {
public:
    explicit KsFilter(size_t device) : Object<IKsObject>("IKsObject", IID_IKsObject)
    {
        handle_ = (HANDLE)S().nextHandle;
        S().nextHandle += 4;
        S().deviceHandles[handle_] = device;
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

class DeviceMoniker : public Object<IMoniker> {
public:
    explicit DeviceMoniker(size_t device) : Object<IMoniker>("IMoniker", IID_IMoniker), device_(device) {}

    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx *, IMoniker *, REFIID riid, void **ppv) override
    {
        HRESULT failure;
        if (ppv == NULL)
            return E_POINTER;
        *ppv = NULL;
        if (Enter(Call::BindToObject, &failure))
            return failure;
        if (device_ >= S().devices.size())
            return MK_E_NOOBJECT; // unplugged since the name was parsed
        KsFilter *filter = new KsFilter(device_);
        HRESULT hr = filter->QueryInterface(riid, ppv);
        filter->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx *, IMoniker *, REFIID riid, void **ppv) override
    {
        HRESULT failure;
        if (ppv == NULL)
            return E_POINTER;
        *ppv = NULL;
        if (Enter(Call::BindToStorage, &failure))
            return failure;
        PropertyBag *bag = new PropertyBag(device_);
        HRESULT hr = bag->QueryInterface(riid, ppv);
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
        if (device_ >= S().devices.size())
            return E_FAIL;
        const std::wstring &name = S().devices[device_].displayName;
        *ppsz = (LPOLESTR)AllocTaskBlock((name.size() + 1) * sizeof(OLECHAR));
        memcpy(*ppsz, name.c_str(), (name.size() + 1) * sizeof(OLECHAR));
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
    size_t device_;
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
            rgelt[got++] = new DeviceMoniker(position_++);
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
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker **ppEnum, DWORD) override
    {
        HRESULT failure;
        if (ppEnum == NULL)
            return E_POINTER;
        *ppEnum = NULL;
        if (Enter(Call::CreateClassEnumerator, &failure))
            return failure;
        // An empty or unknown category answers S_FALSE and no enumerator.
        if (category != CLSID_VideoInputDeviceCategory || S().devices.empty())
            return S_FALSE;
        *ppEnum = new DeviceEnumerator;
        return S_OK;
    }
};

} // namespace
} // namespace detail
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
    if (ppmk == NULL || eaten == NULL)
        return E_POINTER;
    *ppmk = NULL;
    *eaten = 0;
    if (Enter(Call::MkParseDisplayName, &failure))
        return failure;
    if (pbc == NULL || name == NULL)
        return E_INVALIDARG;
    for (size_t i = 0; i < S().devices.size(); ++i) {
        if (S().devices[i].displayName == name) {
            *eaten = (ULONG)S().devices[i].displayName.size();
            *ppmk = new DeviceMoniker(i);
            return S_OK;
        }
    }
    return MK_E_SYNTAX;
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
    if (ioControl != IOCTL_KS_PROPERTY)
        return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
    ULONG ignored;
    return DriverRequest(S().devices.at(device->second).driver, (const BYTE *)in, inLength, (BYTE *)out, outLength,
                         returned ? returned : &ignored);
}
