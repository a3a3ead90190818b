// scene_bench: what a frame and a click cost as the scene grows.
//
// For each size (100, 1,000 and 5,000 by default) the editor's default scene
// (floor, two walls, three lights) gets that many primitives of seven kinds
// (box, sphere, cylinder, rod, cone, disk, plane), scattered through the room
// with random turns and sizes (seeded, the same every run). At 1024 × 768 on
// the off-screen context (Mesa's software rasteriser), in shaded and in
// wireframe mode, it measures:
//
// - frame: DrawFrame as the view draws it, to glFinish; the median of
//   --frames frames after one warm-up, taking turns with the baseline. Also
//   the time to issue it (without glFinish) and the back-to-front sort alone.
// - baseline: the same frame with the primitives replaced by one object that
//   draws all their triangles (or, in wireframe, all their lines) from one
//   vertex array in one glDrawArrays call, in world space, with the same
//   material; the planes and the light markers are drawn as in the scene.
// - pick: PickAt (selection mode, 5 × 5 pixels) at --picks points spread over
//   the picture: the median.
// - lists: display lists alive in the context (glIsList over the names),
//   which must not grow with the number of objects.
//
// Usage: scene_bench --maps FOLDER [--sizes 100,1000,5000] [--frames N]
//                    [--picks N] [--width W] [--height H]

#include "scene/ActiveGLContext.h"
#include "scene/BackToFront.h"
#include "scene/COGLScene.h"
#include "scene/COGLViewport3D.h"
#include "scene/HeadlessGLContext.h"
#include "scene/ObjectFactory.h"
#include "scene/PrimitiveGeometry.h"
#include "scene/SceneFrame.h"
#include "scene/ScenePicker.h"

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

double Milliseconds(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// xorshift32, so every run measures the same scene.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    float Uniform(float low, float high)
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return low + (high - low) * static_cast<float>(state_ % 1000000) / 1000000.0f;
    }

private:
    std::uint32_t state_;
};

constexpr ObjectKind kKinds[] = {ObjectKind::Box,  ObjectKind::Sphere, ObjectKind::Cylinder, ObjectKind::Rod,
                                 ObjectKind::Cone, ObjectKind::Disk,   ObjectKind::Plane};

// Where an object's list is drawn: translate, turn, (the tube's offset), scale.
Matrix4 ModelMatrix(const COGLObject& object)
{
    const Vector3& p = object.Position();
    const Vector3& s = object.Scale();
    const bool tube = object.Kind() == ObjectKind::Cylinder || object.Kind() == ObjectKind::Rod
        || object.Kind() == ObjectKind::Cone;
    return Matrix4::Translation(p.x, p.y, p.z) * object.Orientation().ToMatrix()
        * Matrix4::Translation(0, 0, tube ? -s.z : 0.0) * Matrix4::Scaling(s.x, s.y, s.z);
}

