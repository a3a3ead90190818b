#include "view/COGLView.h"

#include "document/AddObjectCommand.h"
#include "document/COGLDoc.h"
#include "document/MeshImport.h"
#include "interaction/CommandIds.h"
#include "report/ErrorLog.h"
#include "report/OpenFileDialog.h"
#include "report/ProgramFolders.h"
#include "report/Reporter.h"
#include "report/Version.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLMesh.h"
#include "scene/SceneFrame.h"
#include "scene/ZoomPreset.h"
#include "scene/text/ViewFont.h"
#include "view/EditorSettings.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
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

bool HasSceneExtension(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).suffix().compare(QLatin1String("cgs"), Qt::CaseInsensitive) == 0;
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
      tools_(viewport_, document.History(), *this, sensitivity_)
{
    setFormat(SurfaceFormat());
    setObjectName(QStringLiteral("view"));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setMouseTracking(false);
    // The scene follows whichever object file is the working one.
    document_.WorkingObject().SetFileObserver([this](CObjectFile* file) {
        if (scene_)
            scene_->SetObjectFile(file);
        emit ObjectFileChanged();
    });
}

COGLView::~COGLView()
{
    blockSignals(true);
    document_.WorkingObject().SetFileObserver(nullptr);
    // The history's commands point into the scene and may hold objects and
    // textures, which go in this context.
    if (context()) {
        makeCurrent();
        document_.History().Clear();
        tools_.SetScene(nullptr);
        scene_.reset();
        doneCurrent();
    } else {
        document_.History().Clear();
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
    // The history's commands point into the old scene.
    document_.History().Clear();
    tools_.SetScene(nullptr);
    scene_ = std::make_unique<COGLScene>();
    scene_->CreateDefaults();
    if (QWidget* frame = window(); frame && frame != this)
        frame->setWindowTitle(QStringLiteral("zelvane ") + QString::fromLatin1(kProgramVersion));
    EndGL();
    scene_->SetObjectFile(document_.WorkingObject().File());
    tools_.SetScene(scene_.get());
    tools_.SelectItem({});
    ResetCamera();
    plugins_.ScanPlugins();
    emit PluginsScanned();
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

CommandState COGLView::StateOf(int commandId)
{
    switch (commandId) {
    case command::kPrint:
    case command::kPrintPreview: return {scene_ != nullptr, false};
    default: return tools_.State(commandId);
    }
}

// --- Capture and printing -----------------------------------------------------

bool COGLView::CaptureWindow()
{
    captured_ = PlainImage();
    if (!scene_)
        return false;
    const bool grid = viewport_.Grid();
    const bool cage = viewport_.Cage();
    const bool axis = viewport_.Axis();
    viewport_.SetGrid(false);
    viewport_.SetCage(false);
    viewport_.SetAxis(false);
    scene_->SetSelectedObject(nullptr);

    // Only what the screen shows of the window is the user's picture.
    if (visibleRegion() != QRegion(rect()))
        CurrentReporter().ShowMessage("Warning: Only the visible portion of the Scene will be printed or saved.",
                                      MessageIcon::Warning, MessageButtons::Ok);
    const QImage frame = grabFramebuffer().convertToFormat(QImage::Format_RGB888);

    viewport_.SetGrid(grid);
    viewport_.SetCage(cage);
    if (axis)
        viewport_.SetAxis(true);
    if (tools_.Selection().object)
        scene_->SetSelectedObject(tools_.Selection().object);
    else if (tools_.Selection().light)
        scene_->SetSelectedObject(tools_.Selection().light->Marker());
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

// --- Files -------------------------------------------------------------------------

bool COGLView::OpenSceneFile(const std::string& path)
{
    if (!HasSceneExtension(path) || !scene_)
        return true;
    // Opening replaces the scene: changes made since it was saved are not
    // dropped without asking.
    if (document_.History().HasUnsavedChanges()
        && CurrentReporter().ShowMessage("The scene has changes that have not been saved. Open \"" + path +
                                             "\" all the same and lose them?",
                                         MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    // The history's steps and the selection point into the scene that goes.
    tools_.ClearForOpen();
    // Textures and text letters are made while the scene is read.
    BeginGL();
    const OpenDocumentOutcome outcome = document_.OpenDocumentFile(path, *scene_);
    EndGL();
    tools_.SelectItem({});
    update();
    emit CommandStatesChanged();
    if (outcome != OpenDocumentOutcome::Opened)
        return false;
    emit SceneFileOpened(QFile::decodeName(QByteArray::fromStdString(path)));
    return true;
}

bool COGLView::SaveSceneFile(const std::string& path)
{
    if (!scene_ || !document_.OnSaveDocument(path, *scene_))
        return false;
    document_.History().MarkSaved();
    return true;
}

bool COGLView::ImportFile(const std::string& path)
{
    const CPlugin* plugin = plugins_.FindForFile(path);
    if (!plugin) {
        CurrentReporter().ShowMessage("No plug-in imports this kind of file:\n" + path, MessageIcon::Warning,
                                      MessageButtons::Ok);
        return false;
    }
    return Import(*plugin, path);
}

bool COGLView::RunImportCommand(std::uint32_t commandId)
{
    const CPlugin* plugin = plugins_.FindByCommand(commandId);
    if (!plugin || !scene_)
        return false;
    OpenFileQuestion question;
    question.title = "Import";
    question.filter = plugin->FilterText();
    const std::optional<std::string> meshes = FindProgramFolder("Meshes");
    question.startFolder = meshes ? *meshes : StartFolder();
    const std::optional<std::string> path = CurrentOpenFileDialog().AskForFileToOpen(question);
    return path && Import(*plugin, *path);
}

bool COGLView::Import(const CPlugin& plugin, const std::string& path)
{
    if (!scene_)
        return false;
    BeginGL();
    std::unique_ptr<COGLMesh> mesh = ImportMesh(plugins_, plugin, path);
    const bool imported = mesh != nullptr;
    if (imported)
        document_.History().Push(std::make_unique<AddObjectCommand>("Import", *scene_, std::move(mesh)));
    EndGL();
    update();
    emit CommandStatesChanged();
    return imported;
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
    if (!scene_)
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
    if (!scene_)
        return;
    ApplyZoomPreset(tools_.CurrentZoomPreset(), viewport_.Camera());
    DrawFrame(viewport_, *scene_);
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
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void COGLView::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        const std::string path = QFile::encodeName(url.toLocalFile()).toStdString();
        if (HasSceneExtension(path))
            OpenSceneFile(path);
        else
            ImportFile(path);
    }
    event->acceptProposedAction();
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
    // The viewport counts device pixels.
    const qreal ratio = devicePixelRatio();
    const PickResult hit = PickAt(viewport_, *scene_, static_cast<int>(std::lround(x * ratio)),
                                  static_cast<int>(std::lround(y * ratio)));
    update();
    setFocus(Qt::MouseFocusReason);
    return hit;
}

void COGLView::Repaint()
{
    update();
}

void COGLView::ShowReadout(const std::string& text)
{
    emit ReadoutChanged(QString::fromStdString(text));
}

void COGLView::StateChanged()
{
    emit CommandStatesChanged();
}

void COGLView::ShowObjectInfo(const COGLObject* object)
{
    emit ObjectInfoChanged(object);
}

} // namespace zelvane
