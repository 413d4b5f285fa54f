// A small harness in the manner of Wine's test.h for facts about the Windows
// calls Lumetra makes, one source run on the simulated Windows and, built
// for Windows, on Windows or Wine. ok() checks one fact. Each fact carries
// its evidence. By default it is Windows': a Wine conformance test that ran
// on Windows, or Microsoft's page, named beside it. wine_and_reactos marks a
// fact Windows documents nothing of, on which Wine's and ReactOS's
// implementations agree; the simulation follows it, and it is counted apart.
// given(condition, "text") runs facts that hold only under a condition
// checked there: where it does not hold they are skipped, not judged.
// todo_wine marks a fact Wine is known to get wrong, its evidence beside it:
// under Wine it must fail, and counts as passed-as-known; anywhere else it
// must hold. A group about what Wine does not implement is built into the
// host suite only, or, where the Wine tests stand in for it, runs under Wine
// only against the stand-ins, with the argument "standins" (which runs
// nothing else). On the host each group starts on a fresh simulation and
// must leave nothing behind. The last line is "N passed, M failed".
#pragma once

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include "sim.h"
extern const unsigned char g_lumetraRes[];
extern const size_t g_lumetraRes_size;
#endif

namespace facts {

enum Where { kEverywhere, kStandins, kHostOnly };
enum Evidence { kWindows, kWineAndReactOS };

struct Group {
    const char *name;
    void (*run)();
    Where where;
};

struct Tally {
    int passed = 0, failed = 0, marked = 0, knownWine = 0, counted[3] = {}, resting[2] = {}, conditional = 0,
        skipped = 0;
    bool onWine = false, todo = false, given = false, skipping = false;
    Where where = kEverywhere;
    Evidence evidence = kWindows;
};

inline Tally &T()
{
    static Tally tally;
    return tally;
}

inline void Check(int line, bool holds, const char *format, ...) __attribute__((format(printf, 3, 4)));
inline void Check(int line, bool holds, const char *format, ...)
{
    Tally &t = T();
    ++t.counted[t.where];
    if (t.skipping) {
        ++t.skipped;
        return;
    }
    ++t.resting[t.evidence];
    t.conditional += t.given;
    bool knownToFail = t.todo && t.onWine, passed = holds != knownToFail;
    ++(passed ? t.passed : t.failed);
    t.knownWine += knownToFail && !holds;
    t.marked += t.todo;
    if (passed && holds)
        return;
    va_list args;
    va_start(args, format);
    printf("platform_facts.cpp:%d: %s: ", line,
           passed ? "Test marked todo" : holds ? "Test succeeded inside todo block" : "Test failed");
    vprintf(format, args);
    printf("\n");
    va_end(args);
}

template <typename T> struct Same {
    typedef T type;
};

// Answers given in a row, each checked on its own against the one wanted and
// named by its place in the row, from 0, with what came back.
template <typename T, size_t N>
void Each(int line, const T (&got)[N], const typename Same<T>::type (&wanted)[N], const char *what)
{
    for (size_t i = 0; i < N; ++i)
        Check(line, got[i] == wanted[i], "%s (%d): got %#x", what, (int)i, (unsigned)got[i]);
}

inline bool Todo(bool on) { return T().todo = on; }

inline bool Resting(Evidence evidence) { return (T().evidence = evidence) != kWindows; }

// The facts of a given() block run either way, so that every platform counts
// them alike; where the condition does not hold they are only counted.
inline bool Given(int line, bool holds, const char *condition)
{
    T().given = true;
    T().skipping = !holds;
    if (!holds)
        printf("platform_facts.cpp:%d: Tests skipped: they need %s\n", line, condition);
    return true;
}

inline bool EndGiven() { return T().given = T().skipping = false; }

// A 32-bit process on 64-bit Windows, as Wine's prefix and the simulation are.
inline bool Wow64()
{
#ifdef _WIN32
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#else
    return sim::ThisProcess().wow64;
#endif
}

// The conditions some facts need. The simulation is one elevated process on
// one desktop, the input one, with one monitor, and its windows foremost.

// Elevated, or an administrator where UAC is off (TokenElevation says so for
// both): only then are writes under HKEY_LOCAL_MACHINE neither refused nor
// virtualized.
inline bool Elevated()
{
#ifdef _WIN32
    HANDLE token = NULL;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    bool elevated = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
                    GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) &&
                    elevation.TokenIsElevated;
    if (token)
        CloseHandle(token);
    return elevated;
#else
    return !sim::ThisProcess().standardUser;
#endif
}

