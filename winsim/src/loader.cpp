// The loader: finding SetDefaultDllDirectories, the system folder, loading a
// DLL by its full path, and how a delay-loaded DLL is found at the first call
// into it.
#include "ui.h"

#include <wctype.h>

#include <algorithm>

using namespace sim;
using namespace sim::detail;

namespace {

const HMODULE kKernel32 = (HMODULE)0x7B000000;

// The system folder's DLLs the program may load by path, with the calls it
// makes into each.
struct SystemDll {
    const char *name;
    std::vector<Call> calls;
};
const std::vector<SystemDll> &SystemDlls()
{
    static const std::vector<SystemDll> dlls = {
        {"ksproxy.ax", {Call::KsSynchronousDeviceControl}},
        {"cfgmgr32.dll", {Call::CM_Locate_DevNode, Call::CM_Get_DevNode_Registry_Property, Call::CM_Get_Child,
                          Call::CM_Get_Sibling, Call::CM_Get_Parent}},
        {"avicap32.dll", {Call::capGetDriverDescription, Call::capCreateCaptureWindow}},
    };
    return dlls;
}

std::string Lower(const WCHAR *text)
{
    std::string lower;
    for (; *text; ++text)
        lower += (char)towlower((wint_t)*text);
    return lower;
}

// Windows accepts the flags below in any combination, and nothing else:
// dlls/kernel32/tests/module.c, test_SetDefaultDllDirectories.
const DWORD kSearchFlags = LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_USER_DIRS |
                           LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;

BOOL WINAPI SetDefaultDllDirectories(DWORD flags)
{
    if (Enter(Call::SetDefaultDllDirectories, NULL) || flags == 0 || (flags & ~kSearchFlags)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    State &s = S();
    bool programFolder = flags & (LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    s.searchRestrictedAt = programFolder ? 0 : s.log.size();
    return TRUE;
}

} // namespace

HMODULE WINAPI GetModuleHandleW(LPCWSTR name)
{
    if (name == NULL)
        return kModule;
    std::string lower = Lower(name);
    if (lower == "kernel32.dll" || lower == "kernel32")
        return kKernel32;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return NULL;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name)
{
    bool found = module == kKernel32 && name && strcmp(name, "SetDefaultDllDirectories") == 0 &&
                 S().hasDefaultDllDirectories;
    if (Enter(Call::GetProcAddress, NULL) || !found) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return NULL;
    }
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&SetDefaultDllDirectories));
}

// The length copied without the terminator, or the size needed with it.
UINT WINAPI GetSystemDirectoryW(LPWSTR buffer, UINT size)
{
    if (Enter(Call::GetSystemDirectory, NULL))
        return 0;
    const std::wstring &folder = S().systemFolder;
    if (size <= folder.size())
        return (UINT)folder.size() + 1;
    memcpy(buffer, folder.c_str(), (folder.size() + 1) * sizeof(WCHAR));
    return (UINT)folder.size();
}

HMODULE WINAPI LoadLibraryExW(LPCWSTR path, HANDLE file, DWORD flags)
{
    if (file != NULL || path == NULL) {
        ReportMisuse("LoadLibraryExW with a file handle, which is reserved, or no path");
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    std::string lower = Lower(path);
    bool qualified = lower.size() > 3 && lower[1] == ':' && lower[2] == '\\';
    if ((flags & LOAD_WITH_ALTERED_SEARCH_PATH) && !qualified)
        ReportMisuse("LoadLibraryExW with LOAD_WITH_ALTERED_SEARCH_PATH and the relative path " + lower);
    if (Enter(Call::LoadLibraryEx, NULL)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return NULL;
    }
    std::string folder = Lower(S().systemFolder.c_str()) + "\\";
    State &s = S();
    for (size_t i = 0; i < SystemDlls().size(); ++i) {
        if (lower == folder + SystemDlls()[i].name) {
            s.loaded.push_back({SystemDlls()[i].name, path, s.log.size()});
            return (HMODULE)(0x10000000 + 0x100000 * i);
        }
    }
    ReportMisuse("LoadLibraryExW of " + lower + ", a library the simulation does not hold");
    SetLastError(ERROR_MOD_NOT_FOUND);
    return NULL;
}

namespace sim {

void SetHasDefaultDllDirectories(bool has) { S().hasDefaultDllDirectories = has; }
void SetSystemFolder(const std::wstring &path) { S().systemFolder = path; }
std::vector<std::wstring> LibrariesLoaded()
{
    std::vector<std::wstring> paths;
    for (const State::Loaded &library : S().loaded)
        paths.push_back(library.path);
    return paths;
}

DllSearch SearchAtFirstCall(const std::string &dll)
{
    const State &s = S();
    auto candidate = std::find_if(SystemDlls().begin(), SystemDlls().end(),
                                  [&](const SystemDll &d) { return dll == d.name; });
    if (candidate == SystemDlls().end())
        return DllSearch::NotCalled;
    auto intoDll = [&](Call call) { return std::count(candidate->calls.begin(), candidate->calls.end(), call) > 0; };
    size_t at = (size_t)(std::find_if(s.log.begin(), s.log.end(), intoDll) - s.log.begin()) + 1; // from 1
    if (at > s.log.size())
        return DllSearch::NotCalled;
    for (const State::Loaded &library : s.loaded)
        if (library.dll == dll && library.at < at)
            return DllSearch::AlreadyLoaded;
    if (s.searchRestrictedAt != 0 && s.searchRestrictedAt < at)
        return DllSearch::SystemFolderOnly;
    return DllSearch::ProgramFolderFirst;
}

} // namespace sim
