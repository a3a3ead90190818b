#include "view/COGLView.h"

#include "bake/SpriteBake.h"
#include "bake/SpriteRenderer.h"
#include "document/COGLDoc.h"
#include "interaction/CommandIds.h"
#include "report/ErrorLog.h"
#include "report/Reporter.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLScene.h"
#include "scene/SceneFrame.h"
#include "scene/ZoomPreset.h"
#include "scene/text/ViewFont.h"
#include "view/EditorSettings.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zelvane {

namespace {

constexpr float kInitialFieldOfView = 45.0f;
constexpr int kWheelUnitsPerNotch = 120;

int ReadIntegerSetting(const char* key, int fallback)
{
    const auto settings = OpenEditorSettings();
    return settings->value(QStringLiteral("Settings/") + QLatin1String(key), fallback).toInt();
}

// Mesa names its software rasterisers in the renderer string.
bool IsSoftwareRenderer(const char* renderer)
{
    if (!renderer)
        return true;
    const QString name = QString::fromLatin1(renderer).toLower();
    return name.contains(QLatin1String("llvmpipe")) || name.contains(QLatin1String("softpipe"))
        || name.contains(QLatin1String("swrast")) || name.contains(QLatin1String("software"));
}

Key KeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Shift: return Key::Shift;
    case Qt::Key_Control: return Key::Control;
    default: return Key::None;
    }
}

} // namespace

// --- Construction and settings ------------------------------------------------

COGLView::COGLView(COGLDoc& document, QWidget* parent)
    : QOpenGLWidget(parent), document_(document), showFrameTime_(ReadIntegerSetting("ShowFrameTime", 0) != 0),
      forceSoftware_(ReadIntegerSetting("ForceSWRender", 0) != 0),
      // A sensitivity below 1 would leave every tool without a step.
      sensitivity_(static_cast<float>(std::max(ReadIntegerSetting("MouseSensitivity", 1), 1))),
      tools_(viewport_, document, *this, sensitivity_)
{
    setFormat(SurfaceFormat());
    setObjectName(QStringLiteral("view"));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setMouseTracking(false);
    viewport_.SetCageSize(document_.Cage());
    documentConnection_ = document_.Changed().Connect([this](DocumentChanges changes) {
        if (changes & kViewOptionsChanged)
            viewport_.SetCageSize(document_.Cage());
        update();
    });
}

COGLView::~COGLView()
{
    blockSignals(true);
    documentConnection_.Disconnect();
    // The scene's objects and textures (and the history's) live in this context.
    if (context()) {
        makeCurrent();
        document_.CloseScene();
        doneCurrent();
    } else {
        document_.CloseScene();
    }
    if (&ActiveGLContext() == static_cast<IGLContext*>(this))
        SetActiveGLContext(nullptr);
    const auto settings = OpenEditorSettings();
    settings->setValue(QStringLiteral("Settings/ForceSWRender"), forceSoftware_ ? 1 : 0);
    settings->setValue(QStringLiteral("Settings/ShowFrameTime"), showFrameTime_ ? 1 : 0);
    settings->setValue(QStringLiteral("Settings/Grid"), viewport_.Grid() ? 1 : 0);
    settings->setValue(QStringLiteral("Settings/Cage"), viewport_.Cage() ? 1 : 0);
    settings->setValue(QStringLiteral("Settings/Axis"), viewport_.Axis() ? 1 : 0);
}

QSurfaceFormat COGLView::SurfaceFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return format;
}

void COGLView::ResetCamera()
{
    BeginGL();
    viewport_.Camera().SetPresetSims();
    viewport_.SetFieldOfView(kInitialFieldOfView);
    EndGL();
}

void COGLView::OnInitialUpdate()
{
    BeginGL();
    document_.NewScene();
    EndGL();
    ResetCamera();
    emit SceneReady();
}

// --- Commands ------------------------------------------------------------------

bool COGLView::ExecuteCommand(int commandId)
{
    switch (commandId) {
    case command::kPrint: Print(); return true;
    default: break;
    }
    const bool done = tools_.Execute(commandId);
    if (done)
        update();
    return done;
}

CommandState COGLView::StateOf(int commandId) const
{
    switch (commandId) {
    case command::kPrint:
    case command::kPrintPreview: return {document_.Scene() != nullptr, false};
    default: return tools_.State(commandId);
    }
}

