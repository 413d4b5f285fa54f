/* Test-only: a DLL planted beside a copy of Lumetra.exe under the name of a
   system DLL the program uses. Should it ever be loaded, it leaves a mark
   beside itself (its own path with ".ran" added) holding the program it ran
   in, and says so on stderr. */
#include <windows.h>

static void Report(HINSTANCE self)
{
    WCHAR mark[MAX_PATH + 4], program[MAX_PATH];
    DWORD length = GetModuleFileNameW(self, mark, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || GetModuleFileNameW(NULL, program, MAX_PATH) == 0)
        return;
    char text[2 * MAX_PATH + 32];
    int n = wsprintfA(text, "planted %ls ran in %ls\r\n", mark, program);
    lstrcatW(mark, L".ran");
    DWORD written;
    HANDLE file = CreateFileW(mark, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, text, (DWORD)n, &written, NULL);
        CloseHandle(file);
    }
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, (DWORD)n, &written, NULL);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        Report(instance);
    return TRUE;
}
