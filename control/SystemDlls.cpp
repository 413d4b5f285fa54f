#include "control/SystemDlls.h"

namespace {

const WCHAR *const kNonKnownDlls[] = {L"ksproxy.ax", L"cfgmgr32.dll", L"avicap32.dll"};

typedef BOOL(WINAPI *SetDefaultDllDirectoriesProc)(DWORD);

// Found at run time, so that the program still starts where it is missing.
bool RestrictSearchToSystemFolder()
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC proc = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : NULL;
    if (proc == NULL)
        return false;
    SetDefaultDllDirectoriesProc restrict =
        reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void (*)()>(proc));
    return restrict(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

// LOAD_WITH_ALTERED_SEARCH_PATH looks for each DLL's own imports in the
// system folder too. The modules stay loaded for the life of the process,
// as the delay-load helper keeps those it loads.
void LoadFromSystemFolder()
{
    WCHAR path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    path[length++] = L'\\';
    for (const WCHAR *name : kNonKnownDlls) {
        UINT size = (UINT)lstrlenW(name) + 1;
        if (length + size > MAX_PATH)
            continue;
        CopyMemory(path + length, name, size * sizeof(WCHAR));
        LoadLibraryExW(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}

} // namespace

void UseSystemFolderDllsOnly()
{
    if (!RestrictSearchToSystemFolder())
        LoadFromSystemFolder();
}
