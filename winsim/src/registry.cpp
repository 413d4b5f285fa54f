// The registry: keys and typed values, opened through counted handles, as
// the scenario's process sees them. A 32-bit process on 64-bit Windows has
// HKLM\Software in the 32-bit view (Software\WOW6432Node); a standard user
// cannot write under HKEY_LOCAL_MACHINE, and when the process is virtualized
// (32-bit, interactive, no requestedExecutionLevel in its manifest) writes
// that would be denied under HKLM\Software land in the user's VirtualStore,
// and reads see that copy first:
// https://learn.microsoft.com/en-us/windows/win32/sysinfo/registry-virtualization
#include "state.h"

#include <ctype.h>

namespace sim {
namespace detail {
namespace {

const char kSoftware[] = "hklm\\software";
const char kWow64Node[] = "hklm\\software\\wow6432node";
const char kVirtualStore[] = "hkcu\\software\\classes\\virtualstore\\machine\\software";

std::string Lower(std::string text)
{
    for (char &c : text)
        c = (char)tolower((unsigned char)c);
    return text;
}

bool IsUnder(const std::string &path, const std::string &key)
{
    return path.compare(0, key.size(), key) == 0 && (path.size() == key.size() || path[key.size()] == '\\');
}

const char *RootName(HKEY root)
{
    if (root == HKEY_LOCAL_MACHINE)
        return "hklm";
    if (root == HKEY_CURRENT_USER)
        return "hkcu";
    if (root == HKEY_CLASSES_ROOT)
        return "hkcr";
    return NULL;
}

// The key a name from a predefined key reaches in the view asked for: the
// process's own unless KEY_WOW64_32KEY or KEY_WOW64_64KEY says otherwise.
std::string InView(const std::string &path, REGSAM access)
{
    bool view32 = access & KEY_WOW64_32KEY ? true : access & KEY_WOW64_64KEY ? false : ThisProcess().wow64;
    if (!view32 || !IsUnder(path, kSoftware) || IsUnder(path, kWow64Node))
        return path;
    return kWow64Node + path.substr(sizeof(kSoftware) - 1);
}

// The full path a handle and a subkey name, or "" for an unknown handle.
std::string Resolve(HKEY key, LPCSTR subKey, REGSAM access)
{
    std::string sub = subKey && *subKey ? "\\" + Lower(subKey) : "";
    if (const char *root = RootName(key))
        return InView(root + sub, access);
    auto open = S().openKeys.find(key);
    return open == S().openKeys.end() ? "" : open->second.path + sub;
}

bool MayWrite(const std::string &path) { return !(ThisProcess().standardUser && IsUnder(path, "hklm")); }

bool Virtualized(const std::string &path)
{
    std::string manifest = ModuleResource(24, 1); // RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID
    const Process &p = ThisProcess();
    return p.wow64 && p.standardUser && manifest.find("requestedExecutionLevel") == std::string::npos &&
           IsUnder(path, kSoftware) && !IsUnder(path, "hklm\\software\\classes") &&
           !IsUnder(path, "hklm\\software\\microsoft\\windows") &&
           !IsUnder(path, "hklm\\software\\microsoft\\windows nt");
}

std::string VirtualCopy(const std::string &path) { return kVirtualStore + path.substr(sizeof(kSoftware) - 1); }

// The key as the process sees it: where its writes may go ("" where none
// may) and the virtual copy its reads look at first.
struct View {
    std::string writeTo, virtualCopy;
    explicit View(const std::string &path)
    {
        if (Virtualized(path))
            virtualCopy = VirtualCopy(path);
        writeTo = MayWrite(path) ? path : virtualCopy;
    }
};

bool KeyExists(const std::string &path, const View &view)
{
    return S().registry.count(path) || (!view.virtualCopy.empty() && S().registry.count(view.virtualCopy));
}

HKEY NewHandle(const std::string &path, const View &view, bool writes)
{
    HKEY key = (HKEY)S().nextKey;
    S().nextKey += 4;
    S().openKeys[key] = {path, writes ? view.writeTo : "", view.virtualCopy};
    return key;
}

void CreatePath(const std::string &path)
{
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
        S().registry[path.substr(0, at)];
    S().registry[path];
}

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The registry as it is stored, whatever the process: no view, no
// virtualization.
std::string StoredPath(HKEY root, const std::string &key) { return RootName(root) + ("\\" + Lower(key)); }

} // namespace
} // namespace detail

using namespace detail;

Process &ThisProcess() { return S().process; }

void SetRegistryValue(HKEY root, const std::string &key, const std::string &name, DWORD type, const std::string &data)
{
    std::string path = StoredPath(root, key);
    CreatePath(path);
    S().registry[path][Lower(name)] = {type, data};
}

bool GetRegistryValue(HKEY root, const std::string &key, const std::string &name, RegValue *value)
{
    auto k = S().registry.find(StoredPath(root, key));
    if (k == S().registry.end())
        return false;
    auto v = k->second.find(Lower(name));
    if (v == k->second.end())
        return false;
    *value = v->second;
    return true;
}

bool RegistryKeyExists(HKEY root, const std::string &key) { return S().registry.count(StoredPath(root, key)) != 0; }
long LiveRegistryKeys() { return (long)S().openKeys.size(); }

} // namespace sim

