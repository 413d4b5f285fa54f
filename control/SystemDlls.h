// Where the program's DLLs come from. Windows loads the DLLs of its KnownDLLs
// list from the system folder; any other DLL named without a path is looked
// for in the program's own folder first, where whoever can write there may
// have left one. The program's three other DLLs - ksproxy.ax, cfgmgr32.dll
// and avicap32.dll - are delay-loaded (cmake/WindowsBuild.cmake), so that
// none of them is loaded before this has run.
#pragma once

#include <windows.h>

// Called first thing: restricts every later search for a DLL in this
// process to the system folder. Where Windows lacks that call (Vista and 7
// without KB2533623), loads the three DLLs from the system folder by their
// full paths instead, so that a later load by name finds them loaded.
void UseSystemFolderDllsOnly();
