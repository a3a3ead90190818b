#include "scene/COGLTexture2D.h"

#include "scene/ActiveGLContext.h"
#include "report/ErrorLog.h"
#include "scene/COGLScene.h"
#include "scene/GLErrors.h"
#include "scene/TextureParameters.h"

#include <GL/glu.h>

namespace zelvane {

namespace {

// The file name without folder and extension; folders may be written with
// either separator, as scene files made on Windows hold them.
std::string TitleOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos)
        name.erase(dot);
    return name;
}

} // namespace

COGLTexture2D::COGLTexture2D() = default;

COGLTexture2D::~COGLTexture2D()
{
    if (glName_ == 0)
        return;
    IGLContext& context = ActiveGLContext();
    context.BeginGL();
    glDeleteTextures(1, &glName_);
    context.EndGL();
}

bool COGLTexture2D::SetSource(const std::string& path, std::uint8_t flag)
{
    path_ = path;
    title_ = TitleOf(path);
    textureFlag_ = flag;
    return true;
}

bool COGLTexture2D::IsLoaded()
{
    return image_ ? true : Load(path_, textureFlag_);
}

bool COGLTexture2D::Load(const std::string& path, std::uint8_t flag, ImageMessages messages)
{
    path_ = path;
    image_ = std::make_unique<COGLImage>();
    textureFlag_ = flag;
    if (!image_->Load(path, true, flag, messages))
        return false;
    Upload();
    return true;
}

void COGLTexture2D::Upload()
{
    if (!image_ || !image_->HasPixels())
        return;
    const PlainImage& pixels = image_->Pixels();
    const bool alpha = pixels.BytesPerPixel() == 4;
    const bool rgb = pixels.Order() == ChannelOrder::Rgb;
    const GLenum format = alpha ? (rgb ? GL_RGBA : GL_BGRA) : (rgb ? GL_RGB : GL_BGR);
    const GLint components = alpha ? 4 : 3;

    IGLContext& context = ActiveGLContext();
    context.BeginGL();
    // GLU's mipmap builder reads the context's version and fails badly without one.
    if (!IsGLContextCurrent()) {
        LogDebug(path_ + ": no OpenGL context is current; the texture is not uploaded\n");
        context.EndGL();
        image_->FreePixels();
        return;
    }
    if (glName_ == 0)
        glGenTextures(1, &glName_);
    glBindTexture(GL_TEXTURE_2D, glName_);
    // Rows are stored padded to 4 bytes, as OpenGL's default alignment reads them.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, components, pixels.Width(), pixels.Height(), 0, format, GL_UNSIGNED_BYTE,
                 pixels.Bits().data());
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, pixels.Width(), pixels.Height(), format, GL_UNSIGNED_BYTE,
                      pixels.Bits().data());
    glPopClientAttrib();
    if (scene_)
        scene_->ApplyTextureParameters(*this);
    else
        ApplyTextureFilter(glName_, kDefaultTextureFilter);
    context.EndGL();
    ++useCount_;
    image_->FreePixels();
}

} // namespace zelvane
