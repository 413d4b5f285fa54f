// Facts about the Windows calls Lumetra makes, each written once and run on
// the simulated Windows and under Windows or Wine (see facts.h). Where Wine
// is known to differ from Windows, todo_wine says so, with the evidence: a
// Wine conformance test that ran on Windows, or Microsoft's page. Groups
// about what Wine does not implement run on the host only, or under Wine
// against the test-only stand-ins where the Wine tests have them.
#define STRSAFE_NO_DEPRECATE // dshow.h's strsafe.h would rename the calls under test
#include "facts.h"

#include <dbt.h>
#include <dshow.h>
#include <stdlib.h>
#include <vfw.h>

#include <limits.h>
#include <wchar.h>

#include <string>
#include <vector>

#include "res/resource.h"

#include <cfgmgr32.h>
#ifndef _WIN32
#include <ksproxy.h>
#endif

namespace {

// A GUID nothing registers: no class, no device category, no property set.
const GUID kNobodysGuid = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

// --- KERNEL32 and the C runtime -------------------------------------------------

// lstrlen's and lstrcpyn's pages; lstrcmp's (CompareStringEx in the thread's
// locale) and kernel32/tests/locale.c, test_CompareStringA: lstrcmpA's NULLs,
// "aa" before "AB", "aaa" before "AAA"; _itoa's page.
void Strings()
{
    char buffer[8] = "";
    const int lengths[] = {lstrlenA("Zivo"), lstrlenA(NULL), lstrlenW(L"Zivo"), lstrlenW(NULL)};
    ok_each(lengths, {4, 0, 4, 0}, "lstrlenA and lstrlenW count up to the terminator, and NULL as empty");
    // The sign of each answer: lstrcmpA answers no particular magnitude.
    const int order[] = {lstrcmpA("a", "b"), lstrcmpA(" ", " "), lstrcmpA("x", "xy"), lstrcmpA("a", "B"),
                         lstrcmpA("a", "A"), lstrcmpA("B", "a"), lstrcmpA("", NULL), lstrcmpA(NULL, "")};
    const int signs[] = {-1, 0, -1, -1, -1, 1, 1, -1};
    for (int i = 0; i < 8; ++i)
        ok((order[i] > 0) - (order[i] < 0) == signs[i],
           "lstrcmpA sorts letters alphabetically first, lower case before upper case, NULL before \"\" (%d): got %d",
           i, order[i]);
    char *copy = lstrcpyA(buffer, "Zivo");
    ok(copy == buffer, "lstrcpyA copies and answers the buffer: got %p, not %p", (void *)copy, (void *)buffer);
    ok(!strcmp(buffer, "Zivo"), "lstrcpyA copies and answers the buffer: got \"%s\"", buffer);
    const char *cut = "lstrcpynA copies one less than its limit, terminated";
    copy = lstrcpynA(buffer, "Zivo Web", 5);
    ok(copy == buffer, "%s: got %p, not %p", cut, (void *)copy, (void *)buffer);
    ok(!strcmp(buffer, "Zivo"), "%s: got \"%s\"", cut, buffer);
    copy = lstrcpynA(buffer, "x", 0);
    wine_and_reactos ok(copy == buffer && buffer[0] == 'Z', "and a limit of 0 writes nothing: got %p, \"%s\"",
                        (void *)copy, buffer);
    SetLastError(1234);
    DWORD error = GetLastError();
    ok(error == 1234, "SetLastError sets what GetLastError answers: got %lu", (unsigned long)error);
    int n = _strnicmp("ZIVO web", "zivo WEB cam", 8), less = _strnicmp("a", "b", 1);
    ok(n == 0, "_strnicmp: n characters in any case: got %d", n);
    ok(less < 0, "_strnicmp: n characters in any case: \"a\", \"b\" got %d", less);
    char digits[12];
    ok(!strcmp(_itoa(-42, digits, 10), "-42"), "_itoa writes the decimal text with its sign: got \"%s\"", digits);
    ok(!strcmp(_itoa(INT_MIN, digits, 10), "-2147483648"), "_itoa writes the decimal text with its sign: got \"%s\"",
       digits);
}

// The characters and their best fit in the ANSI code page hold only where it
// is Windows-1252: Microsoft's table of it is bestfit1252.txt (Unicode's
// MAPPINGS/VENDORS/MICSFT/WindowsBestFit), from which Wine builds its own.
void WideToAnsi()
{
    char text[32] = "";
    BOOL defaulted = TRUE;
    given(GetACP() == 1252, "an ANSI code page of Windows-1252")
    {
        SetLastError(0xdeadbeef);
        int n = WideCharToMultiByte(CP_ACP, 0, L"\u0179ivo \uFF37eb Camer\u0101 \u20AC", -1, text, sizeof(text), NULL,
                                    &defaulted);
        DWORD error = GetLastError();
        const char *fit = "the ANSI code page takes Windows' best fit by default, and success leaves the last error";
        ok(n == 18, "%s: got %d", fit, n);
        ok(!strcmp(text, "Zivo Web Camera \x80"), "%s: got \"%.31s\"", fit, text);
        ok(!defaulted, "%s: defaulted got %d", fit, defaulted);
        ok(error == 0xdeadbeef, "%s: last error got %#lx", fit, (unsigned long)error);
        const struct {
            const WCHAR *source;
            const char *fallback, *text;
            int length;
            BOOL defaulted;
            const char *what;
        } defaults[] = {{L"\u0179ivo", "*", "*ivo", 5, TRUE,
                         "WC_NO_BEST_FIT_CHARS takes the default character given, and says it did"},
                        {L"Zivo\u00e9", NULL, "Zivo\xe9", 6, FALSE, "characters the code page has need no default"}};
        for (const auto &d : defaults) {
            n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, d.source, -1, text, sizeof(text), d.fallback,
                                    &defaulted);
            ok(n == d.length, "%s: got %d", d.what, n);
            ok(!strcmp(text, d.text), "%s: got \"%.31s\"", d.what, text);
            ok(defaulted == d.defaulted, "%s: defaulted got %d", d.what, defaulted);
        }
    }
    // WideCharToMultiByte's page: a cbMultiByte of 0 asks for the size.
    int n = WideCharToMultiByte(CP_ACP, 0, L"Zivo Web", -1, NULL, 0, NULL, NULL);
    ok(n == 9, "with no buffer the size needed is answered, terminator included: got %d", n);
    // kernel32/tests/codepage.c, test_string_conversion: ret 0, mbc 'T', ERROR_INSUFFICIENT_BUFFER.
    memset(text, 0, sizeof(text));
    n = WideCharToMultiByte(CP_ACP, 0, L"Zivo Web", -1, text, 8, NULL, NULL);
    DWORD error = GetLastError();
    const char *small = "a buffer too small gets the part that fits, and the call fails";
    ok(n == 0, "%s: got %d", small, n);
    ok(error == ERROR_INSUFFICIENT_BUFFER, "%s: last error got %lu", small, (unsigned long)error);
    ok(!memcmp(text, "Zivo Web", 8), "%s: got \"%.8s\"", small, text);
    // codepage.c, test_other_invalid_parameters, test_null_source, test_negative_dest_length.
    const struct {
        const WCHAR *source;
        int length;
        char *buffer;
        int size;
    } refused[] = {{L"Zivo", 0, text, 8}, {NULL, -1, text, 8}, {L"Zivo", -1, NULL, 5}, {L"Zivo", -1, text, -1}};
    const char *what = "refused: an empty source, none, no buffer with a size, a negative size";
    for (const auto &r : refused) {
        SetLastError(0xdeadbeef); // each call sets the error itself
        n = WideCharToMultiByte(CP_ACP, 0, r.source, r.length, r.buffer, r.size, NULL, NULL);
        error = GetLastError();
        int i = (int)(&r - refused);
        ok(n == 0, "%s (%d): got %d", what, i, n);
        ok(error == ERROR_INVALID_PARAMETER, "%s (%d): last error got %lu", what, i, (unsigned long)error);
    }
}

// --- COM ------------------------------------------------------------------------

// ole32/tests/compobj.c, test_CoCreateInstance; CoInitializeEx's page: S_FALSE
// again, RPC_E_CHANGED_MODE for another model, any other COINIT flags beside.
void Apartments()
{
    void *object = NULL;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, &object);
    ok(hr == CO_E_NOTINITIALIZED, "without an apartment COM creates nothing: got %#x", (unsigned)hr);
    ok(object == NULL, "without an apartment COM creates nothing: got %p", object);
    const HRESULT entered[] = {CoInitialize(NULL), CoInitialize(NULL),
                               CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)};
    ok_each(entered, {S_OK, S_FALSE, S_FALSE},
            "CoInitialize enters the apartment, then counts; CoInitializeEx takes flags beside the model");
    for (HRESULT entering : entered)
        if (SUCCEEDED(entering))
            CoUninitialize();
    const HRESULT other[] = {CoInitializeEx(NULL, COINIT_MULTITHREADED), CoInitialize(NULL)};
    ok_each(other, {S_OK, RPC_E_CHANGED_MODE}, "a thread in the multithreaded apartment cannot enter another");
    hr = CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, &object);
    ok(hr == S_OK, "and after RPC_E_CHANGED_MODE COM still works there: got %#x", (unsigned)hr);
    if (object)
        ((IUnknown *)object)->Release();
    CoUninitialize();
}

