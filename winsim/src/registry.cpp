// The registry: keys and typed values, opened through counted handles, with
// an optional ban on writes under HKEY_LOCAL_MACHINE (a standard user).
#include "state.h"

#include <ctype.h>

namespace sim {
namespace detail {
namespace {

std::string Lower(std::string text)
{
    for (char &c : text)
        c = (char)tolower((unsigned char)c);
    return text;
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

// The full path a handle and a subkey name, or "" for an unknown handle.
std::string Resolve(HKEY key, LPCSTR subKey)
{
    std::string base;
    if (const char *root = RootName(key))
        base = root;
    else if (S().openKeys.count(key))
        base = S().openKeys[key].path;
    else
        return "";
    if (subKey && *subKey)
        base += "\\" + Lower(subKey);
    return base;
}

bool MayWrite(const std::string &path) { return !(S().denyMachineWrites && path.compare(0, 4, "hklm") == 0); }

HKEY NewHandle(const std::string &path, bool writable)
{
    HKEY key = (HKEY)S().nextKey;
    S().nextKey += 4;
    S().openKeys[key] = {path, writable};
    return key;
}

void CreatePath(const std::string &path)
{
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
        S().registry[path.substr(0, at)];
    S().registry[path];
}

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

} // namespace
} // namespace detail

using namespace detail;

void SetRegistryValue(HKEY root, const std::string &key, const std::string &name, DWORD type, const std::string &data)
{
    std::string path = Resolve(root, key.c_str());
    CreatePath(path);
    S().registry[path][Lower(name)] = {type, data};
}

bool GetRegistryValue(HKEY root, const std::string &key, const std::string &name, RegValue *value)
{
    auto k = S().registry.find(Resolve(root, key.c_str()));
    if (k == S().registry.end())
        return false;
    auto v = k->second.find(Lower(name));
    if (v == k->second.end())
        return false;
    *value = v->second;
    return true;
}

bool RegistryKeyExists(HKEY root, const std::string &key) { return S().registry.count(Resolve(root, key.c_str())) != 0; }
void DenyMachineKeyWrites(bool deny) { S().denyMachineWrites = deny; }
long LiveRegistryKeys() { return (long)S().openKeys.size(); }

} // namespace sim

using namespace sim;
using namespace sim::detail;

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
    std::string path = Resolve(key, subKey);
    if (path.empty())
        return ERROR_INVALID_HANDLE;
    if (S().registry.count(path) == 0)
        return ERROR_FILE_NOT_FOUND;
    bool wantsWrite = (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0;
    if (wantsWrite && !MayWrite(path))
        return ERROR_ACCESS_DENIED;
    *result = NewHandle(path, wantsWrite);
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
    std::string path = Resolve(key, subKey);
    if (path.empty())
        return ERROR_INVALID_HANDLE;
    if (S().registry.count(path) == 0) {
        if (!MayWrite(path))
            return ERROR_ACCESS_DENIED;
        CreatePath(path);
    }
    *result = NewHandle(path, MayWrite(path));
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
    const auto &values = S().registry[handle->second.path];
    auto value = values.find(Lower(name ? name : ""));
    if (value == values.end())
        return ERROR_FILE_NOT_FOUND;
    const RegValue &v = value->second;
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
    if (!handle->second.writable)
        return ERROR_ACCESS_DENIED;
    if (data == NULL && size != 0)
        return ERROR_NOACCESS;
    std::string stored((const char *)data, size);
    // Windows NT (and Wine) keep a string's terminator even when the size
    // leaves it out, as long as the byte after the data is zero.
    if (IsString(type) && size > 0 && data[size - 1] != 0 && data[size] == 0)
        stored += '\0';
    S().registry[handle->second.path][Lower(name ? name : "")] = {type, stored};
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
