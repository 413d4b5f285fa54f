// Every platform call an operation makes is failed in turn, the way that call
// can really fail. Whatever fails, the operation must not crash, must give
// the result its failure calls for, and must give back all it obtained.
#include "PlatformTest.h"
#include "PreviewChecks.h"

#include "camera/CameraMode.h"
#include "camera/CameraPresence.h"
#include "camera/zivo_camera.h"
#include "control/CountryStore.h"
#include "ui/LightFreqDlg.h"

#include <dbt.h>

#include <iostream>

namespace {

using sim::Call;

sim::camera::Camera *g_camera;

// Another video device on a hub, and no camera.
void OtherDevices()
{
    sim::AddVideoDevice(L"USB Video Device");
    sim::AddDevNode(sim::AddDevNode(sim::kRootDevNode, sim::DevNode()), sim::DevNode());
    g_camera = NULL;
}

void CameraPlugged(bool free = true)
{
    OtherDevices();
    g_camera = &sim::camera::Plug();
    g_camera->driver->lightFrequency = 1;
    g_camera->HoldElsewhere(!free);
}

void ExpectPreviewConsistent(CLightFreqDlg &dlg) { EXPECT_EQ("", PreviewInconsistency(dlg)); }

// Runs op with the failAt-th call from its start failing (none for 0) and
// returns how many calls it made.
size_t Measure(size_t failAt, const std::function<void()> &op)
{
    size_t start = sim::CallLog().size();
    if (failAt)
        sim::FailNthCall(failAt);
    op();
    return sim::CallLog().size() - start;
}

// The part of a dialog's run between two points of its script.
struct DialogStep {
    std::function<void(CLightFreqDlg &)> step;
    std::function<void(CLightFreqDlg &)> check; // after the step, before Esc closes
};

size_t RunDialogStep(size_t failAt, const DialogStep &s)
{
    size_t calls = 0;
    CLightFreqDlg dlg;
    sim::Then([&] { calls = Measure(failAt, [&] { s.step(dlg); }); });
    sim::Then([&] { s.check(dlg); });
    sim::Key(VK_ESCAPE);
    dlg.DoModal();
    return calls;
}

struct Operation {
    std::string name;
    std::function<void()> scenario;
    std::function<size_t(size_t failAt)> run; // runs, checks, returns the calls made
};

class FaultSweepTest : public PlatformTest {
protected:
    // Fails each call of op in turn; returns how many calls could be failed.
    // Without failures the script must fit exactly; once a call fails the
    // path changes and what is left of the script is the script's, but
    // nothing may leak.
    size_t Sweep(const Operation &op)
    {
        op.scenario();
        size_t calls = op.run(0);
        EndCase(op.name + " without failures: ");
        size_t pairs = 0;
        for (size_t n = 1; n <= calls && !HasFailure(); ++n) {
            op.scenario();
            op.run(n);
            std::string failed = sim::InjectedCall() == Call::Count ? "none" : sim::CallName(sim::InjectedCall());
            pairs += sim::InjectedCall() != Call::Count;
            sim::DiscardScript();
            EndCase(op.name + ", call " + std::to_string(n) + " (" + failed + ") failing: ");
            if (HasFailure())
                std::cout << op.name << ": first fault with call " << n << " (" << failed << ") failing\n";
        }
        std::cout << op.name << ": " << calls << " calls, " << pairs << " failed in turn\n";
        return pairs;
    }
};

TEST_F(FaultSweepTest, EveryOperationSurvivesEachOfItsCallsFailing)
{
    std::vector<Operation> ops;
    ops.push_back({"SetFrequencyMode", [] { CameraPlugged(); }, [](size_t n) {
                       BOOL result = FALSE;
                       size_t calls = Measure(n, [&] { result = SetFrequencyMode(2); });
                       EXPECT_EQ(sim::Succeeded().handlesIssued > 0, result != 0);
                       if (result && sim::InjectedCall() != Call::KsSynchronousDeviceControl) {
                           EXPECT_EQ(2, g_camera->driver->lightFrequency);
                       }
                       return calls;
                   }});
    ops.push_back({"GetFrequencyMode", [] { CameraPlugged(); }, [](size_t n) {
                       int mode = 0;
                       size_t calls = Measure(n, [&] { mode = GetFrequencyMode(); });
                       EXPECT_EQ(g_camera->driver->getsAnswered ? 1 : kModeUnknown, mode);
                       return calls;
                   }});
    ops.push_back({"IsCameraPresent", [] { CameraPlugged(); }, [](size_t n) {
                       BOOL present = FALSE;
                       size_t calls = Measure(n, [&] { present = IsCameraPresent(); });
                       EXPECT_EQ(sim::camera::HardwareIdsRead() > 0, present != 0);
                       return calls;
                   }});
    ops.push_back({"country load", [] { StoreCountry("7"); },
                   [](size_t n) {
                       int country = 0;
                       size_t calls = Measure(n, [&] { country = LoadCountry(); });
                       EXPECT_EQ(sim::Succeeded().valuesQueried ? 7 : kDefaultCountry, country);
                       return calls;
                   }});
    ops.push_back({"country save", [] { StoreCountry("7"); },
                   [](size_t n) {
                       size_t calls = Measure(n, [] { SaveCountry(8); });
                       EXPECT_EQ(sim::Succeeded().valuesSet ? std::string("8\0", 2) : "7", StoredCountry());
                       return calls;
                   }});
    ops.push_back({"StartPreview", [] { sim::AddCaptureDriver(" "); }, [](size_t n) {
                       int connectsBefore = 0;
                       BOOL started = FALSE;
                       DialogStep step{[&](CLightFreqDlg &dlg) {
                                           connectsBefore = sim::Succeeded().connects;
                                           started = dlg.StartPreview();
                                       },
                                       [&](CLightFreqDlg &dlg) {
                                           EXPECT_EQ(sim::Succeeded().connects - connectsBefore == 2, started != 0);
                                           EXPECT_EQ(started, dlg.m_bPreviewing);
                                           ExpectPreviewConsistent(dlg);
                                           dlg.StopPreview();
                                           EXPECT_TRUE(sim::CaptureWindows().empty());
                                       }};
                       return RunDialogStep(n, step);
                   }});
    const struct {
        const char *name;
        std::function<void()> scenario;
        bool busy; // the warning is answered, and closes the window
    } starts[] = {
        {"OnInitDialog, camera absent", [] { OtherDevices(); }, false},
        {"OnInitDialog, camera free", [] { CameraPlugged(); }, false},
        {"OnInitDialog, camera busy", [] { CameraPlugged(false); }, true},
    };
    for (const auto &start : starts) {
        ops.push_back({start.name, start.scenario, [&start](size_t n) {
                           CLightFreqDlg dlg;
                           INT_PTR result = 0;
                           sim::Then([&] { ExpectPreviewConsistent(dlg); });
                           if (start.busy)
                               sim::AnswerMessageBox(IDOK);
                           // A failure may leave the busy camera unseen, and the window open.
                           if (!start.busy || n > 0)
                               sim::Key(VK_ESCAPE);
                           size_t calls = Measure(n, [&] { result = dlg.DoModal(); });
                           EXPECT_EQ(sim::InjectedCall() == Call::DialogBox, result == -1);
                           EXPECT_LE(sim::MessageBoxes().size(), 1u);
                           EXPECT_TRUE(sim::CaptureWindows().empty());
                           if (result != -1) {
                               EXPECT_EQ(sim::Succeeded().valuesSet ? std::string("4\0", 2) : "<none>", StoredCountry());
                           }
                           return calls;
                       }});
    }
    const struct {
        const char *name;
        UINT event;
        bool plug;
    } changes[] = {
        {"OnDeviceChange, nodes changed", DBT_DEVNODES_CHANGED, true},
        {"OnDeviceChange, arrival", DBT_DEVICEARRIVAL, true},
        {"OnDeviceChange, removal", DBT_DEVICEREMOVECOMPLETE, false},
    };
    for (const auto &change : changes) {
        ops.push_back({change.name, [&] { change.plug ? OtherDevices() : CameraPlugged(); }, [&](size_t n) {
                           int connectsBefore = 0;
                           DialogStep step{
                               [&](CLightFreqDlg &) {
                                   if (change.plug) // plugging and unplugging make no platform call
                                       g_camera = &sim::camera::Plug();
                                   else
                                       g_camera->Unplug();
                                   connectsBefore = sim::Succeeded().connects;
                                   sim::SendDeviceChange(MainWindow(), change.event);
                               },
                               [&](CLightFreqDlg &dlg) {
                                   bool connected = sim::Succeeded().connects - connectsBefore == 2;
                                   EXPECT_EQ(change.plug && connected, dlg.m_bPreviewing != 0);
                                   ExpectPreviewConsistent(dlg);
                               }};
                           return RunDialogStep(n, step);
                       }});
    }
    ops.push_back({"a whole run", [] { CameraPlugged(); }, [](size_t n) {
                       sim::Click(IDC_BTN_COUNTRY);
                       sim::PickMenuItem(ID_COUNTRY_JAPAN);
                       sim::Key(VK_ESCAPE);
                       int exitCode = -1;
                       size_t calls = Measure(n, [&] { exitCode = WinMain(GetModuleHandleA(NULL), NULL, (LPSTR) "", 1); });
                       EXPECT_EQ(0, exitCode);
                       EXPECT_TRUE(sim::CaptureWindows().empty());
                       std::string stored = StoredCountry();
                       if (sim::Succeeded().valuesSet) {
                           EXPECT_TRUE(stored == std::string("8\0", 2) || stored == std::string("4\0", 2)) << stored;
                       } else {
                           EXPECT_EQ("<none>", stored);
                       }
                       return calls;
                   }});

    size_t pairs = 0;
    for (const Operation &op : ops)
        pairs += Sweep(op);
    std::cout << "fault injection: " << pairs << " (operation, call) pairs failed in turn over " << ops.size()
              << " operations\n";
    RecordProperty("injected_pairs", (int)pairs);
    EXPECT_GT(pairs, 300u);
}

} // namespace
