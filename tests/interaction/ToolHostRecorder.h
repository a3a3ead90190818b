#pragma once
// A window for the tools that only keeps what they asked of it, and picks
// for real through the scene's picking pass in the test's off-screen context.

#include "interaction/IToolHost.h"

#include <string>
#include <vector>

namespace zelvane {

class COGLScene;
class COGLViewport3D;

namespace test {

class ToolHostRecorder final : public IToolHost {
public:
    ToolHostRecorder(COGLViewport3D& viewport, COGLScene& scene) : viewport_(viewport), scene_(scene) {}

    void CapturePointer() override { events.push_back("capture"); }
    void ReturnPointer() override { events.push_back("return"); }
    void ReleasePointer() override { events.push_back("release"); }
    PickResult Pick(int x, int y) override;
    void Repaint() override { ++repaints; }

    std::vector<std::string> events;
    int repaints = 0;

private:
    COGLViewport3D& viewport_;
    COGLScene& scene_;
};

} // namespace test
} // namespace zelvane
