#pragma once
// The process-wide table of the eight OpenGL lights, GL_LIGHT0 to GL_LIGHT7:
// which are owned by a live light.

namespace zelvane {

class LightSlots {
public:
    static constexpr int kCount = 8;

    // The first free slot, now in use; −1 when all eight are taken.
    static int Take();
    // Frees a slot taken before; anything else is ignored.
    static void Release(int slot);
    static bool InUse(int slot);
};

} // namespace zelvane
