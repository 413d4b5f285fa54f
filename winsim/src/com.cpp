// The COM library: apartments, the task allocator, BSTRs and bind contexts.
#include "state.h"

#include <stdlib.h>

namespace sim {
namespace detail {

long &ApartmentDepth()
{
    thread_local long depth = 0;
    return depth;
}

bool &InMultithreadedApartment()
{
    thread_local bool mta = false;
    return mta;
}

BSTR AllocBstr(const OLECHAR *text)
{
    if (text == NULL)
        return NULL;
    size_t length = 0;
    while (text[length])
        ++length;
    // Like the real layout: a byte count just before the characters.
    BYTE *base = (BYTE *)malloc(sizeof(DWORD) + (length + 1) * sizeof(OLECHAR));
    *(DWORD *)base = (DWORD)(length * sizeof(OLECHAR));
    BSTR bstr = (BSTR)(base + sizeof(DWORD));
    memcpy(bstr, text, (length + 1) * sizeof(OLECHAR));
    S().bstrs.insert(base);
    return bstr;
}

BYTE *BstrBase(BSTR bstr) { return (BYTE *)bstr - sizeof(DWORD); }

void FreeBstr(BSTR bstr)
{
    if (bstr == NULL)
        return;
    if (S().bstrs.erase(BstrBase(bstr)) == 0) {
        ReportMisuse("SysFreeString of a string that is not a live BSTR");
        return;
    }
    free(BstrBase(bstr));
}

void *AllocTaskBlock(size_t bytes)
{
    void *block = malloc(bytes ? bytes : 1);
    S().taskBlocks[block] = bytes;
    return block;
}

void FreeTaskBlock(void *block)
{
    if (block == NULL)
        return;
    if (S().taskBlocks.erase(block) == 0) {
        ReportMisuse("task allocator asked to free a block it did not allocate");
        return;
    }
    free(block);
}

void FreeAllPlatformMemory()
{
    for (void *base : S().bstrs)
        free(base);
    for (auto &block : S().taskBlocks)
        free(block.first);
    S().bstrs.clear();
    S().taskBlocks.clear();
}

namespace {

class TaskAllocator : public Object<IMalloc> {
public:
    TaskAllocator() : Object<IMalloc>("IMalloc", IID_IMalloc) {}
    bool OutlivesApartment() const override { return true; }
    void *STDMETHODCALLTYPE Alloc(SIZE_T cb) override { return AllocTaskBlock(cb); }
    void *STDMETHODCALLTYPE Realloc(void *, SIZE_T) override
    {
        ReportMisuse("IMalloc::Realloc is not modelled");
        return NULL;
    }
    void STDMETHODCALLTYPE Free(void *pv) override
    {
        Enter(Call::MallocFree, NULL);
        FreeTaskBlock(pv);
    }
    SIZE_T STDMETHODCALLTYPE GetSize(void *pv) override
    {
        auto block = S().taskBlocks.find(pv);
        return block == S().taskBlocks.end() ? (SIZE_T)-1 : block->second;
    }
    // -1 for NULL: ole32/tests/compobj.c, test_CoGetMalloc.
    int STDMETHODCALLTYPE DidAlloc(void *pv) override { return pv == NULL ? -1 : S().taskBlocks.count(pv) ? 1 : 0; }
    void STDMETHODCALLTYPE HeapMinimize() override {}
};

// A bind context needs no apartment, as Wine's shows.
class BindCtx : public Object<IBindCtx> {
public:
    BindCtx() : Object<IBindCtx>("IBindCtx", IID_IBindCtx) {}
    bool OutlivesApartment() const override { return true; }
    HRESULT STDMETHODCALLTYPE RegisterObjectBound(IUnknown *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RevokeObjectBound(IUnknown *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReleaseBoundObjects() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetBindOptions(BIND_OPTS *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBindOptions(BIND_OPTS *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRunningObjectTable(IRunningObjectTable **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterObjectParam(LPOLESTR, IUnknown *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetObjectParam(LPOLESTR, IUnknown **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumObjectParam(IEnumString **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RevokeObjectParam(LPOLESTR) override { return E_NOTIMPL; }
};

} // namespace
} // namespace detail
} // namespace sim

using namespace sim;
using namespace sim::detail;

// A thread enters an apartment once and stays there until its last
// CoUninitialize; asking for the other kind meanwhile fails with
// RPC_E_CHANGED_MODE and leaves the thread where it is.
// The flags beside the model (COINIT_DISABLE_OLE1DDE, COINIT_SPEED_OVER_MEMORY)
// are taken: ole32/tests/compobj.c, test_oletlsdata.
HRESULT WINAPI CoInitializeEx(LPVOID reserved, DWORD model)
{
    const DWORD kFlags = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE | COINIT_SPEED_OVER_MEMORY;
    bool mta = (model & COINIT_APARTMENTTHREADED) == 0;
    if (reserved != NULL || (model & ~kFlags))
        return E_INVALIDARG;
    if (ApartmentDepth() > 0 && InMultithreadedApartment() != mta)
        return RPC_E_CHANGED_MODE;
    InMultithreadedApartment() = mta;
    return ApartmentDepth()++ == 0 ? S_OK : S_FALSE;
}

HRESULT WINAPI CoInitialize(LPVOID reserved)
{
    HRESULT failure;
    if (Enter(Call::CoInitialize, &failure))
        return failure;
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

void WINAPI CoUninitialize(void)
{
    Enter(Call::CoUninitialize, NULL);
    if (ApartmentDepth() == 0) {
        ReportMisuse("CoUninitialize without a matching CoInitialize");
        return;
    }
    --ApartmentDepth();
}

HRESULT WINAPI CoGetMalloc(DWORD context, LPMALLOC *ppMalloc)
{
    HRESULT failure;
    if (ppMalloc == NULL)
        return E_INVALIDARG;
    *ppMalloc = NULL;
    if (Enter(Call::CoGetMalloc, &failure))
        return failure;
    if (context != MEMCTX_TASK)
        return E_INVALIDARG;
    *ppMalloc = new TaskAllocator;
    return S_OK;
}

LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb) { return AllocTaskBlock(cb); }
void WINAPI CoTaskMemFree(LPVOID pv) { FreeTaskBlock(pv); }

HRESULT WINAPI CreateBindCtx(DWORD reserved, LPBC *ppbc)
{
    HRESULT failure;
    if (ppbc == NULL)
        return E_INVALIDARG;
    *ppbc = NULL;
    if (Enter(Call::CreateBindCtx, &failure))
        return failure;
    if (reserved != 0)
        return E_INVALIDARG;
    *ppbc = new BindCtx;
    return S_OK;
}

BSTR WINAPI SysAllocString(const OLECHAR *psz)
{
    if (Enter(Call::SysAllocString, NULL))
        return NULL;
    return AllocBstr(psz);
}

void WINAPI SysFreeString(BSTR bstr)
{
    Enter(Call::SysFreeString, NULL);
    FreeBstr(bstr);
}

UINT WINAPI SysStringLen(BSTR bstr)
{
    if (bstr == NULL)
        return 0;
    if (S().bstrs.count(BstrBase(bstr)) == 0) {
        ReportMisuse("SysStringLen of a string that is not a live BSTR");
        return 0;
    }
    return *(DWORD *)BstrBase(bstr) / sizeof(OLECHAR);
}
