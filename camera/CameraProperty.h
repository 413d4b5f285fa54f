// One open connection to the camera's kernel-streaming filter, through which
// properties of the camera driver's own property set are read and written.
#pragma once

#include "KsApi.h"

// The camera driver's extension property set.
extern const GUID kCameraExtPropertySet;

// Light-frequency compensation: 0 outdoor, 1 for 50 Hz, 2 for 60 Hz.
const ULONG kPropLightFrequency = 15;

// The request record sent to the driver, used as both input and output.
struct CameraPropertyRecord {
    KSPROPERTY Property;
    LONG lValue;
    LONG lSecond;
    LONG lThird;
    BYTE block[32];
    DWORD dwTrailing;
};

class CCameraProperty {
public:
    // Success is read from m_bValid. The caller passes the length of the
    // device's friendly name as well; opening does not need it.
    CCameraProperty *Open(LPCOLESTR displayName, UINT nameLength = 0);
    BOOL GetProperty(ULONG id, LONG *value, LONG *second = NULL, LONG *third = NULL, BYTE *block = NULL);
    BOOL SetProperty(ULONG id, LONG value, LONG second = 0, LONG third = 0, const BYTE *block = NULL);
    // Required after every Open, successful or not: Open initialises COM.
    void Close();

    BOOL m_bValid = FALSE;
    HRESULT m_hrLast = S_OK;
    IMoniker *m_pMoniker = NULL;
    IKsObject *m_pKsObject = NULL;
    HANDLE m_hDevice = NULL; // belongs to the filter object, never closed here
    IBindCtx *m_pBindCtx = NULL;

private:
    BOOL SendRequest(CameraPropertyRecord *record);

    BOOL m_bComInitialized = FALSE;
};
