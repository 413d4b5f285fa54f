// The simulated Windows platform as tests see it: scenarios are set up here,
// and what the program did is read back here. Product code never includes
// this header.
#pragma once

#include <windows.h>
#include <cfgmgr32.h>
#include <dbt.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sim {

// The platform calls the simulation logs, counts and can make fail (see
// CallLog, FailCall and FailNthCall), in the order of their appearance in the
// program. Other calls it answers are not listed here.
enum class Call {
    CoInitialize,
    CoUninitialize,
    CoGetMalloc,
    CoCreateInstance,
    CreateClassEnumerator,
    EnumReset,
    EnumNext,
    BindToStorage,
    PropertyBagRead,
    GetDisplayName,
    MallocFree,
    SysAllocString,
    SysFreeString,
    CreateBindCtx,
    MkParseDisplayName,
    BindToObject,
    KsGetObjectHandle,
    KsSynchronousDeviceControl,
    WideCharToMultiByte,
    // The user interface
    LoadMenu,
    GetCursorPos,
    TrackPopupMenu,
    MessageBox,
    // The device tree
    CM_Locate_DevNode,
    CM_Get_DevNode_Registry_Property,
    CM_Get_Child,
    CM_Get_Sibling,
    CM_Get_Parent,
    // Video for Windows
    capGetDriverDescription,
    capCreateCaptureWindow,
    // The registry
    RegOpenKeyEx,
    RegCreateKey,
    RegQueryValueEx,
    RegSetValueEx,
    RegCloseKey,
    DialogBox,
    CaptureConnect, // WM_CAP_DRIVER_CONNECT to a capture window
    // The loader, at the program's start
    GetProcAddress,
    SetDefaultDllDirectories,
    GetSystemDirectory,
    LoadLibraryEx,
    Count
};
const char *CallName(Call call);

// Ends a case: whatever it left (see Leftovers) is kept for
// TakeResetFindings, then every scenario, log, failure and count is cleared.
// A case that leaks is thus reported even when nobody looks before a reset.
void Reset();
// What the resets since the last call found left, one line each.
std::vector<std::string> TakeResetFindings();
// Everything a finished case must not leave: live resources, platform
// misuse, scripted input that did not fit or was never consumed.
std::vector<std::string> Leftovers();
// Forgets the scripted input still pending and the mismatches seen, for a
// run whose script could not fit (a call failed on purpose half-way).
void DiscardScript();

// --- Failures -------------------------------------------------------------
// Makes call fail with result. occurrence counts calls of that kind from 1;
// 0 fails every one. Calls that return a pointer or handle fail with NULL;
// S_FALSE is a valid "failure" where the real call can answer it.
void FailCall(Call call, HRESULT result, int occurrence = 0);
// Makes the n-th platform call from now (counting from 1) fail the way that
// call can really fail: an error result, S_FALSE where that ends a walk, a
// null pointer or handle, a configuration-manager or registry error, a
// dialog that cannot be created, a capture driver that does not connect.
// Calls that cannot fail (releases, frees, closes) are left alone.
void FailNthCall(size_t n);
// The call FailNthCall made fail, or Call::Count if none did.
Call InjectedCall();
bool CanFail(Call call);

// What succeeded, for judging results after an injected failure.
struct Outcomes {
    int handlesIssued = 0;  // device handles given out by filters
    int connects = 0;       // capture windows connected
    int valuesQueried = 0;  // registry values read
    int valuesSet = 0;      // registry values written
    int conversions = 0;    // WideCharToMultiByte calls that succeeded
};
const Outcomes &Succeeded();

// Whatever is plugged into the simulation (see camera/) clears itself when a
// case ends: fn runs at every Reset, after the platform's own state is gone.
void AtReset(void (*fn)());

// The 32-bit number at p, little-endian, as Windows lays numbers out.
inline uint32_t LittleEndian32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

// --- Kernel-streaming devices and the video-input category -------------------
typedef std::array<uint8_t, 72> RequestBytes;

// One device request as the device received it.
struct DeviceRequest {
    RequestBytes bytes; // the input buffer's first 72 bytes
    ULONG inLength, outLength;
    const void *in, *out;        // the two buffers
    const ULONG *bytesReturned;  // where the device was to write the answer's size
    // The 32-bit field at offset, as a driver reads it.
    int32_t Field(size_t offset) const { return (int32_t)LittleEndian32(&bytes[offset]); }
};

// The kernel object a filter's handle leads to. It records every
// IOCTL_KS_PROPERTY request; by default it answers as a driver that has no
// such property set.
class KsDevice {
public:
    virtual ~KsDevice() = default;
    // returned is where the answer's size goes; in holds at least a KSPROPERTY.
    virtual HRESULT Property(const BYTE *in, ULONG inLength, BYTE *out, ULONG outLength, ULONG *returned);
    std::vector<DeviceRequest> requests;
};