// The pages of CoGetMalloc (1 only, else E_INVALIDARG), CoTaskMemAlloc (no
// CoGetMalloc first), IMalloc::DidAlloc (-1 for NULL), SysAllocString, SysStringLen.
void TaskAllocatorAndStrings()
{
    IMalloc *allocator = (IMalloc *)1;
    HRESULT hr = CoGetMalloc(0, &allocator);
    ok(hr == E_INVALIDARG, "CoGetMalloc knows only MEMCTX_TASK: got %#x", (unsigned)hr);
    ok(allocator == NULL, "CoGetMalloc knows only MEMCTX_TASK: got %p", (void *)allocator);
    hr = CoGetMalloc(MEMCTX_TASK, &allocator);
    ok(hr == S_OK && allocator != NULL, "the task allocator needs no apartment: got %#x, %p", (unsigned)hr,
       (void *)allocator);
    if (FAILED(hr) || !allocator)
        return;
    void *block = CoTaskMemAlloc(24), *other = allocator->Alloc(8);
    const char *what = "CoTaskMemAlloc's block is the task allocator's, of at least the size asked (its page: it "
                       "may be larger); of NULL it cannot tell (-1)";
    ok(block && other, "%s: got %p, %p", what, block, other);
    const int owned[] = {allocator->DidAlloc(block), allocator->DidAlloc(NULL)};
    ok_each(owned, {1, -1}, what);
    const SIZE_T sizes[] = {allocator->GetSize(block), allocator->GetSize(other)}, asked[] = {24, 8};
    for (int i = 0; i < 2; ++i)
        ok(sizes[i] >= asked[i], "%s (%d): got %lu", what, i, (unsigned long)sizes[i]);
    allocator->Free(block);
    CoTaskMemFree(other);
    allocator->Release();
    BSTR text = SysAllocString(L"Zivo");
    UINT length = SysStringLen(text);
    const char *copied = "SysAllocString copies the text, terminated, and knows its length";
    ok(length == 4, "%s: got %u", copied, length);
    ok(text && !memcmp(text, L"Zivo", 5 * sizeof(OLECHAR)), "%s: got \"%ls\"", copied, text ? text : L"(null)");
    BSTR none = SysAllocString(NULL);
    length = SysStringLen(NULL);
    ok(none == NULL, "a NULL text is a NULL BSTR, of length 0: got %p", (void *)none);
    ok(length == 0, "a NULL text is a NULL BSTR, of length 0: got %u", length);
    SysFreeString(text);
    SysFreeString(NULL);
}

// ole32/tests/moniker.c, test_bind_context and test_MkParseDisplayName, which
// run in an apartment. Without one, and for the arguments it leaves out
// (only NULL or empty names), Wine's ole32 is ReactOS's too.
void BindContextsAndNames()
{
    IBindCtx *context = NULL, *refused = (IBindCtx *)1;
    IMoniker *moniker = (IMoniker *)1;
    ULONG eaten = 7;
    HRESULT hr = CreateBindCtx(0, &context);
    wine_and_reactos ok(hr == S_OK && context != NULL, "CreateBindCtx needs no apartment: got %#x, %p", (unsigned)hr,
                        (void *)context);
    hr = MkParseDisplayName(context, L"@device:pnp:\\\\?\\usb#vid_1234", &eaten, &moniker);
    wine_and_reactos ok(hr == CO_E_NOTINITIALIZED,
                        "parsing a device's name needs the apartment the device enumerator's parser lives in: got %#x",
                        (unsigned)hr);
    if (context)
        context->Release();
    CoInitialize(NULL);
    context = NULL;
    hr = CreateBindCtx(0, &context);
    ok(hr == S_OK && context != NULL, "CreateBindCtx makes a bind context: got %#x, %p", (unsigned)hr,
       (void *)context);
    hr = CreateBindCtx(1, &refused);
    ok(hr == E_INVALIDARG, "its reserved argument must be 0: got %#x", (unsigned)hr);
    const char *what = "MkParseDisplayName wants a name, and leaves its outputs untouched when refused";
    eaten = 7;
    moniker = (IMoniker *)1;
    hr = MkParseDisplayName(context, L"", &eaten, &moniker);
    ok(hr == E_INVALIDARG, "%s: got %#x", what, (unsigned)hr);
    ok(eaten == 7 && moniker == (IMoniker *)1, "%s: outputs got %lu, %p", what, (unsigned long)eaten,
       (void *)moniker);
    const HRESULT wanting[] = {MkParseDisplayName(NULL, L"x:", &eaten, &moniker),
                               MkParseDisplayName(context, L"x:", NULL, &moniker)};
    wine_and_reactos ok_each(wanting, {E_INVALIDARG, E_INVALIDARG}, "and a context and both outputs");
    hr = MkParseDisplayName(context, L"NonExistentProgId:", &eaten, &moniker);
    // The same test: MK_E_SYNTAX is a todo_wine there.
    todo_wine ok(hr == MK_E_SYNTAX, "a name nothing parses is a syntax error: got %#x", (unsigned)hr);
    ok(eaten == 0 && moniker == NULL, "and parses nothing: got %lu, %p", (unsigned long)eaten, (void *)moniker);
    if (context)
        context->Release();
    CoUninitialize();
}

void DeviceEnumerator()
{
    CoInitialize(NULL);
    ICreateDevEnum *devices = NULL;
    IEnumMoniker *category = (IEnumMoniker *)1;
    void *none = (void *)1;
    // ole32/tests/compobj.c, test_CoCreateInstance.
    HRESULT hr = CoCreateInstance(kNobodysGuid, NULL, CLSCTX_INPROC_SERVER, IID_IUnknown, &none);
    ok(hr == REGDB_E_CLASSNOTREG, "a class nobody registered is not created: got %#x", (unsigned)hr);
    ok(none == NULL, "a class nobody registered is not created: got %p", none);
    hr = CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, (void **)&devices);
    ok(hr == S_OK, "the system device enumerator is created: got %#x", (unsigned)hr);
    for (const CLSID *which : {&CLSID_VideoInputDeviceCategory, &kNobodysGuid}) {
        category = (IEnumMoniker *)1;
        // CreateClassEnumerator's page: S_FALSE and NULL for a category empty or not there.
        hr = devices ? devices->CreateClassEnumerator(*which, &category, 0) : E_POINTER;
        const char *what =
            "an empty category answers S_FALSE and no enumerator: no video-input device, or no such category";
        ok(hr == S_FALSE, "%s: got %#x", what, (unsigned)hr);
        ok(category == NULL, "%s: got %p", what, (void *)category);
    }
    if (devices)
        devices->Release();
    CoUninitialize();
}

// --- The registry ---------------------------------------------------------------

// Opens the key and closes it again.
LSTATUS Opens(HKEY root, const char *path, REGSAM access)
{
    HKEY key = (HKEY)1;
    LSTATUS status = RegOpenKeyExA(root, path, 0, access, &key);
    if (status == ERROR_SUCCESS)
        RegCloseKey(key);
    return status == ERROR_SUCCESS || key == NULL ? status : ERROR_INVALID_HANDLE; // no handle for a failure
}

// advapi32/tests/registry.c, test_set_value ("off-by-one size"); RegQueryValueEx's
// page: ERROR_MORE_DATA with the size, lpReserved NULL, ERROR_FILE_NOT_FOUND.
// RegCreateKey's page: it creates every key missing in the path; RegSetValueEx's: the
// key must be opened with KEY_SET_VALUE; registry.c, test_reg_open_key: a key not
// there is ERROR_FILE_NOT_FOUND and a NULL handle (through RegOpenKeyA).
void Registry()
{
    const char kKey[] = "Software\\PlatformFacts\\Registry";
    HKEY key = NULL, reader = NULL;
    DWORD type = 0, size = 0, reserved = 0;
    char data[4] = "xyz";
    LSTATUS status = RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key);
    ok(status == ERROR_SUCCESS, "RegCreateKeyA makes a key and its parents: got %ld", (long)status);
    const LSTATUS stored[] = {RegSetValueExA(key, "Text", 0, REG_SZ, (const BYTE *)"7", 1),
                              RegQueryValueExA(key, "Text", NULL, &type, NULL, &size)};
    ok_each(stored, {ERROR_SUCCESS, ERROR_SUCCESS}, "a string set without its terminator is stored with one");
    ok(type == REG_SZ && size == 2, "a string set without its terminator is stored with one: got type %lu, size %lu",
       (unsigned long)type, (unsigned long)size);
    size = 1;
    const char *small = "a buffer too small: ERROR_MORE_DATA and the size needed, with which the value is read";
    status = RegQueryValueExA(key, "Text", NULL, NULL, (BYTE *)data, &size);
    ok(status == ERROR_MORE_DATA, "%s: got %ld", small, (long)status);
    ok(size == 2, "%s: size got %lu", small, (unsigned long)size);
    status = RegQueryValueExA(key, "Text", NULL, NULL, (BYTE *)data, &size);
    ok(status == ERROR_SUCCESS, "%s: then got %ld", small, (long)status);
    ok(!memcmp(data, "7", 2), "%s: got \"%.3s\"", small, data);
    const LSTATUS refused[] = {RegQueryValueExA(key, "Other", NULL, NULL, NULL, NULL),
                               RegQueryValueExA(key, "Text", &reserved, NULL, NULL, &size)};
    ok_each(refused, {ERROR_FILE_NOT_FOUND, ERROR_INVALID_PARAMETER},
            "a value that is not there is not found; the reserved argument must be NULL");
    const LSTATUS closed[] = {RegCloseKey(key), RegCloseKey(HKEY_CURRENT_USER)};
    ok_each(closed, {ERROR_SUCCESS, ERROR_SUCCESS}, "RegCloseKey closes a key, and leaves a predefined one alone");
    status = RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &reader);
    ok(status == ERROR_SUCCESS, "a key opened to read cannot set a value: RegOpenKeyExA got %ld", (long)status);
    status = RegSetValueExA(reader, "Text", 0, REG_SZ, (const BYTE *)"8", 1);
    ok(status == ERROR_ACCESS_DENIED, "a key opened to read cannot set a value: got %ld", (long)status);
    RegCloseKey(reader);
    status = Opens(HKEY_CURRENT_USER, "Software\\PlatformFacts\\None", KEY_READ);
    ok(status == ERROR_FILE_NOT_FOUND, "a key that is not there is not found, and no handle is given: got %ld",
       (long)status);
}

