#pragma once
// A document with its scene's default planes and lights, a box in the middle,
// a view of 200 × 150 pixels and the tools working on them, in an off-screen
// context.

#include "document/COGLDoc.h"
#include "interaction/CommandIds.h"
#include "interaction/ToolController.h"
#include "scene/COGLBox.h"
#include "scene/COGLScene.h"
#include "scene/COGLViewport3D.h"
#include "tests/interaction/ToolHostRecorder.h"
#include "tests/scene/GLStage.h"
#include "tests/testkit/RecordingReporter.h"

#include <gtest/gtest.h>

namespace zelvane::test {

class ToolFixture : public testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 150;

    ToolFixture()
    {
        SetReporter(&reporter_);
        viewport_.SetRectangle(0, 0, kWidth, kHeight);
        tools_.Resize(kWidth, kHeight);
    }

    void SetUp() override
    {
        ASSERT_TRUE(stage_.ok()) << stage_.Error();
        // Put in place, not added as a step: the tests count the tools' steps.
        box_ = &scene_.AddObject(std::make_unique<COGLBox>());
        // At the origin and of unit size, so the tests' numbers are the steps'.
        box_->SetPosition(0.0f, 0.0f, 0.0f);
        box_->SetScale(1.0f, 1.0f, 1.0f);
        // The camera's screen axes, as a drawn frame leaves them.
        stage_.Frame(viewport_, scene_);
    }

    void TearDown() override
    {
        doc_.CloseScene();
        SetReporter(nullptr);
    }

    // The camera's screen axes follow a preset at the next frame.
    void UseCamera(CameraPreset preset)
    {
        viewport_.Camera().SetPreset(preset);
        stage_.Frame(viewport_, scene_);
    }

    InputRecord At(int x, int y, std::uint32_t buttons = 0) const
    {
        InputRecord input;
        input.x = x;
        input.y = y;
        input.buttons = buttons;
        input.clientWidth = kWidth;
        input.clientHeight = kHeight;
        return input;
    }

    // A left (or right) drag from `from` through each of `steps`.
    void Drag(std::initializer_list<std::pair<int, int>> points, std::uint32_t button = kLeftButton)
    {
        auto it = points.begin();
        const InputRecord start = At(it->first, it->second, button);
        if (button == kLeftButton)
            tools_.LeftButtonDown(start);
        else
            tools_.RightButtonDown(start);
        for (++it; it != points.end(); ++it)
            tools_.MouseMove(At(it->first, it->second, button));
        tools_.ButtonUp(At(0, 0));
    }

    // Left-button steps of `pixels` along x (a drag begun at x = 100 unless
    // `begin` is false), the pointer going back to the drag's start whenever a
    // step leaves the window, as the view's does.
    void StepAlongX(int pixels, int count, bool begin = true)
    {
        if (begin) {
            dragX_ = 100;
            tools_.LeftButtonDown(At(dragX_, 70, kLeftButton));
        }
        for (int step = 0; step < count; ++step) {
            dragX_ += pixels;
            tools_.MouseMove(At(dragX_, 70, kLeftButton));
            if (dragX_ > kWidth || dragX_ < 1)
                dragX_ = 100;
        }
    }

    InputRecord Key(zelvane::Key key, bool shift = false, bool control = false) const
    {
        InputRecord input = At(0, 0);
        input.key = key;
        input.shift = shift;
        input.control = control;
        return input;
    }

    void SelectBox() { doc_.Select({box_, nullptr}); }

    // Scene units per pixel of the 200 × 150 view at the camera's distance.
    float Unit() const { return 2.0f * viewport_.Camera().Distance() / kHeight; }

    // Where a scene point shows in the view: pixels from the top-left, and
    // its depth (larger is farther from the viewer).
    struct Shown {
        double x = 0;
        double y = 0;
        double depth = 0;
    };
    Shown ShownAt(const Vector3& world) const
    {
        const Vector3 eye = viewport_.Camera().ViewMatrix().TransformPoint(world);
        const OrthoVolume v = OrthoVolume::Of(kWidth, kHeight, viewport_.Camera().Distance(), false);
        return {(eye.x - v.left) / (v.right - v.left) * kWidth, (v.top - eye.y) / (v.top - v.bottom) * kHeight,
                -static_cast<double>(eye.z)};
    }

    static COGLScene& NewScene(COGLDoc& doc)
    {
        doc.NewScene(TestMapsFolder());
        return *doc.Scene();
    }

    GLStage stage_{kWidth, kHeight};
    RecordingReporter reporter_;
    COGLDoc doc_{std::nullopt, {}};
    COGLScene& scene_ = NewScene(doc_);
    const UndoHistory& history_ = doc_.History();
    COGLViewport3D viewport_;
    ToolHostRecorder host_{viewport_, scene_};
    ToolController tools_{viewport_, doc_, host_};
    std::vector<std::string> readouts_;
    Signal<const std::string&>::Connection readoutConnection_ =
        tools_.ReadoutChanged().Connect([this](const std::string& text) { readouts_.push_back(text); });
    int stateChanges_ = 0;
    Signal<>::Connection stateConnection_ = tools_.StateChanged().Connect([this] { ++stateChanges_; });
    COGLObject* box_ = nullptr;
    int dragX_ = 100;
};

} // namespace zelvane::test
