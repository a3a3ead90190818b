#include "bake/SpriteRenderer.h"

// Sections: state kept and restored; where things go on the screen; drawing
// the scene; finding the objects (the probe); rendering a part tile by tile.

#include "bake/BakeFramebuffer.h"
#include "bake/BakeLighting.h"
#include "bake/GameCamera.h"
#include "bake/SampleMerge.h"
#include "scene/COGLObject.h"
#include "scene/COGLScene.h"
#include "scene/GLErrors.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

namespace zelvane {

namespace {

// The probe's pixels are this many pixels of the largest zoom a side.
constexpr int kProbeScale = 8;
// Parts are whole pixels of the smallest zoom: 4 of the largest.
constexpr int kAlign = 4;
// The view volume's depth, in scene units either side of the floor's centre.
constexpr double kNear = -1000.0;
constexpr double kFar = 1000.0;
// Samples a side of one part's framebuffer.
constexpr int kLargestPart = 2048;
constexpr int kMaxClipPlanes = 6;

int FloorTo(int value, int step)
{
    return value >= 0 ? value / step * step : -((-value + step - 1) / step * step);
}

int CeilTo(int value, int step)
{
    return -FloorTo(-value, step);
}

// ---- state kept and restored ----

class SavedGLState {
public:
    SavedGLState()
    {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
            glMatrixMode(mode);
            glPushMatrix();
        }
    }
    ~SavedGLState()
    {
        for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
            glMatrixMode(mode);
            glPopMatrix();
        }
        glPopClientAttrib();
        glPopAttrib();
    }
    SavedGLState(const SavedGLState&) = delete;
    SavedGLState& operator=(const SavedGLState&) = delete;
};

// Draws transparent objects as opaque for its scope: for passes that need
// every surface's depth.
class ForcedOpaque {
public:
    explicit ForcedOpaque(const std::vector<COGLObject*>& objects)
    {
        for (COGLObject* object : objects)
            if (object->IsTransparent()) {
                object->SetTransparent(false);
                changed_.push_back(object);
            }
    }
    ~ForcedOpaque()
    {
        for (COGLObject* object : changed_)
            object->SetTransparent(true);
    }
    ForcedOpaque(const ForcedOpaque&) = delete;
    ForcedOpaque& operator=(const ForcedOpaque&) = delete;

private:
    std::vector<COGLObject*> changed_;
};

// The render states of the editor's shaded view, without dithering.
void ShadedStates()
{
    glDisable(GL_BLEND);
    glDisable(GL_DITHER);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_LIGHTING);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// ---- where things go ----

double ViewDistance(float depth)
{
    return kNear + static_cast<double>(depth) * (kFar - kNear);
}

