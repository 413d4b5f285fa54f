/* Test-only console tool that installs and steers the virtual camera:
     vcamctl install PATH\vcam.sys   create and start its driver service
     vcamctl log | count | clear     the requests the driver received
     vcamctl value N                 the value a GET answers from now on
     vcamctl time-bare RUNS          times the bare device request (a SET)
     vcamctl time-pick RUNS TITLE... times a Japan pick in each window in
                                     turn until the driver sees its SET */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "res/resource.h"
#include "vcam.h"

static HANDLE OpenCamera(DWORD flags)
{
    return CreateFileA(VCAM_WIN32_NAME, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, flags, NULL);
}

static int Control(DWORD code, void *in, DWORD inLength, void *out, DWORD outLength, DWORD *returned)
{
    HANDLE device = OpenCamera(0);
    if (device == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot open the virtual camera: %lu\n", GetLastError());
        return 0;
    }
    BOOL ok = DeviceIoControl(device, code, in, inLength, out, outLength, returned, NULL);
    CloseHandle(device);
    return ok;
}

static int Install(const char *path)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return 1;
    SC_HANDLE service = CreateServiceA(manager, "LumetraVirtualCamera", "Lumetra virtual camera", SERVICE_ALL_ACCESS,
                                       SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, path,
                                       NULL, NULL, NULL, NULL, NULL);
    if (!service)
        service = OpenServiceA(manager, "LumetraVirtualCamera", SERVICE_ALL_ACCESS);
    /* Right after the prefix starts, the service database may still be locked. */
    int ok = 0;
    for (int tries = 0; service && !ok && tries < 100; ++tries) {
        ok = StartServiceA(service, 0, NULL) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING;
        if (!ok && GetLastError() != ERROR_SERVICE_DATABASE_LOCKED)
            break;
        if (!ok)
            Sleep(100);
    }
    if (!ok)
        fprintf(stderr, "cannot start the driver: %lu\n", GetLastError());
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return ok ? 0 : 1;
}

/* How many requests the driver logged, or -1 when it cannot be asked. */
static long LogCount(HANDLE device)
{
    ULONG count = 0;
    DWORD returned;
    if (!DeviceIoControl(device, VCAM_IOCTL_LOG_COUNT, NULL, 0, &count, sizeof(count), &returned, NULL))
        return -1;
    return (long)count;
}

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

/* One SET of 2, as Lumetra sends it, straight to the device. */
static double TimeBareRequest(HANDLE device)
{
    static const UCHAR set[16] = VCAM_PROPERTY_SET_BYTES;
    UCHAR record[72] = {0};
    memcpy(record, set, 16);
    record[16] = VCAM_LIGHT_FREQUENCY;
    record[20] = 2;
    record[24] = 2;
    OVERLAPPED overlapped = {0};
    overlapped.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD returned;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    BOOL ok = DeviceIoControl(device, VCAM_IOCTL_KS_PROPERTY, record, sizeof(record), record, sizeof(record),
                              &returned, &overlapped);
    if (!ok && GetLastError() == ERROR_IO_PENDING)
        ok = GetOverlappedResult(device, &overlapped, &returned, TRUE);
    QueryPerformanceCounter(&end);
    CloseHandle(overlapped.hEvent);
    return ok ? Milliseconds(start, end) : -1;
}

static int TimeBare(int runs)
{
    HANDLE device = OpenCamera(FILE_FLAG_OVERLAPPED);
    if (device == INVALID_HANDLE_VALUE)
        return 1;
    for (int i = 0; i < runs; ++i)
        printf("bare %.3f\n", TimeBareRequest(device));
    CloseHandle(device);
    return 0;
}

/* Posts the Japan command to each of the windows in turn, runs times, and
   waits for each SET to reach the driver; one line per pick: the window's
   position in the list and the milliseconds, -1 when no SET came. */
static int TimePick(int runs, int count, char **titles)
{
    HANDLE device = OpenCamera(0);
    if (device == INVALID_HANDLE_VALUE || LogCount(device) < 0)
        return 1;
    for (int i = 0; i < runs; ++i) {
        for (int w = 0; w < count; ++w) {
            HWND window = FindWindowA(NULL, titles[w]);
            long before = LogCount(device);
            LARGE_INTEGER start, now;
            QueryPerformanceCounter(&start);
            if (!window || !PostMessageA(window, WM_COMMAND, ID_COUNTRY_JAPAN, 0)) {
                CloseHandle(device);
                return 1;
            }
            int seen = 0;
            for (int polls = 0; polls < 100000 && !seen; ++polls)
                seen = LogCount(device) > before;
            QueryPerformanceCounter(&now);
            printf("pick %d %.3f\n", w, seen ? Milliseconds(start, now) : -1.0);
            Sleep(20);
        }
    }
    CloseHandle(device);
    return 0;
}

int main(int argc, char **argv)
{
    const char *what = argc > 1 ? argv[1] : "";
    DWORD returned;
    if (strcmp(what, "install") == 0 && argc > 2)
        return Install(argv[2]);
    if (strcmp(what, "log") == 0) {
        static char log[VCAM_LOG_SIZE + 1];
        if (!Control(VCAM_IOCTL_READ_LOG, NULL, 0, log, VCAM_LOG_SIZE, &returned))
            return 1;
        fwrite(log, 1, returned, stdout);
        return 0;
    }
    if (strcmp(what, "count") == 0) {
        ULONG count;
        if (!Control(VCAM_IOCTL_LOG_COUNT, NULL, 0, &count, sizeof(count), &returned))
            return 1;
        printf("%lu\n", count);
        return 0;
    }
    if (strcmp(what, "clear") == 0)
        return Control(VCAM_IOCTL_CLEAR_LOG, NULL, 0, NULL, 0, &returned) ? 0 : 1;
    if (strcmp(what, "value") == 0 && argc > 2) {
        LONG value = atol(argv[2]);
        return Control(VCAM_IOCTL_SET_VALUE, &value, sizeof(value), NULL, 0, &returned) ? 0 : 1;
    }
    if (strcmp(what, "time-bare") == 0 && argc > 2)
        return TimeBare(atoi(argv[2]));
    if (strcmp(what, "time-pick") == 0 && argc > 3)
        return TimePick(atoi(argv[2]), argc - 3, argv + 3);
    fprintf(stderr, "usage: vcamctl install PATH | log | count | clear | value N | time-bare N | time-pick N TITLE...\n");
    return 2;
}
