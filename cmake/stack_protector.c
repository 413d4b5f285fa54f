/* The stack protector's guard and its failure for MinGW-w64, in place of
   libssp's: libssp takes its guard from CryptGenRandom in a constructor, which
   loads a cryptographic provider's DLL before the program can restrict the
   search for DLLs. This guard is mixed, as the /GS cookie of Microsoft's C
   runtime is, from what the kernel answers without loading anything: the
   time, the performance counter, the process and thread, and an address on
   the stack, which ASLR moves. Its low byte is 0, so that a string copied past
   a buffer stops short of rewriting it. A failed check ends the process at
   once, with the status Windows reports for an overrun stack buffer. */
#include <windows.h>

void *__stack_chk_guard;

/* Before any other constructor, some of which are protected. */
static void __attribute__((constructor(101))) SetStackGuard(void)
{
    FILETIME now;
    LARGE_INTEGER counter;
    GetSystemTimeAsFileTime(&now);
    QueryPerformanceCounter(&counter);
    ULONG_PTR guard = (ULONG_PTR)&now;
    ULONG_PTR parts[] = {now.dwLowDateTime, now.dwHighDateTime, counter.LowPart, (ULONG_PTR)counter.HighPart,
                         GetCurrentProcessId(), GetCurrentThreadId(), GetTickCount()};
    for (unsigned i = 0; i < sizeof(parts) / sizeof(parts[0]); ++i)
        guard = (guard << 7 | guard >> (sizeof(guard) * 8 - 7)) ^ parts[i] * (ULONG_PTR)0x9E3779B1u;
    __stack_chk_guard = (void *)(guard & ~(ULONG_PTR)0xFF);
}

void __attribute__((noreturn)) __stack_chk_fail(void)
{
    TerminateProcess(GetCurrentProcess(), (UINT)STATUS_STACK_BUFFER_OVERRUN);
    for (;;)
        ;
}
