// Test-only baselines for the benchmarks: the least a program can do to
// make the calls Lumetra makes, with none of Lumetra's own code.
//   bare_camera startup - Lumetra's dialog template whose initialisation
//                         initialises COM, enumerates the video-input
//                         devices once and reads the camera's light
//                         frequency, before the window shows
//   bare_camera click   - the same dialog, titled "Lumetra bare click",
//                         that answers the Japan command with the sequence
//                         one pick requires: enumerate, find the camera by
//                         name, parse its display name, bind its filter,
//                         one SET request
#include "camera/KsApi.h"
#include "res/resource.h"

#include <string.h>

namespace {

const GUID kCameraSet = {0x9C757C5A, 0x8D95, 0x453C, {0x82, 0x84, 0x90, 0x6A, 0x68, 0xDC, 0x53, 0xFA}};
const char kCameraName[] = "Zivo Web Camera";

// The display name of the last video-input device named like the camera,
// to be freed with CoTaskMemFree; NULL when there is none.
LPOLESTR FindCamera()
{
    LPOLESTR found = NULL;
    ICreateDevEnum *devices = NULL;
    IEnumMoniker *monikers = NULL;
    IMoniker *moniker = NULL;
    if (CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                         (void **)&devices) != S_OK ||
        devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK)
        goto done;
    while (monikers->Next(1, &moniker, NULL) == S_OK) {
        IPropertyBag *bag = NULL;
        VARIANT name;
        VariantInit(&name);
        name.vt = VT_BSTR;
        char ansi[100] = "";
        if (moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, (void **)&bag) == S_OK &&
            bag->Read(L"FriendlyName", &name, NULL) == S_OK &&
            WideCharToMultiByte(CP_ACP, 0, name.bstrVal, -1, ansi, sizeof(ansi) - 1, NULL, NULL) &&
            _strnicmp(ansi, kCameraName, strlen(kCameraName)) == 0) {
            if (found)
                CoTaskMemFree(found);
            found = NULL;
            moniker->GetDisplayName(NULL, NULL, &found);
        }
        VariantClear(&name);
        if (bag)
            bag->Release();
        moniker->Release();
    }
done:
    if (monikers)
        monikers->Release();
    if (devices)
        devices->Release();
    return found;
}

// Parses the display name, binds the camera's filter and sends one request
// of the light-frequency property.
BOOL RequestLightFrequency(LPCOLESTR displayName, ULONG flags, LONG *value)
{
    BOOL ok = FALSE;
    IBindCtx *context = NULL;
    IMoniker *moniker = NULL;
    IKsObject *filter = NULL;
    ULONG eaten = 0, returned = 0;
    BYTE record[72] = {};
    KSPROPERTY *property = (KSPROPERTY *)record;
    if (CreateBindCtx(0, &context) != S_OK || MkParseDisplayName(context, displayName, &eaten, &moniker) != S_OK ||
        moniker->BindToObject(NULL, NULL, IID_IKsObject, (void **)&filter) != S_OK)
        goto done;
    property->Set = kCameraSet;
    property->Id = 15;
    property->Flags = flags;
    memcpy(record + 24, value, sizeof(*value));
    ok = KsSynchronousDeviceControl(filter->KsGetObjectHandle(), IOCTL_KS_PROPERTY, record, sizeof(record), record,
                                    sizeof(record), &returned) == S_OK;
    memcpy(value, record + 24, sizeof(*value));
done:
    if (filter)
        filter->Release();
    if (moniker)
        moniker->Release();
    if (context)
        context->Release();
    return ok;
}

// COM is initialised around the enumeration and again around the open
// camera, as Lumetra does: never for the whole run.
void UseCamera(ULONG flags, LONG value)
{
    CoInitialize(NULL);
    LPOLESTR camera = FindCamera();
    CoUninitialize();
    if (camera) {
        CoInitialize(NULL);
        RequestLightFrequency(camera, flags, &value);
        CoUninitialize();
        CoTaskMemFree(camera);
    }
}

bool g_click;

INT_PTR CALLBACK BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        if (g_click)
            SetWindowTextA(hwnd, "Lumetra bare click");
        else
            UseCamera(KSPROPERTY_TYPE_GET, 0);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    if (LOWORD(wParam) == ID_COUNTRY_JAPAN && g_click)
        UseCamera(KSPROPERTY_TYPE_SET, 2);
    if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)
        EndDialog(hwnd, LOWORD(wParam));
    return TRUE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command, int)
{
    g_click = strcmp(command, "click") == 0;
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), NULL, BareProc, 0);
}