// Wine's prefix is 64-bit Windows, as is the simulation; 32-bit Windows has
// one view, and ignores KEY_WOW64_32KEY and KEY_WOW64_64KEY. Microsoft's
// "Registry Redirector" and "Registry Virtualization": an administrator's
// writes under HKEY_LOCAL_MACHINE\Software are neither refused nor
// virtualized only elevated, or where UAC is off.
void RegistryViews()
{
    bool wow64 = facts::Wow64();
    if (sizeof(void *) == 4 && !wow64)
        return;
    given(facts::Elevated(), "an elevated process")
    {
        HKEY key = NULL;
        LSTATUS status = RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\PlatformFacts", &key);
        ok(status == ERROR_SUCCESS, "an administrator writes under HKEY_LOCAL_MACHINE: got %ld", (long)status);
        RegCloseKey(key);
        const LSTATUS views[] = {Opens(HKEY_LOCAL_MACHINE, "Software\\PlatformFacts", KEY_READ | KEY_WOW64_32KEY),
                                 Opens(HKEY_LOCAL_MACHINE, "Software\\PlatformFacts", KEY_READ | KEY_WOW64_64KEY)};
        for (int i = 0; i < 2; ++i)
            ok((views[i] == 0) == (wow64 == !i),
               "HKLM\\Software is the process's own view: the 32-bit one for a 32-bit process (%d-bit view): got %ld",
               i ? 64 : 32, (long)views[i]);
        status = Opens(HKEY_LOCAL_MACHINE, "Software\\WOW6432Node\\PlatformFacts", KEY_READ | KEY_WOW64_64KEY);
        ok((status == ERROR_SUCCESS) == wow64, "the 32-bit view is Software\\WOW6432Node in the 64-bit one: got %ld",
           (long)status);
    }
}

// --- The loader ------------------------------------------------------------------

// kernel32/tests/module.c: testGetModuleHandleEx (ERROR_MOD_NOT_FOUND, of its Ex form),
// testGetProcAddress_Wrong, testLoadLibraryEx (a full path, LOAD_WITH_ALTERED_SEARCH_PATH);
// kernel32/tests/directory.c, test_GetSystemDirectoryW.
void Loader()
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const char *loaded = "GetModuleHandleW finds kernel32 loaded, and no module that is not";
    ok(kernel != NULL, "%s: got %p, last error %lu", loaded, (void *)kernel, (unsigned long)GetLastError());
    HMODULE none = GetModuleHandleW(L"no such module.dll");
    DWORD error = GetLastError();
    ok(none == NULL, "%s: got %p", loaded, (void *)none);
    ok(error == ERROR_MOD_NOT_FOUND, "%s: last error got %lu", loaded, (unsigned long)error);
    FARPROC proc = GetProcAddress(kernel, "SetDefaultDllDirectories");
    ok(proc != NULL, "kernel32 exports SetDefaultDllDirectories (Windows 8 on; Vista and 7 with KB2533623): last "
                     "error %lu", (unsigned long)GetLastError());
    FARPROC unknown = GetProcAddress(kernel, "NoSuchFunction");
    error = GetLastError();
    const char *unexported = "GetProcAddress answers nothing for a name the module does not export";
    ok(unknown == NULL, "%s: got %p", unexported, reinterpret_cast<void *>(unknown));
    ok(error == ERROR_PROC_NOT_FOUND, "%s: last error got %lu", unexported, (unsigned long)error);
    typedef BOOL(WINAPI * SetDirectories)(DWORD);
    SetDirectories set = reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(proc));
    // kernel32/tests/module.c, test_SetDefaultDllDirectories.
    const DWORD refused[] = {0x0, 0x3, 0x8200}; // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR alone: only Windows 8 on
    const char *others = "SetDefaultDllDirectories refuses flags other than its four";
    for (DWORD flags : refused) {
        SetLastError(0);
        BOOL taken = set ? set(flags) : TRUE;
        error = GetLastError();
        ok(!taken, "%s (0x%lx): got %d", others, (unsigned long)flags, taken);
        ok(error == ERROR_INVALID_PARAMETER, "%s (0x%lx): last error got %lu", others, (unsigned long)flags,
           (unsigned long)error);
    }
    WCHAR path[MAX_PATH] = L"", shortOf[MAX_PATH] = L"untouched";
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    const char *what = "GetSystemDirectoryW copies the system folder's path; into a buffer too small, nothing, and "
                       "answers the size needed";
    ok(length > 0 && length == wcslen(path), "%s: got %u for \"%ls\"", what, length, path);
    UINT needed = GetSystemDirectoryW(shortOf, length);
    ok(needed == length + 1, "%s: too small got %u", what, needed);
    ok(!wcscmp(shortOf, L"untouched"), "%s: too small got \"%ls\"", what, shortOf);
    wcscat(path, L"\\cfgmgr32.dll");
    HMODULE library = LoadLibraryExW(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    ok(library != NULL, "LoadLibraryExW loads a system DLL by its full path: last error %lu",
       (unsigned long)GetLastError());
}

// --- The dialog manager, menus and message boxes ------------------------------
// Lumetra's main dialog, driven by steps it posts to itself: each runs from
// the dialog's modal loop, as the user's input would, and the keys a step
// posts are taken by that loop (or a menu's or a message box's) first.

std::vector<std::pair<WPARAM, LPARAM>> g_commands; // the WM_COMMAND messages the dialog received
HWND g_initFocus;
bool g_visibleInInit;
RECT g_placed;
void (*const *g_steps)(HWND);
int g_step;

void Next(HWND dialog) { PostMessageA(dialog, WM_APP, 0, 0); }

bool Last(WPARAM wParam, HWND from)
{
    return !g_commands.empty() && g_commands.back() == std::make_pair(wParam, (LPARAM)from);
}

// The last command the dialog received, for a failing fact's message.
std::string LastCommand()
{
    char text[48] = "none";
    if (!g_commands.empty())
        snprintf(text, sizeof(text), "%#lx from %p", (unsigned long)g_commands.back().first,
                 (void *)g_commands.back().second);
    return text;
}

// Inside the message box: it is found and answered as the user would.
// user32/tests/dialog.c, test_MessageBox: the text in control 0xFFFF, the button answered.
void AnswerBox(HWND dialog)
{
    HWND box = FindWindowA("#32770", "Facts box");
    char text[32] = "";
    GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof(text));
    const char *what = "a message box is a dialog of its owner, which it disables, with the text in control 0xFFFF";
    HWND owner = GetWindow(box, GW_OWNER);
    ok(box && owner == dialog, "%s: got %p, owned by %p", what, (void *)box, (void *)owner);
    ok(!IsWindowEnabled(dialog), "%s: the owner is enabled", what);
    ok(!strcmp(text, "Facts text"), "%s: got \"%s\"", what, text);
    PostMessageA(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_RETURN, 0);
}

INT_PTR CALLBACK FactsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        g_initFocus = (HWND)wParam;
        g_visibleInInit = IsWindowVisible(dialog) != 0;
        GetWindowRect(dialog, &g_placed);
        Next(dialog);
        return TRUE;
    case WM_APP:
        g_steps[g_step++](dialog);
        return TRUE;
    case WM_APP + 1:
        AnswerBox(dialog);
        return TRUE;
    case WM_COMMAND:
        g_commands.push_back({wParam, lParam});
        return TRUE;
    }
    return FALSE;
}

// The controls of Lumetra's template, in its order, as the dialog manager
// makes them: it adds WS_EX_NOPARENTNOTIFY to each (Wine and ReactOS).
const struct {
    int id;
    const char *text;
    DWORD style, exStyle;
} kControls[] = {
    {IDCANCEL, "Exit", 0x50000000, 4},           {IDC_RADIO_50HZ, "50 Hz", 0x48000009, 4},
    {IDC_RADIO_60HZ, "60 Hz", 0x48000009, 4},    {IDC_FREQ_GROUP, "Frequency", 0x50010007, 4},
    {IDC_RADIO_OUTDOOR, "Outdoor", 0x48000009, 4}, {IDC_PREVIEW_FRAME, "", 0x50020000, WS_EX_STATICEDGE | 4},
    {IDC_BTN_COUNTRY, "Country", 0x50000000, 4}, {IDC_BTN_OTHER, "Other", 0x50000000, 4},
    {IDC_BTN_OUTDOORS, "OutDoors", 0x50000000, 4},
};

