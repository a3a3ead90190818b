#pragma once
// An off-screen OpenGL context for tests and the command-line tool: Mesa's EGL
// without any window system, drawing into a framebuffer object of a fixed size.
// It offers the same desktop-GL compatibility profile as the editor's window.

#include "objects/PlainImage.h"
#include "scene/NestedGLContext.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelvane {

class HeadlessGLContext final : public NestedGLContext {
public:
    // A context whose framebuffer is `width` × `height` pixels, RGBA8 colour and a
    // 24-bit depth buffer, bound whenever the context is current. Returns null and
    // sets `error` to what failed (no EGL display, no desktop GL, no framebuffer
    // object of that size) rather than ending the program.
    static std::unique_ptr<HeadlessGLContext> Create(int width, int height, std::string& error);
    ~HeadlessGLContext() override;

    HeadlessGLContext(const HeadlessGLContext&) = delete;
    HeadlessGLContext& operator=(const HeadlessGLContext&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }

    // The framebuffer's pixels, 4 bytes each (red, green, blue, alpha), bottom row
    // first as OpenGL stores them.
    std::vector<std::uint8_t> ReadPixels();
    // The framebuffer as a 24-bit image (alpha dropped), rows as PlainImage
    // keeps them.
    PlainImage ReadImage();

protected:
    // A failure to make the context current is fatal (`ReportWindowsError`).
    void MakeCurrent() override;
    void ReleaseCurrent() override;

private:
    struct Egl;

    HeadlessGLContext(int width, int height);
    bool CreateFramebuffer(std::string& error);

    std::unique_ptr<Egl> egl_;
    int width_;
    int height_;
};

} // namespace zelvane
