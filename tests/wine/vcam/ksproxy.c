/* Test-only stand-in for ksproxy.ax under Wine, whose own exports
   KsSynchronousDeviceControl only as a stub: the documented behaviour, an
   overlapped DeviceIoControl waited for, with the Win32 error as an HRESULT.
   Loaded instead of Wine's by a DLL override; never shipped. */
#include <windows.h>

HRESULT WINAPI KsSynchronousDeviceControl(HANDLE handle, ULONG ioControl, PVOID in, ULONG inLength, PVOID out,
                                          ULONG outLength, PULONG returned)
{
    OVERLAPPED overlapped;
    DWORD bytes = 0;
    ZeroMemory(&overlapped, sizeof(overlapped));
    overlapped.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!overlapped.hEvent)
        return HRESULT_FROM_WIN32(GetLastError());
    BOOL ok = DeviceIoControl(handle, ioControl, in, inLength, out, outLength, &bytes, &overlapped);
    if (!ok && GetLastError() == ERROR_IO_PENDING)
        ok = GetOverlappedResult(handle, &overlapped, &bytes, TRUE);
    HRESULT hr = ok ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    CloseHandle(overlapped.hEvent);
    if (returned)
        *returned = bytes;
    return hr;
}
