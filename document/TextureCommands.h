#pragma once
// The scene's textures as undo steps: a texture loaded into the scene, and an
// object's texture with how it lies on it.

#include "document/UndoCommand.h"
#include "scene/math/Vector3.h"

#include <GL/gl.h>

#include <cstddef>
#include <memory>
#include <string>

namespace zelvane {

class COGLMesh;
class COGLObject;
class COGLScene;
class COGLTexture2D;

// What "&Use Texture" and "Effected by Lighting" change on an object, whole,
// so that an undo step can put it back.
struct ObjectTextureState {
    COGLTexture2D* texture = nullptr;
    Vector3 rotation;
    Vector3 offset;
    Vector3 scale{1, 1, 1};
    GLenum envMode = GL_MODULATE;

    static ObjectTextureState Of(const COGLObject& object);
    void ApplyTo(COGLObject& object) const;
    friend bool operator==(const ObjectTextureState&, const ObjectTextureState&) = default;
};

class ObjectTextureCommand final : public UndoCommand {
public:
    ObjectTextureCommand(std::string text, COGLObject& object, const ObjectTextureState& before,
                         const ObjectTextureState& after);

    void Undo() override;
    void Redo() override;
    std::string Text() const override { return text_; }

private:
    std::string text_;
    COGLObject& object_;
    ObjectTextureState before_;
    ObjectTextureState after_;
};

// The texture file of one face group of a mesh (empty: none).
class GroupTextureCommand final : public UndoCommand {
public:
    GroupTextureCommand(COGLMesh& mesh, std::size_t part, std::size_t group, std::string before, std::string after);

    void Undo() override;
    void Redo() override;
    std::string Text() const override { return "Group Texture"; }

private:
    COGLMesh& mesh_;
    std::size_t part_;
    std::size_t group_;
    std::string before_;
    std::string after_;
};

// A texture added to the scene's list; undo takes it out again and keeps it.
class AddTextureCommand final : public UndoCommand {
public:
    // `texture` is not yet in the scene; the first Redo adds it.
    AddTextureCommand(std::string text, COGLScene& scene, std::unique_ptr<COGLTexture2D> texture);
    ~AddTextureCommand() override;

    void Undo() override;
    void Redo() override;
    std::string Text() const override { return text_; }

private:
    std::string text_;
    COGLScene& scene_;
    COGLTexture2D& texture_;
    std::unique_ptr<COGLTexture2D> held_;
};

} // namespace zelvane
