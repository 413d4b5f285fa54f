/* Test-only console tool that calls the stand-ins as a program would, run
   under Wine by tests/wine/standins_test.sh:
     check tree          walks the device tree and prints it in the format of
                         devtree.txt, or "locate cr=N" without a tree
     check tree-edges    the documented answers at the edges (the tree the
                         test sets first); prints ok/not ok lines
     check stub NAME     calls an export that Wine leaves unimplemented and
                         prints the exception it raises
     check capture       the capture window's answers; prints ok/not ok lines
     check preview SECS  a preview on a window at (100,100), client (111,111) */
#include <windows.h>

#include <cfgmgr32.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vfw.h>

static int failures;

static void Expect(const char *what, long long got, long long want)
{
    printf("%s - %s", got == want ? "ok" : "not ok", what);
    if (got != want)
        printf(" (got %lld, want %lld)", got, want);
    printf("\n");
    failures += got != want;
}

static void PrintProperty(DEVINST node, ULONG property, const char *name)
{
    char buffer[260];
    ULONG length = sizeof(buffer);
    if (CM_Get_DevNode_Registry_PropertyA(node, property, NULL, buffer, &length, 0) != CR_SUCCESS)
        return;
    for (const char *id = buffer; *id != '\0' && id < buffer + length; id += strlen(id) + 1) {
        printf("|%s=%s", name, id);
        if (property != CM_DRP_HARDWAREID)
            break;
    }
}

static int Tree(void)
{
    DEVINST node, next;
    CONFIGRET cr = CM_Locate_DevNodeA(&node, NULL, CM_LOCATE_DEVNODE_NORMAL);
    if (cr != CR_SUCCESS) {
        printf("locate cr=%lu\n", cr);
        return 0;
    }
    for (int depth = 0;;) {
        printf("%d", depth);
        PrintProperty(node, CM_DRP_DRIVER, "driver");
        PrintProperty(node, CM_DRP_DEVICEDESC, "desc");
        PrintProperty(node, CM_DRP_HARDWAREID, "hwid");
        printf("\n");
        if (CM_Get_Child(&next, node, 0) == CR_SUCCESS) {
            node = next, ++depth;
            continue;
        }
        while (CM_Get_Sibling(&next, node, 0) != CR_SUCCESS) {
            if (CM_Get_Parent(&next, node, 0) != CR_SUCCESS)
                return 0;
            node = next, --depth;
        }
        node = next;
    }
}

/* Expects the tree "0|desc=Root" with one child "1|hwid=A|hwid=BC|desc=D"
   and nothing else. */
