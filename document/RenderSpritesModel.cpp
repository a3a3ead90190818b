#include "document/RenderSpritesModel.h"

#include "document/ObjectPanelModel.h"
#include "document/RenderSprites.h"
#include "bake/BakePlan.h"
#include "bake/GameCamera.h"
#include "document/WorkingObjectFile.h"
#include "objects/CObjectFile.h"
#include "scene/COGLObject.h"
#include "scene/ObjectKind.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace zelvane {

RenderSpritesModel::RenderSpritesModel(COGLScene& scene, WorkingObjectFile& working) : scene_(scene), working_(working)
{
    std::map<std::string, int> uses;
    for (COGLObject* object : BakeableObjects(scene)) {
        std::string name = object->Name().empty() ? std::string(DefaultNameOf(object->Kind())) : object->Name();
        ++uses[name];
        choices_.push_back({object, std::move(name), true});
    }
    // "Box 1", "Box 2": a list of the same name twice says nothing.
    std::map<std::string, int> seen;
    for (Choice& choice : choices_)
        if (uses[choice.label] > 1)
            choice.label += " " + std::to_string(++seen[choice.label]);
}

void RenderSpritesModel::SetChosen(size_t row, bool chosen)
{
    if (row < choices_.size())
        choices_[row].chosen = chosen;
}

size_t RenderSpritesModel::ChosenCount() const
{
    return static_cast<size_t>(std::count_if(choices_.begin(), choices_.end(), [](const Choice& c) { return c.chosen; }));
}

const CObjectEntry* RenderSpritesModel::Object() const
{
    return working_.CurrentObject();
}

std::string RenderSpritesModel::WhyNotReady() const
{
    if (!working_.CurrentObject())
        return kNoBaseObjectText;
    if (choices_.empty())
        return kNothingToRenderText;
    if (ChosenCount() == 0)
        return kNothingChosenText;
    return {};
}

BakeResult RenderSpritesModel::Render(IBakeProgress* progress)
{
    std::vector<COGLObject*> objects;
    for (const Choice& choice : choices_)
        if (choice.chosen)
            objects.push_back(choice.object);
    return RenderSpritesFromScene(working_, scene_, std::move(objects), options_, progress);
}

RenderSpritesModel::Measure RenderSpritesModel::MeasureChosen() const
{
    Measure measure;
    const CObjectEntry* object = working_.CurrentObject();
    CObjectFile* file = working_.File();
    if (!object || !file)
        return measure;
    const BakePlan plan = PlanBake(file->Container(), *object);
    if (!plan.ok() || plan.tiles.empty())
        return measure;
    Box3 tiles;
    for (const PlannedTile& tile : plan.tiles) {
        const Vector3 centre = GameCamera::TileCentre(tile.spot.x, tile.spot.y);
        tiles.Include(centre - Vector3{0.5f, 0.0f, 0.5f});
        tiles.Include(centre + Vector3{0.5f, 0.0f, 0.5f});
    }
    Box3 shape;
    for (const Choice& choice : choices_)
        if (choice.chosen && choice.object->IsVisible())
            shape.Include(choice.object->SceneBox());
    // The game's floor hides what lies below it.
    shape.low.y = std::max(shape.low.y, 0.0f);
    if (shape.IsEmpty())
        return measure;
    measure.known = true;
    measure.tiles = static_cast<int>(plan.tiles.size());
    measure.overhang = std::max({0.0f, tiles.low.x - shape.low.x, shape.high.x - tiles.high.x,
                                 tiles.low.z - shape.low.z, shape.high.z - tiles.high.z});
    const GameCamera camera;
    for (int direction = 0; direction < kGameDirections; ++direction) {
        double left = HUGE_VAL, right = -HUGE_VAL, top = HUGE_VAL, bottom = -HUGE_VAL;
        for (int i = 0; i < 8; ++i) {
            const ScreenPosition at = camera.Project(direction, shape.Corner(i));
            left = std::min(left, at.x);
            right = std::max(right, at.x);
            top = std::min(top, at.y);
            bottom = std::max(bottom, at.y);
        }
        measure.spriteWidth = std::max(measure.spriteWidth, static_cast<int>(std::ceil(right - left)));
        measure.spriteHeight = std::max(measure.spriteHeight, static_cast<int>(std::ceil(bottom - top)));
    }
    return measure;
}

std::string RenderSpritesModel::MeasureText(const Measure& measure)
{
    if (!measure.known)
        return {};
    char text[400];
    const char* tiles = measure.tiles == 1 ? "tile" : "tiles";
    if (measure.overhang < 0.005)
        std::snprintf(text, sizeof text, "The chosen objects stand within the object's %d %s.", measure.tiles, tiles);
    else
        std::snprintf(text, sizeof text,
                      "The chosen objects reach %.2f tiles beyond the object's %d %s: what stands outside goes "
                      "into the sprite of the tile it leans out from, and the game may hide it behind walls or "
                      "other objects.",
                      measure.overhang, measure.tiles, tiles);
    std::string out = text;
    std::snprintf(text, sizeof text,
                  " The sprites will be at most about %d \u00D7 %d pixels at the largest zoom (%d \u00D7 %d and "
                  "%d \u00D7 %d at the smaller ones).",
                  measure.spriteWidth, measure.spriteHeight, (measure.spriteWidth + 1) / 2,
                  (measure.spriteHeight + 1) / 2, (measure.spriteWidth + 3) / 4, (measure.spriteHeight + 3) / 4);
    return out + text;
}

} // namespace zelvane