using namespace sim;
using namespace sim::detail;

// Write access that is denied is, for a virtualized process, the maximum
// allowed instead, with its writes going to the virtual store.
LSTATUS WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result)
{
    HRESULT failure;
    if (result == NULL)
        return ERROR_INVALID_PARAMETER;
    *result = NULL;
    if (Enter(Call::RegOpenKeyEx, &failure))
        return failure;
    if (options != 0 && options != REG_OPTION_OPEN_LINK)
        return ERROR_INVALID_PARAMETER;
    std::string path = Resolve(key, subKey, access);
    if (path.empty())
        return ERROR_INVALID_HANDLE;
    View view(path);
    if (!KeyExists(path, view))
        return ERROR_FILE_NOT_FOUND;
    bool wantsWrite = (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0;
    if (wantsWrite && view.writeTo.empty())
        return ERROR_ACCESS_DENIED;
    *result = NewHandle(path, view, wantsWrite || (access & MAXIMUM_ALLOWED));
    return ERROR_SUCCESS;
}

// Opens or creates the key with the most access the caller may have.
LSTATUS WINAPI RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result)
{
    HRESULT failure;
    if (result == NULL)
        return ERROR_INVALID_PARAMETER;
    *result = NULL;
    if (Enter(Call::RegCreateKey, &failure))
        return failure;
    std::string path = Resolve(key, subKey, 0);
    if (path.empty())
        return ERROR_INVALID_HANDLE;
    View view(path);
    if (!KeyExists(path, view)) {
        if (view.writeTo.empty())
            return ERROR_ACCESS_DENIED;
        CreatePath(view.writeTo);
    }
    *result = NewHandle(path, view, true);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    HRESULT failure;
    if (Enter(Call::RegQueryValueEx, &failure))
        return failure;
    if (reserved != NULL)
        return ERROR_INVALID_PARAMETER;
    auto handle = S().openKeys.find(key);
    if (handle == S().openKeys.end())
        return ERROR_INVALID_HANDLE;
    if (data != NULL && size == NULL)
        return ERROR_INVALID_PARAMETER;
    // A virtualized key's values are read from its virtual copy first.
    const OpenKey &open = handle->second;
    const std::string valueName = Lower(name ? name : "");
    const RegValue *found = NULL;
    for (const std::string &in : {open.virtualCopy, open.path}) {
        auto values = S().registry.find(in);
        if (found == NULL && values != S().registry.end() && values->second.count(valueName))
            found = &values->second.at(valueName);
    }
    if (found == NULL)
        return ERROR_FILE_NOT_FOUND;
    const RegValue &v = *found;
    if (type)
        *type = v.type;
    if (size == NULL)
        return ERROR_SUCCESS;
    DWORD available = *size;
    *size = (DWORD)v.data.size();
    if (data == NULL)
        return ERROR_SUCCESS;
    if (available < v.data.size())
        return ERROR_MORE_DATA;
    memcpy(data, v.data.data(), v.data.size());
    ++S().succeeded.valuesQueried;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE *data, DWORD size)
{
    HRESULT failure;
    if (Enter(Call::RegSetValueEx, &failure))
        return failure;
    if (reserved != 0)
        return ERROR_INVALID_PARAMETER;
    auto handle = S().openKeys.find(key);
    if (handle == S().openKeys.end())
        return ERROR_INVALID_HANDLE;
    if (handle->second.writeTo.empty())
        return ERROR_ACCESS_DENIED;
    if (data == NULL && size != 0)
        return ERROR_NOACCESS;
    std::string stored((const char *)data, size);
    // Windows NT (and Wine) keep a string's terminator even when the size
    // leaves it out, as long as the byte after the data is zero.
    if (IsString(type) && size > 0 && data[size - 1] != 0 && data[size] == 0)
        stored += '\0';
    std::string path = handle->second.writeTo;
    CreatePath(path);
    S().registry[path][Lower(name ? name : "")] = {type, stored};
    ++S().succeeded.valuesSet;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY key)
{
    Enter(Call::RegCloseKey, NULL);
    if (RootName(key))
        return ERROR_SUCCESS;
    if (S().openKeys.erase(key) == 0) {
        ReportMisuse("RegCloseKey of a handle that is not open");
        return ERROR_INVALID_HANDLE;
    }
    return ERROR_SUCCESS;
}
