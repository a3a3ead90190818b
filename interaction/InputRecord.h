#pragma once
// What the view hands the tools for one mouse or key event: where, which
// buttons and modifier keys, how large the window is, which key. Built from
// the window system's event and nothing else, so tests can make them too.

#include <cstdint>

namespace zelvane {

// The button flags of a drag step: left bit 1, right bit 2.
inline constexpr std::uint32_t kLeftButton = 0x1;
inline constexpr std::uint32_t kRightButton = 0x2;

enum class Key { None, Left, Right, Up, Down, Shift, Control };

struct InputRecord {
    // The pointer in client coordinates, from the window's top-left.
    int x = 0;
    int y = 0;
    std::uint32_t buttons = 0;
    bool shift = false;
    bool control = false;
    // The window's client area in the same units as x and y.
    int clientWidth = 0;
    int clientHeight = 0;
    Key key = Key::None;
    // Wheel turns in notches (positive away from the user); fractions come
    // from fine-grained wheels and touchpads.
    double wheelNotches = 0.0;
};

} // namespace zelvane
