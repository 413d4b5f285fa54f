// Shared by the fuzz targets: a fresh platform per input, a reader of the
// input's bytes, and a hard stop when the program leaves anything behind.
#pragma once

#include "sim.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

extern const unsigned char g_lumetraRes[];
extern const size_t g_lumetraRes_size;

// Aborts (a finding for libFuzzer) when anything was leaked or misused, or
// the input's script did not fit.
inline void RequireNothingLeaked()
{
    std::vector<std::string> left = sim::Leftovers();
    if (left.empty())
        return;
    fprintf(stderr, "leaked or misused:\n");
    for (const std::string &line : left)
        fprintf(stderr, "  %s\n", line.c_str());
    abort();
}

inline void FreshPlatform()
{
    static bool loaded = false;
    if (!loaded) {
        sim::SetModuleResources(g_lumetraRes, g_lumetraRes_size);
        loaded = true;
    }
    RequireNothingLeaked();
    sim::Reset();
    sim::TakeResetFindings();
}

#define REQUIRE(condition)                                                                         \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            fprintf(stderr, "%s:%d: %s does not hold\n", __FILE__, __LINE__, #condition);          \
            abort();                                                                               \
        }                                                                                          \
    } while (0)

class Bytes {
public:
    Bytes(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t Unit()
    { // the first byte is the low one, whichever operand a compiler takes first
        uint16_t low = Byte();
        return (uint16_t)(low | Byte() << 8);
    }
    std::string Take(size_t n)
    {
        if (n > size_ - at_)
            n = size_ - at_;
        std::string s((const char *)data_ + at_, n);
        at_ += n;
        return s;
    }
    std::string Rest() { return Take(size_ - at_); }

private:
    const uint8_t *data_;
    size_t size_, at_ = 0;
};