// The baseline's one object: every primitive's triangles (and lines) in world
// space, drawn with one glDrawArrays call.
class MergedPrimitives : public COGLObject {
public:
    explicit MergedPrimitives(const std::vector<std::unique_ptr<COGLObject>>& objects)
        : COGLObject(ObjectKind::Mesh, {})
    {
        for (const auto& object : objects) {
            const Matrix4 model = ModelMatrix(*object);
            Matrix4 normalMatrix = model;
            normalMatrix.Invert();
            const PrimitiveShape shape = ShapeOf(object->Kind());
            const PrimitiveMesh& mesh = shape.solid;
            for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
                const Vector3 p = model.TransformPoint(mesh.positions[i]);
                // The inverse transpose: transposed while applying.
                const Vector3& n = mesh.normals[i];
                Vector3 normal{static_cast<float>(n.x * normalMatrix[0] + n.y * normalMatrix[1] + n.z * normalMatrix[2]),
                               static_cast<float>(n.x * normalMatrix[4] + n.y * normalMatrix[5] + n.z * normalMatrix[6]),
                               static_cast<float>(n.x * normalMatrix[8] + n.y * normalMatrix[9] + n.z * normalMatrix[10])};
                normal.Normalise();
                triangles_.insert(triangles_.end(), {p.x, p.y, p.z});
                normals_.insert(normals_.end(), {normal.x, normal.y, normal.z});
            }
            for (const Vector3& point : shape.wire) {
                const Vector3 p = model.TransformPoint(point);
                lines_.insert(lines_.end(), {p.x, p.y, p.z});
            }
        }
    }

    void Draw(DrawFlags flags) override
    {
        glEnableClientState(GL_VERTEX_ARRAY);
        if (flags & kDrawWireframe) {
            glVertexPointer(3, GL_FLOAT, 0, lines_.data());
            glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(lines_.size() / 3));
        } else {
            ApplyMaterial();
            glEnableClientState(GL_NORMAL_ARRAY);
            glVertexPointer(3, GL_FLOAT, 0, triangles_.data());
            glNormalPointer(GL_FLOAT, 0, normals_.data());
            glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(triangles_.size() / 3));
            glDisableClientState(GL_NORMAL_ARRAY);
        }
        glDisableClientState(GL_VERTEX_ARRAY);
    }

    std::size_t Triangles() const { return triangles_.size() / 9; }
    std::size_t Lines() const { return lines_.size() / 6; }

private:
    std::vector<float> triangles_;
    std::vector<float> normals_;
    std::vector<float> lines_;
};

struct Options {
    std::string maps;
    std::vector<int> sizes{100, 1000, 5000};
    int frames = 15;
    int picks = 15;
    int width = 1024;
    int height = 768;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (arg == "--maps") {
            options.maps = value;
        } else if (arg == "--sizes") {
            options.sizes.clear();
            for (std::size_t at = 0; at < value.size();) {
                const std::size_t comma = value.find(',', at);
                options.sizes.push_back(std::atoi(value.substr(at, comma - at).c_str()));
                at = comma == std::string::npos ? value.size() : comma + 1;
            }
        } else if (arg == "--frames") {
            options.frames = std::max(1, std::atoi(value.c_str()));
        } else if (arg == "--picks") {
            options.picks = std::max(1, std::atoi(value.c_str()));
        } else if (arg == "--width") {
            options.width = std::atoi(value.c_str());
        } else if (arg == "--height") {
            options.height = std::atoi(value.c_str());
        } else {
            return false;
        }
    }
    return !options.maps.empty();
}

int LiveLists()
{
    int count = 0;
    for (GLuint name = 1; name < 200000; ++name)
        count += glIsList(name) ? 1 : 0;
    return count;
}

struct FrameTimes {
    double total = 0;  // to glFinish
    double issued = 0; // until the calls return
};

// One frame: how long issuing it and finishing it took.
FrameTimes TimeFrame(COGLViewport3D& viewport, COGLScene& scene)
{
    const Clock::time_point start = Clock::now();
    DrawFrame(viewport, scene);
    FrameTimes times;
    times.issued = Milliseconds(start);
    glFinish();
    times.total = Milliseconds(start);
    return times;
}

// Medians of `frames` frames of each scene after one warm-up each; the
// scenes take turns, so that a load that comes and goes on a shared machine
// weighs on both alike.
std::vector<FrameTimes> TimeFrames(COGLViewport3D& viewport, const std::vector<COGLScene*>& scenes, int frames)
{
    std::vector<std::vector<double>> totals(scenes.size()), issued(scenes.size());
    for (int i = -1; i < frames; ++i)
        for (std::size_t s = 0; s < scenes.size(); ++s) {
            const FrameTimes times = TimeFrame(viewport, *scenes[s]);
            if (i < 0)
                continue;
            totals[s].push_back(times.total);
            issued[s].push_back(times.issued);
        }
    std::vector<FrameTimes> medians;
    for (std::size_t s = 0; s < scenes.size(); ++s)
        medians.push_back({Median(totals[s]), Median(issued[s])});
    return medians;
}