static int TreeEdges(void)
{
    DEVINST root = 0, node = 0;
    Expect("locate the root", CM_Locate_DevNodeA(&root, NULL, 0), CR_SUCCESS);
    Expect("locate by the root's ID", CM_Locate_DevNodeA(&node, "HTREE\\ROOT\\0", 0), CR_SUCCESS);
    Expect("locate another ID", CM_Locate_DevNodeA(&node, "USB\\VID_0AC8&PID_0302\\1", 0), CR_NO_SUCH_DEVNODE);
    Expect("locate without a pointer", CM_Locate_DevNodeA(NULL, NULL, 0), CR_INVALID_POINTER);
    Expect("locate with unknown flags", CM_Locate_DevNodeA(&node, NULL, 8), CR_INVALID_FLAG);
    Expect("the root has no parent", CM_Get_Parent(&node, root, 0), CR_NO_SUCH_DEVNODE);
    Expect("nor a sibling", CM_Get_Sibling(&node, root, 0), CR_NO_SUCH_DEVNODE);
    DEVINST child = 0;
    Expect("the root's child", CM_Get_Child(&child, root, 0), CR_SUCCESS);
    Expect("whose parent is the root", CM_Get_Parent(&node, child, 0) == CR_SUCCESS && node == root, 1);
    Expect("the leaf has no child", CM_Get_Child(&node, child, 0), CR_NO_SUCH_DEVNODE);
    Expect("handle 0", CM_Get_Child(&node, 0, 0), CR_INVALID_DEVNODE);
    Expect("a handle past the tree", CM_Get_Sibling(&node, child + 1, 0), CR_INVALID_DEVNODE);
    Expect("a relative with flags", CM_Get_Child(&node, root, 1), CR_INVALID_FLAG);

    char buffer[8];
    ULONG length = 0, type = 0;
    Expect("an absent property", CM_Get_DevNode_Registry_PropertyA(root, CM_DRP_DRIVER, NULL, buffer,
                                                                   &(ULONG){sizeof(buffer)}, 0), CR_NO_SUCH_VALUE);
    Expect("a property not modelled", CM_Get_DevNode_Registry_PropertyA(root, CM_DRP_CLASS, NULL, buffer,
                                                                        &(ULONG){sizeof(buffer)}, 0), CR_NO_SUCH_VALUE);
    Expect("past CM_DRP_MAX", CM_Get_DevNode_Registry_PropertyA(root, CM_DRP_MAX + 1, NULL, buffer, &length, 0),
           CR_INVALID_PROPERTY);
    Expect("no buffer but a length", CM_Get_DevNode_Registry_PropertyA(root, CM_DRP_DEVICEDESC, NULL, NULL,
                                                                       &(ULONG){4}, 0), CR_INVALID_POINTER);
    Expect("the size asked for", CM_Get_DevNode_Registry_PropertyA(child, CM_DRP_HARDWAREID, &type, NULL, &length, 0),
           CR_BUFFER_SMALL);
    Expect("is the REG_MULTI_SZ's", length, sizeof("A\0BC\0"));
    Expect("of that type", type, REG_MULTI_SZ);
    memset(buffer, 'x', sizeof(buffer));
    length = 5;
    Expect("one byte short", CM_Get_DevNode_Registry_PropertyA(child, CM_DRP_HARDWAREID, NULL, buffer, &length, 0),
           CR_BUFFER_SMALL);
    Expect("gives the length", length, 6);
    Expect("and writes nothing", buffer[0], 'x');
    Expect("just fits", CM_Get_DevNode_Registry_PropertyA(child, CM_DRP_HARDWAREID, NULL, buffer, &length, 0),
           CR_SUCCESS);
    Expect("with its terminators", memcmp(buffer, "A\0BC\0\0", 6), 0);
    Expect("the property of no node", CM_Get_DevNode_Registry_PropertyA(7, CM_DRP_DEVICEDESC, NULL, buffer, &length, 0),
           CR_INVALID_DEVNODE);
    return failures != 0;
}

/* Prints the exception a call raises, and ends the process: a stub's is not
   continuable. */
static LONG CALLBACK PrintException(EXCEPTION_POINTERS *pointers)
{
    const EXCEPTION_RECORD *record = pointers->ExceptionRecord;
    printf("exception 0x%08lx flags=%lu", record->ExceptionCode, record->ExceptionFlags);
    if (record->ExceptionCode == 0x80000100 && record->NumberParameters == 2)
        printf(" %s.%s", (const char *)record->ExceptionInformation[0], (const char *)record->ExceptionInformation[1]);
    printf("\n");
    fflush(stdout);
    ExitProcess(3);
}

static int Stub(const char *name)
{
    FARPROC function = GetProcAddress(GetModuleHandleA("cfgmgr32.dll"), name);
    if (function == NULL || !AddVectoredExceptionHandler(1, PrintException))
        return 2;
    function();
    printf("returned\n");
    return 0;
}

typedef BOOL(VFWAPI *GetDescription)(UINT, LPSTR, int, LPSTR, int);
typedef BOOL(VFWAPI *GetDescriptionW)(UINT, LPWSTR, int, LPWSTR, int);
typedef HWND(VFWAPI *CreateCapture)(LPCSTR, DWORD, int, int, int, int, HWND, int);

static HMODULE avicap;

/* An avicap32 export, for the cast to its type. */
typedef void (*Function)(void);
static Function Export(const char *name)
{
    return (Function)GetProcAddress(avicap, name);
}

static HWND NewCaptureWindow(HWND parent)
{
    CreateCapture create = (CreateCapture)Export("capCreateCaptureWindowA");
    return create ? create("", WS_CHILD | WS_VISIBLE, 11, 11, 320, 240, parent, 0) : NULL;
}

/* Expects the drivers " ", "Microsoft WDM Image Capture (Win32)", and the
   driver connecting. */
