/* Reading the files the tests steer the stand-ins with (standins.h). */
#include "standins.h"

BOOL ReadControlFile(const char *path, char *buffer, DWORD size, DWORD *length)
{
    /* Shared for every access, so that the tests can rename a new file over
       this one while it is open. */
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD read = 0;
    BOOL ok = ReadFile(file, buffer, size, &read, NULL) && read < size;
    CloseHandle(file);
    if (!ok)
        return FALSE;
    buffer[read] = '\0';
    *length = read;
    return TRUE;
}
