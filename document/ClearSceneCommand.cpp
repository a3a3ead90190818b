#include "document/ClearSceneCommand.h"

namespace zelvane {

ClearSceneCommand::ClearSceneCommand(COGLScene& scene) : scene_(scene) {}

// Objects go before the textures they may refer to.
ClearSceneCommand::~ClearSceneCommand()
{
    held_.objects.clear();
}

void ClearSceneCommand::Undo()
{
    if (!cleared_)
        return;
    scene_.RestoreContents(std::move(held_));
    held_ = {};
    cleared_ = false;
}

void ClearSceneCommand::Redo()
{
    if (cleared_)
        return;
    held_ = scene_.TakeContents();
    cleared_ = true;
}

} // namespace zelvane
