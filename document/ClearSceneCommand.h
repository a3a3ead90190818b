#pragma once
// The scene's objects and textures cleared away: kept here so that undo
// brings them all back, each object with its texture.

#include "document/UndoCommand.h"
#include "scene/COGLScene.h"

#include <string>

namespace zelvane {

class ClearSceneCommand final : public UndoCommand {
public:
    explicit ClearSceneCommand(COGLScene& scene);
    ~ClearSceneCommand() override;

    void Undo() override;
    void Redo() override;
    std::string Text() const override { return "Clear the Scene"; }

private:
    COGLScene& scene_;
    COGLScene::Contents held_;
    bool cleared_ = false;
};

} // namespace zelvane
