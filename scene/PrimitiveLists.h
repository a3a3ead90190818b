#pragma once
// The display lists of the primitive kinds: built the first time an object of
// a kind is made and shared by every later one, so the number of lists never
// grows with the number of objects. They belong to the active context
// (ActiveGLContext.h); when another context becomes active they are built
// again there. The caller has made the context current.

#include "scene/ObjectKind.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace zelvane {

struct KindLists {
    GLuint solid = 0;
    GLuint wire = 0;
};

class PrimitiveLists {
public:
    // The solid and wireframe lists of a primitive kind (plane variants share
    // the plane's). Names that draw nothing (0) when no context is current;
    // such a failure is not remembered, so a later call builds them.
    static KindLists Of(ObjectKind kind);

    // The tessellated plane: 24 strips over [−1, 1]², shared by all planes.
    static GLuint PlaneGrid();

    // The sphere as triangles made from our own geometry rather than GLU's:
    // safe to call in select mode on Mesa's software rasteriser, which may
    // crash on a GLU sphere list there. (The sphere's wireframe list is made
    // from our own geometry anyway.)
    static GLuint SpherePickingSolid();

    // The quadric kinds (sphere, rod, cylinder, cone, disk) drawn by GLU at
    // once in `style` (GLU_FILL, GLU_LINE), as their solid lists hold them.
    static void DrawWithGlu(ObjectKind kind, GLenum style);

    // The one GLU quadric of the quadric kinds: texture coordinates on, smooth
    // normals.
    static GLUquadric* Quadric();

    // How many lists have been built in the active context.
    static int BuiltCount();
};

} // namespace zelvane
