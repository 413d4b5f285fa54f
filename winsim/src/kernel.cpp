// KERNEL32's string services and the C runtime's Microsoft extras.
#include "state.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>

using namespace sim;
using namespace sim::detail;

void WINAPI FatalAppExitA(UINT, LPCSTR text)
{
    fprintf(stderr, "FatalAppExit: %s\n", text ? text : "");
    abort();
}

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

// In the user's locale letters sort alphabetically first and by case after,
// lower case first. Beyond that only the bytes' order is modelled (Windows
// weighs punctuation and letters outside ASCII by its own tables).
// A NULL string sorts before every other, "" included (kernel32/tests/locale.c,
// test_CompareStringA).
int WINAPI lstrcmpA(LPCSTR a, LPCSTR b)
{
    if (a == NULL || b == NULL)
        return a == b ? 0 : a ? 1 : -1;
    int byCase = 0;
    for (;; ++a, ++b) {
        int ca = (unsigned char)*a, cb = (unsigned char)*b;
        if (tolower(ca) != tolower(cb))
            return tolower(ca) < tolower(cb) ? -1 : 1;
        if (ca == 0)
            return byCase;
        if (byCase == 0 && ca != cb)
            byCase = islower(ca) ? -1 : 1;
    }
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

namespace {

// Bytes 0x80 to 0x9F of Windows-1252, the ANSI code page modelled here. The
// five it leaves unassigned stand for the control characters of the same
// value.
const uint16_t kHighBlock[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Windows' best fit for U+0100 to U+017F: the letter without its mark, '?'
// where it has none. Letters of the high block are found there first.
const char kLatinExtendedA[] = "AaAaAaCcCcCcCcDd"
                               "\xD0"
                               "dEeEeEeEeEeGgGg"
                               "GgGgHhHhIiIiIiIi"
                               "Ii??JjKk?LlLlLl?"
                               "?LlNnNnNn???OoOo"
                               "Oo??RrRrRrSsSsSs"
                               "??TtTtTtUuUuUuUu"
                               "UuUuWwYy?ZzZz???";
static_assert(sizeof(kLatinExtendedA) == 0x80 + 1, "one byte for each of U+0100 to U+017F");

// The byte of Windows-1252 for c, or -1 where the code page has none.
int Exact(uint32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return (int)c;
    for (uint32_t i = 0; i < 32; ++i)
        if (kHighBlock[i] == c)
            return (int)(0x80 + i);
    return -1;
}

// Windows' best fit for a character the code page lacks: a Latin letter
// without its mark, the full-width forms, the spaces; -1 where it has none.
int BestFit(uint32_t c)
{
    if (c >= 0x100 && c < 0x180 && kLatinExtendedA[c - 0x100] != '?')
        return (unsigned char)kLatinExtendedA[c - 0x100];
    if (c >= 0xFF01 && c <= 0xFF5E)
        return (int)(c - 0xFF01 + 0x21);
    if ((c >= 0x2000 && c <= 0x2006) || c == 0x3000)
        return ' ';
    return -1;
}

// Converts the character at *i (a surrogate pair is one) and moves past it;
// one the code page lacks takes its best fit if allowed, else the default
// character, and then sets *defaulted.
char ToAnsi(const WCHAR *s, int length, int *i, bool bestFit, char defaultChar, bool *defaulted)
{
    uint32_t c = (uint32_t)s[*i];
    bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    if (c <= 0xDBFF && surrogate && *i + 1 < length && s[*i + 1] >= 0xDC00 && s[*i + 1] <= 0xDFFF)
        ++*i;
    ++*i;
    int byte = surrogate ? -1 : Exact(c);
    if (byte < 0 && bestFit && !surrogate)
        byte = BestFit(c);
    *defaulted |= byte < 0;
    return byte < 0 ? defaultChar : (char)byte;
}

// Converts up to length units, stopping once limit bytes are written
// (limit 0: no limit); *converted tells how many units were taken.
std::string Convert(const WCHAR *wide, int length, size_t limit, bool bestFit, char defaultChar, bool *defaulted,
                    int *converted)
{
    std::string ansi;
    *converted = 0;
    while (*converted < length && (limit == 0 || ansi.size() < limit))
        ansi += ToAnsi(wide, length, converted, bestFit, defaultChar, defaulted);
    return ansi;
}

int Fail(DWORD error)
{
    SetLastError(error);
    return 0;
}

} // namespace

UINT WINAPI GetACP(void) { return 1252; }

// The ANSI code page, with flags 0 (best fit) or WC_NO_BEST_FIT_CHARS. A
// buffer too small gets the characters that fit, and the call fails.
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int cchWide, LPSTR multi, int cbMulti,
                               LPCSTR defaultChar, LPBOOL usedDefault)
{
    if (Enter(Call::WideCharToMultiByte, NULL))
        return Fail(ERROR_INVALID_PARAMETER);
    if (codePage != CP_ACP || (flags & ~(DWORD)WC_NO_BEST_FIT_CHARS))
        ReportMisuse("WideCharToMultiByte: a code page or flag that is not modelled");
    if (wide == NULL || cchWide == 0 || cbMulti < 0 || (cbMulti > 0 && multi == NULL))
        return Fail(ERROR_INVALID_PARAMETER);
    int length = cchWide < 0 ? lstrlenW(wide) + 1 : cchWide, converted = 0;
    bool defaulted = false;
    std::string ansi = Convert(wide, length, (size_t)cbMulti, !(flags & WC_NO_BEST_FIT_CHARS),
                               defaultChar ? *defaultChar : '?', &defaulted, &converted);
    if (usedDefault)
        *usedDefault = defaulted;
    if (cbMulti > 0)
        memcpy(multi, ansi.data(), ansi.size());
    if (converted < length)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    ++S().succeeded.conversions;
    return (int)ansi.size();
}

namespace sim {
std::string AnsiCodePageOf(const std::wstring &text)
{
    bool defaulted = false;
    int converted = 0;
    return Convert(text.c_str(), (int)text.size(), 0, true, '?', &defaulted, &converted);
}
} // namespace sim

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
