#pragma once
// The "Render Sprites from Scene" dialog without its window: one choice per
// object the user added to the scene (never the floor, the walls or the
// lights' markers), all chosen at first, and the render of the chosen ones
// into the working object's sprites (RenderSpritesFromScene).

#include "bake/SpriteBake.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zelvane {

class CObjectEntry;
class COGLObject;
class COGLScene;
class WorkingObjectFile;

inline constexpr const char* kNothingToRenderText =
    "The scene holds no objects to render. Add or import objects first.";
inline constexpr const char* kNothingChosenText = "Choose at least one object to render.";

class RenderSpritesModel {
public:
    struct Choice {
        COGLObject* object = nullptr;
        std::string label; // the object's name, numbered when several share it
        bool chosen = true;
    };

    // The scene's visible objects, in the scene's order.
    RenderSpritesModel(COGLScene& scene, WorkingObjectFile& working);

    const std::vector<Choice>& Choices() const { return choices_; }
    void SetChosen(size_t row, bool chosen);
    size_t ChosenCount() const;

    // The object whose sprites change (the working object), or null.
    const CObjectEntry* Object() const;
    // Empty when Render may run; otherwise what the user is told: the base
    // object is missing (kNoBaseObjectText), the scene holds nothing to
    // render, or nothing is chosen.
    std::string WhyNotReady() const;

    // The chosen objects rendered into the working object file; the context
    // holding the scene's lists is current. A failure says why in the
    // result; a cancel leaves the file as it was.
    BakeResult Render(IBakeProgress* progress);

    // What the chosen objects will make, measured before the render: how far
    // they reach beyond the object's tiles (scene units, one a tile) and how
    // large the sprites of the largest zoom will be at most (pixels, over the
    // four directions). Unknown (known false) without a working object whose
    // tiles can be read, or with nothing chosen above the floor.
    struct Measure {
        bool known = false;
        int tiles = 0;
        double overhang = 0;
        int spriteWidth = 0;
        int spriteHeight = 0;
    };
    Measure MeasureChosen() const;
    // The measure in words, for the dialog; empty when unknown.
    static std::string MeasureText(const Measure& measure);

    BakeOptions& Options() { return options_; }

private:
    COGLScene& scene_;
    WorkingObjectFile& working_;
    std::vector<Choice> choices_;
    BakeOptions options_;
};

} // namespace zelvane
