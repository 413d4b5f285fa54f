#include "CountryStore.h"

#include <limits.h>
#include <stdlib.h>

const char kSettingsKey[] = "Software\\ZivoCam";
const char kCountryValue[] = "Country";

// The text is written without its terminator, but Windows stores one after
// it anyway; a text of the full length is then one byte longer, and it is
// accepted with that terminator rather than lost.
BOOL ReadRegistryString(HKEY root, LPCSTR subKey, LPCSTR valueName, char *buffer)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    DWORD type, size = kCountryTextSize + 1;
    LONG result = RegQueryValueExA(key, valueName, NULL, &type, (LPBYTE)buffer, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size > kCountryTextSize + 1)
        return FALSE;
    if (size == kCountryTextSize + 1 && buffer[kCountryTextSize] != '\0')
        return FALSE; // longer than any text we keep
    buffer[size] = '\0';
    return TRUE;
}

BOOL WriteRegistryString(HKEY root, LPCSTR subKey, LPCSTR valueName, LPCSTR text)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS &&
        RegCreateKeyA(root, subKey, &key) != ERROR_SUCCESS)
        return FALSE;
    // A key that RegCreateKey merely opened may be read-only: reopen it for
    // writing, which fails where writing is not allowed.
    RegCloseKey(key);
    if (RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return FALSE;
    LONG result = RegSetValueExA(key, valueName, 0, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

int ParseCountryText(const char *text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > (long long)INT_MAX + 1)
            break; // no further digit can bring it back in range
    }
    if (negative)
        value = -value;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : (int)value;
}

int LoadCountry()
{
    char text[kCountryBufferSize];
    if (!ReadRegistryString(HKEY_LOCAL_MACHINE, kSettingsKey, kCountryValue, text))
        return kDefaultCountry;
    return ParseCountryText(text);
}

void SaveCountry(int country)
{
    char text[12]; // any int in decimal, with its sign and terminator
    _itoa(country, text, 10);
    WriteRegistryString(HKEY_LOCAL_MACHINE, kSettingsKey, kCountryValue, text);
}