struct VideoDevice {
    std::wstring friendlyName;
    std::wstring displayName; // unique: the device is found by it
    std::shared_ptr<KsDevice> device;
};

// Adds a device to the video-input category, last in enumeration order, and
// returns its index. The display name is made up unless given; without a
// device object it gets one of its own.
size_t AddVideoDevice(const std::wstring &friendlyName, const std::wstring &displayName = L"",
                      std::shared_ptr<KsDevice> device = nullptr);
void RemoveVideoDevice(const std::wstring &displayName);
VideoDevice &Device(size_t index);
size_t DeviceCount();

// The text as WideCharToMultiByte gives it in the ANSI code page (CP_ACP,
// flags 0): Windows-1252 with Windows' best fit.
std::string AnsiCodePageOf(const std::wstring &text);

// --- What happened -----------------------------------------------------------
const std::vector<Call> &CallLog();
// The bind context each IMoniker::BindToObject was given, in order.
const std::vector<IBindCtx *> &BindContextsGiven();
size_t CallCount(Call call);

// --- Resource accounting -------------------------------------------------
long LiveComReferences();
std::string LiveComObjects(); // "Moniker x1, ..." for failure messages
long LiveBstrs();
long LiveTaskBlocks();
long ComInitDepth();
// Misuse the platform detected: releases past zero or after the apartment
// is gone, frees of unknown pointers, unbalanced uninitialisation, requests
// on stale handles, messages with parameters Windows requires to be zero,
// paints left unvalidated.
const std::vector<std::string> &Misuse();
// Scripted input that did not fit what the program showed.
const std::vector<std::string> &ScriptMismatches();

// --- The user interface ------------------------------------------------------
// The program's compiled resources (the bytes windres writes as a .res file),
// served to GetModuleHandle(NULL), and the path of its executable. Both
// survive Reset.
void SetModuleResources(const void *data, size_t size);
void SetModuleFileName(const std::string &path);
// One resource's bytes, or none.
std::string ModuleResource(long type, long id);

struct Metrics {
    int cxScreen = 1024, cyScreen = 768;
    RECT workArea = {0, 0, 1024, 738};
    int cyCaption = 18, cxEdge = 2, cyEdge = 2;
    int cxFixedFrame = 3, cyFixedFrame = 3;
    int cxIcon = 32, cyIcon = 32;
    // Dialog base units of the template's font: pixels per 4 horizontal and
    // per 8 vertical dialog units.
    int baseUnitX = 9, baseUnitY = 17; // Tahoma 11 at 96 DPI
};
Metrics &SystemMetrics();
void SetCursorPos(int x, int y);

// Input, consumed in order by whichever modal loop is running (the dialog's,
// a popup menu's or a message box's) once no posted message is waiting. Keys,
// picks and answers become the messages that make them, posted to the
// thread's queue as Windows would: a key to the window with the focus, a
// pick as the menu's Down and Enter keys, an answer as the box's command.
void Click(int controlId);                    // the user clicks a control
void Notify(int controlId, WORD code);        // the control itself notifies its parent
void Command(WORD id);                        // a menu or accelerator command
void Key(int virtualKey);                     // VK_RETURN or VK_ESCAPE
void CloseBox();                              // the caption's close button
void Minimize(bool minimized);                // iconic or restored, then painted
// WM_DEVICECHANGE to every top-level window. A window that registered for no
// notifications gets an arrival or removal only for a volume or a port (the
// deviceType of the DEV_BROADCAST_HDR it comes with; by default a volume's, a
// memory card put in beside the camera, say), never for a camera; the system's
// own events (0x7FFF and below) carry no header, whatever the type.
void DeviceChange(UINT eventType, DWORD deviceType = DBT_DEVTYP_VOLUME);
// The same to one window, now; answers what the window answered.
LRESULT SendDeviceChange(HWND window, UINT eventType, DWORD deviceType = DBT_DEVTYP_VOLUME);
void PickMenuItem(UINT id);                   // in the open popup menu
void DismissMenu();
void AnswerMessageBox(int id);
void Then(std::function<void()> action);      // a change of the scenario at that point
size_t PendingInput();

struct MenuItemSeen {
    UINT id;
    std::string text;
    bool checked;
};
struct PopupSeen {
    HWND owner;
    POINT at;
    UINT flags;
    bool ownerForeground;
    std::vector<MenuItemSeen> items;
};
const std::vector<PopupSeen> &Popups();

struct MessageBoxSeen {
    HWND owner;
    std::string text, caption;
    UINT style;
};
const std::vector<MessageBoxSeen> &MessageBoxes();