// dialog.c: TestControlStyleDlgProc (controls as the template makes them),
// TestInitDialogHandleProc (wParam), test_focus and test_timer_message (focus after
// TRUE; shown only once the queue empties).
void AfterInit(HWND dialog)
{
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const auto &c : kControls) {
        char text[16] = "?";
        GetWindowTextA(control, text, sizeof(text));
        int id = GetDlgCtrlID(control);
        DWORD style = (DWORD)GetWindowLongA(control, GWL_STYLE), exStyle = (DWORD)GetWindowLongA(control, GWL_EXSTYLE);
        ok(id == c.id, "control %d: ID %d", c.id, id);
        ok(!strcmp(text, c.text), "control %d: text \"%s\"", c.id, text);
        ok(style == c.style, "control %d: style %#lx", c.id, (unsigned long)style);
        wine_and_reactos ok(exStyle == c.exStyle, "control %d: extended style %#lx", c.id, (unsigned long)exStyle);
        control = GetWindow(control, GW_HWNDNEXT);
    }
    // The template's styles, and a top-level window's WS_CLIPSIBLINGS, DS_3DLOOK,
    // WS_EX_CONTROLPARENT, WS_EX_DLGMODALFRAME and its WS_EX_WINDOWEDGE.
    DWORD style = (DWORD)GetWindowLongA(dialog, GWL_STYLE), exStyle = (DWORD)GetWindowLongA(dialog, GWL_EXSTYLE);
    ok(control == NULL, "nothing else: got %p", (void *)control);
    ok(style == 0x94C800C4, "the dialog's style %#lx", (unsigned long)style);
    ok(exStyle == 0x50101, "the dialog's extended style %#lx", (unsigned long)exStyle);
    HWND group = GetDlgItem(dialog, IDC_FREQ_GROUP);
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const char *what =
        "WM_INITDIALOG is given the first tab stop, focused once it answers TRUE; a visible dialog is shown then";
    HWND focus = GetFocus();
    ok(g_initFocus == group, "%s: given %p, not %p", what, (void *)g_initFocus, (void *)group);
    ok(focus == group, "%s: focused %p, not %p", what, (void *)focus, (void *)group);
    ok(!g_visibleInInit, "%s: visible in WM_INITDIALOG", what);
    ok(IsWindowVisible(dialog), "%s: not visible after", what);
    wine_and_reactos ok(g_placed.left == area.left && g_placed.top == area.top,
                        "a dialog whose template is at 0,0 is moved to the work area's corner: got %ld,%ld, not "
                        "%ld,%ld",
                        (long)g_placed.left, (long)g_placed.top, (long)area.left, (long)area.top);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    Next(dialog);
}

// Microsoft's "Dialog Box Programming Considerations": Enter is IDOK or the default
// button, Esc IDCANCEL; WM_CLOSE's default processing posts IDCANCEL's BN_CLICKED.
// dialog.c, TestReturnKeyDlgProc: Enter without a default button is IDOK.
void AfterEnter(HWND dialog)
{
    const char *what = "Enter, no push button focused nor the default, is IDOK from none";
    ok(g_commands.size() == 1, "%s: got %d commands", what, (int)g_commands.size());
    ok(Last(IDOK, NULL), "%s: got %s", what, LastCommand().c_str());
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    Next(dialog);
}

void AfterEsc(HWND dialog)
{
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    ok(g_commands.size() == 2, "Esc is IDCANCEL from that control: got %d commands", (int)g_commands.size());
    ok(Last(IDCANCEL, cancel), "Esc is IDCANCEL from that control: got %s", LastCommand().c_str());
    const char *what = "the default processing of WM_CLOSE neither destroys the dialog nor commands at once";
    LRESULT answer = SendMessageA(dialog, WM_CLOSE, 0, 0);
    ok(answer == 0, "%s: got %ld", what, (long)answer);
    ok(IsWindow(dialog), "%s: destroyed", what);
    ok(g_commands.size() == 2, "%s: got %d commands", what, (int)g_commands.size());
    Next(dialog);
}

// The pages of GetSubMenu (NULL for a plain item), CheckMenuItem (the state before,
// -1 for no item), TrackPopupMenu (nonzero on success; no WM_COMMAND until it returns).
void AfterClose(HWND dialog)
{
    ok(g_commands.size() == 3, "it posts IDCANCEL from that control: got %d commands", (int)g_commands.size());
    ok(Last(IDCANCEL, GetDlgItem(dialog, IDCANCEL)), "it posts IDCANCEL from that control: got %s",
       LastCommand().c_str());
    HMENU menu = LoadMenuA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_POPUP));
    HMENU countries = GetSubMenu(menu, 0);
    const HMENU popups[] = {countries, GetSubMenu(menu, 1), GetSubMenu(menu, 2), GetSubMenu(countries, 0)};
    for (int i = 0; i < 4; ++i)
        ok(!popups[i] == (i >= 2), "GetSubMenu finds the popups by position, and none behind a plain item (%d): got %p",
           i, (void *)popups[i]);
    const DWORD states[] = {CheckMenuItem(menu, ID_COUNTRY_JAPAN, MF_BYCOMMAND | MF_CHECKED),
                            CheckMenuItem(countries, ID_COUNTRY_JAPAN, MF_BYCOMMAND | MF_UNCHECKED),
                            CheckMenuItem(countries, 4242, MF_BYCOMMAND | MF_CHECKED)};
    ok_each(states, {MF_UNCHECKED, MF_CHECKED, (DWORD)-1},
            "CheckMenuItem finds an item by command in the popups too, and answers its state before, -1 for none");
    for (int i = 0; i < 9; ++i)
        PostMessageA(dialog, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 0);
    BOOL picked = TrackPopupMenu(countries, 0, 100, 100, 0, dialog, NULL);
    const char *what = "TrackPopupMenu with flags 0 answers TRUE once an item is picked; the pick is not sent";
    ok(picked == TRUE, "%s: got %d", what, picked);
    ok(g_commands.size() == 3, "%s: got %d commands", what, (int)g_commands.size());
    BOOL destroyed = DestroyMenu(menu), again = DestroyMenu(menu);
    ok(destroyed && !again, "DestroyMenu destroys a menu once: got %d, then %d", destroyed, again);
    Next(dialog);
}

void AfterPick(HWND dialog)
{
    const char *what = "but posted: WM_COMMAND with the item's ID, from none";
    ok(g_commands.size() == 4, "%s: got %d commands", what, (int)g_commands.size());
    ok(Last(ID_COUNTRY_JAPAN, NULL), "%s: got %s", what, LastCommand().c_str());
    HMENU menu = LoadMenuA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_POPUP));
    PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    BOOL closed = TrackPopupMenu(GetSubMenu(menu, 1), 0, 100, 100, 0, dialog, NULL);
    ok(closed, "closing it with Esc is no failure: got %d", closed);
    DestroyMenu(menu);
    Next(dialog);
}

void AfterDismiss(HWND dialog)
{
    ok(g_commands.size() == 4, "and sends no command: got %d commands", (int)g_commands.size());
    PostMessageA(dialog, WM_APP + 1, 0, 0);
    int chosen = MessageBoxA(dialog, "Facts text", "Facts box", MB_OK);
    ok(chosen == IDOK, "MessageBoxA answers the button chosen, and enables its owner again: got %d", chosen);
    ok(IsWindowEnabled(dialog), "MessageBoxA answers the button chosen, and enables its owner again: not enabled");
    Next(dialog);
}

