#pragma once
// An OpenGL 2-D texture made from an image file. It is given its source and
// read, uploaded with mipmaps and freed of its pixels the first time it is
// needed; afterwards only its GL name, size and names remain.

#include "scene/COGLImage.h"

#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <string>

namespace zelvane {

class COGLScene;

class COGLTexture2D {
public:
    COGLTexture2D();
    // Deletes the GL texture (in the active context) and the image.
    ~COGLTexture2D();
    COGLTexture2D(const COGLTexture2D&) = delete;
    COGLTexture2D& operator=(const COGLTexture2D&) = delete;

    // Remembers the path, its file name without folder and extension as the
    // title, and the flag; reads nothing yet. Always true.
    bool SetSource(const std::string& path, std::uint8_t flag);

    // True once an image has been made; otherwise loads from the source. A
    // texture whose load failed keeps its image, so it reports true from then
    // on without loading again (with GL name 0, which draws untextured).
    bool IsLoaded();

    // Reads `path` into a new image (kept even when reading fails), then
    // uploads it. False when the image cannot be read (COGLImage::Load says
    // how the user is told, and Image()->Problem() why).
    bool Load(const std::string& path, std::uint8_t flag, ImageMessages messages = ImageMessages::Show);

    // Uploads the image's pixels as level 0 and mipmaps, applies the scene's
    // texture parameters, counts the use and frees the pixels. Brackets the
    // work with the active context's BeginGL/EndGL; with no context current
    // after all, it only logs that and frees the pixels (GL name stays 0).
    void Upload();

    GLuint GlName() const { return glName_; }
    const COGLImage* Image() const { return image_.get(); }
    std::uint8_t TextureFlag() const { return textureFlag_; }
    const std::string& Title() const { return title_; }
    const std::string& Path() const { return path_; }
    int UseCount() const { return useCount_; }
    void SetUseCount(int count) { useCount_ = count; }

    // The scene whose filter mode uploads apply; without one the default.
    void SetScene(const COGLScene* scene) { scene_ = scene; }

private:
    GLuint glName_ = 0;
    std::unique_ptr<COGLImage> image_;
    std::uint8_t textureFlag_ = 0;
    std::string title_;
    int useCount_ = 0;
    std::string path_;
    const COGLScene* scene_ = nullptr;
};

} // namespace zelvane
