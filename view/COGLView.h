#pragma once
// The editor's single view: a window with its own OpenGL context, the
// viewport (with its camera) and the mouse tools. It draws the document's
// scene on every paint, turns mouse and key events into input records for
// the tools, and repaints whenever the document announces a change.
// Everything that makes display lists or textures borrows its context
// through BeginGL/EndGL.
//
// Sections: construction and settings; commands; capture and printing; Qt's
// OpenGL and event overrides; the tools' window.

#include "document/Signal.h"
#include "interaction/IToolHost.h"
#include "interaction/ToolController.h"
#include "objects/PlainImage.h"
#include "scene/COGLViewport3D.h"
#include "scene/NestedGLContext.h"

#include <QOpenGLWidget>
#include <QPoint>

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
    // "Grid", "Cage" and "Axis"; the document's scene goes with the context.
    ~COGLView() override;

    // The format every view asks for: desktop OpenGL 2.1 with the compatibility
    // profile, RGBA 8-8-8, depth 24, double buffered. Asking for 3.x would give a
    // core profile, where the fixed-function calls the scene makes all fail.
    static QSurfaceFormat SurfaceFormat();

    // --- Commands ------------------------------------------------------------
    // Runs a command of the view (tools, viewport, camera, editing, printing);
    // false when it is not one or may not run now.
    bool ExecuteCommand(int commandId);
    CommandState StateOf(int commandId) const;

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

    // --- State -------------------------------------------------------------------
    COGLDoc& Document() const { return document_; }
    COGLViewport3D& Viewport() { return viewport_; }
    ToolController& Tools() { return tools_; }
    const ToolController& Tools() const { return tools_; }
    bool IsAccelerated() const { return accelerated_; }
    bool ShowFrameTime() const { return showFrameTime_; }
    bool ForceSoftwareRendering() const { return forceSoftware_; }
    float MouseSensitivity() const { return sensitivity_; }

signals:
    // The view's context exists and the document has its scene.
    void SceneReady();
    // Files were dropped on the view, for the frame to open or import.
    void FilesDropped(const QStringList& paths);

protected:
    // A new scene with its defaults and the camera reset. Runs when the
    // window's context exists.
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

    InputRecord RecordOf(const QPointF& position, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;

    COGLDoc& document_;
    COGLViewport3D viewport_;
    bool showFrameTime_ = false;
    bool forceSoftware_ = false;
    float sensitivity_ = 1.0f;
    bool accelerated_ = false;
    PlainImage captured_;
    QPoint savedPointer_;
    ToolController tools_;
    Signal<unsigned>::Connection documentConnection_;
};

} // namespace zelvane
