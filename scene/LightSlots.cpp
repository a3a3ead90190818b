#include "scene/LightSlots.h"

#include <array>

namespace zelvane {

namespace {

std::array<bool, LightSlots::kCount>& Table()
{
    static std::array<bool, LightSlots::kCount> inUse{};
    return inUse;
}

} // namespace

int LightSlots::Take()
{
    auto& table = Table();
    for (int slot = 0; slot < kCount; ++slot)
        if (!table[static_cast<std::size_t>(slot)]) {
            table[static_cast<std::size_t>(slot)] = true;
            return slot;
        }
    return -1;
}

void LightSlots::Release(int slot)
{
    if (slot >= 0 && slot < kCount)
        Table()[static_cast<std::size_t>(slot)] = false;
}

bool LightSlots::InUse(int slot)
{
    return slot >= 0 && slot < kCount && Table()[static_cast<std::size_t>(slot)];
}

} // namespace zelvane
