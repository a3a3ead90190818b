#include "bake/SpriteBake.h"

#include "bake/BakePlan.h"
#include "bake/BakeWriter.h"
#include "bake/ObjectSprites.h"
#include "objects/CObjectEntry.h"
#include "objects/CObjectFile.h"
#include "report/Reporter.h"
#include "scene/COGLObject.h"
#include "scene/COGLScene.h"

#include <algorithm>
#include <chrono>

namespace zelvane {

namespace {

constexpr int kStepsAfterRendering = 2; // the palette and frames, the file

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Counts the steps and asks for Cancel; without a progress it never stops.
class Steps {
public:
    Steps(IBakeProgress* progress, int total) : progress_(progress), total_(total) {}

    void Begin(std::string_view what)
    {
        if (progress_)
            progress_->Step(done_, total_, what);
    }
    // One step done; false when the user has cancelled.
    bool Done(std::string_view next)
    {
        done_ = std::min(done_ + 1, total_);
        if (!progress_)
            return true;
        progress_->Step(done_, total_, next);
        return !progress_->Cancelled();
    }
    // The last step done; nothing is left to cancel.
    void Finish(std::string_view what)
    {
        done_ = total_;
        if (progress_)
            progress_->Step(done_, total_, what);
    }
    // Renders may take more steps than foreseen (a large picture is drawn in
    // parts); the steps after them stay where they are.
    void HoldBefore(int remaining) { done_ = std::min(done_, total_ - remaining); }

private:
    IBakeProgress* progress_;
    int total_;
    int done_ = 0;
};

BakeResult Failed(std::string error, std::vector<std::string> notes = {})
{
    BakeResult result;
    result.outcome = BakeOutcome::Failed;
    result.error = "Could not render the sprites: " + error;
    result.notes = std::move(notes);
    return result;
}

BakeResult Cancelled(std::vector<std::string> notes)
{
    BakeResult result;
    result.outcome = BakeOutcome::Cancelled;
    result.notes = std::move(notes);
    return result;
}

} // namespace

std::vector<COGLObject*> BakeableObjects(const COGLScene& scene)
{
    std::vector<COGLObject*> objects;
    for (const auto& object : scene.Objects())
        if (object->IsVisible())
            objects.push_back(object.get());
    return objects;
}

int BakeStepCount(size_t tiles)
{
    return kGameDirections * static_cast<int>(tiles) + kStepsAfterRendering;
}

BakeResult BakeSprites(const BakeRequest& request)
{
    if (!request.scene || !request.file || !request.object || request.filePath.empty())
        return Failed("there is no scene or no working object file");
    if (&request.object->Owner() != request.file)
        return Failed("the object is not one of the working object file's");
    std::vector<COGLObject*> objects;
    for (COGLObject* object : request.objects)
        if (request.scene->Contains(object))
            objects.push_back(object);
    if (objects.empty())
        return Failed("no object of the scene is chosen");

    const auto start = std::chrono::steady_clock::now();
    BakeTimings timings;
    const BakePlan plan = PlanBake(request.file->Container(), *request.object);
    timings.plan = SecondsSince(start);
    if (!plan.ok())
        return Failed(plan.error, plan.notes);
    const TileFootprint footprint = plan.Footprint();

    BusyScope busy;
    Steps steps(request.progress, BakeStepCount(footprint.Count()));
    SpriteRenderer renderer(*request.scene, objects, footprint, request.options.render);
    std::array<BakedImage, kGameImages> images;
    bool cancelled = false;
    for (int direction = 0; direction < kGameDirections; ++direction) {
        const std::string what = "Rendering direction " + std::to_string(direction + 1) + " of " +
                                 std::to_string(kGameDirections);
        steps.Begin(what);
        std::array<BakedImage, kGameZooms> zooms;
        const bool rendered = renderer.RenderDirection(direction, zooms, [&] {
            cancelled = !steps.Done(what);
            return !cancelled;
        });
        steps.HoldBefore(kStepsAfterRendering);
        std::vector<std::string> notes = plan.notes;
        notes.insert(notes.end(), renderer.Notes().begin(), renderer.Notes().end());
        if (cancelled)
            return Cancelled(notes);
        if (!rendered)
            return Failed(renderer.Error(), notes);
        for (int z = 0; z < kGameZooms; ++z)
            images[static_cast<size_t>(GameImage{direction, z}.Index())] = std::move(zooms[static_cast<size_t>(z)]);
    }
    std::vector<std::string> notes = plan.notes;
    notes.insert(notes.end(), renderer.Notes().begin(), renderer.Notes().end());
    const bool anything = std::any_of(images.begin(), images.end(), [](const BakedImage& image) {
        return std::any_of(image.pixels.begin(), image.pixels.end(),
                           [](const BakedPixel& p) { return SpriteAlpha(p.alpha) != 0; });
    });
    if (!anything)
        return Failed("the chosen objects show nothing above the floor", notes);

    timings.render = renderer.Timings();
    auto stage = std::chrono::steady_clock::now();
    steps.Begin("Choosing the colours");
    SpriteOptions options;
    options.dither = request.options.dither;
    options.paletteId = plan.paletteId;
    for (const PlannedTile& tile : plan.tiles)
        options.spriteIds.push_back(tile.spriteId);
    const ObjectSprites sprites = MakeObjectSprites(images, footprint, options);
    timings.palette = SecondsSince(stage);
    if (!steps.Done("Writing the object file"))
        return Cancelled(notes);
    stage = std::chrono::steady_clock::now();

    const BakeWriteResult written = WriteBake(request.file->Container(), request.filePath, plan, sprites);
    if (!written.ok())
        return Failed(written.message + (written.error ? " (error #" + std::to_string(written.error) + ")" : ""),
                      notes);
    timings.write = SecondsSince(stage);
    steps.Finish("Done");

    BakeResult result;
    result.outcome = BakeOutcome::Written;
    result.notes = std::move(notes);
    for (const PlannedTile& tile : plan.tiles) {
        result.spriteIds.push_back(tile.spriteId);
        result.drawGroupIds.insert(result.drawGroupIds.end(), tile.drawGroups.begin(), tile.drawGroups.end());
    }
    result.paletteId = plan.paletteId;
    result.coloursUsed = sprites.coloursUsed;
    result.psnr = sprites.psnr;
    result.timings = timings;
    result.timings.total = SecondsSince(start);
    return result;
}

} // namespace zelvane