static int Capture(void)
{
    GetDescription describe = (GetDescription)Export("capGetDriverDescriptionA");
    GetDescriptionW describeW = (GetDescriptionW)Export("capGetDriverDescriptionW");
    char name[8] = "", version[32] = "";
    WCHAR wide[8] = L"";
    if (describe == NULL || describeW == NULL)
        return 1;
    Expect("driver 1 truncated", describe(1, name, sizeof(name), version, sizeof(version)), TRUE);
    Expect("to its buffer", strcmp(name, "Microso"), 0);
    Expect("in bytes for the wide one", describeW(1, wide, 8, NULL, 0) && lstrcmpW(wide, L"Mic") == 0, 1);
    Expect("no driver 2", describe(2, name, sizeof(name), version, sizeof(version)), FALSE);
    Expect("nor 10", describe(10, name, sizeof(name), version, sizeof(version)), FALSE);

    HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 400, 300, NULL, NULL, NULL, NULL);
    HWND window = NewCaptureWindow(parent);
    Expect("a child window", window != NULL && GetParent(window) == parent, 1);
    BITMAPINFO format;
    ZeroMemory(&format, sizeof(format));
    Expect("no format unconnected", SendMessageA(window, WM_CAP_GET_VIDEOFORMAT, sizeof(format), (LPARAM)&format), 0);
    Expect("no preview unconnected", SendMessageA(window, WM_CAP_SET_PREVIEW, TRUE, 0), FALSE);
    Expect("no driver 5 to connect", SendMessageA(window, WM_CAP_DRIVER_CONNECT, 5, 0), FALSE);
    Expect("driver 1 connects", SendMessageA(window, WM_CAP_DRIVER_CONNECT, 1, 0), TRUE);
    Expect("the format's size", SendMessageA(window, WM_CAP_GET_VIDEOFORMAT, 0, 0), sizeof(BITMAPINFOHEADER));
    SendMessageA(window, WM_CAP_GET_VIDEOFORMAT, sizeof(format), (LPARAM)&format);
    Expect("640 wide", format.bmiHeader.biWidth, 640);
    format.bmiHeader.biWidth = 321;
    Expect("a size the camera lacks", SendMessageA(window, WM_CAP_SET_VIDEOFORMAT, sizeof(format), (LPARAM)&format),
           FALSE);
    format.bmiHeader.biWidth = 320;
    format.bmiHeader.biHeight = 240;
    Expect("320 x 240", SendMessageA(window, WM_CAP_SET_VIDEOFORMAT, sizeof(format), (LPARAM)&format), TRUE);
    Expect("a rate", SendMessageA(window, WM_CAP_SET_PREVIEWRATE, 15, 0), TRUE);
    Expect("the preview", SendMessageA(window, WM_CAP_SET_PREVIEW, TRUE, 0), TRUE);
    Expect("disconnects", SendMessageA(window, WM_CAP_DRIVER_DISCONNECT, 0, 0), TRUE);
    Expect("once", SendMessageA(window, WM_CAP_DRIVER_DISCONNECT, 0, 0), FALSE);
    Expect("destroyed", DestroyWindow(window), TRUE);
    DestroyWindow(parent);
    return failures != 0;
}

static int Preview(int seconds)
{
    HWND parent = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 342, 262, NULL, NULL,
                                  NULL, NULL);
    HWND window = NewCaptureWindow(parent);
    BITMAPINFO format;
    ZeroMemory(&format, sizeof(format));
    if (window == NULL || !SendMessageA(window, WM_CAP_DRIVER_CONNECT, 0, 0) ||
        !SendMessageA(window, WM_CAP_GET_VIDEOFORMAT, sizeof(format), (LPARAM)&format))
        return 1;
    format.bmiHeader.biWidth = 320;
    format.bmiHeader.biHeight = 240;
    SendMessageA(window, WM_CAP_SET_VIDEOFORMAT, sizeof(format), (LPARAM)&format);
    SendMessageA(window, WM_CAP_SET_PREVIEWRATE, 15, 0);
    SendMessageA(window, WM_CAP_SET_PREVIEW, TRUE, 0);
    printf("previewing\n");
    fflush(stdout);
    for (DWORD end = GetTickCount() + seconds * 1000; GetTickCount() < end;) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(5);
    }
    DestroyWindow(parent);
    return 0;
}

int main(int argc, char **argv)
{
    avicap = LoadLibraryA("avicap32.dll");
    if (argc == 2 && strcmp(argv[1], "tree") == 0)
        return Tree();
    if (argc == 2 && strcmp(argv[1], "tree-edges") == 0)
        return TreeEdges();
    if (argc == 3 && strcmp(argv[1], "stub") == 0)
        return Stub(argv[2]);
    if (avicap != NULL && argc == 2 && strcmp(argv[1], "capture") == 0)
        return Capture();
    if (avicap != NULL && argc == 3 && strcmp(argv[1], "preview") == 0)
        return Preview(atoi(argv[2]));
    fprintf(stderr, "usage: check tree | tree-edges | stub NAME | capture | preview SECONDS\n");
    return 2;
}
