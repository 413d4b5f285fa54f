// Host stand-in for <oleauto.h>: BSTRs and the one VARIANT shape Lumetra reads.
#pragma once

#include <objbase.h>

typedef OLECHAR *BSTR;
typedef unsigned short VARTYPE;

enum VARENUM { VT_EMPTY = 0, VT_NULL = 1, VT_I4 = 3, VT_BSTR = 8 };

typedef struct tagVARIANT {
    VARTYPE vt;
    WORD wReserved1, wReserved2, wReserved3;
    union {
        LONG lVal;
        BSTR bstrVal;
        LONGLONG llVal;
        void *byref;
    };
    // The real union also holds a two-pointer record; keep the size alike.
    void *pvRecordPadding;
} VARIANT;

BSTR WINAPI SysAllocString(const OLECHAR *psz);
void WINAPI SysFreeString(BSTR bstrString);
UINT WINAPI SysStringLen(BSTR pbstr);
