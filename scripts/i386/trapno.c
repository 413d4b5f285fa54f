/*
 * Preloaded into 32-bit Wine when qemu's user-mode emulation runs it.
 *
 * qemu writes the trap number into a signal's context only after it has
 * reset it, so every fault reaches the handler as trap -1. Wine's i386
 * handlers dispatch on that number and turn one they do not know into an
 * illegal-instruction exception, so even the page faults Wine resolves
 * itself (a guard page, a write watch, a stack page touched first) end the
 * program. This library gives each fault the trap number the Linux kernel
 * would have given it, worked out from the signal and its si_code, before
 * Wine's handler sees it. A context that already carries a trap number is
 * left alone, so a real kernel's answer always stands.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdlib.h>
#include <ucontext.h>

enum { TRAP_DIVIDE = 0, TRAP_DEBUG = 1, TRAP_BREAKPOINT = 3, TRAP_INVALID_OPCODE = 6, TRAP_GENERAL_PROTECTION = 13,
       TRAP_PAGE_FAULT = 14, TRAP_X87 = 16, TRAP_ALIGNMENT = 17 };
static const unsigned kNoTrap = ~0u;

typedef void (*SignalHandler)(int, siginfo_t *, void *);
typedef int (*SigactionFunction)(int, const struct sigaction *, struct sigaction *);

static SignalHandler g_handlers[_NSIG];

static unsigned TrapOf(int sig, int code)
{
    switch (sig) {
    case SIGSEGV: return code == SEGV_MAPERR || code == SEGV_ACCERR ? TRAP_PAGE_FAULT : TRAP_GENERAL_PROTECTION;
    case SIGBUS: return code == BUS_ADRALN ? TRAP_ALIGNMENT : TRAP_PAGE_FAULT;
    case SIGILL: return TRAP_INVALID_OPCODE;
    case SIGFPE: return code == FPE_INTDIV || code == FPE_INTOVF ? TRAP_DIVIDE : TRAP_X87;
    default: return code == TRAP_TRACE ? TRAP_DEBUG : TRAP_BREAKPOINT;
    }
}

static int IsFault(int sig)
{
    return sig == SIGSEGV || sig == SIGBUS || sig == SIGILL || sig == SIGFPE || sig == SIGTRAP;
}

/* Runs on the stack the handler was meant for and touches no thread-local
   storage: Wine finds its thread's data from that stack. */
static void WithTrapNumber(int sig, siginfo_t *info, void *context)
{
    greg_t *trapno = &((ucontext_t *)context)->uc_mcontext.gregs[REG_TRAPNO];
    if ((unsigned)*trapno == kNoTrap)
        *trapno = (greg_t)TrapOf(sig, info->si_code);
    g_handlers[sig](sig, info, context);
}

int sigaction(int sig, const struct sigaction *act, struct sigaction *old)
{
    static SigactionFunction real;
    struct sigaction wrapped;
    if (!real)
        real = (SigactionFunction)dlsym(RTLD_NEXT, "sigaction");
    if (!act || !IsFault(sig) || !(act->sa_flags & SA_SIGINFO))
        return real(sig, act, old);
    SignalHandler previous = g_handlers[sig];
    wrapped = *act;
    wrapped.sa_sigaction = WithTrapNumber;
    g_handlers[sig] = act->sa_sigaction; /* before a signal can reach the wrapper */
    if (real(sig, &wrapped, old) == 0)
        return 0;
    g_handlers[sig] = previous;
    return -1;
}

/* qemu puts the library back into each 32-bit program it starts; the 64-bit
   programs Wine starts must not be asked to load it. */
__attribute__((constructor)) static void ForgetPreload(void)
{
    unsetenv("LD_PRELOAD");
}
