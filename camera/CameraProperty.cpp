#include "CameraProperty.h"

#include <stddef.h>

// {9C757C5A-8D95-453C-8284-906A68DC53FA}
const GUID kCameraExtPropertySet = {0x9C757C5A, 0x8D95, 0x453C, {0x82, 0x84, 0x90, 0x6A, 0x68, 0xDC, 0x53, 0xFA}};

static_assert(sizeof(CameraPropertyRecord) == 72, "the driver expects a 72-byte record");
static_assert(offsetof(CameraPropertyRecord, lValue) == 24, "value follows the KSPROPERTY header");
static_assert(offsetof(CameraPropertyRecord, block) == 36, "data block at offset 36");

CCameraProperty *CCameraProperty::Open(LPCOLESTR displayName, UINT /*nameLength*/)
{
    m_hrLast = S_OK;
    m_pMoniker = NULL;
    m_pKsObject = NULL;
    m_hDevice = NULL;
    m_pBindCtx = NULL;
    m_bValid = FALSE;
    ULONG eaten = 0;

    // Close balances only an initialisation that took effect.
    m_bComInitialized = SUCCEEDED(CoInitialize(NULL));

    m_hrLast = CreateBindCtx(0, &m_pBindCtx);
    if (m_hrLast != S_OK)
        goto done;
    m_hrLast = MkParseDisplayName(m_pBindCtx, displayName, &eaten, &m_pMoniker);
    if (m_hrLast != S_OK)
        goto done;
    // The binding is given no bind context; the one made for the parsing is
    // kept, like everything Open obtains, until Close.
    m_hrLast = m_pMoniker->BindToObject(NULL, NULL, IID_IKsObject, (void **)&m_pKsObject);
    if (m_hrLast != S_OK)
        goto done;
    m_hDevice = m_pKsObject->KsGetObjectHandle();
    if (m_hDevice != NULL)
        m_bValid = TRUE;
done:
    if (m_hrLast != S_OK)
        m_bValid = FALSE;
    return this;
}

// A request for property id of the camera's set, every other field zero.
static void StartRecord(CameraPropertyRecord *record, ULONG id, ULONG flags)
{
    ZeroMemory(record, sizeof(*record));
    record->Property.Set = kCameraExtPropertySet;
    record->Property.Id = id;
    record->Property.Flags = flags;
}

BOOL CCameraProperty::SendRequest(CameraPropertyRecord *record)
{
    ULONG returned = 0;
    m_hrLast = KsSynchronousDeviceControl(m_hDevice, IOCTL_KS_PROPERTY, record, sizeof(*record), record,
                                          sizeof(*record), &returned);
    return m_hrLast == S_OK;
}

BOOL CCameraProperty::GetProperty(ULONG id, LONG *value, LONG *second, LONG *third, BYTE *block)
{
    if (!m_bValid)
        return FALSE;
    CameraPropertyRecord record;
    StartRecord(&record, id, KSPROPERTY_TYPE_GET);
    if (!SendRequest(&record))
        return FALSE; // the caller's variables keep their values
    if (value)
        *value = record.lValue;
    if (second)
        *second = record.lSecond;
    if (third)
        *third = record.lThird;
    if (block)
        CopyMemory(block, record.block, sizeof(record.block));
    return TRUE;
}

BOOL CCameraProperty::SetProperty(ULONG id, LONG value, LONG second, LONG third, const BYTE *block)
{
    if (!m_bValid)
        return FALSE;
    CameraPropertyRecord record;
    StartRecord(&record, id, KSPROPERTY_TYPE_SET);
    record.lValue = value;
    record.lSecond = second;
    record.lThird = third;
    if (block)
        CopyMemory(record.block, block, sizeof(record.block));
    return SendRequest(&record);
}

void CCameraProperty::Close()
{
    if (m_pMoniker) {
        m_pMoniker->Release();
        m_pMoniker = NULL;
    }
    if (m_pKsObject) {
        m_pKsObject->Release();
        m_pKsObject = NULL;
    }
    m_hDevice = NULL;
    if (m_pBindCtx) {
        m_pBindCtx->Release();
        m_pBindCtx = NULL;
    }
    m_bValid = FALSE;
    if (m_bComInitialized)
        CoUninitialize();
    m_bComInitialized = FALSE;
}
