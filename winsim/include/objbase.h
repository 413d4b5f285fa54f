// Host stand-in for <objbase.h>: GUIDs, IUnknown and the COM library calls
// and interfaces Lumetra uses, with their real vtable order.
#pragma once

#include <windows.h>

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID;
typedef GUID IID, CLSID;
typedef const GUID &REFGUID;
typedef const IID &REFIID;
typedef const CLSID &REFCLSID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

typedef WCHAR OLECHAR;
typedef OLECHAR *LPOLESTR;
typedef const OLECHAR *LPCOLESTR;
typedef size_t SIZE_T;

#define interface struct
#define STDMETHOD(m) virtual HRESULT STDMETHODCALLTYPE m
#define STDMETHOD_(t, m) virtual t STDMETHODCALLTYPE m
#define PURE = 0

extern const IID IID_IUnknown;
extern const IID IID_IMalloc;
extern const IID IID_IBindCtx;
extern const IID IID_IMoniker;
extern const IID IID_IEnumMoniker;

interface IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void **ppv) PURE;
    STDMETHOD_(ULONG, AddRef)() PURE;
    STDMETHOD_(ULONG, Release)() PURE;
};
typedef IUnknown *LPUNKNOWN;

interface IMalloc : IUnknown {
    STDMETHOD_(void *, Alloc)(SIZE_T cb) PURE;
    STDMETHOD_(void *, Realloc)(void *pv, SIZE_T cb) PURE;
    STDMETHOD_(void, Free)(void *pv) PURE;
    STDMETHOD_(SIZE_T, GetSize)(void *pv) PURE;
    STDMETHOD_(int, DidAlloc)(void *pv) PURE;
    STDMETHOD_(void, HeapMinimize)() PURE;
};
typedef IMalloc *LPMALLOC;

interface IStream;
interface IEnumString;
interface IRunningObjectTable;
interface IMoniker;
typedef struct tagBIND_OPTS BIND_OPTS;
typedef struct _FILETIME FILETIME;
typedef union _ULARGE_INTEGER ULARGE_INTEGER;

interface IBindCtx : IUnknown {
    STDMETHOD(RegisterObjectBound)(IUnknown *punk) PURE;
    STDMETHOD(RevokeObjectBound)(IUnknown *punk) PURE;
    STDMETHOD(ReleaseBoundObjects)() PURE;
    STDMETHOD(SetBindOptions)(BIND_OPTS *pbindopts) PURE;
    STDMETHOD(GetBindOptions)(BIND_OPTS *pbindopts) PURE;
    STDMETHOD(GetRunningObjectTable)(IRunningObjectTable **pprot) PURE;
    STDMETHOD(RegisterObjectParam)(LPOLESTR pszKey, IUnknown *punk) PURE;
    STDMETHOD(GetObjectParam)(LPOLESTR pszKey, IUnknown **ppunk) PURE;
    STDMETHOD(EnumObjectParam)(IEnumString **ppenum) PURE;
    STDMETHOD(RevokeObjectParam)(LPOLESTR pszKey) PURE;
};
typedef IBindCtx *LPBC;

interface IPersist : IUnknown {
    STDMETHOD(GetClassID)(CLSID *pClassID) PURE;
};

interface IPersistStream : IPersist {
    STDMETHOD(IsDirty)() PURE;
    STDMETHOD(Load)(IStream *pStm) PURE;
    STDMETHOD(Save)(IStream *pStm, BOOL fClearDirty) PURE;
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER *pcbSize) PURE;
};

interface IEnumMoniker : IUnknown {
    STDMETHOD(Next)(ULONG celt, IMoniker **rgelt, ULONG *pceltFetched) PURE;
    STDMETHOD(Skip)(ULONG celt) PURE;
    STDMETHOD(Reset)() PURE;
    STDMETHOD(Clone)(IEnumMoniker **ppenum) PURE;
};

interface IMoniker : IPersistStream {
    STDMETHOD(BindToObject)(IBindCtx *pbc, IMoniker *pmkToLeft, REFIID riidResult, void **ppvResult) PURE;
    STDMETHOD(BindToStorage)(IBindCtx *pbc, IMoniker *pmkToLeft, REFIID riid, void **ppvObj) PURE;
    STDMETHOD(Reduce)(IBindCtx *pbc, DWORD dwReduceHowFar, IMoniker **ppmkToLeft, IMoniker **ppmkReduced) PURE;
    STDMETHOD(ComposeWith)(IMoniker *pmkRight, BOOL fOnlyIfNotGeneric, IMoniker **ppmkComposite) PURE;
    STDMETHOD(Enum)(BOOL fForward, IEnumMoniker **ppenumMoniker) PURE;
    STDMETHOD(IsEqual)(IMoniker *pmkOtherMoniker) PURE;
    STDMETHOD(Hash)(DWORD *pdwHash) PURE;
    STDMETHOD(IsRunning)(IBindCtx *pbc, IMoniker *pmkToLeft, IMoniker *pmkNewlyRunning) PURE;
    STDMETHOD(GetTimeOfLastChange)(IBindCtx *pbc, IMoniker *pmkToLeft, FILETIME *pFileTime) PURE;
    STDMETHOD(Inverse)(IMoniker **ppmk) PURE;
    STDMETHOD(CommonPrefixWith)(IMoniker *pmkOther, IMoniker **ppmkPrefix) PURE;
    STDMETHOD(RelativePathTo)(IMoniker *pmkOther, IMoniker **ppmkRelPath) PURE;
    STDMETHOD(GetDisplayName)(IBindCtx *pbc, IMoniker *pmkToLeft, LPOLESTR *ppszDisplayName) PURE;
    STDMETHOD(ParseDisplayName)(IBindCtx *pbc, IMoniker *pmkToLeft, LPOLESTR pszDisplayName, ULONG *pchEaten,
                                IMoniker **ppmkOut) PURE;
    STDMETHOD(IsSystemMoniker)(DWORD *pdwMksys) PURE;
};
typedef IMoniker *LPMONIKER;

#define MEMCTX_TASK 1
#define CLSCTX_INPROC_SERVER 0x1

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define COINIT_DISABLE_OLE1DDE 0x4
#define COINIT_SPEED_OVER_MEMORY 0x8

HRESULT WINAPI CoInitialize(LPVOID pvReserved);
HRESULT WINAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
void WINAPI CoUninitialize(void);
HRESULT WINAPI CoGetMalloc(DWORD dwMemContext, LPMALLOC *ppMalloc);
HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID *ppv);
LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb);
void WINAPI CoTaskMemFree(LPVOID pv);
HRESULT WINAPI CreateBindCtx(DWORD reserved, LPBC *ppbc);
HRESULT WINAPI MkParseDisplayName(LPBC pbc, LPCOLESTR szUserName, ULONG *pchEaten, LPMONIKER *ppmk);
