#pragma once
// The editor's single view: a window with its own OpenGL context, which owns
// the scene, the viewport (with its camera) and the plug-in manager, draws the
// scene on every paint, and turns mouse and key events into input records for
// the tools. Everything that makes display lists or textures borrows its
// context through BeginGL/EndGL.
//
// Sections: construction and settings; commands; capture and printing; files;
// Qt's OpenGL and event overrides; the tools' window.

#include "interaction/IToolHost.h"
#include "interaction/ToolController.h"
#include "objects/PlainImage.h"
#include "plugins/host/CPluginManager.h"
#include "scene/COGLScene.h"
#include "scene/COGLViewport3D.h"
#include "scene/NestedGLContext.h"

#include <QOpenGLWidget>
#include <QPoint>

#include <cstdint>

#include <memory>
#include <string>

class QPrinter;

namespace zelvane {

class COGLDoc;

class COGLView : public QOpenGLWidget, public NestedGLContext, private IToolHost {
    Q_OBJECT

public:
    // Reads "ForceSWRender", "ShowFrameTime" and "MouseSensitivity".
    explicit COGLView(COGLDoc& document, QWidget* parent = nullptr);
    // Writes "ForceSWRender" and "ShowFrameTime" back, and the viewport's
    // "Grid", "Cage" and "Axis".
    ~COGLView() override;

    // The format every view asks for: desktop OpenGL 2.1 with the compatibility
    // profile, RGBA 8-8-8, depth 24, double buffered. Asking for 3.x would give a
    // core profile, where the fixed-function calls the scene makes all fail.
    static QSurfaceFormat SurfaceFormat();

    // --- Commands ------------------------------------------------------------
    // Runs a command of the view (tools, viewport, camera, editing, printing);
    // false when it is not one or may not run now.
    bool ExecuteCommand(int commandId);
    CommandState StateOf(int commandId);

    // Applies "The Sims" camera preset with a field of view of 45 degrees.
    void ResetCamera();

    // --- Capture and printing -------------------------------------------------
    // Draws the scene without grid, cage, axis marker and highlight and keeps
    // the picture (CapturedImage). Says so when part of the window is hidden.
    // False when nothing could be read.
    bool CaptureWindow();
    // The last capture: 24-bit rows, bottom row first; null before one.
    const PlainImage& CapturedImage() const { return captured_; }
    // The capture on a printer's page, scaled from the screen's resolution to
    // the printer's. The main frame's print preview draws it too.
    void PrintCaptured(QPrinter& printer) const;
    void Print();

    // --- Files -----------------------------------------------------------------
    // A ".cgs" file (any case) opens as a scene, the scene cleared first
    // without asking and the history forgotten, and the object file beside it
    // becomes the working object file; SceneFileOpened tells who keeps the
    // recent files. Any other path changes nothing and counts as done. When
    // the scene has changes that were not saved, the user is asked first.
    // False when the scene file was not opened (the user said no, or was
    // told why).
    bool OpenSceneFile(const std::string& path);
    // Saves the scene as `path`, the working object file beside it; the
    // scene's changes count as saved. False when the scene file was not saved
    // (the user was told why).
    bool SaveSceneFile(const std::string& path);
    // Imports a mesh file with the plug-in that takes its extension; false
    // (the user told why) when none does or the import fails.
    bool ImportFile(const std::string& path);
    // The Import menu's command of a plug-in: asks for a file in "Meshes"
    // with the plug-in's filter and imports it. False when cancelled or
    // nothing was imported.
    bool RunImportCommand(std::uint32_t commandId);

    // --- State -------------------------------------------------------------------
    COGLScene* Scene() const { return scene_.get(); }
    COGLViewport3D& Viewport() { return viewport_; }
    ToolController& Tools() { return tools_; }
    CPluginManager& Plugins() { return plugins_; }
    bool IsAccelerated() const { return accelerated_; }
    bool ShowFrameTime() const { return showFrameTime_; }
    bool ForceSoftwareRendering() const { return forceSoftware_; }
    float MouseSensitivity() const { return sensitivity_; }

signals:
    // The tool, the selection or what the commands may do has changed.
    void CommandStatesChanged();
    void ReadoutChanged(const QString& text);
    // The mesh information panel's object (null: empty it).
    void ObjectInfoChanged(const zelvane::COGLObject* object);
    // The plug-ins were scanned: the Import menu can be filled.
    void PluginsScanned();
    // A scene file was opened completely.
    void SceneFileOpened(const QString& path);
    // Another working object file is current (a clone, a scene's file).
    void ObjectFileChanged();

protected:
    // A new scene with its defaults, the camera reset, the plug-ins scanned
    // once per run. Runs when the window's context exists.
    void OnInitialUpdate();

    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    // BeginGL/EndGL (nestable, NestedGLContext) come here. Only valid once the
    // window has been shown (Qt creates the context then); a context that
    // cannot be made current ends the program through `ReportWindowsError`.
    void MakeCurrent() override;
    void ReleaseCurrent() override;

private:
    // The tools' window.
    void CapturePointer() override;
    void ReturnPointer() override;
    void ReleasePointer() override;
    PickResult Pick(int x, int y) override;
    void Repaint() override;
    void ShowReadout(const std::string& text) override;
    void StateChanged() override;
    void ShowObjectInfo(const COGLObject* object) override;

    // Adds an imported mesh to the scene as an undo step and selects nothing.
    bool Import(const CPlugin& plugin, const std::string& path);

    InputRecord RecordOf(const QPointF& position, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;

    COGLDoc& document_;
    std::unique_ptr<COGLScene> scene_;
    COGLViewport3D viewport_;
    CPluginManager plugins_;
    bool showFrameTime_ = false;
    bool forceSoftware_ = false;
    float sensitivity_ = 1.0f;
    bool accelerated_ = false;
    PlainImage captured_;
    QPoint savedPointer_;
    ToolController tools_;
};

} // namespace zelvane
