// Scenario set-up, the call log, failure injection and resource accounting.
#include "ui.h"

#include <sstream>

namespace sim {
namespace detail {

State::State()
{
    TreeNode root;
    root.node.hasDriver = root.node.hasDescription = root.node.hasHardwareIds = false;
    tree[kRootDevNode] = root;
    for (const char *key : {"hklm", "hklm\\software", "hklm\\software\\wow6432node", "hkcu", "hkcu\\software"})
        registry[key];
}

State &S()
{
    static State state;
    return state;
}

ObjectBase::ObjectBase(const char *kind) : kind_(kind) { S().objects.insert(this); }

ObjectBase::~ObjectBase() { S().objects.erase(this); }

ULONG ObjectBase::ReleaseImpl()
{
    if (refs_ <= 0) {
        ReportMisuse(std::string("Release of ") + kind_ + " past zero");
        return 0;
    }
    if (ApartmentDepth() == 0 && !OutlivesApartment())
        ReportMisuse(std::string("Release of ") + kind_ + " after the thread's last CoUninitialize");
    long left = --refs_;
    if (left == 0)
        delete this;
    return (ULONG)left;
}

namespace {

// How each call fails when FailNthCall picks it (pointer-returning calls
// answer NULL whatever this says).
HRESULT TypicalFailure(Call call)
{
    switch (call) {
    case Call::CreateClassEnumerator:
    case Call::EnumNext:
        return S_FALSE; // the empty category, the end of the enumeration
    case Call::CoCreateInstance:
        return REGDB_E_CLASSNOTREG;
    case Call::MkParseDisplayName:
        return MK_E_SYNTAX;
    case Call::BindToObject:
        return E_NOINTERFACE;
    case Call::KsSynchronousDeviceControl:
        return HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);
    case Call::CM_Locate_DevNode:
    case Call::CM_Get_DevNode_Registry_Property:
    case Call::CM_Get_Child:
    case Call::CM_Get_Sibling:
    case Call::CM_Get_Parent:
        return CR_FAILURE;
    case Call::RegOpenKeyEx:
    case Call::RegCreateKey:
    case Call::RegSetValueEx:
        return ERROR_ACCESS_DENIED;
    case Call::RegQueryValueEx:
        return ERROR_FILE_NOT_FOUND;
    default:
        return E_OUTOFMEMORY;
    }
}

} // namespace

bool Enter(Call call, HRESULT *failure)
{
    State &s = S();
    s.log.push_back(call);
    size_t nth = ++s.counts[(size_t)call];
    if (s.failNth != 0 && s.log.size() == s.failNth && CanFail(call)) {
        s.injected = call;
        if (failure)
            *failure = TypicalFailure(call);
        return true;
    }
    for (const State::Failure &f : s.failures) {
        if (f.call == call && (f.occurrence == 0 || (size_t)f.occurrence == nth)) {
            if (failure)
                *failure = f.result;
            return true;
        }
    }
    return false;
}

void ReportMisuse(const std::string &what) { S().misuse.push_back(what); }
void ReportScriptMismatch(const std::string &what) { S().scriptMismatches.push_back(what); }

} // namespace detail

using namespace detail;

const char *CallName(Call call)
{
    static const char *const names[] = {
        "CoInitialize",      "CoUninitialize",     "CoGetMalloc",    "CoCreateInstance",
        "CreateClassEnumerator", "IEnumMoniker::Reset", "IEnumMoniker::Next", "IMoniker::BindToStorage",
        "IPropertyBag::Read", "IMoniker::GetDisplayName", "IMalloc::Free", "SysAllocString",
        "SysFreeString",     "CreateBindCtx",      "MkParseDisplayName", "IMoniker::BindToObject",
        "IKsObject::KsGetObjectHandle", "KsSynchronousDeviceControl", "WideCharToMultiByte",
        "LoadMenuA", "GetCursorPos", "TrackPopupMenu", "MessageBoxA",
        "CM_Locate_DevNodeA", "CM_Get_DevNode_Registry_PropertyA", "CM_Get_Child", "CM_Get_Sibling", "CM_Get_Parent",
        "capGetDriverDescriptionA", "capCreateCaptureWindowA",
        "RegOpenKeyExA", "RegCreateKeyA", "RegQueryValueExA", "RegSetValueExA", "RegCloseKey",
        "DialogBoxParamA", "WM_CAP_DRIVER_CONNECT",
        "GetProcAddress", "SetDefaultDllDirectories", "GetSystemDirectoryW", "LoadLibraryExW",
    };
    static_assert(sizeof(names) / sizeof(names[0]) == (size_t)Call::Count, "one name per call");
    return names[(size_t)call];
}

