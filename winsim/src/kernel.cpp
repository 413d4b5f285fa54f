// KERNEL32's string services and the C runtime's Microsoft extras.
#include "state.h"

#include <ctype.h>

using namespace sim;
using namespace sim::detail;

DWORD WINAPI GetLastError(void) { return S().lastError; }
void WINAPI SetLastError(DWORD code) { S().lastError = code; }

int WINAPI lstrlenA(LPCSTR s) { return s ? (int)strlen(s) : 0; }

int WINAPI lstrlenW(LPCWSTR s)
{
    int n = 0;
    while (s && s[n])
        ++n;
    return n;
}

int WINAPI lstrcmpA(LPCSTR a, LPCSTR b)
{
    int c = strcmp(a ? a : "", b ? b : "");
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

LPSTR WINAPI lstrcpyA(LPSTR dst, LPCSTR src) { return strcpy(dst, src); }

LPSTR WINAPI lstrcpynA(LPSTR dst, LPCSTR src, int max)
{
    if (max <= 0)
        return dst;
    int i = 0;
    for (; i < max - 1 && src[i]; ++i)
        dst[i] = src[i];
    dst[i] = '\0';
    return dst;
}

// The ANSI code page is modelled as Windows-1252 restricted to its Latin-1
// half: characters outside it become the default character '?', as do
// surrogates, paired or not (a pair gives one '?').
static char ToAnsi(const WCHAR *s, int length, int *i)
{
    uint32_t c = (uint32_t)s[*i];
    if (c >= 0xD800 && c <= 0xDBFF && *i + 1 < length) {
        uint32_t low = (uint32_t)s[*i + 1];
        if (low >= 0xDC00 && low <= 0xDFFF)
            ++*i;
    }
    ++*i;
    return c < 0x80 || (c >= 0xA0 && c <= 0xFF) ? (char)c : '?';
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int cchWide, LPSTR multi, int cbMulti,
                               LPCSTR defaultChar, LPBOOL usedDefault)
{
    HRESULT failure;
    if (Enter(Call::WideCharToMultiByte, &failure)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (codePage != CP_ACP || flags != 0 || defaultChar || usedDefault || wide == NULL || cbMulti < 0 ||
        (cbMulti > 0 && multi == NULL)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int length = cchWide < 0 ? lstrlenW(wide) + 1 : cchWide;
    int written = 0;
    for (int i = 0; i < length;) {
        char c = ToAnsi(wide, length, &i);
        if (cbMulti == 0) {
            ++written;
            continue;
        }
        if (written == cbMulti) {
            // The buffer holds what fitted; the call still fails.
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        multi[written++] = c;
    }
    return written;
}

extern "C" int _strnicmp(const char *a, const char *b, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        int ca = tolower((unsigned char)a[i]), cb = tolower((unsigned char)b[i]);
        if (ca != cb)
            return ca - cb;
        if (ca == 0)
            return 0;
    }
    return 0;
}

extern "C" char *_itoa(int value, char *buffer, int radix)
{
    char digits[40];
    int n = 0;
    bool negative = radix == 10 && value < 0;
    unsigned int u = negative ? 0u - (unsigned int)value : (unsigned int)value;
    do {
        unsigned d = u % (unsigned)radix;
        digits[n++] = (char)(d < 10 ? '0' + d : 'a' + d - 10);
        u /= (unsigned)radix;
    } while (u);
    char *p = buffer;
    if (negative)
        *p++ = '-';
    while (n)
        *p++ = digits[--n];
    *p = '\0';
    return buffer;
}
