#include "CameraMode.h"
#include "CameraProperty.h"

const char kCameraNamePrefix[] = "Zivo Web Camera";

// Copies one device's friendly name and display name into the entry.
static BOOL ReadDeviceEntry(IMoniker *pMoniker, IMalloc *pMalloc, DeviceEntry *entry)
{
    BOOL ok = FALSE;
    IPropertyBag *pBag = NULL;
    LPOLESTR pszDisplayName = NULL;
    VARIANT name;
    ZeroMemory(&name, sizeof(name));
    name.vt = VT_BSTR;
    name.bstrVal = NULL;

    if (pMoniker->BindToStorage(NULL, NULL, IID_IPropertyBag, (void **)&pBag) != S_OK)
        goto done;
    if (pBag->Read(L"FriendlyName", &name, NULL) != S_OK)
        goto done;
    entry->friendlyName = SysAllocString(name.bstrVal);
    if (entry->friendlyName == NULL)
        goto done;
    SysFreeString(name.bstrVal);
    name.bstrVal = NULL;
    if (pMoniker->GetDisplayName(NULL, NULL, &pszDisplayName) != S_OK)
        goto done;
    entry->displayName = SysAllocString(pszDisplayName);
    if (entry->displayName == NULL)
        goto done;
    pMalloc->Free(pszDisplayName);
    pszDisplayName = NULL;
    ok = TRUE;
done:
    if (pszDisplayName)
        pMalloc->Free(pszDisplayName);
    if (name.vt == VT_BSTR && name.bstrVal)
        SysFreeString(name.bstrVal);
    if (pBag)
        pBag->Release();
    return ok;
}

UINT EnumVideoDevices(DeviceEntry *list, UINT capacity)
{
    UINT count = 0;
    IMalloc *pMalloc = NULL;
    ICreateDevEnum *pDevEnum = NULL;
    IEnumMoniker *pEnum = NULL;

    ZeroMemory(list, capacity * sizeof(DeviceEntry));
    HRESULT hrInit = CoInitialize(NULL);
    // Display names come from the task allocator; without it they could not
    // be freed, so there is nothing to enumerate.
    CoGetMalloc(MEMCTX_TASK, &pMalloc);
    if (pMalloc == NULL)
        goto done;
    if (CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                         (void **)&pDevEnum) != S_OK)
        goto done;
    // S_FALSE means an empty category and gives no enumerator.
    if (pDevEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &pEnum, 0) != S_OK)
        goto done;
    pEnum->Reset();
    while (count < capacity) {
        IMoniker *pMoniker = NULL;
        HRESULT hr = pEnum->Next(1, &pMoniker, NULL);
        BOOL ok = hr == S_OK && pMoniker != NULL && ReadDeviceEntry(pMoniker, pMalloc, &list[count]);
        if (pMoniker)
            pMoniker->Release();
        if (!ok)
            break;
        ++count;
    }
done:
    if (pEnum)
        pEnum->Release();
    if (pDevEnum)
        pDevEnum->Release();
    if (pMalloc)
        pMalloc->Release();
    if (SUCCEEDED(hrInit))
        CoUninitialize();
    return count;
}

void FreeDeviceList(DeviceEntry *list, UINT capacity)
{
    for (UINT i = 0; i < capacity; ++i) {
        SysFreeString(list[i].friendlyName);
        list[i].friendlyName = NULL;
        SysFreeString(list[i].displayName);
        list[i].displayName = NULL;
    }
}

// Judges a name by its own leading characters only, so a name of any length
// that starts with the prefix matches, and nothing is left over from the
// previous device.
static BOOL NameHasCameraPrefix(BSTR friendlyName)
{
    const int prefixLength = lstrlenA(kCameraNamePrefix);
    char leading[100];
    ZeroMemory(leading, sizeof(leading));
    if (friendlyName == NULL)
        return FALSE;
    int chars = (int)SysStringLen(friendlyName);
    if (chars > prefixLength)
        chars = prefixLength;
    // Fifteen units take at most 45 bytes in any ANSI code page (UTF-8, the
    // widest, takes three for a unit and four for a pair): always fits.
    WideCharToMultiByte(CP_ACP, 0, friendlyName, chars, leading, sizeof(leading) - 1, NULL, NULL);
    return _strnicmp(leading, kCameraNamePrefix, prefixLength) == 0;
}

int FindCameraEntry(const DeviceEntry *list, UINT count)
{
    int result = -1;
    for (UINT i = 0; i < count; ++i) {
        if (NameHasCameraPrefix(list[i].friendlyName))
            result = (int)i; // the last match wins
    }
    return result;
}

// Enumerates the devices into list and opens the camera. TRUE leaves camera
// open and valid for the caller to Close; FALSE leaves nothing to close.
// Either way the caller frees the list.
static BOOL OpenCamera(DeviceEntry *list, CCameraProperty *camera)
{
    UINT count = EnumVideoDevices(list, kMaxVideoDevices);
    if (count == 0)
        return FALSE;
    int index = FindCameraEntry(list, count);
    if (index < 0)
        return FALSE;
    camera->Open(list[index].displayName, SysStringLen(list[index].friendlyName));
    if (!camera->m_bValid) {
        camera->Close();
        return FALSE;
    }
    return TRUE;
}

BOOL SetFrequencyMode(FreqMode mode)
{
    DeviceEntry list[kMaxVideoDevices];
    CCameraProperty camera;
    BOOL opened = OpenCamera(list, &camera);
    if (opened) {
        // Only finding and opening the camera decide the result.
        if (IsFreqMode(mode))
            camera.SetProperty(kPropLightFrequency, mode);
        camera.Close();
    }
    FreeDeviceList(list, kMaxVideoDevices);
    return opened;
}

int GetFrequencyMode()
{
    LONG mode = kModeUnknown;
    DeviceEntry list[kMaxVideoDevices];
    CCameraProperty camera;
    if (OpenCamera(list, &camera)) {
        // A refused request leaves kModeUnknown; any value the driver reports
        // is passed on as it is.
        camera.GetProperty(kPropLightFrequency, &mode);
        camera.Close();
    }
    FreeDeviceList(list, kMaxVideoDevices);
    return mode;
}