// --- Capture and printing -----------------------------------------------------

bool COGLView::CaptureWindow()
{
    captured_ = PlainImage();
    COGLScene* scene = document_.Scene();
    if (!scene)
        return false;
    const bool grid = viewport_.Grid();
    const bool cage = viewport_.Cage();
    const bool axis = viewport_.Axis();
    viewport_.SetGrid(false);
    viewport_.SetCage(false);
    viewport_.SetAxis(false);
    scene->SetSelectedObject(nullptr);

    // Only what the screen shows of the window is the user's picture.
    if (visibleRegion() != QRegion(rect()))
        CurrentReporter().ShowMessage("Warning: Only the visible portion of the Scene will be printed or saved.",
                                      MessageIcon::Warning, MessageButtons::Ok);
    const QImage frame = grabFramebuffer().convertToFormat(QImage::Format_RGB888);

    viewport_.SetGrid(grid);
    viewport_.SetCage(cage);
    if (axis)
        viewport_.SetAxis(true);
    scene->SetSelectedObject(document_.SelectionTarget());
    update();

    if (frame.isNull() || frame.width() < 1 || frame.height() < 1)
        return false;
    // Our image keeps rows bottom first and colours as blue, green, red.
    PlainImage image(frame.width(), frame.height(), 3);
    for (int y = 0; y < frame.height(); ++y) {
        const uchar* from = frame.constScanLine(y);
        std::span<uint8_t> to = image.Row(y);
        for (int x = 0; x < frame.width(); ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    captured_ = std::move(image);
    return true;
}

void COGLView::PrintCaptured(QPrinter& printer) const
{
    if (captured_.IsNull())
        return;
    QImage image(captured_.Width(), captured_.Height(), QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        const std::span<const uint8_t> from = captured_.Row(y);
        uchar* to = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    // As large on paper as on the screen.
    const QScreen* shown = screen();
    const double screenX = shown ? shown->logicalDotsPerInchX() : 96.0;
    const double screenY = shown ? shown->logicalDotsPerInchY() : 96.0;
    const int width = static_cast<int>(std::lround(image.width() * printer.logicalDpiX() / screenX));
    const int height = static_cast<int>(std::lround(image.height() * printer.logicalDpiY() / screenY));
    QPainter painter(&printer);
    painter.drawImage(QRect(0, 0, width, height), image);
}

void COGLView::Print()
{
    if (!CaptureWindow())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() == QDialog::Accepted)
        PrintCaptured(printer);
    captured_ = PlainImage();
}

// --- Qt's OpenGL and event overrides -------------------------------------------------

void COGLView::initializeGL()
{
    SetActiveGLContext(this);
    accelerated_ = !IsSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    // The 10-point bitmap font's lists 1000-1254, before any other list is
    // made in the context. A font that is missing leaves them empty; only a
    // context that already holds those names refuses them, which is logged.
    if (std::string error; !BuildViewFontLists(error))
        LogDebug("The view's bitmap font was not built: " + error + "\n");
    if (!document_.Scene())
        OnInitialUpdate();
}

void COGLView::resizeGL(int width, int height)
{
    if (width < 1 || height < 1)
        return;
    tools_.Resize(width, height);
    const qreal ratio = devicePixelRatio();
    viewport_.SetRectangle(0, 0, static_cast<int>(std::lround(width * ratio)),
                           static_cast<int>(std::lround(height * ratio)));
}

void COGLView::paintGL()
{
    // Qt has made the context current for the paint; counting the paint as an open
    // bracket keeps a BeginGL/EndGL pair inside it from releasing the context.
    const CurrentByOthers paint(*this);
    COGLScene* scene = document_.Scene();
    if (!scene)
        return;
    if (tools_.PreviewAsBaked()) {
        const qreal ratio = devicePixelRatio();
        const CageSize& cage = document_.Cage();
        DrawBakedPreview(*scene, BakeableObjects(*scene), static_cast<int>(std::lround(width() * ratio)),
                         static_cast<int>(std::lround(height() * ratio)), 1.0, {0, 0, 0}, cage.width, cage.depth);
        return;
    }
    ApplyZoomPreset(document_.Zoom(), viewport_.Camera());
    DrawFrame(viewport_, *scene);
}

InputRecord COGLView::RecordOf(const QPointF& position, Qt::MouseButtons buttons,
                               Qt::KeyboardModifiers modifiers) const
{
    InputRecord input;
    input.x = static_cast<int>(std::floor(position.x()));
    input.y = static_cast<int>(std::floor(position.y()));
    input.buttons = ((buttons & Qt::LeftButton) ? kLeftButton : 0u) | ((buttons & Qt::RightButton) ? kRightButton : 0u);
    input.shift = (modifiers & Qt::ShiftModifier) != 0;
    input.control = (modifiers & Qt::ControlModifier) != 0;
    input.clientWidth = width();
    input.clientHeight = height();
    return input;
}

void COGLView::mousePressEvent(QMouseEvent* event)
{
    const InputRecord input = RecordOf(event->position(), event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton)
        tools_.LeftButtonDown(input);
    else if (event->button() == Qt::RightButton)
        tools_.RightButtonDown(input);
}

void COGLView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        tools_.ButtonUp(RecordOf(event->position(), event->buttons(), event->modifiers()));
}

void COGLView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const InputRecord input = RecordOf(event->position(), event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton)
        tools_.LeftDoubleClick(input);
    else if (event->button() == Qt::RightButton)
        tools_.RightButtonDown(input);
}

