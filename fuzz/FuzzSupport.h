// Shared by the fuzz targets: a fresh platform per input, a reader of the
// input's bytes, and a hard stop when the program leaves anything behind.
#pragma once

#include "sim.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

extern const unsigned char g_lumetraRes[];
extern const size_t g_lumetraRes_size;

inline void FreshPlatform()
{
    static bool loaded = false;
    if (!loaded) {
        sim::SetModuleResources(g_lumetraRes, g_lumetraRes_size);
        loaded = true;
    }
    sim::Reset();
}

// Aborts (a finding for libFuzzer) when anything was leaked or misused.
inline void RequireNothingLeaked()
{
    if (sim::LiveComReferences() || sim::LiveBstrs() || sim::LiveTaskBlocks() || sim::ComInitDepth() ||
        sim::LiveWindows() || sim::LiveMenus() || sim::LiveRegistryKeys() || sim::LivePaintContexts() ||
        !sim::Misuse().empty()) {
        fprintf(stderr, "leaked or misused: COM %ld (%s), BSTR %ld, blocks %ld, apartments %ld, windows %ld, "
                        "menus %ld, keys %ld, misuse: %s\n",
                sim::LiveComReferences(), sim::LiveComObjects().c_str(), sim::LiveBstrs(), sim::LiveTaskBlocks(),
                sim::ComInitDepth(), sim::LiveWindows(), sim::LiveMenus(), sim::LiveRegistryKeys(),
                sim::Misuse().empty() ? "none" : sim::Misuse()[0].c_str());
        abort();
    }
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
    uint16_t Unit() { return (uint16_t)(Byte() | Byte() << 8); }
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
