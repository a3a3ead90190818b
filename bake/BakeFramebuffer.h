#pragma once
// An off-screen framebuffer in whatever context is current (the editor's
// view or the headless one), for renders the window never shows: 8-bit RGBA
// colour and a 24-bit depth buffer. While it lives it is bound, with the
// viewport covering it; when it goes, the framebuffer and the viewport that
// were in use before are back.

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

class BakeFramebuffer {
public:
    // Check ok() (and Error()) before drawing: a size the driver refuses or
    // a context without framebuffer objects leaves it unusable.
    BakeFramebuffer(int width, int height);
    ~BakeFramebuffer();
    BakeFramebuffer(const BakeFramebuffer&) = delete;
    BakeFramebuffer& operator=(const BakeFramebuffer&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Binds it again with the viewport covering it, after others have drawn
    // in the context (a window's paint while a progress display was updated).
    void Bind() const;

    // The largest side the current context's framebuffers take.
    static int LargestSide();

    // Four bytes a pixel (red, green, blue, alpha), rows from the top.
    void ReadColour(std::vector<uint8_t>& out) const;
    // The depth buffer, 0 (near) to 1 (far), rows from the top.
    void ReadDepth(std::vector<float>& out) const;

private:
    int width_;
    int height_;
    std::string error_;
    // OpenGL names (GLuint, GLint), kept without the GL headers here: the
    // source asks them for the framebuffer functions' prototypes.
    uint32_t framebuffer_ = 0;
    uint32_t colour_ = 0;
    uint32_t depth_ = 0;
    int32_t previousFramebuffer_ = 0;
    int32_t previousViewport_[4] = {0, 0, 0, 0};
};

} // namespace zelvane