void COGLView::mouseMoveEvent(QMouseEvent* event)
{
    tools_.MouseMove(RecordOf(event->position(), event->buttons(), event->modifiers()));
}

void COGLView::wheelEvent(QWheelEvent* event)
{
    InputRecord input = RecordOf(event->position(), event->buttons(), event->modifiers());
    input.wheelNotches = static_cast<double>(event->angleDelta().y()) / kWheelUnitsPerNotch;
    tools_.Wheel(input);
    event->accept();
}

void COGLView::keyPressEvent(QKeyEvent* event)
{
    // Escape gives a drag up: everything back where it began, no step.
    if (event->key() == Qt::Key_Escape && tools_.IsDragging()) {
        tools_.CancelDrag();
        event->accept();
        return;
    }
    const Key key = KeyOf(event->key());
    if (key == Key::None) {
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    InputRecord input = RecordOf(mapFromGlobal(QCursor::pos()), Qt::NoButton, event->modifiers());
    input.key = key;
    tools_.KeyDown(input);
}

void COGLView::keyReleaseEvent(QKeyEvent* event)
{
    const Key key = KeyOf(event->key());
    if (key == Key::None) {
        QOpenGLWidget::keyReleaseEvent(event);
        return;
    }
    InputRecord input = RecordOf(mapFromGlobal(QCursor::pos()), Qt::NoButton, event->modifiers());
    input.key = key;
    tools_.KeyUp(input);
}

void COGLView::dragEnterEvent(QDragEnterEvent* event)
{
    // Only files the editor opens: scene files and every extension of every plug-in.
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [this](const QUrl& url) {
            return url.isLocalFile() && document_.OpensDroppedFile(QFile::encodeName(url.toLocalFile()).toStdString());
        }))
        event->acceptProposedAction();
}

void COGLView::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    event->acceptProposedAction();
    if (!paths.isEmpty())
        emit FilesDropped(paths);
}

void COGLView::MakeCurrent()
{
    makeCurrent();
    if (!context() || QOpenGLContext::currentContext() != context())
        ReportWindowsError("makeCurrent");
}

void COGLView::ReleaseCurrent()
{
    doneCurrent();
}

// --- The tools' window ------------------------------------------------------------------

void COGLView::CapturePointer()
{
    savedPointer_ = QCursor::pos();
    setCursor(Qt::BlankCursor);
    grabMouse();
}

void COGLView::ReturnPointer()
{
    QCursor::setPos(savedPointer_);
}

void COGLView::ReleasePointer()
{
    QCursor::setPos(savedPointer_);
    unsetCursor();
    releaseMouse();
}

PickResult COGLView::Pick(int x, int y)
{
    COGLScene* scene = document_.Scene();
    if (!scene)
        return {};
    // The viewport counts device pixels.
    const qreal ratio = devicePixelRatio();
    const PickResult hit = PickAt(viewport_, *scene, static_cast<int>(std::lround(x * ratio)),
                                  static_cast<int>(std::lround(y * ratio)));
    update();
    setFocus(Qt::MouseFocusReason);
    return hit;
}

void COGLView::Repaint()
{
    update();
}

} // namespace zelvane
