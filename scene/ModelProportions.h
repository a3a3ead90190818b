#pragma once
// How large the game's things are in metres, so that a model made at its
// real size is imported at the game's proportions.
//
// Calibration, once, on the real objects of the test data, measured in their
// sprites: every opaque pixel's height above the floor follows from its
// depth level and its row (GameDepth: 202.3 at the tile's centre, 1.525
// levels per pixel down the screen on the floor, 159.4 levels less per unit
// of height at the same pixel; the tile's centre row found from a foot that
// stands on the floor). The heights that many pixels share are the flat
// surfaces: the Caprize chair's seat at 0.49 tiles and the top of its back at
// 1.17 tiles (both in two directions), the Caprize coffee table's top at 0.49
// tiles (four directions). Against the sizes of real furniture (a seat
// 0.45 m high, a coffee table 0.43 m, a high chair back 1.0 m) that gives
// 0.92, 0.88 and 0.85 m per tile; the rule takes their mean, 0.9 m.
//
// A tile is one scene unit (GameCamera), so a metre is 1/0.9 scene units.

namespace zelvane {

inline constexpr float kMetresPerTile = 0.9f;
inline constexpr float kSceneUnitsPerMetre = 1.0f / kMetresPerTile;

} // namespace zelvane
