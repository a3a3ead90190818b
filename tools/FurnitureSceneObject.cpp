#include "tools/FurnitureSceneObject.h"

#include "tools/SpriteRasteriser.h"

#include <algorithm>
#include <cmath>

namespace zelvane {

namespace {

constexpr int kDeepestCut = 24;

// The model's tile frame on the scene: x → −z, y → +x, z (up) → +y.
Vector3 OnScene(Vec3 v)
{
    return {v.y, v.z, -v.x};
}

struct Corner {
    Vec3 position;
    Vec3 normal;
};

float Length2(Vec3 v)
{
    return Dot(v, v);
}

// Cuts the triangle at the middle of its longest edge until every edge is
// at most `finest` long.
template <typename Emit>
void Cut(const Corner& a, const Corner& b, const Corner& c, float finest2, int depth, Emit& emit)
{
    const float ab = Length2(b.position - a.position), bc = Length2(c.position - b.position),
                ca = Length2(a.position - c.position);
    const float longest = std::max({ab, bc, ca});
    if (longest <= finest2 || depth >= kDeepestCut) {
        emit(a, b, c);
        return;
    }
    auto middle = [](const Corner& p, const Corner& q) {
        return Corner{(p.position + q.position) * 0.5f, Normalised(p.normal + q.normal)};
    };
    if (longest == ab) {
        const Corner m = middle(a, b);
        Cut(a, m, c, finest2, depth + 1, emit);
        Cut(m, b, c, finest2, depth + 1, emit);
    } else if (longest == bc) {
        const Corner m = middle(b, c);
        Cut(a, b, m, finest2, depth + 1, emit);
        Cut(a, m, c, finest2, depth + 1, emit);
    } else {
        const Corner m = middle(c, a);
        Cut(a, b, m, finest2, depth + 1, emit);
        Cut(m, b, c, finest2, depth + 1, emit);
    }
}

} // namespace

FurnitureSceneObject::FurnitureSceneObject(const FurnitureMesh& mesh, Part part, float finestEdge)
    : COGLObject(ObjectKind::Mesh, KindLists{})
{
    SetName(part == Part::Solid ? "Furniture" : "Furniture (seen through)");
    SetTransparent(part == Part::SeenThrough);
    const std::vector<Material>& materials = mesh.Materials();
    const float finest2 = finestEdge > 0 ? finestEdge * finestEdge : 1e30f;
    list_ = glGenLists(1);
    glNewList(list_, GL_COMPILE);
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_POLYGON_BIT | GL_CURRENT_BIT);
    glDisable(GL_CULL_FACE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    const SpriteRasteriser::Lights lights = SpriteRasteriser::LightsOf(2);
    for (size_t k = 0; k < materials.size(); ++k) {
        const Material& m = materials[k];
        if (m.SeenThrough() != (part == Part::SeenThrough))
            continue;
        const float h = m.shininess > 0 ? lights.highlight : 0.0f;
        const GLfloat specular[4] = {h, h, h, 1.0f};
        const GLfloat emission[4] = {m.colour.x * m.glow, m.colour.y * m.glow, m.colour.z * m.glow, 1.0f};
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::min(m.shininess, 128.0f));
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
        glBegin(GL_TRIANGLES);
        auto emit = [&](const Corner& a, const Corner& b, const Corner& c) {
            // The scene's frame is the model's mirrored: corners in reverse
            // order keep the front faces outside.
            for (const Corner* corner : {&a, &c, &b}) {
                float alpha = 1.0f;
                const Vec3 colour = SpriteRasteriser::SurfaceColour(m, corner->position, corner->normal, alpha);
                const Vector3 n = OnScene(corner->normal);
                const Vector3 p = OnScene(corner->position);
                glColor4f(colour.x, colour.y, colour.z, alpha);
                glNormal3f(n.x, n.y, n.z);
                glVertex3f(p.x, p.y, p.z);
            }
            ++triangles_;
        };
        for (const MeshTriangle& t : mesh.Triangles())
            if (t.material == k)
                Cut({t.v[0].position, t.v[0].normal}, {t.v[1].position, t.v[1].normal},
                    {t.v[2].position, t.v[2].normal}, finest2, 0, emit);
        glEnd();
    }
    glPopAttrib();
    glEndList();
}

FurnitureSceneObject::~FurnitureSceneObject()
{
    if (list_)
        glDeleteLists(list_, 1);
}

void FurnitureSceneObject::Draw(DrawFlags flags)
{
    DrawList(flags, list_, {});
}

void FurnitureSceneObject::DrawForPicking()
{
    if (!IsVisible())
        return;
    glLoadName(Id());
    glPushMatrix();
    ApplyPlacement();
    glCallList(list_);
    glPopMatrix();
}

std::vector<std::unique_ptr<FurnitureSceneObject>> MakeFurnitureObjects(const FurnitureMesh& mesh, float finestEdge)
{
    std::vector<std::unique_ptr<FurnitureSceneObject>> objects;
    for (const auto part : {FurnitureSceneObject::Part::Solid, FurnitureSceneObject::Part::SeenThrough}) {
        auto object = std::make_unique<FurnitureSceneObject>(mesh, part, finestEdge);
        if (!object->Empty())
            objects.push_back(std::move(object));
    }
    return objects;
}

} // namespace zelvane