// The thread's desktop takes the input, and the screen is one monitor: off
// the input desktop GetCursorPos fails, and on several monitors the cursor
// may lie off the primary one.
inline bool OnTheInputDesktopsOneMonitor()
{
#ifdef _WIN32
    char mine[64] = "", input[64] = "?";
    GetUserObjectInformationA(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, mine, sizeof(mine), NULL);
    HDESK desktop = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (desktop) {
        GetUserObjectInformationA(desktop, UOI_NAME, input, sizeof(input), NULL);
        CloseDesktop(desktop);
    }
    return GetSystemMetrics(SM_CMONITORS) == 1 && !strcmp(mine, input);
#else
    return true;
#endif
}

// The foreground window is the process's own, so that the foreground-lock
// rules let it bring another of its windows forward.
inline bool HasTheForeground()
{
#ifdef _WIN32
    DWORD process = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &process);
    return process == GetCurrentProcessId();
#else
    return true;
#endif
}

inline int Run(const Group *groups, size_t count, bool standinsOnly)
{
    const char *const kWhere[] = {"", " (with the stand-ins under Wine)", " (host only)"};
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    T().onWine = ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    sim::SetModuleResources(g_lumetraRes, g_lumetraRes_size);
    sim::SetModuleFileName("C:\\Facts\\platform_facts.exe");
#endif
    for (size_t i = 0; i < count; ++i) {
#ifdef _WIN32
        if ((groups[i].where == kStandins) != standinsOnly)
            continue;
#else
        (void)standinsOnly;
        // A work area off the screen's corner (a taskbar at the top and left)
        // lets placement show.
        sim::SystemMetrics().workArea = {100, 40, 1024, 768};
#endif
        T().where = groups[i].where;
        int before = T().passed + T().failed;
        groups[i].run();
#ifndef _WIN32
        sim::Reset();
        for (const std::string &left : sim::TakeResetFindings()) {
            ++T().failed;
            printf("%s: left behind: %s\n", groups[i].name, left.c_str());
        }
#endif
        printf("%s: %d facts%s\n", groups[i].name, T().passed + T().failed - before, kWhere[groups[i].where]);
    }
    const Tally &t = T();
    printf("platform facts%s: %d common, %d with the stand-ins, %d host only; %d marked where Wine differs, %d failed "
           "here as known\n",
           t.onWine ? " under Wine" : "", t.counted[kEverywhere], t.counted[kStandins], t.counted[kHostOnly], t.marked,
           t.knownWine);
    printf("evidence: %d facts rest on Windows', %d of them under a condition that held; %d on Wine's and ReactOS's "
           "alone; %d skipped, their condition not holding here\n",
           t.resting[kWindows], t.conditional, t.resting[kWineAndReactOS], t.skipped);
    printf("%d passed, %d failed\n", t.passed, t.failed);
    return t.failed ? 1 : 0;
}

} // namespace facts

#define ok(holds, ...) facts::Check(__LINE__, (holds), __VA_ARGS__)
#define ok_each(got, ...) facts::Each(__LINE__, got, __VA_ARGS__) // the answers wanted, the fact
#define wine_and_reactos                                                                                               \
    for (bool facts_wine = facts::Resting(facts::kWineAndReactOS); facts_wine;                                         \
         facts_wine = facts::Resting(facts::kWindows))
#define given(holds, condition)                                                                                        \
    for (bool facts_given = facts::Given(__LINE__, (holds), condition); facts_given; facts_given = facts::EndGiven())
#define todo_wine for (bool facts_todo = facts::Todo(true); facts_todo; facts_todo = facts::Todo(false))
