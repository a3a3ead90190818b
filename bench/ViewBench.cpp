// view_bench: what the editor's view costs the user while working.
//
// The editor's default scene (floor, two walls, three lights) with --objects
// primitives (1,000 by default) of six kinds scattered through the room
// (seeded, the same every run), at 1024 × 768 on the off-screen context
// (Mesa's software rasteriser), in shaded and in wireframe mode:
//
// - drag step: one mouse-move of a Move drag handed to the tools as the view
//   hands it (the object moves, the step is recorded in the undo history),
//   then the frame the view paints for it, to glFinish. Median and 95th
//   percentile of --steps steps, with the Sims camera, the moved object
//   selected; and the tools' own part of it (the frame excluded).
// - click to selection: a left click with the Select tool (the picking pass
//   in selection mode, the selection set, the tool states updated) and the
//   frame that shows the selection, to glFinish. Median and 95th percentile
//   of --clicks clicks spread over the picture.
//
// Usage: view_bench --maps FOLDER [--objects N] [--steps N] [--clicks N]

#include "document/COGLDoc.h"
#include "interaction/CommandIds.h"
#include "interaction/IToolHost.h"
#include "interaction/ToolController.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLScene.h"
#include "scene/COGLViewport3D.h"
#include "scene/HeadlessGLContext.h"
#include "scene/ObjectFactory.h"
#include "scene/SceneFrame.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr ObjectKind kKinds[] = {ObjectKind::Box, ObjectKind::Sphere, ObjectKind::Cylinder,
                                 ObjectKind::Rod, ObjectKind::Cone,   ObjectKind::Disk};

double Milliseconds(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(fraction * static_cast<double>(values.size())))];
}

// A small linear congruential generator: the same scene on every machine.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    float Uniform(float low, float high)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<float>(state_ >> 8) / static_cast<float>(1u << 24);
    }

private:
    std::uint32_t state_;
};

// The view's part, without a window: picking in the off-screen context and a
// frame drawn whenever the tools ask for a repaint (the view paints once per
// request that arrives before the next paint, so one frame per event).
class BenchHost final : public IToolHost {
public:
    BenchHost(COGLViewport3D& viewport, COGLScene& scene) : viewport_(viewport), scene_(scene) {}
    void CapturePointer() override {}
    void ReturnPointer() override {}
    void ReleasePointer() override {}
    PickResult Pick(int x, int y) override { return PickAt(viewport_, scene_, x, y); }
    void Repaint() override { pending_ = true; }

    // The paint the window system would send.
    void Paint()
    {
        if (!pending_)
            return;
        pending_ = false;
        DrawFrame(viewport_, scene_);
        glFinish();
    }

private:
    COGLViewport3D& viewport_;
    COGLScene& scene_;
    bool pending_ = false;
};

InputRecord At(int x, int y, std::uint32_t buttons)
{
    InputRecord input;
    input.x = x;
    input.y = y;
    input.buttons = buttons;
    input.clientWidth = kWidth;
    input.clientHeight = kHeight;
    return input;
}

int Argument(int argc, char** argv, const char* name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::atoi(argv[i + 1]);
    return fallback;
}

} // namespace

int main(int argc, char** argv)
{
    const char* maps = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--maps") == 0)
            maps = argv[i + 1];
    if (!maps) {
        std::fprintf(stderr, "usage: view_bench --maps FOLDER [--objects N] [--steps N] [--clicks N]\n");
        return 2;
    }
    const int objects = std::max(1, Argument(argc, argv, "--objects", 1000));
    const int steps = std::max(1, Argument(argc, argv, "--steps", 60));
    const int clicks = std::max(1, Argument(argc, argv, "--clicks", 40));

    std::string error;
    const auto context = HeadlessGLContext::Create(kWidth, kHeight, error);
    if (!context) {
        std::fprintf(stderr, "view_bench: no off-screen context: %s\n", error.c_str());
        return 1;
    }
    const ActiveGLContextScope active(*context);
    context->BeginGL();
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    for (const DrawFlags mode : {kDisplayShaded, kDisplayWireframe}) {
        COGLDoc document(std::nullopt, {});
        document.NewScene(maps);
        COGLScene& scene = *document.Scene();
        Random random(12345);
        for (int i = 0; i < objects; ++i) {
            std::unique_ptr<COGLObject> object = CreateObjectOfKind(kKinds[static_cast<std::size_t>(i) % std::size(kKinds)]);
            object->SetPosition(random.Uniform(-7, 7), random.Uniform(0.2f, 3), random.Uniform(-7, 7));
            object->RotateY(random.Uniform(0, 360));
            const float size = random.Uniform(0.15f, 0.5f);
            object->SetScale(size, size, size);
            scene.AddObject(std::move(object));
        }
        COGLViewport3D viewport;
        viewport.SetRectangle(0, 0, kWidth, kHeight);
        viewport.SetDisplayMode(mode);
        BenchHost host(viewport, scene);
        // The document repaints the view after every change, as the view does.
        const auto repaint = document.Changed().Connect([&host](DocumentChanges) { host.Repaint(); });
        ToolController tools(viewport, document, host);
        tools.Resize(kWidth, kHeight);
        DrawFrame(viewport, scene); // warm-up: lists built, camera vectors set
        glFinish();

        // Drag steps of the Move tool on one object.
        document.Select({scene.Objects()[objects / 2].get(), nullptr});
        tools.Execute(command::kMove);
        host.Paint();
        std::vector<double> dragSteps;
        std::vector<double> toolParts;
        tools.LeftButtonDown(At(500, 400, kLeftButton));
        for (int step = 0; step < steps; ++step) {
            const auto start = Clock::now();
            tools.MouseMove(At(500 + (step % 2 ? -3 : 3), 400, kLeftButton));
            toolParts.push_back(Milliseconds(start));
            host.Paint();
            dragSteps.push_back(Milliseconds(start));
        }
        tools.ButtonUp(At(0, 0, 0));
        host.Paint();

        // Clicks with the Select tool, spread over the picture.
        tools.Execute(command::kSelect);
        std::vector<double> selections;
        int hits = 0;
        for (int click = 0; click < clicks; ++click) {
            const int x = 64 + (click * 211) % (kWidth - 128);
            const int y = 64 + (click * 137) % (kHeight - 128);
            const auto start = Clock::now();
            tools.LeftButtonDown(At(x, y, kLeftButton));
            tools.ButtonUp(At(x, y, 0));
            host.Paint();
            selections.push_back(Milliseconds(start));
            hits += document.Selection().IsEmpty() ? 0 : 1;
        }
        std::printf("%s, %d objects, %d x %d:\n", mode == kDisplayShaded ? "shaded" : "wireframe", objects, kWidth,
                    kHeight);
        std::printf("  drag step (move + frame): median %.2f ms, p95 %.2f ms over %d steps; %zu undo step(s)\n",
                    Percentile(dragSteps, 0.5), Percentile(dragSteps, 0.95), steps, document.History().Count());
        std::printf("  of which the tool's part (move, undo record, readout): median %.3f ms\n",
                    Percentile(toolParts, 0.5));
        std::printf("  click to selection shown: median %.2f ms, p95 %.2f ms over %d clicks (%d hit an object)\n",
                    Percentile(selections, 0.5), Percentile(selections, 0.95), clicks, hits);
        document.CloseScene();
    }
    context->EndGL();
    return 0;
}
