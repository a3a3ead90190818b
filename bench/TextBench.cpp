// text_bench: what building the display lists of a 32-character text object
// costs (target: under 50 ms), and where the time goes.
//
// On the off-screen context (Mesa's software rasteriser), for each text it
// times, after one untimed warm-up, the median of --repeat runs of:
//
// - build: ReplaceText with a 32-character text, as the editor rebuilds a
//   text object (the old lists freed, two lists a character compiled, the
//   offsets placed), to glFinish;
// - geometry: the same characters' outlines flattened, tessellated and
//   extruded without OpenGL, the part of the build that is ours alone;
// - draw: one shaded Draw of the object, to glFinish.
//
// The first build of the run (the font catalog read from fontconfig and the
// font file opened) is reported on its own as "cold".
//
// Usage: text_bench [--repeat N] [--extrusion D]

#include "scene/ActiveGLContext.h"
#include "scene/COGLText.h"
#include "scene/HeadlessGLContext.h"
#include "scene/text/ExtrudedGlyph.h"
#include "scene/text/FontCatalog.h"
#include "scene/text/OutlineFont.h"
#include "scene/text/Windows1252.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// 32 characters each: plain words, round letters and digits with holes, and
// the heaviest outlines of the code page.
const char* const kTexts[] = {
    "The quick brown fox jumps over t",
    "OBQ8@&%gee0069BOBO&&@@QQggSS88%%",
    "\xC6\x8C\xDF\xA9\xAE\xA7\xB6@&%\x80\x89WMmw\xC6\x8C\xDF\xA9\xAE\xA7\xB6@&%\x80\x89WMmw",
};

} // namespace

int main(int argc, char** argv)
{
    int repeat = 21;
    float extrusion = 0.5f;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--extrusion") == 0 && i + 1 < argc)
            extrusion = static_cast<float>(std::atof(argv[++i]));
        else {
            std::fprintf(stderr, "usage: text_bench [--repeat N] [--extrusion D]\n");
            return 2;
        }
    }

    std::string error;
    const std::unique_ptr<HeadlessGLContext> context = HeadlessGLContext::Create(800, 600, error);
    if (!context) {
        std::fprintf(stderr, "text_bench: no off-screen context: %s\n", error.c_str());
        return 1;
    }
    const ActiveGLContextScope active(*context);
    context->BeginGL();
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    Clock::time_point start = Clock::now();
    COGLText text;
    text.SetFont("Arial", extrusion);
    text.ReplaceText(kTexts[0]);
    glFinish();
    std::printf("cold: %.2f ms (font catalog, font file, first build)\n\n", Milliseconds(start));

    const std::optional<FontFile> file = CurrentFontCatalog().ClosestFaceOf("Arial", false);
    const std::shared_ptr<const OutlineFont> font = file ? OutlineFont::Open(*file) : nullptr;
    if (!font) {
        std::fprintf(stderr, "text_bench: no font for Arial\n");
        return 1;
    }
    std::printf("font: %s, extrusion %.2f, median of %d runs\n", file->path.c_str(), extrusion, repeat);
    std::printf("%-34s %10s %10s %10s %10s %10s\n", "text", "build ms", "geom ms", "draw ms", "triangles", "lines");

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 20, -5, 10, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    for (const char* sample : kTexts) {
        std::vector<double> builds, geometries, draws;
        std::size_t triangles = 0, segments = 0;
        for (int run = 0; run <= repeat; ++run) {
            start = Clock::now();
            text.ReplaceText(sample);
            glFinish();
            const double build = Milliseconds(start);

            start = Clock::now();
            std::size_t runTriangles = 0, runSegments = 0;
            for (const char c : std::string(sample)) {
                const std::optional<GlyphOutline> glyph = font->Outline(CodePointOf1252(static_cast<std::uint8_t>(c)));
                if (!glyph)
                    continue;
                const ExtrudedGlyph solid = ExtrudeGlyph(*glyph, extrusion);
                runTriangles += solid.face.size() / 3 * (extrusion > 0 ? 2 : 1) + solid.walls.size() / 2;
                for (const OutlineContour& contour : glyph->contours)
                    runSegments += contour.size();
            }
            const double geometry = Milliseconds(start);

            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            start = Clock::now();
            text.Draw(0x81);
            glFinish();
            const double draw = Milliseconds(start);
            if (run == 0)
                continue; // warm-up
            builds.push_back(build);
            geometries.push_back(geometry);
            draws.push_back(draw);
            triangles = runTriangles;
            segments = runSegments;
        }
        std::string shown;
        for (const char c : std::string(sample))
            shown += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        std::printf("%-34s %10.2f %10.2f %10.2f %10zu %10zu\n", ("\"" + shown + "\"").c_str(), Median(builds),
                    Median(geometries), Median(draws), triangles, segments);
    }
    context->EndGL();
    return 0;
}
