#include "bake/BakeFramebuffer.h"

// Framebuffer objects are core OpenGL 3.0; the GL 1.1 headers declare them
// only with the prototypes asked for, and libOpenGL dispatches them to
// whichever context is current.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstddef>

namespace zelvane {

namespace {

// Rows as OpenGL stores them (bottom first) turned top first, in place.
template <typename T>
void FlipRows(std::vector<T>& pixels, size_t rowLength, int rows)
{
    for (int top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels.begin() + static_cast<std::ptrdiff_t>(top * rowLength),
                         pixels.begin() + static_cast<std::ptrdiff_t>((top + 1) * rowLength),
                         pixels.begin() + static_cast<std::ptrdiff_t>(bottom * rowLength));
}

} // namespace

int BakeFramebuffer::LargestSide()
{
    GLint renderbuffer = 0;
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({renderbuffer, viewport[0], viewport[1]});
}

BakeFramebuffer::BakeFramebuffer(int width, int height) : width_(width), height_(height)
{
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer_);
    glGetIntegerv(GL_VIEWPORT, previousViewport_);
    if (width < 1 || height < 1 || width > LargestSide() || height > LargestSide()) {
        error_ = "a framebuffer of " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels is more than the OpenGL driver offers";
        return;
    }
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depth_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error_ = "the OpenGL driver cannot render off screen at " + std::to_string(width) + " x " +
                 std::to_string(height) + " pixels";
        return;
    }
    glViewport(0, 0, width, height);
}

void BakeFramebuffer::Bind() const
{
    if (!ok())
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, width_, height_);
}

BakeFramebuffer::~BakeFramebuffer()
{
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer_));
    glViewport(previousViewport_[0], previousViewport_[1], previousViewport_[2], previousViewport_[3]);
    if (depth_)
        glDeleteRenderbuffers(1, &depth_);
    if (colour_)
        glDeleteRenderbuffers(1, &colour_);
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
}

void BakeFramebuffer::ReadColour(std::vector<uint8_t>& out) const
{
    out.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    FlipRows(out, static_cast<size_t>(width_) * 4, height_);
}

void BakeFramebuffer::ReadDepth(std::vector<float>& out) const
{
    out.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width_, height_, GL_DEPTH_COMPONENT, GL_FLOAT, out.data());
    FlipRows(out, static_cast<size_t>(width_), height_);
}

} // namespace zelvane