// The pages of GetWindowText, EnableWindow, ShowWindow and SetFocus (each answers the
// state before); dialog.c, test_SaveRestoreFocus (disabled, a control loses the focus;
// the dialog's goes to its first tab stop).
void Controls(HWND dialog)
{
    HWND radio = GetDlgItem(dialog, IDC_RADIO_50HZ), cancel = GetDlgItem(dialog, IDCANCEL);
    char text[16] = "";
    const char *found = "GetDlgItem finds a control by ID, GetParent its dialog; an unowned dialog has neither";
    int id = GetDlgCtrlID(cancel);
    ok(id == IDCANCEL, "%s: got ID %d", found, id);
    const HWND related[] = {GetParent(cancel), GetDlgItem(dialog, 4242), GetParent(dialog),
                            GetWindow(dialog, GW_OWNER)};
    for (int i = 0; i < 4; ++i)
        ok(related[i] == (i ? NULL : dialog), "%s (%d): got %p", found, i, (void *)related[i]);
    const char *caption = "GetWindowTextA copies the caption, cut to the buffer";
    int copied = GetWindowTextA(dialog, text, sizeof(text));
    ok(copied == 7 && !strcmp(text, "Lumetra"), "%s: got %d, \"%s\"", caption, copied, text);
    copied = GetWindowTextA(dialog, text, 4);
    ok(copied == 3 && !strcmp(text, "Lum"), "%s: into 4 got %d, \"%s\"", caption, copied, text);
    const char *hidden = "a control the template makes hidden and disabled";
    const BOOL made[] = {!!IsWindow(radio), !!IsWindowVisible(radio), !!IsWindowEnabled(radio)};
    ok_each(made, {TRUE, FALSE, FALSE}, hidden);
    DWORD style = (DWORD)GetWindowLongA(radio, GWL_STYLE);
    ok((style & (WS_CHILD | WS_VISIBLE | WS_DISABLED)) == (WS_CHILD | WS_DISABLED), "%s: style got %#lx", hidden,
       (unsigned long)style);
    const LRESULT checked[] = {SendDlgItemMessageA(dialog, IDC_RADIO_50HZ, BM_SETCHECK, BST_CHECKED, 0),
                               SendMessageA(radio, BM_GETCHECK, 0, 0)};
    ok_each(checked, {0, BST_CHECKED}, "SendDlgItemMessageA reaches the control: a radio button keeps its check");
    const BOOL states[] = {!!EnableWindow(radio, TRUE),   !!IsWindowEnabled(radio), !!EnableWindow(radio, FALSE),
                           !!ShowWindow(radio, SW_SHOW), !!IsWindowVisible(radio), !!ShowWindow(radio, SW_HIDE)};
    ok_each(states, {TRUE, TRUE, FALSE, FALSE, TRUE, TRUE},
            "EnableWindow answers whether the window was disabled, ShowWindow whether it was visible");
    SetFocus(cancel);
    BOOL disabled = EnableWindow(cancel, FALSE);
    HWND focus = GetFocus();
    ok(!disabled, "a window that is disabled loses the focus: EnableWindow got %d", disabled);
    ok(focus == NULL, "a window that is disabled loses the focus: got %p", (void *)focus);
    EnableWindow(cancel, TRUE);
    const HWND focused[] = {SetFocus(cancel), GetFocus(), SetFocus(dialog), GetFocus()},
               wanted[] = {NULL, cancel, cancel, GetDlgItem(dialog, IDC_FREQ_GROUP)};
    for (int i = 0; i < 4; ++i)
        ok(focused[i] == wanted[i],
           "SetFocus answers the window that had the focus; a dialog passes it on to its first tab stop (%d): got %p, "
           "not %p", i, (void *)focused[i], (void *)wanted[i]);
    // user32/tests/win.c, test_SetForegroundWindow; its page names the rules.
    given(facts::HasTheForeground(), "the foreground")
    {
        BOOL forward = SetForegroundWindow(dialog);
        ok(forward, "SetForegroundWindow brings the program's dialog forward: got %d", forward);
    }
    const LONG_PTR values[] = {SetWindowLongPtrA(dialog, GWLP_USERDATA, 42), GetWindowLongPtrA(dialog, GWLP_USERDATA),
                               SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 7), GetWindowLongPtrA(dialog, DWLP_MSGRESULT)};
    ok_each(values, {0, 42, 0, 7}, "SetWindowLongPtrA answers the value before, GetWindowLongPtrA the value now");
    WNDPROC proc = (WNDPROC)GetWindowLongPtrA(cancel, GWLP_WNDPROC);
    LRESULT length = proc ? CallWindowProcA(proc, cancel, WM_GETTEXTLENGTH, 0, 0) : -1;
    ok(length == 4, "CallWindowProcA calls a procedure: got %ld", (long)length);
    HWND gone = (HWND)(ULONG_PTR)0xdead0;
    SetLastError(0);
    const LRESULT unsent[] = {IsWindow(gone), SendMessageA(gone, WM_GETTEXTLENGTH, 0, 0), (LRESULT)GetLastError(),
                              PostMessageA(gone, WM_APP, 0, 0)};
    ok_each(unsent, {FALSE, 0, 1400, FALSE}, "a window that is not there gets no message: ERROR_INVALID_WINDOW_HANDLE");
    Next(dialog);
}

void Geometry(HWND dialog)
{
    HWND radio = GetDlgItem(dialog, IDC_RADIO_50HZ);
    RECT r, client, moved;
    POINT origin = {0, 0};
    MoveWindow(radio, 5, 6, 30, 20, TRUE);
    GetWindowRect(radio, &r);
    const char *placed = "MoveWindow places a control in its dialog's client area";
    int mapped = MapWindowPoints(NULL, dialog, (POINT *)&r, 2);
    ok(mapped, "%s: MapWindowPoints got %d", placed, mapped);
    ok(r.left == 5 && r.top == 6 && r.right == 35 && r.bottom == 26, "%s: got %ld,%ld-%ld,%ld", placed, (long)r.left,
       (long)r.top, (long)r.right, (long)r.bottom);
    GetWindowRect(dialog, &r);
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, NULL, &origin, 1);
    const char *framed = "the client area starts at 0,0 inside a frame as wide on both sides";
    ok(client.left == 0 && client.top == 0, "%s: got %ld,%ld", framed, (long)client.left, (long)client.top);
    ok(origin.x > r.left && origin.y > r.top, "%s: at %ld,%ld in a window at %ld,%ld", framed, (long)origin.x,
       (long)origin.y, (long)r.left, (long)r.top);
    ok(r.right - r.left == client.right + 2 * (origin.x - r.left), "%s: %ld wide, the client %ld from %ld in", framed,
       (long)(r.right - r.left), (long)client.right, (long)(origin.x - r.left));
    SetWindowPos(dialog, NULL, r.left + 10, r.top + 20, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(dialog, &moved);
    const char *kept = "SetWindowPos with SWP_NOSIZE moves the window and keeps its size";
    ok(moved.left == r.left + 10 && moved.top == r.top + 20, "%s: at %ld,%ld, from %ld,%ld", kept, (long)moved.left,
       (long)moved.top, (long)r.left, (long)r.top);
    ok(moved.right - moved.left == r.right - r.left, "%s: %ld wide, not %ld", kept, (long)(moved.right - moved.left),
       (long)(r.right - r.left));
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    POINT at = {-1, -1};
    const char *screen = "the work area and the cursor are on the screen (of GetSystemMetrics' size)";
    BOOL area = SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    ok(area && r.left >= 0 && r.right <= cx && r.bottom <= cy, "%s: got %d, %ld,%ld-%ld,%ld on %dx%d", screen, area,
       (long)r.left, (long)r.top, (long)r.right, (long)r.bottom, cx, cy);
    // GetCursorPos's page: the input desktop must be the thread's.
    given(facts::OnTheInputDesktopsOneMonitor(), "the input desktop, and one monitor")
    {
        BOOL cursor = GetCursorPos(&at);
        ok(cursor && at.x >= 0 && at.y >= 0 && at.x < cx && at.y < cy, "%s: got %d, the cursor at %ld,%ld", screen,
           cursor, (long)at.x, (long)at.y);
    }
    Next(dialog);
}

// The pages of LoadIcon (a loaded icon's handle again), WM_SETICON (the icon before),
// BeginPaint, DrawIcon, GetModuleFileName (cut to nSize, ERROR_INSUFFICIENT_BUFFER), ShowWindow.
void IconsAndPainting(HWND dialog)
{
    HINSTANCE module = GetModuleHandleA(NULL);
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(IDR_MAINFRAME));
    HICON again = LoadIconA(module, MAKEINTRESOURCEA(IDR_MAINFRAME)), system = LoadIconA(NULL, IDI_APPLICATION);
    HICON none = LoadIconA(module, MAKEINTRESOURCEA(4242));
    const char *loaded = "LoadIconA: the module's icon, one handle however often; a system icon; none for no resource";
    ok(icon && again == icon, "%s: got %p, then %p", loaded, (void *)icon, (void *)again);
    ok(system != NULL, "%s: the system's got %p", loaded, (void *)system);
    ok(none == NULL, "%s: for no resource got %p", loaded, (void *)none);
    LRESULT first = SendMessageA(dialog, WM_SETICON, ICON_BIG, (LPARAM)icon),
            then = SendMessageA(dialog, WM_SETICON, ICON_BIG, (LPARAM)icon);
    ok(first == 0, "WM_SETICON answers the icon it replaces: first got %p", (void *)first);
    ok(then == (LRESULT)icon, "WM_SETICON answers the icon it replaces: then got %p", (void *)then);
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(dialog, &paint);
    const char *painted = "BeginPaint gives the context DrawIcon draws in; EndPaint ends it";
    ok(dc && dc == paint.hdc, "%s: got %p, in the paint %p", painted, (void *)dc, (void *)paint.hdc);
    const BOOL drawn[] = {!!DrawIcon(dc, 0, 0, icon), !!DrawIcon(dc, 0, 0, NULL), !!EndPaint(dialog, &paint)};
    ok_each(drawn, {TRUE, FALSE, TRUE}, painted);
    // The default processing answers 0 to every event, queries included:
    // Windows documents no answer, and neither Wine's nor ReactOS's
    // DefWindowProc has a case for the message.
    DEV_BROADCAST_VOLUME volume = {sizeof(volume), DBT_DEVTYP_VOLUME, 0, 1u << 4, 0}; // for the last three
    const UINT events[] = {DBT_DEVNODES_CHANGED, DBT_QUERYCHANGECONFIG, DBT_CONFIGCHANGED,
                           DBT_DEVICEARRIVAL,    DBT_DEVICEQUERYREMOVE, DBT_DEVICEREMOVECOMPLETE};
    for (int i = 0; i < 6; ++i) {
        LRESULT answer = DefWindowProcA(dialog, WM_DEVICECHANGE, events[i], i < 3 ? 0 : (LPARAM)&volume);
        wine_and_reactos ok(answer == 0, "DefWindowProc answers WM_DEVICECHANGE with 0 (%#x): got %ld", events[i],
                            (long)answer);
    }
    BOOL quit = WinHelpA(dialog, "Lumetra.hlp", HELP_QUIT, 0);
    wine_and_reactos ok(quit, "WinHelpA with HELP_QUIT, no viewer running, succeeds: got %d", quit);
    char path[MAX_PATH] = "", cut[6];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof(path));
    const char *named = "GetModuleFileNameA names the program's executable";
    ok(module != NULL, "%s: GetModuleHandleA got %p", named, (void *)module);
    ok(length > 18 && !_strnicmp(path + length - 18, "platform_facts.exe", 18), "%s: got %lu, \"%s\"", named,
       (unsigned long)length, path);
    SetLastError(0);
    length = GetModuleFileNameA(NULL, cut, sizeof(cut));
    DWORD error = GetLastError();
    const char *small = "one that does not fit is cut: the answer is the buffer's size, with ERROR_INSUFFICIENT_BUFFER";
    ok(length == sizeof(cut), "%s: got %lu", small, (unsigned long)length);
    ok(error == ERROR_INSUFFICIENT_BUFFER, "%s: last error got %lu", small, (unsigned long)error);
    const BOOL shown[] = {!!IsIconic(dialog), !!ShowWindow(dialog, SW_MINIMIZE), !!IsIconic(dialog),
                          !!ShowWindow(dialog, SW_RESTORE), !!IsIconic(dialog), !!EndDialog(dialog, 42)};
    ok_each(shown, {FALSE, TRUE, TRUE, TRUE, FALSE, TRUE},
            "SW_MINIMIZE makes a window iconic, SW_RESTORE undoes it; EndDialog ends the dialog");
}

