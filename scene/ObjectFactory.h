#pragma once
// Makes a new object of a kind, as the Copy command and the scene file do.

#include "scene/COGLObject.h"
#include "scene/ObjectKind.h"

#include <memory>

namespace zelvane {

// A new object of `kind` with its defaults (the context is current): a
// primitive, a plane, or a text of one space; nothing for meshes, which are
// made from their own data.
std::unique_ptr<COGLObject> CreateObjectOfKind(ObjectKind kind);

// An object of `kind` for the scene file reader to fill with LoadObject:
// every kind CreateObjectOfKind makes, and meshes. Nothing for a kind that
// cannot be read.
std::unique_ptr<COGLObject> CreateObjectToLoad(ObjectKind kind);

} // namespace zelvane
