#pragma once
// How far one pixel of a drag takes each tool, from the mouse sensitivity
// setting (1 by default). Move and Pan follow the pointer on the screen at
// sensitivity 1 and go that many times as far otherwise.

namespace zelvane {

struct ToolSpeeds {
    float maxStep = 10.0f;
    float move = 0.01f;
    float pan = 0.008f;
    float orbit = 0.2f;
    float zoom = 0.008f;
    float fieldOfView = 0.1f;
    float texture = 0.001f;
    float sensitivity = 1.0f;

    static constexpr ToolSpeeds FromSensitivity(float s)
    {
        return {10.0f * s, 0.01f * s, 0.008f * s, 0.2f * s, 0.008f * s, 0.1f * s, 0.001f * s, s};
    }
};

} // namespace zelvane
