// The country and frequency commands, seen from the camera's driver and the
// popup menus the user is shown.
#include "PreviewChecks.h"

#include "camera/zivo_camera.h"
#include "ui/LightFreqDlg.h"

#include <limits.h>
#include <stdlib.h>

namespace {

class ModeCommandsTest : public PlatformTest {
protected:
    void AddCamera() { camera_ = &sim::camera::Plug(); }
    // The values of the SET requests the camera received, in order.
    std::vector<int32_t> SetsSent() const { return camera_ ? camera_->driver->Sets() : std::vector<int32_t>(); }
    void OpenCountries() { sim::Click(IDC_BTN_COUNTRY); }
    void OpenFrequencies() { sim::Click(IDC_BTN_OTHER); }

    sim::camera::Camera *camera_ = NULL;
};

TEST_F(ModeCommandsTest, TheCountryPopupListsTheTenCountriesWithTheStoredOneChecked)
{
    sim::SetCursorPos(612, 333);
    HWND dialog = NULL;
    sim::Then([&] { dialog = MainWindow(); });
    OpenCountries();
    sim::DismissMenu();
    DialogRun dlg;

    ASSERT_EQ(1u, sim::Popups().size());
    const sim::PopupSeen &popup = sim::Popups()[0];
    const char *names[] = {"Canada", "German", "Italy", "Spain", "America",
                           "Russia", "Taiwan", "Australia", "Japan", "China"};
    ASSERT_EQ(10u, popup.items.size());
    for (UINT i = 0; i < 10; ++i) {
        EXPECT_EQ(ID_COUNTRY_CANADA + i, popup.items[i].id);
        EXPECT_EQ(names[i], popup.items[i].text);
    }
    EXPECT_EQ(std::vector<UINT>{ID_COUNTRY_AMERICA}, CheckedIn(0));
    EXPECT_EQ(612, popup.at.x);
    EXPECT_EQ(333, popup.at.y);
    EXPECT_EQ(0u, popup.flags);
    EXPECT_TRUE(popup.ownerForeground);
    EXPECT_EQ(dialog, popup.owner);
    EXPECT_EQ(4, dlg.m_nCountry);
}

TEST_F(ModeCommandsTest, WhereTheCursorCannotBeReadAPopupOpensAtTheMiddleOfItsButton)
{
    sim::FailCall(sim::Call::GetCursorPos, S_OK);
    RECT buttons[2] = {};
    sim::Then([&] {
        GetWindowRect(GetDlgItem(MainWindow(), IDC_BTN_COUNTRY), &buttons[0]);
        GetWindowRect(GetDlgItem(MainWindow(), IDC_BTN_OTHER), &buttons[1]);
    });
    OpenCountries();
    sim::DismissMenu();
    OpenFrequencies();
    sim::DismissMenu();
    DialogRun dlg;
    ASSERT_EQ(2u, sim::Popups().size());
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ((buttons[i].left + buttons[i].right) / 2, sim::Popups()[i].at.x) << i;
        EXPECT_EQ((buttons[i].top + buttons[i].bottom) / 2, sim::Popups()[i].at.y) << i;
    }
}

TEST_F(ModeCommandsTest, CountryIndicesOutsideTheTableCheckNothing)
{
    // The extremes a 10-byte value can hold; past INT_MAX the parse clamps.
    for (const char *stored : {"12", "10", "-1", "2147483647", "9999999999", "-999999999", "0"}) {
        StoreCountry(stored);
        OpenCountries();
        sim::DismissMenu();
        DialogRun dlg;
        EXPECT_EQ(strtoll(stored, NULL, 10) > INT_MAX ? INT_MAX : atoi(stored), dlg.m_nCountry);
        if (dlg.m_nCountry == 0)
            EXPECT_EQ(std::vector<UINT>{ID_COUNTRY_CANADA}, CheckedIn(0));
        else
            EXPECT_TRUE(CheckedIn(0).empty()) << stored;
        EndCase(std::string("stored ") + stored + ": ");
    }
}

