#pragma once
// The sample game's furniture as 3-D models, so its sprites show what the
// catalog says: a dining chair, a table with legs, a lamp with its shade, a
// bookcase full of books. Built the same on every run.

#include "tools/FurnitureMesh.h"

namespace zelvane {

enum class FurnitureKind {
    DiningChair,
    ReadingLamp,
    Bookcase,
    DiningTable, // 2 × 2 tiles
    Loveseat,    // 2 × 1 tiles, along x
    CuckooClock, // on the wall at the tile's back edge
    Fire,
    PottedFern,
    KitchenCounter,
    EndTable,
    Armchair,
    Rug,
    Television,
    Aquarium,
};

FurnitureMesh BuildFurniture(FurnitureKind kind);

} // namespace zelvane
