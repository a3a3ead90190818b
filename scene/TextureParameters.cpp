#include "scene/TextureParameters.h"

namespace zelvane {

void ApplyTextureFilter(GLuint name, int filter)
{
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    GLint magnify = 0;
    GLint minify = 0;
    GLenum hint = 0;
    switch (filter) {
    case 0:
        magnify = minify = GL_NEAREST;
        hint = GL_FASTEST;
        break;
    case 1:
        magnify = minify = GL_NEAREST;
        hint = GL_NICEST;
        break;
    case 2:
        magnify = GL_LINEAR;
        minify = GL_LINEAR_MIPMAP_NEAREST;
        hint = GL_NICEST;
        break;
    default:
        return;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnify);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minify);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, hint);
}

} // namespace zelvane
