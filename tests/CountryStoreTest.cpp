// The country value in the registry: reading, parsing and writing it.
#include "PlatformTest.h"

#include "control/CountryStore.h"

#include <limits.h>

namespace {

class CountryStoreTest : public PlatformTest {};

TEST_F(CountryStoreTest, StoredTextIsReadAsAtoiWould)
{
    const struct {
        DWORD type;
        std::string data;
        int country;
    } cases[] = {
        {REG_SZ, "7", 7},
        {REG_SZ, std::string("7\0", 2), 7},
        {REG_SZ, "abc", 0},
        {REG_SZ, "", 0},
        {REG_SZ, "12", 12},
        {REG_SZ, " -3x", -3},
        {REG_SZ, "\t7", 7},   // atoi skips a space and \t to \r, and nothing else
        {REG_SZ, "\n7", 7},
        {REG_SZ, "\v7", 7},
        {REG_SZ, "\f7", 7},
        {REG_SZ, "\r7", 7},
        {REG_SZ, "\b7", 0},
        {REG_SZ, "\x0e" "7", 0},
        {REG_SZ, "0000000009", 9},          // exactly ten characters: read whole
        {REG_SZ, "12345678901", 4},         // longer: the read fails
        {REG_DWORD, std::string("12\0\0", 4), 12}, // another type's bytes, read as text
        {REG_SZ, "9999999999", INT_MAX},    // beyond an int: clamped
        {REG_SZ, "-999999999", -999999999},
    };
    for (const auto &c : cases) {
        StoreCountry(c.data, c.type);
        EXPECT_EQ(c.country, LoadCountry()) << c.data;
    }
}

TEST_F(CountryStoreTest, ParsingClampsNumbersBeyondAnInt)
{
    EXPECT_EQ(INT_MAX, ParseCountryText("2147483648"));
    EXPECT_EQ(INT_MIN, ParseCountryText("-2147483648"));
    EXPECT_EQ(INT_MIN, ParseCountryText("-99999999999999999999"));
    EXPECT_EQ(INT_MIN, ParseCountryText("-21474836470"));
    EXPECT_EQ(42, ParseCountryText("\t+42 "));
}

// Saving creates the key; the registry keeps a terminator after the text.
TEST_F(CountryStoreTest, WithoutTheKeyTheDefaultIsAmericaAndSavingWritesTheDecimalText)
{
    EXPECT_EQ(4, LoadCountry());
    EXPECT_FALSE(sim::RegistryKeyExists(HKEY_LOCAL_MACHINE, kCountryKey));
    for (int country : {0, 9, 12, -1, 1000000000, INT_MAX, -999999999}) {
        SaveCountry(country);
        EXPECT_EQ(country, LoadCountry()) << country;
    }
    SaveCountry(12);
    EXPECT_EQ(std::string("12\0", 3), StoredCountry());
}

// A standard user's 64-bit process may not write under HKEY_LOCAL_MACHINE,
// and Windows does not virtualize it.
TEST_F(CountryStoreTest, AFailedSaveLeavesTheRegistryAsItWas)
{
    sim::ThisProcess().standardUser = true;
    EXPECT_FALSE(WriteRegistryString(HKEY_LOCAL_MACHINE, kCountryKey, "Country", "8"));
    EXPECT_FALSE(sim::RegistryKeyExists(HKEY_LOCAL_MACHINE, kCountryKey));

    StoreCountry("7");
    EXPECT_FALSE(WriteRegistryString(HKEY_LOCAL_MACHINE, kCountryKey, "Country", "8"));
    EXPECT_EQ("7", StoredCountry());
    EXPECT_EQ(7, LoadCountry());
}

// A failed query is a failed read whatever the buffer holds; a value that
// cannot be set once the key opened is a failed save.
TEST_F(CountryStoreTest, AValueThatCannotBeQueriedOrSetIsAFailedReadOrSave)
{
    StoreCountry("7");
    sim::FailCall(sim::Call::RegQueryValueEx, ERROR_FILE_NOT_FOUND);
    sim::FailCall(sim::Call::RegSetValueEx, ERROR_ACCESS_DENIED);
    char buffer[kCountryBufferSize] = {};
    EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, kCountryKey, "Country", buffer));
    EXPECT_FALSE(WriteRegistryString(HKEY_LOCAL_MACHINE, kCountryKey, "Country", "8"));
    EXPECT_EQ("7", StoredCountry());
}

TEST_F(CountryStoreTest, SavingReopensTheKeyForWritingBeforeSettingTheValue)
{
    StoreCountry("5");
    SaveCountry(6);
    const std::vector<sim::Call> expected = {sim::Call::RegOpenKeyEx, sim::Call::RegCloseKey,
                                             sim::Call::RegOpenKeyEx, sim::Call::RegSetValueEx,
                                             sim::Call::RegCloseKey};
    EXPECT_EQ(expected, sim::CallLog());
}

} // namespace