void Populate(COGLScene& scene, int count)
{
    Random random(12345);
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<COGLObject> object = CreateObjectOfKind(kKinds[static_cast<std::size_t>(i) % std::size(kKinds)]);
        object->SetPosition(random.Uniform(-7, 7), random.Uniform(0.2f, 3), random.Uniform(-7, 7));
        object->RotateX(random.Uniform(0, 360));
        object->RotateY(random.Uniform(0, 360));
        const float size = random.Uniform(0.15f, 0.5f);
        object->SetScale(size, size, size);
        scene.AddObject(std::move(object));
    }
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: scene_bench --maps FOLDER [--sizes 100,1000,5000] [--frames N] [--picks N] "
                             "[--width W] [--height H]\n");
        return 2;
    }
    std::string error;
    const std::unique_ptr<HeadlessGLContext> context = HeadlessGLContext::Create(options.width, options.height, error);
    if (!context) {
        std::fprintf(stderr, "scene_bench: %s\n", error.c_str());
        return 1;
    }
    const ActiveGLContextScope active(*context);
    context->BeginGL();
    std::printf("%s, %s; %d x %d, medians of %d frames and %d picks\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)), options.width, options.height, options.frames,
                options.picks);

    COGLViewport3D viewport;
    viewport.SetRectangle(0, 0, options.width, options.height);
    viewport.SetGrid(false);

    {
        COGLScene empty;
        empty.CreateDefaults(options.maps);
        viewport.SetDisplayMode(kDisplayShaded);
        const double frame = TimeFrames(viewport, {&empty}, options.frames)[0].total;
        std::printf("the default scene alone: %.2f ms a frame (shaded); lists alive %d\n\n", frame, LiveLists());
    }

    std::printf("%7s %-9s %9s %9s %9s %9s %7s %8s %9s %6s %9s\n", "objects", "mode", "triangles", "frame ms",
                "issue ms", "base ms", "ratio", "sort ms", "pick ms", "lists", "base lines");
    for (const int size : options.sizes) {
        COGLScene scene;
        scene.CreateDefaults(options.maps);
        Populate(scene, size);
        const int lists = LiveLists();

        COGLScene baseline;
        baseline.CreateDefaults(options.maps);
        auto merged = std::make_unique<MergedPrimitives>(scene.Objects());
        const std::size_t triangles = merged->Triangles();
        const std::size_t lines = merged->Lines();
        baseline.AddObject(std::move(merged));

        std::vector<float> distances;
        for (const auto& object : scene.Objects())
            distances.push_back(object->Position().DistanceTo(viewport.Camera().Eye()));
        std::vector<double> sorts;
        for (int i = 0; i < options.frames; ++i) {
            const Clock::time_point start = Clock::now();
            const std::vector<std::size_t> order = BackToFrontOrder(distances);
            sorts.push_back(Milliseconds(start));
            if (order.size() != distances.size())
                return 1;
        }

        for (const DrawFlags mode : {kDisplayShaded, kDisplayWireframe}) {
            viewport.SetDisplayMode(mode);
            const std::vector<FrameTimes> times = TimeFrames(viewport, {&scene, &baseline}, options.frames);
            const FrameTimes& frame = times[0];
            const FrameTimes& base = times[1];
            std::vector<double> picks;
            for (int i = 0; i < options.picks; ++i) {
                const int x = (i * 7919 + 101) % options.width;
                const int y = (i * 3571 + 67) % options.height;
                const Clock::time_point start = Clock::now();
                PickAt(viewport, scene, x, y);
                picks.push_back(Milliseconds(start));
            }
            std::printf("%7d %-9s %9zu %9.2f %9.2f %9.2f %7.2f %8.3f %9.2f %6d %9zu\n", size,
                        mode == kDisplayShaded ? "shaded" : "wireframe", triangles, frame.total, frame.issued,
                        base.total, frame.total / base.total, Median(sorts), Median(picks), lists, lines);
        }
    }
    context->EndGL();
    return 0;
}
