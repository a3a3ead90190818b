#include "scene/HeadlessGLContext.h"

#include "report/ErrorLog.h"

// Keep X11's macros out: this context never touches a window system.
#define EGL_NO_X11
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <span>
#include <string_view>

// Mesa's drivers and the EGL loader keep a few allocations until the process
// ends, by design. Sanitizer builds (tests, Debug programs) are told so here,
// where the programs that draw off screen all come through, so that they still
// report every leak of ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:swrast_dri.so\nleak:libEGL_mesa.so\nleak:libglapi.so\nleak:libGLdispatch.so\n";
}

extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}

namespace zelvane {

// EGL handles and the framebuffer-object entry points, which GL 1.1 headers
// declare only as pointer types: they are fetched from the driver at run time.
struct HeadlessGLContext::Egl {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint framebuffer = 0;
    GLuint colourBuffer = 0;
    GLuint depthBuffer = 0;

    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
};

namespace {

bool HasExtension(const char* list, std::string_view name)
{
    std::string_view rest = list ? list : "";
    while (!rest.empty()) {
        const std::size_t end = rest.find(' ');
        if (rest.substr(0, end) == name)
            return true;
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return false;
}

template <typename Function>
void Load(Function& function, const char* name)
{
    function = reinterpret_cast<Function>(eglGetProcAddress(name));
}

// Mesa's surfaceless platform first; failing that, a device of the device
// platform, preferring the software rasteriser.
EGLDisplay OpenDisplay(std::string& error)
{
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!clientExtensions) {
        error = "no EGL implementation is available";
        return EGL_NO_DISPLAY;
    }
    PFNEGLGETPLATFORMDISPLAYEXTPROC getPlatformDisplay = nullptr;
    Load(getPlatformDisplay, "eglGetPlatformDisplayEXT");
    if (!getPlatformDisplay) {
        error = "EGL lacks eglGetPlatformDisplayEXT";
        return EGL_NO_DISPLAY;
    }

    if (HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
        EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr))
            return display;
    }

    PFNEGLQUERYDEVICESEXTPROC queryDevices = nullptr;
    PFNEGLQUERYDEVICESTRINGEXTPROC queryDeviceString = nullptr;
    Load(queryDevices, "eglQueryDevicesEXT");
    Load(queryDeviceString, "eglQueryDeviceStringEXT");
    EGLDeviceEXT devices[16];
    EGLint count = 0;
    if (HasExtension(clientExtensions, "EGL_EXT_platform_device") && queryDevices && queryDeviceString
        && queryDevices(16, devices, &count) && count > 0) {
        EGLDeviceEXT chosen = devices[0];
        for (EGLint i = 0; i < count; ++i) {
            if (HasExtension(queryDeviceString(devices[i], EGL_EXTENSIONS), "EGL_MESA_device_software")) {
                chosen = devices[i];
                break;
            }
        }
        EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, chosen, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr))
            return display;
    }
    error = "no surfaceless or device EGL display could be initialised";
    return EGL_NO_DISPLAY;
}

EGLContext CreateDesktopContext(EGLDisplay display, std::string& error)
{
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error = "the EGL display offers no desktop OpenGL";
        return EGL_NO_CONTEXT;
    }
    const EGLint configAttributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE,
    };
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configCount) || configCount < 1) {
        if (!HasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_no_config_context")) {
            error = "no EGL configuration supports desktop OpenGL";
            return EGL_NO_CONTEXT;
        }
        config = EGL_NO_CONFIG_KHR;
    }
    // Version 2.1 without a profile: asking for 3.x would give a core profile, in
    // which every fixed-function call fails.
    const EGLint contextAttributes[] = {
        EGL_CONTEXT_MAJOR_VERSION, 2, EGL_CONTEXT_MINOR_VERSION, 1, EGL_NONE,
    };
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT)
        error = "eglCreateContext failed for OpenGL 2.1";
    return context;
}

// Whatever other context is current on this thread when a headless context
// is made or destroyed, which needs its own context current for a moment.
class KeepCurrent {
public:
    explicit KeepCurrent(EGLContext going = EGL_NO_CONTEXT)
        : display_(eglGetCurrentDisplay()), context_(eglGetCurrentContext()), draw_(eglGetCurrentSurface(EGL_DRAW)),
          read_(eglGetCurrentSurface(EGL_READ))
    {
        if (context_ == going)
            context_ = EGL_NO_CONTEXT;
    }
    ~KeepCurrent()
    {
        if (context_ != EGL_NO_CONTEXT)
            eglMakeCurrent(display_, draw_, read_, context_);
    }
    KeepCurrent(const KeepCurrent&) = delete;
    KeepCurrent& operator=(const KeepCurrent&) = delete;

private:
    EGLDisplay display_;
    EGLContext context_;
    EGLSurface draw_;
    EGLSurface read_;
};

} // namespace

HeadlessGLContext::HeadlessGLContext(int width, int height)
    : egl_(std::make_unique<Egl>()), width_(width), height_(height)
{
}

