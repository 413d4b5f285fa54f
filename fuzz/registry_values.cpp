// The country value with any type and any bytes: it loads to some index,
// and whatever index is saved loads back the same.
#include "FuzzSupport.h"

#include "control/CountryStore.h"

#include <limits.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FreshPlatform();
    Bytes in(data, size);
    DWORD type = in.Byte() % 12;
    std::string stored = in.Rest();
    sim::SetRegistryValue(HKEY_LOCAL_MACHINE, kSettingsKey, kCountryValue, type, stored);
    int country = LoadCountry();
    if (stored.size() > kCountryTextSize + 1 || (stored.size() == kCountryTextSize + 1 && stored.back() != '\0'))
        REQUIRE(country == kDefaultCountry);
    SaveCountry(country);
    REQUIRE(LoadCountry() == country);
    RequireNothingLeaked();
    return 0;
}
