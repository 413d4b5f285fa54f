/* Test-only: an executable the import check must reject. It calls a
   delay-loaded function only through its import slot, which the i686 linker
   then leaves empty, and imports a name that no ksproxy.ax exports. */
#include <windows.h>

__declspec(dllimport) HRESULT WINAPI KsSynchronousDeviceControl(HANDLE, ULONG, PVOID, ULONG, PVOID, ULONG, PULONG);
__declspec(dllimport) HRESULT WINAPI KsNoSuchFunction(void);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show)
{
    (void)instance;
    (void)previous;
    (void)show;
    if (command[0] != 'x')
        return 0;
    return (int)KsSynchronousDeviceControl(NULL, 0, NULL, 0, NULL, 0, NULL) + (int)KsNoSuchFunction();
}