std::unique_ptr<HeadlessGLContext> HeadlessGLContext::Create(int width, int height, std::string& error)
{
    if (width < 1 || height < 1) {
        error = "the framebuffer size must be at least 1 x 1";
        return nullptr;
    }
    std::unique_ptr<HeadlessGLContext> context(new HeadlessGLContext(width, height));
    const KeepCurrent keep;
    Egl& egl = *context->egl_;
    egl.display = OpenDisplay(error);
    if (egl.display == EGL_NO_DISPLAY)
        return nullptr;
    egl.context = CreateDesktopContext(egl.display, error);
    if (egl.context == EGL_NO_CONTEXT)
        return nullptr;
    if (!eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl.context)) {
        error = "the context cannot be made current without a surface";
        return nullptr;
    }
    const bool ready = context->CreateFramebuffer(error);
    eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (!ready)
        return nullptr;
    return context;
}

bool HeadlessGLContext::CreateFramebuffer(std::string& error)
{
    Egl& egl = *egl_;
    Load(egl.genFramebuffers, "glGenFramebuffers");
    Load(egl.deleteFramebuffers, "glDeleteFramebuffers");
    Load(egl.bindFramebuffer, "glBindFramebuffer");
    Load(egl.checkFramebufferStatus, "glCheckFramebufferStatus");
    Load(egl.genRenderbuffers, "glGenRenderbuffers");
    Load(egl.deleteRenderbuffers, "glDeleteRenderbuffers");
    Load(egl.bindRenderbuffer, "glBindRenderbuffer");
    Load(egl.renderbufferStorage, "glRenderbufferStorage");
    Load(egl.framebufferRenderbuffer, "glFramebufferRenderbuffer");
    if (!egl.genFramebuffers || !egl.deleteFramebuffers || !egl.bindFramebuffer || !egl.checkFramebufferStatus
        || !egl.genRenderbuffers || !egl.deleteRenderbuffers || !egl.bindRenderbuffer || !egl.renderbufferStorage
        || !egl.framebufferRenderbuffer) {
        error = "the OpenGL driver has no framebuffer objects";
        return false;
    }

    egl.genRenderbuffers(1, &egl.colourBuffer);
    egl.bindRenderbuffer(GL_RENDERBUFFER, egl.colourBuffer);
    egl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    egl.genRenderbuffers(1, &egl.depthBuffer);
    egl.bindRenderbuffer(GL_RENDERBUFFER, egl.depthBuffer);
    egl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width_, height_);
    egl.bindRenderbuffer(GL_RENDERBUFFER, 0);

    egl.genFramebuffers(1, &egl.framebuffer);
    egl.bindFramebuffer(GL_FRAMEBUFFER, egl.framebuffer);
    egl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, egl.colourBuffer);
    egl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, egl.depthBuffer);
    // Too large a size shows up here, as an error from the storage calls or an
    // incomplete framebuffer.
    const bool storageFailed = glGetError() != GL_NO_ERROR;
    if (storageFailed || egl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error = "no " + std::to_string(width_) + " x " + std::to_string(height_) + " framebuffer object can be made";
        return false;
    }
    glViewport(0, 0, width_, height_);
    return true;
}

HeadlessGLContext::~HeadlessGLContext()
{
    Egl& egl = *egl_;
    if (egl.context == EGL_NO_CONTEXT)
        return;
    const KeepCurrent keep(egl.context);
    if (egl.framebuffer || egl.colourBuffer || egl.depthBuffer) {
        eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl.context);
        egl.deleteFramebuffers(1, &egl.framebuffer);
        egl.deleteRenderbuffers(1, &egl.colourBuffer);
        egl.deleteRenderbuffers(1, &egl.depthBuffer);
    }
    eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(egl.display, egl.context);
    // The display is not terminated: EGL shares one display per platform in a
    // process, and terminating it would pull it from under other contexts.
}

void HeadlessGLContext::MakeCurrent()
{
    if (!eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl_->context))
        ReportWindowsError("eglMakeCurrent");
    egl_->bindFramebuffer(GL_FRAMEBUFFER, egl_->framebuffer);
}

void HeadlessGLContext::ReleaseCurrent()
{
    eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

std::vector<std::uint8_t> HeadlessGLContext::ReadPixels()
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
    BeginGL();
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPopClientAttrib();
    EndGL();
    return pixels;
}

PlainImage HeadlessGLContext::ReadImage()
{
    const std::vector<std::uint8_t> pixels = ReadPixels();
    PlainImage image(width_, height_, 3);
    // OpenGL's first row is the bottom one, as PlainImage stores rows.
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* source = &pixels[static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) * 4];
        std::span<std::uint8_t> row = image.Row(y);
        for (int x = 0; x < width_; ++x) {
            row[static_cast<std::size_t>(x) * 3] = source[x * 4 + 2];
            row[static_cast<std::size_t>(x) * 3 + 1] = source[x * 4 + 1];
            row[static_cast<std::size_t>(x) * 3 + 2] = source[x * 4];
        }
    }
    return image;
}

} // namespace zelvane