TEST_F(ModeCommandsTest, PickingJapanRecordsItSendsSixtyHertzAndChecksIt)
{
    AddCamera();
    OpenCountries();
    sim::PickMenuItem(ID_COUNTRY_JAPAN);
    OpenFrequencies();
    sim::DismissMenu();
    OpenCountries();
    sim::DismissMenu();
    DialogRun dlg;

    EXPECT_EQ(8, dlg.m_nCountry);
    EXPECT_EQ(std::vector<int32_t>{2}, SetsSent());
    EXPECT_EQ(1, dlg.m_nFreqState);
    EXPECT_EQ(std::vector<UINT>{ID_FREQ_60HZ}, CheckedIn(1));
    EXPECT_EQ(std::vector<UINT>{ID_COUNTRY_JAPAN}, CheckedIn(2));
}

TEST_F(ModeCommandsTest, EachCountrySendsItsMainsFrequency)
{
    AddCamera();
    for (UINT id = ID_COUNTRY_CANADA; id <= ID_COUNTRY_CHINA; ++id) {
        OpenCountries();
        sim::PickMenuItem(id);
    }
    DialogRun dlg;
    EXPECT_EQ((std::vector<int32_t>{2, 1, 1, 1, 2, 1, 2, 1, 2, 1}), SetsSent());
    EXPECT_EQ(9, dlg.m_nCountry);
}

TEST_F(ModeCommandsTest, ChinaWithoutTheCameraIsRecordedButSendsNothing)
{
    OpenCountries();
    sim::PickMenuItem(ID_COUNTRY_CHINA);
    OpenFrequencies();
    sim::DismissMenu();
    CLightFreqDlg dlg;
    dlg.m_nFreqState = 1;
    sim::Key(VK_ESCAPE);
    dlg.DoModal();
    EXPECT_EQ(9, dlg.m_nCountry);
    EXPECT_EQ(1, dlg.m_nFreqState);
    EXPECT_EQ(std::vector<UINT>{ID_FREQ_60HZ}, CheckedIn(1));
}

TEST_F(ModeCommandsTest, TheFrequencyItemsAndOutDoorsAreSentEveryTimeAndCheckedAfter)
{
    AddCamera();
    OpenFrequencies();
    sim::PickMenuItem(ID_FREQ_50HZ);
    OpenFrequencies();
    sim::PickMenuItem(ID_FREQ_60HZ);
    OpenFrequencies();
    sim::DismissMenu();
    sim::Click(IDC_BTN_OUTDOORS);
    sim::Click(IDC_BTN_OUTDOORS);
    OpenFrequencies();
    sim::DismissMenu();
    DialogRun dlg;

    EXPECT_EQ((std::vector<int32_t>{1, 2, 0, 0}), SetsSent());
    EXPECT_EQ(std::vector<UINT>{ID_FREQ_50HZ}, CheckedIn(1));
    EXPECT_EQ(std::vector<UINT>{ID_FREQ_60HZ}, CheckedIn(2));
    EXPECT_TRUE(CheckedIn(3).empty());
    EXPECT_EQ(-1, dlg.m_nFreqState);
    EXPECT_EQ(4, dlg.m_nCountry); // the frequency and the country are independent
}

TEST_F(ModeCommandsTest, AFailedRadioCommandClearsOnlyItsOwnCheck)
{
    sim::Then([] {
        for (int id = IDC_RADIO_OUTDOOR; id <= IDC_RADIO_60HZ; ++id)
            SendDlgItemMessageA(MainWindow(), id, BM_SETCHECK, BST_CHECKED, 0);
    });
    sim::Notify(IDC_RADIO_50HZ, BN_CLICKED);
    DialogRun([](CLightFreqDlg &) {
        EXPECT_EQ((std::vector<int>{BST_CHECKED, BST_UNCHECKED, BST_CHECKED}), RadioChecks());
    });
}

TEST_F(ModeCommandsTest, ASuccessfulRadioCommandKeepsTheChecksAndSendsItsMode)
{
    AddCamera();
    sim::Then([] { SendDlgItemMessageA(MainWindow(), IDC_RADIO_60HZ, BM_SETCHECK, BST_CHECKED, 0); });
    sim::Notify(IDC_RADIO_60HZ, BN_CLICKED);
    sim::Notify(IDC_RADIO_50HZ, BN_CLICKED);
    sim::Notify(IDC_RADIO_OUTDOOR, BN_CLICKED);
    DialogRun dlg([](CLightFreqDlg &) { EXPECT_EQ(BST_CHECKED, RadioChecks()[2]); });
    EXPECT_EQ((std::vector<int32_t>{2, 1, 0}), SetsSent());
    EXPECT_EQ(-1, dlg.m_nFreqState);
}

} // namespace
