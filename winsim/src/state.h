// Internal state of the simulated platform, shared by its source files.
#pragma once

#include "../sim.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace sim {
namespace detail {

// Common bookkeeping of every simulated COM object.
class ObjectBase {
public:
    explicit ObjectBase(const char *kind);
    virtual ~ObjectBase();
    const char *kind() const { return kind_; }
    long refs() const { return refs_; }
    // Objects of the thread's apartment are gone with its last
    // CoUninitialize; the task allocator belongs to the process.
    virtual bool OutlivesApartment() const { return false; }

protected:
    ULONG AddRefImpl() { return (ULONG)++refs_; }
    ULONG ReleaseImpl();

private:
    const char *kind_;
    long refs_ = 1;
};

// A simulated COM object exposing interface I (and IUnknown).
template <class I>
class Object : public I, public ObjectBase {
public:
    Object(const char *kind, REFIID iid) : ObjectBase(kind), iid_(iid) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override
    {
        if (ppv == NULL)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == iid_) {
            *ppv = static_cast<I *>(this);
            AddRefImpl();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

private:
    const IID &iid_;
};

struct TreeNode {
    DevNode node;
    DEVINST parent = 0;
    std::vector<DEVINST> children;
};

struct OpenKey {
    std::string path;        // "hklm\\software\\vendor", lower case
    std::string writeTo;     // where writes go: the key, its virtual copy, or "" for a key opened to read
    std::string virtualCopy; // read before the key itself, for a virtualized process; or ""
};

struct State {
    State();
    std::vector<VideoDevice> devices;
    std::map<DEVINST, TreeNode> tree;
    DEVINST nextDevNode = 2;
    std::vector<PropertyRead> propertyReads;
    std::vector<CaptureDriver> captureDrivers;
    std::map<HWND, UINT> captureWindows; // capture window -> the driver connected, kNotConnected for none
    // Keys by lower-case path; values by lower-case name.
    std::map<std::string, std::map<std::string, RegValue>> registry;
    std::map<HKEY, OpenKey> openKeys;
    uintptr_t nextKey = 0x7000;
    Process process;
    std::vector<Call> log;
    size_t counts[(size_t)Call::Count] = {};
    struct Failure {
        Call call;
        HRESULT result;
        int occurrence;
    };
    std::vector<Failure> failures;
    size_t failNth = 0; // index in the log of the call to fail, 0 for none
    Call injected = Call::Count;
    Outcomes succeeded;
    std::set<ObjectBase *> objects;
    std::set<void *> bstrs;       // allocation bases
    std::map<void *, size_t> taskBlocks; // block -> its size
    std::map<HANDLE, std::shared_ptr<KsDevice>> deviceHandles; // live filter handle -> its device
    uintptr_t nextHandle = 0x1000;
    unsigned nextDevice = 0; // numbers the made-up display names
    std::vector<IBindCtx *> bindContexts; // given to each BindToObject
    std::vector<std::string> misuse, scriptMismatches;
    DWORD lastError = 0;
    // The loader (loader.cpp): log sizes when the DLL search was restricted
    // to the system folder and when each DLL was loaded by its full path.
    bool hasDefaultDllDirectories = true;
    std::wstring systemFolder = L"C:\\Windows\\system32";
    size_t searchRestrictedAt = 0;
    struct Loaded {
        std::string dll;
        std::wstring path;
        size_t at; // the call log's size then
    };
    std::vector<Loaded> loaded; // libraries loaded by their full paths, in order
};

State &S();

// Logs the call and says whether it must fail this time; *failure then holds
// the result to answer.
bool Enter(Call call, HRESULT *failure);
void ReportMisuse(const std::string &what);
// The scenario's input did not fit what the program showed.
void ReportScriptMismatch(const std::string &what);

// Allocations made on the program's behalf by platform objects.
BSTR AllocBstr(const OLECHAR *text);
void FreeBstr(BSTR bstr);
BYTE *BstrBase(BSTR bstr);
void *AllocTaskBlock(size_t bytes);
void FreeTaskBlock(void *block);
void FreeAllPlatformMemory();

// COM initialisation depth of the calling thread.
long &ApartmentDepth();
bool &InMultithreadedApartment(); // of the calling thread, while it is in one

} // namespace detail
} // namespace sim