namespace {

std::vector<void (*)()> &ResetHooks()
{
    static std::vector<void (*)()> hooks;
    return hooks;
}

std::vector<std::string> &ResetFindings()
{
    static std::vector<std::string> findings;
    return findings;
}

void CountLeft(std::vector<std::string> *found, long live, const char *what)
{
    if (live != 0)
        found->push_back(std::to_string(live) + " " + what);
}

} // namespace

std::vector<std::string> Leftovers()
{
    std::vector<std::string> found;
    if (LiveComReferences() != 0)
        found.push_back("COM references left: " + LiveComObjects());
    CountLeft(&found, LiveBstrs(), "BSTRs left");
    CountLeft(&found, LiveTaskBlocks(), "task-allocator blocks left");
    CountLeft(&found, ComInitDepth(), "COM initialisations left");
    CountLeft(&found, LiveWindows(), "windows left");
    CountLeft(&found, LiveMenus(), "menus left");
    CountLeft(&found, LivePaintContexts(), "paint contexts left");
    CountLeft(&found, LiveRegistryKeys(), "registry keys left open");
    for (const std::string &misuse : Misuse())
        found.push_back("platform misuse: " + misuse);
    for (const std::string &mismatch : ScriptMismatches())
        found.push_back("scenario: " + mismatch);
    CountLeft(&found, (long)PendingInput(), "scripted inputs never consumed");
    return found;
}

std::vector<std::string> TakeResetFindings()
{
    std::vector<std::string> findings;
    findings.swap(ResetFindings());
    return findings;
}

void DiscardScript()
{
    UI().input.clear();
    S().scriptMismatches.clear();
}

void Reset()
{
    for (const std::string &left : Leftovers())
        ResetFindings().push_back(left);
    State &s = S();
    // What a case leaked is freed here, once recorded, so that the next case
    // starts clean and one leak is reported once.
    std::set<ObjectBase *> leaked = s.objects;
    for (ObjectBase *object : leaked)
        delete object;
    FreeAllPlatformMemory();
    ApartmentDepth() = 0;
    InMultithreadedApartment() = false;
    ResetUi();
    s = State();
    for (void (*hook)() : ResetHooks())
        hook();
}

void FailCall(Call call, HRESULT result, int occurrence) { S().failures.push_back({call, result, occurrence}); }

void FailNthCall(size_t n) { S().failNth = S().log.size() + n; }
Call InjectedCall() { return S().injected; }
const Outcomes &Succeeded() { return S().succeeded; }
const std::vector<IBindCtx *> &BindContextsGiven() { return S().bindContexts; }

bool CanFail(Call call)
{
    return call != Call::CoUninitialize && call != Call::MallocFree && call != Call::SysFreeString &&
           call != Call::RegCloseKey && call != Call::Count;
}

void AtReset(void (*fn)()) { ResetHooks().push_back(fn); }

const std::vector<Call> &CallLog() { return S().log; }
size_t CallCount(Call call) { return S().counts[(size_t)call]; }

long LiveComReferences()
{
    long total = 0;
    for (ObjectBase *object : S().objects)
        total += object->refs();
    return total;
}

std::string LiveComObjects()
{
    std::map<std::string, long> byKind;
    for (ObjectBase *object : S().objects)
        byKind[object->kind()] += object->refs();
    std::ostringstream out;
    for (const auto &kind : byKind)
        out << kind.first << " x" << kind.second << "; ";
    return out.str();
}

long LiveBstrs() { return (long)S().bstrs.size(); }
long LiveTaskBlocks() { return (long)S().taskBlocks.size(); }
long ComInitDepth() { return ApartmentDepth(); }
const std::vector<std::string> &Misuse() { return S().misuse; }
const std::vector<std::string> &ScriptMismatches() { return S().scriptMismatches; }

} // namespace sim
