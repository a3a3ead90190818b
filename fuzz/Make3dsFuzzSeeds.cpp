// make_3ds_fuzz_seeds FOLDER: writes the seed-* inputs of fuzz_3ds into
// FOLDER/fuzz_3ds: small 3D Studio files with every chunk meshport reads,
// and damaged ones (long and unterminated names, mapping lists longer,
// shorter and before the vertex list, faces past the vertex list, counts
// beyond the data, lengths past the parent and below a header, cuts).

#include "tools/LargeThreeDSScene.h"
#include "tools/ThreeDSWriter.h"

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace zelvane;

namespace {

std::vector<uint8_t> Wrapped(void (*body)(ThreeDSWriter&))
{
    ThreeDSWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    body(w);
    w.End();
    w.End();
    return w.Take();
}

void Write(const std::filesystem::path& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(folder / ("seed-" + name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_3ds_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "fuzz_3ds";
    std::filesystem::create_directories(folder);

    ThreeDSMesh grouped = UnitSquare("Grouped");
    grouped.faces.push_back({1, 2, 3});
    grouped.groups = {{"wood", {0, 2}}, {"Metal", {1, 15001, 40000}}};
    grouped.matrix = std::array<float, 12>{1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 6, 7};
    const std::vector<uint8_t> full =
        WriteThreeDS({UnitSquare("One"), grouped, UnitSquare("")}, {{"Wood", {1, 2, 3}, "wood.bmp"}, {"METAL", {}, ""}});
    Write(folder, "full", full);
    for (const size_t cut : {size_t{3}, size_t{40}, full.size() / 2, full.size() - 5})
        Write(folder, "cut-" + std::to_string(cut), {full.begin(), full.begin() + static_cast<long>(cut)});

    Write(folder, "names", WriteThreeDS({UnitSquare("ElevenChars"), UnitSquare("AVeryLongObjectNameIndeed")}));
    Write(folder, "unterminated", Wrapped([](ThreeDSWriter& w) {
              w.Begin(0x4000);
              w.String("NoEnd", false);
              w.End();
              w.Begin(0xAFFF);
              w.Begin(0xA000);
              w.String("Mat", false);
              w.End();
              w.End();
          }));
    ThreeDSMesh odd = UnitSquare("Odd");
    odd.mapping.resize(7, {0.5f, 0.5f});
    odd.faces.push_back({0, 1, 9});
    ThreeDSMesh shortMap = UnitSquare("Short");
    shortMap.mapping.resize(1);
    Write(folder, "mapping-and-faces", WriteThreeDS({odd, shortMap}));
    Write(folder, "mapping-first", Wrapped([](ThreeDSWriter& w) {
              w.Begin(0x4000);
              w.String("MapFirst");
              w.Begin(0x4100);
              w.Begin(0x4140);
              w.U16(2);
              for (int i = 0; i < 4; ++i)
                  w.F32(0.25f);
              w.End();
              w.Begin(0x4120);
              w.U16(1);
              for (const uint16_t v : {0, 1, 2, 0})
                  w.U16(v);
              w.End();
              w.Begin(0x4110);
              w.U16(500); // more than there are
              for (int i = 0; i < 9; ++i)
                  w.F32(static_cast<float>(i));
              w.End();
              w.End();
              w.End();
          }));
    Write(folder, "lengths", Wrapped([](ThreeDSWriter& w) {
              w.Mesh(UnitSquare("Before"));
              w.Begin(0x4000);
              w.String("Long");
              w.TriangleMesh(UnitSquare(""));
              w.EndWithLength(0x7FFFFFFF);
              w.Begin(0x1234);
              w.EndWithLength(2);
              w.Mesh(UnitSquare("After"));
          }));
    Write(folder, "colours", Wrapped([](ThreeDSWriter& w) {
              w.Begin(0xAFFF);
              w.Begin(0xA010);
              for (const uint16_t id : {0x0010, 0x0012}) {
                  w.Begin(id);
                  w.F32(0.5f);
                  w.F32(2.0f);
                  w.F32(std::bit_cast<float>(0x7FC00000u));
                  w.End();
              }
              w.Begin(0x0013);
              w.U8(1);
              w.U8(2);
              w.U8(3);
              w.End();
              w.End();
              w.End();
          }));
    LargeSceneOptions small;
    small.objects = 3;
    small.grid = 6;
    small.materials = 2;
    Write(folder, "scene", MakeLargeThreeDSScene(small).bytes);
    return 0;
}