void (*const kDialogSteps[])(HWND) = {AfterInit, AfterEnter, AfterEsc, AfterClose, AfterPick,
                                      AfterDismiss, Controls, Geometry, IconsAndPainting};

// dialog.c, test_DialogBoxParam: EndDialog's result; -1 for a template not there.
void Dialogs()
{
    g_steps = kDialogSteps;
    g_step = 0;
    g_commands.clear();
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_MAIN), NULL, FactsDialogProc, 0);
    const char *ran = "DialogBoxParamA answers what EndDialog was given, once every step has run";
    ok(result == 42, "%s: got %ld", ran, (long)result);
    ok(g_step == 9, "%s: %d steps ran", ran, g_step);
    result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(4242), NULL, FactsDialogProc, 0);
    ok(result == -1, "a dialog without a template is not made: -1: got %ld", (long)result);
}

// --- What Wine stands in for: on the host, and under Wine against the stand-ins ---
// Wine's cfgmgr32 has no device tree to walk and its capCreateCaptureWindowA is
// a stub; the Wine tests install the stand-ins (tests/wine/standins) and give
// them the tree and drivers these groups set up on the host. The answers to
// calls Lumetra never makes, which the simulation leaves out, are checked
// against the stand-ins only.

// Bytes with their NULs shown, for a failing fact's message.
std::string Escaped(const std::string &bytes)
{
    std::string text;
    for (char c : bytes)
        text += c ? std::string(1, c) : "\\0";
    return text;
}

// A hub under the root and, under the hub, a leaf without a driver key whose
// hardware IDs are A and BC. Microsoft's pages of the Configuration Manager
// document that no ID locates the root, that flags are 0, and that a NULL
// buffer asks for the size; cfgmgr32/tests/cfgmgr32.c that an unknown ID is
// CR_NO_SUCH_DEVNODE. For a node without a neighbour the pages say only "one
// of the CR_ codes", so the facts ask for a failure (the stand-ins answer
// CR_NO_SUCH_DEVNODE); the codes for refused arguments are ReactOS's.
void DeviceTree()
{
#ifndef _WIN32
    sim::DevNode bare;
    bare.hasDriver = false;
    bare.description = sim::Sz("D");
    bare.hardwareIds = sim::MultiSz({"A", "BC"});
    sim::AddDevNode(sim::AddDevNode(sim::kRootDevNode, sim::DevNode()), bare);
#endif
    DEVINST root = 0, hub = 0, leaf = 0, a = 0;
    const char *walked = "CM_Locate_DevNodeA without an ID is the root; CM_Get_Child goes down, CM_Get_Parent up";
    const CONFIGRET down[] = {CM_Locate_DevNodeA(&root, NULL, CM_LOCATE_DEVNODE_NORMAL), CM_Get_Child(&hub, root, 0),
                              CM_Get_Child(&leaf, hub, 0), CM_Get_Parent(&a, leaf, 0)};
    ok_each(down, {CR_SUCCESS, CR_SUCCESS, CR_SUCCESS, CR_SUCCESS}, walked);
    ok(a == hub, "%s: up from the leaf got %#lx, not %#lx", walked, (unsigned long)a, (unsigned long)hub);
    const CONFIGRET ends[] = {CM_Get_Child(&a, leaf, 0), CM_Get_Sibling(&a, hub, 0), CM_Get_Parent(&a, root, 0),
                              CM_Get_Sibling(&a, root, 0)};
    for (int i = 0; i < 4; ++i)
        ok(ends[i] != CR_SUCCESS, "a leaf, the last sibling and the root have no such neighbour (%d): got %#lx", i,
           (unsigned long)ends[i]);
    char buffer[8];
    ULONG type = 0, length = 0;
    const CONFIGRET refused[] = {CM_Get_Child(&a, hub, 1), CM_Locate_DevNodeA(NULL, NULL, 0), CM_Get_Child(&a, 0, 0),
                                 CM_Get_Sibling(&a, leaf + 1, 0),
                                 CM_Get_DevNode_Registry_PropertyA(leaf + 1, CM_DRP_DEVICEDESC, NULL, buffer, &length,
                                                                   0)};
    ok_each(refused, {CR_INVALID_FLAG, CR_INVALID_POINTER, CR_INVALID_DEVNODE, CR_INVALID_DEVNODE, CR_INVALID_DEVNODE},
            "flags must be 0 and the pointer given; handle 0 and one past the tree are no node");
    const CONFIGRET unset[] = {
        CM_Get_DevNode_Registry_PropertyA(leaf, CM_DRP_DRIVER, NULL, buffer, &(length = 8), 0),
        CM_Get_DevNode_Registry_PropertyA(root, CM_DRP_DEVICEDESC, NULL, buffer, &length, 0)};
    ok_each(unset, {CR_NO_SUCH_VALUE, CR_NO_SUCH_VALUE},
            "a node without a driver has no driver key; a property not set is no value");
    const char *sized = "a property too big for the buffer, or asked for without one: CR_BUFFER_SMALL and its size; "
                        "the hardware IDs are a multi-string, terminators and all";
    for (ULONG size : {0, 5}) {
        CONFIGRET cr =
            CM_Get_DevNode_Registry_PropertyA(leaf, CM_DRP_HARDWAREID, NULL, size ? buffer : NULL, &(length = size), 0);
        ok(cr == CR_BUFFER_SMALL, "%s (%lu bytes): got %#lx", sized, (unsigned long)size, (unsigned long)cr);
        ok(length == 6, "%s (%lu bytes): size got %lu", sized, (unsigned long)size, (unsigned long)length);
    }
    CONFIGRET cr = CM_Get_DevNode_Registry_PropertyA(leaf, CM_DRP_HARDWAREID, &type, buffer, &length, 0);
    ok(cr == CR_SUCCESS && type == REG_MULTI_SZ, "%s: got %#lx, type %lu", sized, (unsigned long)cr,
       (unsigned long)type);
    ok(!memcmp(buffer, "A\0BC\0\0", 6), "%s: got \"%s\"", sized, Escaped(std::string(buffer, 6)).c_str());
#ifdef _WIN32
    char rootId[] = "HTREE\\ROOT\\0", otherId[] = "USB\\VID_0AC8&PID_0302\\1";
    DEVINST found = 0;
    const char *located = "the root's instance ID locates the root, another ID nothing; unknown flags are refused";
    const CONFIGRET locating[] = {CM_Locate_DevNodeA(&found, rootId, 0), CM_Locate_DevNodeA(&a, otherId, 0),
                                  CM_Locate_DevNodeA(&a, NULL, 8)};
    ok_each(locating, {CR_SUCCESS, CR_NO_SUCH_DEVNODE, CR_INVALID_FLAG}, located);
    ok(found == root, "%s: got %#lx, not %#lx", located, (unsigned long)found, (unsigned long)root);
    type = 0;
    const CONFIGRET odd[] = {
        CM_Get_DevNode_Registry_PropertyA(hub, CM_DRP_CLASS, NULL, buffer, &length, 0),
        CM_Get_DevNode_Registry_PropertyA(root, CM_DRP_MAX + 1, NULL, buffer, &length, 0),
        CM_Get_DevNode_Registry_PropertyA(root, CM_DRP_DEVICEDESC, NULL, NULL, &(length = 4), 0),
        CM_Get_DevNode_Registry_PropertyA(leaf, CM_DRP_HARDWAREID, &type, NULL, &(length = 0), 0)};
    const char *asked = "a class the tree does not keep is no value; past CM_DRP_MAX no property; no buffer with a "
                        "length is no pointer; a size asked for gives the type";
    ok_each(odd, {CR_NO_SUCH_VALUE, CR_INVALID_PROPERTY, CR_INVALID_POINTER, CR_BUFFER_SMALL}, asked);
    ok(type == REG_MULTI_SZ, "%s: type got %lu", asked, (unsigned long)type);
#endif
}