// Adds the seconds since the last call (or construction) to a counter.
class Stopwatch {
public:
    void AddTo(double& seconds)
    {
        const auto now = std::chrono::steady_clock::now();
        seconds += std::chrono::duration<double>(now - last_).count();
        last_ = now;
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

} // namespace

void DrawBakedPreview(const COGLScene& scene, const std::vector<COGLObject*>& objects, int width, int height,
                      double scale, const Vector3& centre, int footprintWidth, int footprintDepth)
{
    if (width < 2 || height < 2 || !(scale > 0))
        return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    const ColourRGBA& background = scene.Background();
    glViewport(0, 0, width, height);
    glClearColor(background[0], background[1], background[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ShadedStates();

    const GameCamera camera;
    const int quarterWidth = width / 2;
    const int quarterHeight = height / 2;
    const double unitsAcross = quarterWidth / (GameCamera::kPixelsPerUnit * scale);
    const double unitsHigh = quarterHeight / (GameCamera::kPixelsPerUnit * scale);
    // Objects stand on the floor: the middle of a quarter looks a little above it.
    constexpr double kLift = 0.5;
    const float halfWidth = static_cast<float>(footprintWidth) / 2.0f;
    const float halfDepth = static_cast<float>(footprintDepth) / 2.0f;
    for (int direction = 0; direction < kGameDirections; ++direction) {
        const int x = (direction % 2) * quarterWidth;
        const int y = direction < 2 ? height - quarterHeight : 0;
        glViewport(x, y, quarterWidth, quarterHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-unitsAcross / 2, unitsAcross / 2, -unitsHigh / 2 + kLift, unitsHigh / 2 + kLift, kNear, kFar);
        glMatrixMode(GL_MODELVIEW);
        const Vector3 eye = camera.ViewMatrix(direction).TransformPoint(centre);
        glLoadIdentity();
        glTranslated(-eye.x, -eye.y, 0.0);

        // The footprint's tiles on the floor, under what stands on them.
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
        glDisable(GL_LIGHTING);
        glColor3f(0.45f, 0.45f, 0.5f);
        glPushMatrix();
        glMultMatrixd(camera.ViewMatrix(direction).Data());
        glBegin(GL_LINES);
        for (int i = 0; i <= footprintWidth; ++i) {
            const float along = centre.x - halfWidth + static_cast<float>(i);
            glVertex3f(along, 0.0f, centre.z - halfDepth);
            glVertex3f(along, 0.0f, centre.z + halfDepth);
        }
        for (int i = 0; i <= footprintDepth; ++i) {
            const float across = centre.z - halfDepth + static_cast<float>(i);
            glVertex3f(centre.x - halfWidth, 0.0f, across);
            glVertex3f(centre.x + halfWidth, 0.0f, across);
        }
        glEnd();
        glPopMatrix();
        glPopAttrib();

        DrawAsBaked(scene, objects, direction);
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void DrawAsBaked(const COGLScene& scene, const std::vector<COGLObject*>& objects, int direction)
{
    const GameCamera camera;
    ApplyBakeLighting();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixd(camera.ViewMatrix(direction).Data());
    std::vector<COGLObject*> opaque, transparent;
    for (COGLObject* object : objects)
        (object->IsTransparent() ? transparent : opaque).push_back(object);
    std::stable_sort(transparent.begin(), transparent.end(), [&](const COGLObject* a, const COGLObject* b) {
        return camera.Project(direction, a->Position()).distance > camera.Project(direction, b->Position()).distance;
    });
    glColor3fv(scene.ObjectColor().data());
    for (COGLObject* object : opaque)
        object->Draw(kDisplayShaded);
    for (COGLObject* object : transparent)
        object->Draw(kDisplayShaded);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

SpriteRenderer::SpriteRenderer(COGLScene& scene, std::vector<COGLObject*> objects, const TileFootprint& footprint,
                               RenderSettings settings)
    : scene_(scene), objects_(std::move(objects)), footprint_(footprint), settings_(settings)
{
    settings_.samples = std::clamp(settings_.samples, 1, 16);
    settings_.reach = std::clamp(settings_.reach, kProbeScale, 2048);
    anyTransparent_ = std::any_of(objects_.begin(), objects_.end(), [](const COGLObject* o) {
        return o->IsTransparent();
    });
}

// The projection that maps the rectangle `part` (pixels of the largest zoom)
// onto the whole viewport.
void SpriteRenderer::Project(const Rect& part) const
{
    constexpr double s = GameCamera::kPixelsPerUnit;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(part.left / s, part.right / s, -part.bottom / s, -part.top / s, kNear, kFar);
    glMatrixMode(GL_MODELVIEW);
}

// ---- drawing the scene ----

void SpriteRenderer::DrawScene(int direction, const std::vector<ClipPlane>& clips) const
{
    // The clip planes are given in the scene's coordinates.
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(GameCamera().ViewMatrix(direction).Data());
    for (int i = 0; i < kMaxClipPlanes; ++i) {
        if (static_cast<size_t>(i) < clips.size()) {
            glClipPlane(GL_CLIP_PLANE0 + i, clips[static_cast<size_t>(i)].data());
            glEnable(GL_CLIP_PLANE0 + i);
        } else {
            glDisable(GL_CLIP_PLANE0 + i);
        }
    }
    glLoadIdentity();
    DrawAsBaked(scene_, objects_, direction);
}

// ---- the probe ----

SpriteRenderer::Rect SpriteRenderer::Probe(int direction)
{
    Rect region;
    region.left = region.top = std::numeric_limits<int>::max();
    region.right = region.bottom = std::numeric_limits<int>::min();
    for (const TileSpot& tile : footprint_.Tiles()) {
        const TilePlacement& c = TilePlacementOf(direction);
        const int x = c.leftX * tile.x + c.leftY * tile.y;
        const int y = c.bottomX * tile.x + c.bottomY * tile.y;
        region.left = std::min(region.left, FloorTo(x - settings_.reach, kProbeScale));
        region.right = std::max(region.right, CeilTo(x + settings_.reach, kProbeScale));
        region.top = std::min(region.top, FloorTo(y - settings_.reach, kProbeScale));
        region.bottom = std::max(region.bottom, CeilTo(y + settings_.reach, kProbeScale));
    }
    const int width = (region.right - region.left) / kProbeScale;
    const int height = (region.bottom - region.top) / kProbeScale;
    std::vector<float> depth;
    {
        BakeFramebuffer probe(width, height);
        if (!probe.ok()) {
            error_ = probe.Error();
            return {};
        }
        const ForcedOpaque opaque(objects_);
        ShadedStates();
        glDisable(GL_LIGHTING);
        glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
        glPointSize(1.0f);
        glDisable(GL_POINT_SMOOTH);
        glClear(GL_DEPTH_BUFFER_BIT);
        Project(region);
        DrawScene(direction, {{0, 1, 0, TileFootprint::kFloorTolerance}});
        probe.ReadDepth(depth);
    }
    Rect found;
    found.left = found.top = std::numeric_limits<int>::max();
    found.right = found.bottom = std::numeric_limits<int>::min();
    bool atEdge = false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (depth[static_cast<size_t>(y) * width + x] < 1.0f) {
                found.left = std::min(found.left, x);
                found.right = std::max(found.right, x + 1);
                found.top = std::min(found.top, y);
                found.bottom = std::max(found.bottom, y + 1);
                atEdge = atEdge || x == 0 || y == 0 || x == width - 1 || y == height - 1;
            }
    if (found.right < found.left)
        return {};
    if (atEdge)
        notes_.push_back("parts of the objects lie more than " + std::to_string(settings_.reach) +
                         " pixels from the object's tiles in direction " + std::to_string(direction) +
                         " and were left out");
    // One probe pixel more on every side: a point lands in the probe pixel
    // holding it, the surfaces around it may reach into the next.
    auto edge = [&](int probeCoordinate, int origin, int margin, bool low) {
        const int pixels = origin + (probeCoordinate + margin) * kProbeScale;
        return low ? FloorTo(pixels, kAlign) : CeilTo(pixels, kAlign);
    };
    Rect canvas;
    canvas.left = std::max(region.left, edge(found.left, region.left, -1, true));
    canvas.top = std::max(region.top, edge(found.top, region.top, -1, true));
    canvas.right = std::min(region.right, edge(found.right, region.left, 1, false));
    canvas.bottom = std::min(region.bottom, edge(found.bottom, region.top, 1, false));
    return canvas;
}

// ---- rendering ----

bool SpriteRenderer::RenderDirection(int direction, std::array<BakedImage, kGameZooms>& images,
                                     const std::function<bool()>& keepGoing)
{
    error_.clear();
    const SavedGLState saved;
    Stopwatch watch;
    const Rect canvas = Probe(direction);
    watch.AddTo(timings_.probe);
    for (int z = 0; z < kGameZooms; ++z) {
        BakedImage& image = images[static_cast<size_t>(z)];
        image = BakedImage{};
        image.image = {direction, z};
        if (!canvas.Empty()) {
            image.left = canvas.left >> z;
            image.top = canvas.top >> z;
            image.Resize((canvas.right - canvas.left) >> z, (canvas.bottom - canvas.top) >> z);
        }
    }
    if (!error_.empty())
        return false;
    if (canvas.Empty())
        return true;

    const int largest = std::min(kLargestPart, BakeFramebuffer::LargestSide());
    const int partSide = std::max(kAlign, largest / settings_.samples / kAlign * kAlign);
    for (int top = canvas.top; top < canvas.bottom; top += partSide)
        for (int left = canvas.left; left < canvas.right; left += partSide) {
            const Rect part{left, top, std::min(left + partSide, canvas.right), std::min(top + partSide, canvas.bottom)};
            if (!RenderPart(direction, part, images, canvas, keepGoing))
                return false;
        }
    if (CheckGLError("After rendering sprites")) {
        error_ = "OpenGL reported errors while rendering the sprites (see the log)";
        return false;
    }
    return true;
}

bool SpriteRenderer::RenderPart(int direction, const Rect& part, std::array<BakedImage, kGameZooms>& images,
                                const Rect& canvas, const std::function<bool()>& keepGoing)
{
    const int n = settings_.samples;
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    BakeFramebuffer target(width * n, height * n);
    if (!target.ok()) {
        error_ = target.Error();
        return false;
    }
    SampleMerge merge(width, height, n, footprint_.Count());
    const GameCamera camera;
    std::vector<double> centres;
    for (const TileSpot& tile : footprint_.Tiles())
        centres.push_back(camera.Project(direction, GameCamera::TileCentre(tile.x, tile.y)).distance);

    ShadedStates();
    Project(part);
    std::vector<uint8_t> colour, overWhite;
    std::vector<float> depth, distance;
    Stopwatch watch;
    auto drawn = [&] {
        glFinish();
        watch.AddTo(timings_.draw);
    };
    auto read = [&] { watch.AddTo(timings_.readBack); };
    for (const size_t tile : footprint_.FrontToBack(direction)) {
        const std::vector<ClipPlane> clips = footprint_.RegionOf(tile);
        if (anyTransparent_) {
            glClearColor(1, 1, 1, 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            DrawScene(direction, clips);
            drawn();
            target.ReadColour(overWhite);
            read();
        }
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawScene(direction, clips);
        drawn();
        target.ReadColour(colour);
        read();
        if (anyTransparent_) {
            // Every surface's depth, the see-through ones too.
            const ForcedOpaque opaque(objects_);
            glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
            glClear(GL_DEPTH_BUFFER_BIT);
            DrawScene(direction, clips);
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            drawn();
        }
        target.ReadDepth(depth);
        read();
        distance.resize(depth.size());
        for (size_t s = 0; s < depth.size(); ++s) {
            uint8_t* rgba = &colour[4 * s];
            if (anyTransparent_) {
                // Over white, what shows of the background is 1 − coverage.
                const int background = (overWhite[4 * s] - rgba[0]) + (overWhite[4 * s + 1] - rgba[1]) +
                                       (overWhite[4 * s + 2] - rgba[2]);
                rgba[3] = static_cast<uint8_t>(std::clamp(255 - (background + 1) / 3, 0, 255));
            } else {
                rgba[3] = depth[s] < 1.0f ? 255 : 0;
            }
            distance[s] = static_cast<float>(ViewDistance(depth[s]));
        }
        merge.AddTile(tile, colour, distance);
        watch.AddTo(timings_.merge);
        if (!keepGoing())
            return false;
        // Showing the progress may have let a window draw in this context.
        target.Bind();
        ShadedStates();
        Project(part);
        double progress = 0; // the progress display's own time
        watch.AddTo(progress);
    }
    for (int z = 0; z < kGameZooms; ++z)
        merge.Resolve(z, centres, images[static_cast<size_t>(z)], (part.left - canvas.left) >> z,
                      (part.top - canvas.top) >> z);
    watch.AddTo(timings_.merge);
    return true;
}

} // namespace zelvane