struct MessageSeen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
// Every message sent or posted to the window, in order.
const std::vector<MessageSeen> &MessagesTo(HWND window);
struct IconDrawn {
    HDC dc;
    int x, y;
    HICON icon;
};
const std::vector<IconDrawn> &IconsDrawn();
struct HelpRequest {
    HWND owner;
    std::string file;
    UINT command;
};
const std::vector<HelpRequest> &HelpRequests();

// --- The device tree -------------------------------------------------------
// Nodes hang under the root (node 1) in the order they are added. A property
// that is absent is not set; its bytes are given exactly as stored (with the
// terminators for strings: see Sz and MultiSz).
struct DevNode {
    bool hasDriver = true, hasDescription = true, hasHardwareIds = true;
    std::string driver = std::string("{36fc9e60-c465-11cf-8056-444553540000}\\0001") + '\0';
    std::string description = std::string("USB Root Hub") + '\0';
    std::string hardwareIds = std::string("USB\\ROOT_HUB20") + '\0' + '\0'; // a multi-string
};
std::string Sz(const std::string &text);
std::string MultiSz(const std::vector<std::string> &strings);
DEVINST AddDevNode(DEVINST parent, const DevNode &node);
void RemoveDevNode(DEVINST node); // with its subtree
DevNode &DevNodeAt(DEVINST node);
const DEVINST kRootDevNode = 1;
// Every registry property read of a node, in order.
struct PropertyRead {
    DEVINST node;
    ULONG property;
    bool delivered; // the value was copied out
};
const std::vector<PropertyRead> &PropertyReads();

// --- Video for Windows capture drivers ----------------------------------------
// A driver captures 24-bit RGB frames of one of its sizes, the first to
// begin with; it keeps the size last set from one connection to the next.
struct CaptureDriver {
    std::string description, version = "Version: 1.0";
    bool connects = true; // false while another application holds the device
    bool unterminated = false; // the description is copied without a terminator
    std::vector<std::pair<LONG, LONG>> sizes = {{640, 480}, {352, 288}, {320, 240}, {176, 144}, {160, 120}};
    LONG width = 640, height = 480;
};
UINT AddCaptureDriver(const std::string &description, bool connects = true);
void RemoveCaptureDriver(UINT index); // the drivers after it move up
CaptureDriver &CaptureDriverAt(UINT index);
size_t CaptureDriverCount();
// The capture windows alive now, oldest first.
std::vector<HWND> CaptureWindows();
bool IsCaptureConnected(HWND window);

// --- The process and the registry -------------------------------------------
// The process the program runs as; by default a 64-bit process of an
// administrator. The shipping i686 build is a 32-bit process on 64-bit
// Windows (WOW64). A standard user cannot write under HKEY_LOCAL_MACHINE;
// the program's manifest (its RT_MANIFEST resource) decides whether Windows
// virtualizes it for such a user.
struct Process {
    bool wow64 = false;
    bool standardUser = false;
};
Process &ThisProcess();

// The registry as it is stored, whatever the process: keys are named as
// they are, "Software\\WOW6432Node\\..." for the 32-bit view, and a virtualized
// copy under HKEY_CURRENT_USER's "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE".
struct RegValue {
    DWORD type;
    std::string data;
};
void SetRegistryValue(HKEY root, const std::string &key, const std::string &name, DWORD type, const std::string &data);
bool GetRegistryValue(HKEY root, const std::string &key, const std::string &name, RegValue *value);
bool RegistryKeyExists(HKEY root, const std::string &key);
long LiveRegistryKeys();

// --- The loader -------------------------------------------------------------------
// SetDefaultDllDirectories exists from Windows 8 on, and on Vista and 7 with
// KB2533623; without it (has false) GetProcAddress finds none.
void SetHasDefaultDllDirectories(bool has);
void SetSystemFolder(const std::wstring &path); // C:\Windows\system32 unless set
// How Windows' loader finds a DLL that is not a KnownDLL (ksproxy.ax,
// cfgmgr32.dll, avicap32.dll) when the program first calls into it, as a
// delay-loaded DLL is then loaded by its name alone.
enum class DllSearch {
    NotCalled,
    SystemFolderOnly,   // the process's search was restricted to the system folder
    AlreadyLoaded,      // it was loaded before, by its full path in the system folder
    ProgramFolderFirst, // the standard order: a DLL beside the program is taken
};
DllSearch SearchAtFirstCall(const std::string &dll);
// The paths the program loaded libraries from, in order.
std::vector<std::wstring> LibrariesLoaded();

long LiveWindows();
long LiveMenus();
long LivePaintContexts();

} // namespace sim
