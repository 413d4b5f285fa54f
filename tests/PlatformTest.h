// Every test runs on a freshly reset simulated platform and ends by checking
// that the program gave back everything it obtained.
#pragma once

#include <gtest/gtest.h>

#include <ctype.h>

#include <string>

#include "sim.h"

namespace sim {
inline void PrintTo(Call call, std::ostream *os) { *os << CallName(call); }
} // namespace sim

// Names a parameterised case after the platform call its parameter fails.
struct NameAfterFailedCall {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param> &info) const
    {
        std::string name = sim::CallName(info.param.step);
        for (char &c : name)
            if (!isalnum((unsigned char)c))
                c = '_';
        return name;
    }
};

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override;
};
