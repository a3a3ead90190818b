#include "document/InsertedObjects.h"

#include "document/FootprintPlacement.h"
#include "scene/COGLText.h"
#include "scene/ObjectFactory.h"
#include "scene/text/Windows1252.h"

#include <algorithm>
#include <cmath>

namespace zelvane {

namespace {

// Lying planes rise this far above the floor, so the floor does not show
// through them.
constexpr float kAboveTheFloor = 0.005f;

} // namespace

std::unique_ptr<COGLObject> MakeInsertedObject(ObjectKind kind)
{
    if (std::find(std::begin(kInsertableKinds), std::end(kInsertableKinds), kind) == std::end(kInsertableKinds))
        return nullptr;
    std::unique_ptr<COGLObject> object = CreateObjectOfKind(kind);
    if (!object)
        return nullptr;
    switch (kind) {
    case ObjectKind::Box: break; // a cube of one unit already
    case ObjectKind::Sphere:
    case ObjectKind::Billboard: object->SetScale(0.5f, 0.5f, 0.5f); break;
    case ObjectKind::Cylinder:
    case ObjectKind::Rod:
        // Half a unit across, a unit high, standing (the tube runs along z).
        object->SetScale(2.5f, 2.5f, 0.5f);
        object->RotateX(90.0f);
        break;
    case ObjectKind::Cone:
        // Its wide end down, its tip up.
        object->SetScale(1.0f, 1.0f, 0.5f);
        object->RotateX(-90.0f);
        break;
    case ObjectKind::Plane:
    case ObjectKind::Disk:
        object->SetScale(0.5f, 0.5f, 1.0f);
        object->RotateX(90.0f);
        break;
    default: break;
    }
    return object;
}

void PutOnFootprint(COGLObject& object, const CageSize& cage)
{
    StandOnFootprint(object, cage);
    if (object.Kind() == ObjectKind::Plane || object.Kind() == ObjectKind::Disk)
        object.Translate(0.0f, kAboveTheFloor, 0.0f);
}

std::string WhyTextCannotBeMade(const TextRequest& request)
{
    const std::optional<std::string> bytes = Utf8To1252(request.text);
    if (!bytes)
        return "Only the letters of the Western code page (Windows-1252) can be made into 3-D text.";
    if (bytes->empty() || bytes->find_first_not_of(' ') == std::string::npos)
        return "Type the text to make.";
    if (bytes->size() > COGLText::kMostCharacters)
        return "A 3-D text holds at most " + std::to_string(COGLText::kMostCharacters) + " characters.";
    if (!std::isfinite(request.depth) || request.depth < 0.0f || request.depth > kLargestTextDepth)
        return "The depth is a number from 0 to " + std::to_string(static_cast<int>(kLargestTextDepth)) + ".";
    return {};
}

std::unique_ptr<COGLText> MakeInsertedText(const TextRequest& request)
{
    if (!WhyTextCannotBeMade(request).empty())
        return nullptr;
    auto text = std::make_unique<COGLText>();
    text->SetText(*Utf8To1252(request.text));
    // A family that is not installed falls back to Arial's stand-in.
    text->SetFont(request.fontFamily, request.depth);
    return text;
}

} // namespace zelvane
