/* Test-only: an executable the import check must reject. It calls a
   delay-loaded function only through its import slot, which the i686 linker
   then leaves empty, imports a name that no ksproxy.ax exports, is linked
   without the hardening (cmake/WindowsBuild.cmake) and has a section both
   writable and executable. */
#include <windows.h>

__asm__(".section .wx, \"wx\"\nwx_byte:\n\t.byte 0\n\t.text");
extern char g_wxByte __asm__("wx_byte");

__declspec(dllimport) HRESULT WINAPI KsSynchronousDeviceControl(HANDLE, ULONG, PVOID, ULONG, PVOID, ULONG, PULONG);
__declspec(dllimport) HRESULT WINAPI KsNoSuchFunction(void);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show)
{
    (void)instance;
    (void)previous;
    (void)show;
    if (command[0] != 'x')
        return g_wxByte;
    return (int)KsSynchronousDeviceControl(NULL, 0, NULL, 0, NULL, 0, NULL) + (int)KsNoSuchFunction();
}
