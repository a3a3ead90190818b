#pragma once
// New object GUIDs: the first 32 bits of a random 128-bit UUID drawn from the
// system's random source.

#include <cstdint>
#include <functional>

namespace zelvane {

class GuidSource {
public:
    // Draws from /dev/urandom (getrandom); 0 when that fails.
    static uint32_t NewGuid();

    // A GUID that is neither 0 nor taken according to `taken`; drawn again
    // until one fits (at most `attempts` times, then 0).
    static uint32_t NewUnusedGuid(const std::function<bool(uint32_t)>& taken, int attempts = 1000);
};

} // namespace zelvane
