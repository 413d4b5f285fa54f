// Host stand-in for <windows.h>: the types, constants and calls Lumetra uses,
// with the shapes and values of the real SDK. Everything declared here is
// implemented by the simulated platform in winsim/src.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#define WINAPI
#define CALLBACK
#define STDMETHODCALLTYPE
#define DECLSPEC_IMPORT
#define CONST const
#define FAR
#define NEAR

#ifndef NULL
#define NULL 0
#endif
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

typedef void VOID;
typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef char CHAR;
typedef wchar_t WCHAR;
typedef short SHORT;
typedef unsigned short USHORT;
typedef intptr_t INT_PTR, LONG_PTR, LPARAM, LRESULT;
typedef uintptr_t UINT_PTR, ULONG_PTR, WPARAM, DWORD_PTR;
typedef void *PVOID, *LPVOID, *HANDLE;
typedef const void *LPCVOID;
typedef BYTE *PBYTE, *LPBYTE;
typedef DWORD *PDWORD, *LPDWORD;
typedef ULONG *PULONG;
typedef LONG *PLONG;
typedef BOOL *PBOOL, *LPBOOL;
typedef CHAR *LPSTR, *PSTR;
typedef const CHAR *LPCSTR, *PCSTR;
typedef WCHAR *LPWSTR, *PWSTR;
typedef const WCHAR *LPCWSTR, *PCWSTR;
typedef LONG HRESULT;
typedef DWORD ACCESS_MASK;

#define MAKEWORD(lo, hi) ((WORD)(((BYTE)(lo)) | ((WORD)((BYTE)(hi))) << 8))
#define MAKELONG(lo, hi) ((LONG)(((WORD)(lo)) | ((DWORD)((WORD)(hi))) << 16))
#define LOWORD(l) ((WORD)((DWORD_PTR)(l) & 0xffff))
#define HIWORD(l) ((WORD)((DWORD_PTR)(l) >> 16))

// --- Results ----------------------------------------------------------------
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_POINTER ((HRESULT)0x80004003)
#define E_FAIL ((HRESULT)0x80004005)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define E_HANDLE ((HRESULT)0x80070006)
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)
#define RPC_E_CHANGED_MODE ((HRESULT)0x80010106)
#define MK_E_SYNTAX ((HRESULT)0x800401E4)
#define MK_E_NOOBJECT ((HRESULT)0x800401E5)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005)

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define FACILITY_WIN32 7
#define HRESULT_FROM_WIN32(x)                                                  \
    ((HRESULT)(x) <= 0 ? ((HRESULT)(x))                                        \
                       : ((HRESULT)(((x) & 0x0000FFFF) | (FACILITY_WIN32 << 16) | 0x80000000)))

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MORE_DATA 234L
#define ERROR_NOT_FOUND 1168L
#define ERROR_SET_NOT_FOUND 1170L
#define ERROR_GEN_FAILURE 31L
#define ERROR_NOACCESS 998L

// --- Kernel -------------------------------------------------------------------
#define CP_ACP 0
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define MAX_PATH 260

DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD dwErrCode);
int WINAPI lstrlenA(LPCSTR lpString);
int WINAPI lstrlenW(LPCWSTR lpString);
int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2);
LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2);
LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength);
UINT WINAPI GetACP(void);
int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar);

// Ends the process at once, with the message shown.
void WINAPI FatalAppExitA(UINT uAction, LPCSTR lpMessageText);

#define ZeroMemory(p, n) memset((p), 0, (n))
#define CopyMemory(d, s, n) memcpy((d), (s), (n))
#define FillMemory(p, n, v) memset((p), (v), (n))

// The Microsoft C runtime extras that have no POSIX spelling.
extern "C" int _strnicmp(const char *a, const char *b, size_t n);
extern "C" char *_itoa(int value, char *buffer, int radix);

#include <winuser.h>
#include <libloaderapi.h>
#include <winreg.h>
#include <objbase.h>
#include <oleauto.h>
