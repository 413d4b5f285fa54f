// The last country picked, kept as decimal text in one registry value.
#pragma once

#include <windows.h>

extern const char kSettingsKey[];  // under HKEY_LOCAL_MACHINE
extern const char kCountryValue[];
const int kDefaultCountry = 4;     // America
// The longest text read back.
const DWORD kCountryTextSize = 10;
// What ReadRegistryString needs: the text, a terminator the registry may
// have stored after it, and the terminator added on reading.
const DWORD kCountryBufferSize = kCountryTextSize + 2;

// Reads a text of at most kCountryTextSize characters into buffer (of
// kCountryBufferSize bytes) and terminates it.
BOOL ReadRegistryString(HKEY root, LPCSTR subKey, LPCSTR valueName, char *buffer);
// Writes text as REG_SZ, without its terminator, creating the key if needed.
BOOL WriteRegistryString(HKEY root, LPCSTR subKey, LPCSTR valueName, LPCSTR text);

// atoi's reading of the text, except that numbers beyond an int give
// INT_MAX or INT_MIN instead of undefined behaviour.
int ParseCountryText(const char *text);
int LoadCountry();
void SaveCountry(int country);
