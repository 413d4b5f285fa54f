/* Test-only stand-ins for cfgmgr32.dll and avicap32.dll under Wine, which
   has neither a device tree Lumetra can walk nor a Video for Windows capture
   driver. Never shipped. Both are steered by small files in C:\standins\ of
   the Wine prefix, which the tests write (tests/wine/lib/standins.sh):

   devtree.txt - the device tree, read anew by every CM_Locate_DevNodeA, so
       that each walk sees one whole tree. One node a line, in depth-first
       pre-order; blank lines and lines starting with '#' are skipped:
           DEPTH[|driver=TEXT][|desc=TEXT][|hwid=TEXT]...
       DEPTH is 0 for the first line (the root) and only for it; every other
       line is 1 to one more than the line before. driver= is CM_DRP_DRIVER
       and desc= CM_DRP_DEVICEDESC (REG_SZ); each hwid= adds one ID to
       CM_DRP_HARDWAREID (REG_MULTI_SZ), the hwid= fields one after another.
       A property left out is absent.
       Example, a hub with the camera under it:
           0|desc=Root
           1|driver={36fc9e60-c465-11cf-8056-444553540000}\0000|desc=USB Root Hub|hwid=USB\ROOT_HUB20
           2|driver={6bdd1fc6-810f-11d0-bec7-08002be2092f}\0000|desc=USB Video Device|hwid=USB\VID_0AC8&PID_0302&REV_0100
       A missing, oversized or malformed file is no tree: CM_Locate_DevNodeA
       fails with CR_FAILURE, as Wine's own does, and the reason goes to the
       debugger output (WINEDEBUG=+debugstr shows it). Node handles are the
       node's line among the nodes, from 1 for the root; a handle is
       meaningful for the tree read by the last CM_Locate_DevNodeA.
       The tests replace the file by a rename, never by rewriting it.

   capture-drivers.txt - the capture drivers, one description a line (a
       trailing CR dropped, nothing else), index 0 first; at most 10 count,
       as Video for Windows has, of at most 259 characters. No file, or one
       larger than 2,620 bytes: no driver.
   capture-connect.txt - "0": WM_CAP_DRIVER_CONNECT fails, as when another
       program holds the camera. Anything else, or no file: it succeeds for
       the index of any listed driver.
   capture.log - appended by the capture window, one line per capture
       message, written as it is answered:
           create style=0x50000000 x=11 y=11 width=320 height=240 id=0 result=1
           connect wparam=2 lparam=0 result=1
           get_videoformat wparam=44 lparam=1703328 width=640 height=480 result=40
           set_videoformat wparam=44 lparam=1703328 width=320 height=240 result=1
           set_previewrate wparam=15 lparam=0 result=1
           set_preview wparam=1 lparam=0 result=1
           disconnect wparam=0 lparam=0 result=1
           destroy
       lparam is the number sent. For the format messages width and height
       are those of the format returned or offered; any other capture
       message is logged as "cap+N" (N its offset from WM_CAP_START).

   The DLLs go into the prefix's system32 (x86_64) and syswow64 (i686) with
   HKCU\Software\Wine\DllOverrides cfgmgr32 and avicap32 set to "native". */
#pragma once

#include <windows.h>

#define STANDIN_DIR "C:\\standins\\"
#define STANDIN_DEVTREE_FILE STANDIN_DIR "devtree.txt"
#define STANDIN_CAPTURE_DRIVERS_FILE STANDIN_DIR "capture-drivers.txt"
#define STANDIN_CAPTURE_CONNECT_FILE STANDIN_DIR "capture-connect.txt"
#define STANDIN_CAPTURE_LOG_FILE STANDIN_DIR "capture.log"

/* Reads the whole of a control file into buffer, NUL-terminated; FALSE if
   it cannot be read or holds size bytes or more. */
BOOL ReadControlFile(const char *path, char *buffer, DWORD size, DWORD *length);

/* What an export Wine leaves unimplemented does when called: raise Wine's
   non-continuable stub exception naming the DLL and the function. The
   generated <dll>_stubs.h lists those exports as STANDIN_STUB(name). */
#define STANDIN_EXCEPTION_WINE_STUB 0x80000100
#define STANDIN_STUB(dll, name)                                                                                        \
    void stub_##name(void);                                                                                            \
    void stub_##name(void)                                                                                             \
    {                                                                                                                  \
        ULONG_PTR names[2] = {(ULONG_PTR)dll, (ULONG_PTR) #name};                                                      \
        RaiseException(STANDIN_EXCEPTION_WINE_STUB, EXCEPTION_NONCONTINUABLE, 2, names);                               \
    }
