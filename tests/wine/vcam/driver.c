/* Test-only kernel driver of the virtual camera: answers IOCTL_KS_PROPERTY
   for the camera's light-frequency property, GET and SET, keeping the value,
   refuses anything else, and logs every property request it receives. */
#include <ntddk.h>

#include "vcam.h"

static const UCHAR kPropertySet[16] = VCAM_PROPERTY_SET_BYTES;
static LONG g_value = 2;
static char g_log[VCAM_LOG_SIZE];
static ULONG g_logLength;
static ULONG g_logCount;

static ULONG ReadU32(const UCHAR *p) { return p[0] | p[1] << 8 | p[2] << 16 | (ULONG)p[3] << 24; }

static void AppendNumber(char *line, ULONG *at, ULONG value, int hex)
{
    char digits[12];
    int n = 0;
    do {
        ULONG d = value % (hex ? 16 : 10);
        digits[n++] = (char)(d < 10 ? '0' + d : 'A' + d - 10);
        value /= hex ? 16 : 10;
    } while (value && n < 12);
    while (n)
        line[(*at)++] = digits[--n];
}

static void AppendText(char *line, ULONG *at, const char *text)
{
    while (*text)
        line[(*at)++] = *text++;
}

/* One line per request: "set=<first four bytes> id=15 flags=2 value=2". */
static void LogRequest(const UCHAR *request, ULONG length)
{
    char line[96];
    ULONG at = 0;
    AppendText(line, &at, "set=");
    AppendNumber(line, &at, length >= 4 ? ReadU32(request) : 0, 1);
    AppendText(line, &at, RtlCompareMemory(request, kPropertySet, 16) == 16 ? "(camera)" : "(other)");
    AppendText(line, &at, " id=");
    AppendNumber(line, &at, length >= 20 ? ReadU32(request + 16) : 0, 0);
    AppendText(line, &at, " flags=");
    AppendNumber(line, &at, length >= 24 ? ReadU32(request + 20) : 0, 0);
    AppendText(line, &at, " value=");
    LONG value = length >= 28 ? (LONG)ReadU32(request + 24) : 0;
    if (value < 0) {
        line[at++] = '-';
        value = -value;
    }
    AppendNumber(line, &at, (ULONG)value, 0);
    line[at++] = '\n';
    if (g_logLength + at < sizeof(g_log)) {
        RtlCopyMemory(g_log + g_logLength, line, at);
        g_logLength += at;
    }
    ++g_logCount;
}

static NTSTATUS KsProperty(PIO_STACK_LOCATION stack, PIRP irp)
{
    const UCHAR *in = stack->Parameters.DeviceIoControl.Type3InputBuffer;
    ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    UCHAR *out = irp->UserBuffer;
    ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    if (in == NULL || inLength < 24)
        return STATUS_INVALID_PARAMETER;
    LogRequest(in, inLength);
    if (RtlCompareMemory(in, kPropertySet, 16) != 16)
        return STATUS_NOT_FOUND;
    if (ReadU32(in + 16) != VCAM_LIGHT_FREQUENCY)
        return STATUS_NOT_FOUND;
    switch (ReadU32(in + 20)) {
    case 1: /* KSPROPERTY_TYPE_GET */
        if (out == NULL || outLength < 28)
            return STATUS_BUFFER_TOO_SMALL;
        RtlCopyMemory(out + 24, &g_value, sizeof(g_value));
        irp->IoStatus.Information = outLength;
        return STATUS_SUCCESS;
    case 2: /* KSPROPERTY_TYPE_SET */
        if (inLength < 28)
            return STATUS_BUFFER_TOO_SMALL;
        g_value = (LONG)ReadU32(in + 24);
        return STATUS_SUCCESS;
    default:
        return STATUS_INVALID_PARAMETER;
    }
}

static NTSTATUS TestControl(ULONG code, PIRP irp, ULONG inLength, ULONG outLength)
{
    void *buffer = irp->AssociatedIrp.SystemBuffer;
    switch (code) {
    case VCAM_IOCTL_READ_LOG: {
        ULONG n = g_logLength < outLength ? g_logLength : outLength;
        RtlCopyMemory(buffer, g_log, n);
        irp->IoStatus.Information = n;
        return STATUS_SUCCESS;
    }
    case VCAM_IOCTL_LOG_COUNT:
        if (outLength < sizeof(ULONG))
            return STATUS_BUFFER_TOO_SMALL;
        *(ULONG *)buffer = g_logCount;
        irp->IoStatus.Information = sizeof(ULONG);
        return STATUS_SUCCESS;
    case VCAM_IOCTL_CLEAR_LOG:
        g_logLength = 0;
        g_logCount = 0;
        return STATUS_SUCCESS;
    case VCAM_IOCTL_SET_VALUE:
        if (inLength < sizeof(LONG))
            return STATUS_BUFFER_TOO_SMALL;
        g_value = *(LONG *)buffer;
        return STATUS_SUCCESS;
    }
    return STATUS_INVALID_DEVICE_REQUEST;
}

static NTSTATUS WINAPI DispatchControl(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    NTSTATUS status;
    (void)device;
    irp->IoStatus.Information = 0;
    if (code == VCAM_IOCTL_KS_PROPERTY)
        status = KsProperty(stack, irp);
    else
        status = TestControl(code, irp, stack->Parameters.DeviceIoControl.InputBufferLength,
                             stack->Parameters.DeviceIoControl.OutputBufferLength);
    irp->IoStatus.Status = status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS WINAPI DispatchOpenClose(PDEVICE_OBJECT device, PIRP irp)
{
    (void)device;
    irp->IoStatus.Status = STATUS_SUCCESS;
    irp->IoStatus.Information = 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return STATUS_SUCCESS;
}

static void WINAPI Unload(PDRIVER_OBJECT driver)
{
    UNICODE_STRING link;
    RtlInitUnicodeString(&link, VCAM_LINK_NAME);
    IoDeleteSymbolicLink(&link);
    IoDeleteDevice(driver->DeviceObject);
}

NTSTATUS WINAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    UNICODE_STRING name, link;
    PDEVICE_OBJECT device;
    NTSTATUS status;
    (void)registryPath;
    RtlInitUnicodeString(&name, VCAM_DEVICE_NAME);
    RtlInitUnicodeString(&link, VCAM_LINK_NAME);
    status = IoCreateDevice(driver, 0, &name, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
    if (!NT_SUCCESS(status))
        return status;
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
    driver->DriverUnload = Unload;
    return STATUS_SUCCESS;
}