// The drivers " " and "Microsoft WDM Image Capture (Win32)". A format is a
// 40-byte BITMAPINFOHEADER, and a driver refuses a frame it cannot capture
// (capSetVideoFormat answers FALSE, as its page on Microsoft Learn allows).
// The pages of capGetDriverDescription (index 0-9; cut, terminated), capDriverConnect,
// capPreviewRate, capGetVideoFormat (0 unconnected; NULL asks the size), capDriverDisconnect.
void CaptureDrivers()
{
#ifndef _WIN32
    sim::AddCaptureDriver(" ");
    sim::AddCaptureDriver("Microsoft WDM Image Capture (Win32)");
#endif
    char name[8] = "", other[8], version[16];
    const char *described = "a driver's description is cut to the buffer; past the last driver there is none";
    const BOOL drivers[] = {!!capGetDriverDescriptionA(1, name, 8, version, sizeof(version)),
                            !!capGetDriverDescriptionA(2, other, 8, version, sizeof(version)),
                            !!capGetDriverDescriptionA(10, other, 8, version, sizeof(version))};
    ok_each(drivers, {TRUE, FALSE, FALSE}, described);
    ok(!strcmp(name, "Microso"), "%s: got \"%.8s\"", described, name);
    HWND capture = capCreateCaptureWindowA("", WS_POPUP, 0, 0, 320, 240, NULL, 0);
    BITMAPINFO format;
    memset(&format, 0, sizeof(format));
    const char *unconnected =
        "a capture window has no format and takes no rate nor preview until connected; there is no driver 5";
    ok(capture != NULL, "%s: got %p", unconnected, (void *)capture);
    const LRESULT refused[] = {SendMessageA(capture, WM_CAP_GET_VIDEOFORMAT, sizeof(format), (LPARAM)&format),
                               SendMessageA(capture, WM_CAP_SET_PREVIEWRATE, 15, 0),
                               SendMessageA(capture, WM_CAP_SET_PREVIEW, TRUE, 0),
                               SendMessageA(capture, WM_CAP_DRIVER_CONNECT, 5, 0)};
    ok_each(refused, {0, 0, 0, 0}, unconnected);
    const char *connected = "then the format of 24-bit RGB is its 40-byte header";
    const LRESULT formats[] = {!!SendMessageA(capture, WM_CAP_DRIVER_CONNECT, 1, 0),
                               SendMessageA(capture, WM_CAP_GET_VIDEOFORMAT, 0, 0),
                               SendMessageA(capture, WM_CAP_GET_VIDEOFORMAT, sizeof(format), (LPARAM)&format)};
    ok_each(formats, {TRUE, 40, 40}, connected);
    ok(format.bmiHeader.biWidth == 640 && format.bmiHeader.biBitCount == 24, "%s: got %ld wide, %d bits", connected,
       (long)format.bmiHeader.biWidth, format.bmiHeader.biBitCount);
    format.bmiHeader.biWidth = 321;
    LRESULT taken = SendMessageA(capture, WM_CAP_SET_VIDEOFORMAT, sizeof(format), (LPARAM)&format);
    ok(!taken, "a size it cannot is refused: got %ld", (long)taken);
    format.bmiHeader.biWidth = 320;
    format.bmiHeader.biHeight = 240;
    const LRESULT running[] = {!!SendMessageA(capture, WM_CAP_SET_VIDEOFORMAT, sizeof(format), (LPARAM)&format),
                               !!SendMessageA(capture, WM_CAP_SET_PREVIEWRATE, 15, 0),
                               !!SendMessageA(capture, WM_CAP_SET_PREVIEW, TRUE, 0),
                               !!SendMessageA(capture, WM_CAP_DRIVER_DISCONNECT, 0, 0),
                               !!SendMessageA(capture, WM_CAP_DRIVER_DISCONNECT, 0, 0),
                               !!SendMessageA(capture, WM_CAP_SET_PREVIEW, TRUE, 0)};
    ok_each(running, {TRUE, TRUE, TRUE, TRUE, FALSE, FALSE},
            "one it can is taken, the preview runs while connected; a driver disconnects once");
    BOOL destroyed = DestroyWindow(capture);
    ok(destroyed, "the capture window is destroyed: got %d", destroyed);
#ifdef _WIN32
    // Its page counts the sizes in bytes, Wine's and ReactOS's avicap32 in
    // characters: these hold either way.
    WCHAR wide[80] = L"", cut[8] = L"";
    BOOL whole = capGetDriverDescriptionW(1, wide, 80, NULL, 0);
    BOOL shortened = capGetDriverDescriptionW(1, cut, 8, NULL, 0);
    ok(whole && !lstrcmpW(wide, L"Microsoft WDM Image Capture (Win32)"),
       "capGetDriverDescriptionW answers the description in UTF-16: got %d, \"%.80ls\"", whole, wide);
    size_t kept = wcslen(cut);
    ok(shortened && kept >= 3 && kept < 8 && !wcsncmp(cut, L"Microso", kept),
       "and cuts it to the buffer, terminated: got %d, \"%.8ls\"", shortened, cut);
#endif
}

// --- What Wine does not implement: the simulation only --------------------------
#ifndef _WIN32

// What the simulation found, for a failing fact's message.
std::string Joined(const std::vector<std::string> &findings)
{
    std::string text = findings.empty() ? "nothing" : "";
    for (const std::string &finding : findings)
        text += (text.empty() ? "\"" : ", \"") + finding + "\"";
    return text;
}

// Wine's devenum lists no Plug and Play device ("@device:pnp:" names are
// unhandled there); Microsoft Learn's "Using the System Device Enumerator"
// describes what follows. A filter's handle leads to the device's kernel
// object, which Wine's ksproxy.ax cannot reach: KsSynchronousDeviceControl is
// a stub there, and its page requires BytesReturned; the answer for a set
// the driver lacks is IKsPropertySet's E_PROP_SET_UNSUPPORTED. Of the count
// after a failure Windows documents nothing, and ReactOS's ksproxy writes it
// on success only. A name parses without its key (devenum/tests/devenum.c),
// and a device's outlives the unplug; what binding then answers is documented
// nowhere, so the fact asks only that it fails, which is all Lumetra checks.
void PluggedDevices()
{
    CoInitialize(NULL);
    const std::wstring name = sim::Device(sim::AddVideoDevice(L"USB Video Device")).displayName;
    ICreateDevEnum *devices = NULL;
    IEnumMoniker *category = NULL;
    IMoniker *moniker = NULL, *parsed = NULL, *again = NULL;
    IBindCtx *context = NULL;
    IPropertyBag *bag = NULL;
    IKsObject *filter = NULL;
    IMalloc *allocator = NULL;
    ULONG past = 0, fetched = 0, eaten = 0, returned = 7;
    CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, (void **)&devices);
    HRESULT hr = devices ? devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &category, 0) : E_POINTER;
    const char *listed = "a present device is enumerated; past it the enumeration ends with S_FALSE";
    ok(hr == S_OK && category, "%s: got %#x, %p", listed, (unsigned)hr, (void *)category);
    if (category) {
        const HRESULT walked[] = {category->Skip(1), category->Next(1, &parsed, &past), category->Reset(),
                                  category->Next(1, &moniker, &fetched)};
        ok_each(walked, {S_OK, S_FALSE, S_OK, S_OK}, listed);
    }
    ok(past == 0, "%s: past it fetched %lu", listed, (unsigned long)past);
    ok(fetched == 1 && moniker, "%s: fetched %lu, %p", listed, (unsigned long)fetched, (void *)moniker);
    VARIANT friendly;
    memset(&friendly, 0, sizeof(friendly));
    LPOLESTR display = NULL;
    CoGetMalloc(MEMCTX_TASK, &allocator);
    const char *described = "its property bag holds the friendly name; its display name comes from the task allocator";
    const HRESULT read[] = {moniker ? moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, (void **)&bag) : E_POINTER,
                            bag ? bag->Read(L"FriendlyName", &friendly, NULL) : E_POINTER,
                            moniker ? moniker->GetDisplayName(NULL, NULL, &display) : E_POINTER};
    ok_each(read, {S_OK, S_OK, S_OK}, described);
    const wchar_t *text = friendly.vt == VT_BSTR && friendly.bstrVal ? friendly.bstrVal : L"";
    ok(friendly.vt == VT_BSTR && !wcscmp(text, L"USB Video Device"), "%s: got type %d, \"%ls\"", described,
       friendly.vt, text);
    int owned = allocator ? allocator->DidAlloc(display) : 0;
    ok(display && display == name, "%s: got \"%ls\"", described, display ? display : L"(null)");
    ok(owned == 1, "%s: DidAlloc got %d", described, owned);
    SysFreeString(friendly.bstrVal);
    if (allocator)
        allocator->Free(display);
    CreateBindCtx(0, &context);
    KSPROPERTY request = {};
    request.Set = kNobodysGuid;
    request.Flags = KSPROPERTY_TYPE_GET;
    const char *bound = "the name parses back and binds to the filter, whose handle leads to the device: one without "
                        "the property set asked for answers E_PROP_SET_UNSUPPORTED, ERROR_SET_NOT_FOUND";
    const HRESULT binding[] = {MkParseDisplayName(context, name.c_str(), &eaten, &parsed),
                               parsed ? parsed->BindToObject(NULL, NULL, IID_IKsObject, (void **)&filter) : E_POINTER};
    ok_each(binding, {S_OK, S_OK}, bound);
    ok(eaten == name.size(), "%s: %lu eaten of %d", bound, (unsigned long)eaten, (int)name.size());
    hr = KsSynchronousDeviceControl(filter ? filter->KsGetObjectHandle() : NULL, IOCTL_KS_PROPERTY, &request,
                                    sizeof(request), NULL, 0, &returned);
    ok(hr == HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND), "%s: got %#x", bound, (unsigned)hr);
    wine_and_reactos ok(returned == 7, "and a failure leaves the count as it was: got %lu", (unsigned long)returned);
    HRESULT unsized = KsSynchronousDeviceControl(filter ? filter->KsGetObjectHandle() : NULL, IOCTL_KS_PROPERTY,
                                                 &request, sizeof(request), NULL, 0, NULL);
    sim::RemoveVideoDevice(name);
    void *none = NULL;
    const HRESULT gone[] = {MkParseDisplayName(context, name.c_str(), &eaten, &again),
                            parsed ? parsed->BindToObject(NULL, NULL, IID_IKsObject, &none) : S_OK};
    ok(gone[0] == S_OK, "once the device is gone its name still parses: got %#x", (unsigned)gone[0]);
    ok(FAILED(gone[1]) && !none, "but no longer binds: got %#x, %p", (unsigned)gone[1], none);
    for (IUnknown *object : std::vector<IUnknown *>{filter, parsed, again, context, bag, moniker, category, devices,
                                                    allocator})
        if (object)
            object->Release();
    CoUninitialize();
    sim::Reset();
    const std::vector<std::string> findings = sim::TakeResetFindings();
    const char *fault = "a request without BytesReturned is the fault it would be on Windows";
    ok(unsized == E_POINTER, "%s: got %#x", fault, (unsigned)unsized);
    ok(findings == std::vector<std::string>{"platform misuse: KsSynchronousDeviceControl without BytesReturned"},
       "%s: found %s", fault, Joined(findings).c_str());
}

