#include "document/RenderSpritesModel.h"

#include "document/ObjectPanelModel.h"
#include "document/RenderSprites.h"
#include "document/WorkingObjectFile.h"
#include "scene/COGLObject.h"
#include "scene/ObjectKind.h"

#include <algorithm>
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

} // namespace zelvane