// Wine runs a program as an administrator, without virtualization. Microsoft's
// "Registry Virtualization": opened with the access allowed, writes go to the user's
// VirtualStore\Machine\Software, its values read first.
void RegistryOfAStandardUser()
{
    const char kVirtual[] = "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\PlatformFacts";
    HKEY key = NULL;
    sim::ThisProcess().standardUser = true;
    sim::SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\WOW6432Node\\PlatformFacts", "Text", REG_SZ, "7");
    sim::SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\WOW6432Node\\PlatformFacts", "Other", REG_SZ, sim::Sz("1"));
    const LSTATUS denied[] = {
        RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\New", &key),
        Opens(HKEY_LOCAL_MACHINE, "Software\\WOW6432Node\\PlatformFacts", KEY_ALL_ACCESS)};
    ok_each(denied, {ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
            "a standard user's 64-bit process may neither create a key under HKEY_LOCAL_MACHINE nor open one to write");
    sim::ThisProcess().wow64 = true; // and the manifest asks for no execution level: virtualized
    char data[4] = "", other[4] = "";
    DWORD size = sizeof(data);
    const LSTATUS virtualized[] = {
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\PlatformFacts", 0, KEY_ALL_ACCESS, &key),
        RegSetValueExA(key, "Text", 0, REG_SZ, (const BYTE *)"8", 1),
        RegQueryValueExA(key, "Text", NULL, NULL, (BYTE *)data, &size),
        RegQueryValueExA(key, "Other", NULL, NULL, (BYTE *)other, &size)};
    const char *copied =
        "a virtualized process opens it with the access allowed and sets a value; reads see its copy first";
    ok_each(virtualized, {ERROR_SUCCESS, ERROR_SUCCESS, ERROR_SUCCESS, ERROR_SUCCESS}, copied);
    ok(!memcmp(data, "8", 2), "%s: got \"%.4s\"", copied, data);
    ok(!memcmp(other, "1", 2), "%s: got \"%.4s\"", copied, other);
    RegCloseKey(key);
    sim::RegValue machine, user;
    const char *landed = "the write lands in the user's VirtualStore, the machine's value stays";
    const bool found[] = {sim::GetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\WOW6432Node\\PlatformFacts", "Text",
                                                &machine),
                          sim::GetRegistryValue(HKEY_CURRENT_USER, kVirtual, "Text", &user)};
    ok_each(found, {true, true}, landed);
    ok(machine.data == "7", "%s: the machine's got \"%s\"", landed, Escaped(machine.data).c_str());
    ok(user.data == std::string("8\0", 2), "%s: the user's got \"%s\"", landed, Escaped(user.data).c_str());
    LSTATUS status = RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\PlatformFacts\\New", &key);
    ok(status == ERROR_SUCCESS, "so does a new key: got %ld", (long)status);
    ok(sim::RegistryKeyExists(HKEY_CURRENT_USER, std::string(kVirtual) + "\\New"), "so does a new key: none there");
    RegCloseKey(key);
}

DEV_BROADCAST_HDR g_arrival;

INT_PTR CALLBACK FaultyDialog(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE && wParam == DBT_DEVICEARRIVAL)
        g_arrival = *(const DEV_BROADCAST_HDR *)lParam;
    return message == WM_PAINT;
}

// What would go wrong on Windows the simulation reports as misuse; what it
// never does, as a scenario that cannot be: a window that registered for no
// notifications gets a device's arrival (DBT_DEVICEARRIVAL on Microsoft
// Learn) only for a volume or a port, with its header, never a camera's. CoUninitialize's
// page: it unloads the thread's DLLs; ValidateRect's: WM_PAINT comes until validated.
void Faults()
{
    IBindCtx *context = NULL;
    IMoniker *moniker = NULL;
    ULONG eaten = 0;
    CoInitialize(NULL);
    CreateBindCtx(0, &context);
    MkParseDisplayName(context, L"@device:pnp:\\\\?\\usb#gone", &eaten, &moniker);
    CoUninitialize();
    for (IUnknown *object : std::vector<IUnknown *>{moniker, context})
        if (object)
            object->Release();
    sim::Minimize(false);
    sim::DeviceChange(DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME);
    sim::DeviceChange(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE);
    sim::Then([] { EndDialog(FindWindowA(NULL, "Lumetra"), IDOK); });
    DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_MAIN), NULL, FaultyDialog, 0);
    sim::Reset();
    const std::vector<std::string> findings = sim::TakeResetFindings();
    const char *const wanted[] = {
        "platform misuse: Release of IMoniker after the thread's last CoUninitialize",
        "platform misuse: WM_PAINT left #32770 window unvalidated",
        "scenario: device change 32768 for device type 5, which a top-level window is never sent"};
    const char *what = "an apartment's object is gone with its last CoUninitialize (a bind context is not one); a "
                       "WM_PAINT that neither paints nor reaches the default processing would be sent again and "
                       "again; a volume's arrival comes with its header, a device interface's (a camera's) does not "
                       "come";
    ok(findings.size() == 3, "%s: found %s", what, Joined(findings).c_str());
    for (size_t i = 0; i < 3; ++i)
        ok(i < findings.size() && findings[i] == wanted[i], "%s (%d): found \"%s\"", what, (int)i,
           i < findings.size() ? findings[i].c_str() : "");
    ok(g_arrival.dbch_devicetype == DBT_DEVTYP_VOLUME && g_arrival.dbch_size == sizeof(DEV_BROADCAST_VOLUME),
       "%s: an arrival of type %lu, %lu bytes", what, (unsigned long)g_arrival.dbch_devicetype,
       (unsigned long)g_arrival.dbch_size);
}

#endif

const facts::Group kGroups[] = {
    {"KERNEL32 strings, the C runtime", Strings, facts::kEverywhere},
    {"WideCharToMultiByte", WideToAnsi, facts::kEverywhere},
    {"COM apartments", Apartments, facts::kEverywhere},
    {"task allocator, BSTRs", TaskAllocatorAndStrings, facts::kEverywhere},
    {"bind contexts, display names", BindContextsAndNames, facts::kEverywhere},
    {"system device enumerator", DeviceEnumerator, facts::kEverywhere},
    {"registry", Registry, facts::kEverywhere},
    {"registry views", RegistryViews, facts::kEverywhere},
    {"loader", Loader, facts::kEverywhere},
    {"dialogs, menus, message boxes, windows", Dialogs, facts::kEverywhere},
    {"device tree", DeviceTree, facts::kStandins},
    {"capture drivers", CaptureDrivers, facts::kStandins},
#ifndef _WIN32
    {"video-input devices, kernel streaming", PluggedDevices, facts::kHostOnly},
    {"registry of a standard user", RegistryOfAStandardUser, facts::kHostOnly},
    {"faults Windows punishes", Faults, facts::kHostOnly},
#endif
};

} // namespace

int main(int argc, char **argv)
{
    return facts::Run(kGroups, sizeof(kGroups) / sizeof(kGroups[0]), argc == 2 && !strcmp(argv[1], "standins"));
}
