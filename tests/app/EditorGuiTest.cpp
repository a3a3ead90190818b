// The editor at work on a real display, driven by real mouse and key events:
// picking, the object tools' drags, the camera tools with their readouts,
// arrow keys, Copy and Delete, the fall back to Select, Clear the Scene, undo
// and redo of each, and pictures of every camera preset and display mode.
//
// With ZELVANE_SCREENSHOTS=<folder> set, the pictures are saved there.

#include "app/CMainFrame.h"
#include "app/QtReporter.h"
#include "document/COGLDoc.h"
#include "scene/COGLScene.h"
#include "interaction/CommandIds.h"
#include "interaction/ToolDrag.h"
#include "scene/COGLBox.h"
#include "scene/COGLSphere.h"
#include "tests/app/GuiTestSupport.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/ScopedEnvironment.h"
#include "view/COGLView.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace zelvane {

class EditorGuiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        env_.Set("ZELVANE_LOG_DIR", QFile::encodeName(folder_.path()).toStdString());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.filePath(QStringLiteral("config")));
        SetReporter(&reporter_);
    }

    void cleanupTestCase() { SetReporter(nullptr); }

    void init()
    {
        document_ = std::make_unique<COGLDoc>(std::nullopt, std::vector<std::string>{});
        frame_ = std::make_unique<CMainFrame>(*document_);
        frame_->resize(900, 700);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        view_ = frame_->View();
        view_->grabFramebuffer(); // the context, and with it the scene
        QVERIFY(document_->Scene());
        view_->BeginGL();
        box_ = &document_->Scene()->AddObject(std::make_unique<COGLBox>());
        view_->EndGL();
        box_->SetPosition(0.0f, 0.0f, 0.0f);
        box_->SetScale(1.0f, 1.0f, 1.0f);
        Trigger(command::kCameraFrontButton);
        view_->grabFramebuffer(); // the camera's screen axes follow the preset
        view_->setFocus();
    }

    void cleanup()
    {
        frame_.reset();
        document_.reset();
    }

    void aClickSelectsAndDragsMoveTheSelectedObject()
    {
        QCOMPARE(ToolPane(), QStringLiteral("Select"));
        QVERIFY(!frame_->Action(command::kMove)->isEnabled());
        const QPoint at = Shown({0.0f, 0.0f, 0.0f});
        QTest::mouseClick(view_, Qt::LeftButton, {}, at);
        QCOMPARE(document_->Scene()->SelectedObject(), box_);
        QVERIFY(frame_->Action(command::kMove)->isEnabled());

        QTest::keyClick(frame_.get(), Qt::Key_M, Qt::AltModifier);
        QCOMPARE(ToolPane(), QStringLiteral("Move"));
        QVERIFY(frame_->Action(command::kMove)->isChecked());
        const float u = Unit();
        Drag(at, {at + QPoint(5, -5)});
        // From the front: right and up, in the plane of the screen.
        QVERIFY(test::Near(box_->Position(), Vector3(5 * u, 5 * u, 0.0f)));
        QCOMPARE(Readout(), QString::asprintf("X %3.3f, Y %3.3f, Z 0.000", 5.0 * u, 5.0 * u));
        Drag(at, {at + QPoint(6, 5)}); // the larger movement wins
        QVERIFY(test::Near(box_->Position(), Vector3(11 * u, 5 * u, 0.0f)));

        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(test::Near(box_->Position(), Vector3(5 * u, 5 * u, 0.0f)));
        QCOMPARE(frame_->Action(command::kRedo)->text(), QStringLiteral("&Redo Move"));
        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(test::Near(box_->Position(), Vector3(0.0f, 0.0f, 0.0f)));
        QTest::keyClick(view_, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(test::Near(box_->Position(), Vector3(5 * u, 5 * u, 0.0f)));

        // A click on nothing selects nothing, and Move hands over to Select.
        QTest::keyClick(frame_.get(), Qt::Key_S, Qt::AltModifier); // Scale first: any object tool
        QTest::mouseDClick(view_, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(document_->Selection().IsEmpty());
        QCOMPARE(ToolPane(), QStringLiteral("Select"));
    }

    void theObjectFollowsTheHandInEveryPreset()
    {
        const QDir folder(QFile::decodeName(qgetenv("ZELVANE_SCREENSHOTS")));
        const std::pair<int, bool> presets[] = {
            {command::kCameraSimsButton, true},   {command::kCameraTopButton, true},
            {command::kCameraFrontButton, false}, {command::kCameraLeftButton, false},
            {command::kCameraRightButton, false},
        };
        for (const auto& [preset, looksDown] : presets) {
            Trigger(preset);
            view_->grabFramebuffer();
            box_->SetPosition(0.0f, 0.0f, 0.0f);
            SelectBox();
            QTest::keyClick(frame_.get(), Qt::Key_M, Qt::AltModifier);
            const QPoint before = Shown(box_->Position());
            const double depthBefore = Depth(box_->Position());
            // 20 right, then 15 up, in the steps a hand makes.
            QTest::mousePress(view_, Qt::LeftButton, {}, before);
            QPoint at = before;
            for (const QPoint step : {QPoint(7, 0), QPoint(7, 0), QPoint(6, 0), QPoint(0, -8), QPoint(0, -7)}) {
                at += step;
                QTest::mouseMove(view_, at);
            }
            QTest::mouseRelease(view_, Qt::LeftButton, {}, at);
            const QPoint after = Shown(box_->Position());
            const QString name = QString::number(preset);
            QVERIFY2(std::abs(after.x() - (before.x() + 20)) <= 1, qPrintable(name));
            QVERIFY2(std::abs(after.y() - (before.y() - 15)) <= 1, qPrintable(name));
            if (looksDown) {
                // Along the floor: up the screen is away from the viewer.
                QVERIFY2(std::fabs(box_->Position().y) < 1e-5f, qPrintable(name));
                if (preset == command::kCameraSimsButton)
                    QVERIFY(Depth(box_->Position()) > depthBefore + 0.5);
            } else {
                QVERIFY2(box_->Position().y > 0.0f, qPrintable(name));
            }
            if (!folder.path().isEmpty() && folder.path() != QStringLiteral("."))
                QVERIFY(frame_->grab().save(folder.filePath(QStringLiteral("moved-%1.png").arg(name))));
        }
        QCOMPARE(document_->History().Count(), std::size_t{5});
    }

    void escapeGivesADragUpAndControlSnaps()
    {
        Trigger(command::kCameraSimsButton);
        view_->grabFramebuffer();
        box_->SetPosition(0.03f, 0.0f, -0.01f);
        SelectBox();
        QTest::keyClick(frame_.get(), Qt::Key_M, Qt::AltModifier);
        const QPoint at = Shown(box_->Position());
        QTest::mousePress(view_, Qt::LeftButton, {}, at);
        QTest::mouseMove(view_, at + QPoint(9, 0));
        QTest::mouseMove(view_, at + QPoint(9, -9));
        QVERIFY(!test::Near(box_->Position(), Vector3(0.03f, 0.0f, -0.01f)));
        QTest::keyClick(view_, Qt::Key_Escape);
        QVERIFY(test::Near(box_->Position(), Vector3(0.03f, 0.0f, -0.01f)));
        QVERIFY(!view_->Tools().IsDragging());
        QTest::mouseRelease(view_, Qt::LeftButton, {}, at + QPoint(9, -9));
        QCOMPARE(document_->History().Count(), std::size_t{0});
        QVERIFY(!frame_->Action(command::kUndo)->isEnabled());

        // Held Ctrl puts what the drag moves on the 1/16 grid.
        QTest::mousePress(view_, Qt::LeftButton, {}, at);
        for (int x = 4; x <= 32; x += 4) {
            QTest::mouseMove(view_, at + QPoint(x, 0));
            QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(x, -1)), view_->mapToGlobal(QPointF(at + QPoint(x, -1))),
                             Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
            QApplication::sendEvent(view_, &move);
            const Vector3& p = box_->Position();
            QCOMPARE(std::round(p.x * 16.0f), p.x * 16.0f);
            QCOMPARE(std::round(p.z * 16.0f), p.z * 16.0f);
            QCOMPARE(p.y, 0.0f);
        }
        QTest::mouseRelease(view_, Qt::LeftButton, {}, at + QPoint(32, -1));
        QCOMPARE(document_->History().Count(), std::size_t{1});
    }

    void theWheelZoomsToItsBoundsWithoutAnOpenGLError()
    {
        const COGLCamera3D& camera = view_->Viewport().Camera();
        const QPoint at(300, 300);
        const auto turn = [&](int notches) {
            for (int i = 0; i < std::abs(notches); ++i) {
                QWheelEvent wheel(QPointF(at), view_->mapToGlobal(QPointF(at)), {}, QPoint(0, notches > 0 ? 120 : -120),
                                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(view_, &wheel);
                view_->grabFramebuffer();
            }
        };
        const float start = camera.Distance();
        turn(1);
        QCOMPARE(camera.Distance(), start / kWheelNotchZoom);
        turn(-1);
        QVERIFY(std::fabs(camera.Distance() - start) < 1e-5f);
        turn(40);
        QCOMPARE(camera.Distance(), COGLCamera3D::kNearestDistance);
        QCOMPARE(Readout(), QStringLiteral("Zoom 1600.000"));
        turn(-60);
        QCOMPARE(camera.Distance(), COGLCamera3D::kFarthestDistance);
        // Every frame drew without an OpenGL error.
        for (const char* name : {"log.txt", "errors.txt"}) {
            QFile log(folder_.filePath(QString::fromLatin1(name)));
            if (log.open(QIODevice::ReadOnly)) {
                const QByteArray text = log.readAll();
                QVERIFY2(!text.contains("invalid value") && !text.contains("After OnDraw"), text.constData());
            }
        }
    }

    void rotateInFiveStepsAndScale()
    {
        SelectBox();
        QTest::keyClick(frame_.get(), Qt::Key_R, Qt::AltModifier);
        QCOMPARE(ToolPane(), QStringLiteral("Rotate"));
        const QPoint at(200, 300);
        QTest::mousePress(view_, Qt::LeftButton, {}, at);
        for (int step = 1; step <= 5; ++step)
            QTest::mouseMove(view_, at + QPoint(8 * step, 0));
        QCOMPARE(Readout(), QStringLiteral("Angle  40"));
        QTest::mouseRelease(view_, Qt::LeftButton, {}, at + QPoint(40, 0));
        const Quaternion turned = box_->Orientation();
        QVERIFY(std::fabs(std::fabs(turned.w) - std::cos(20.0f * 3.14159265f / 180.0f)) < 1e-4f);
        QVERIFY(std::fabs(turned.x) < 1e-5f && std::fabs(turned.z) < 1e-5f); // about the vertical
        QVERIFY(frame_->Action(command::kEffectY)->isChecked());

        // Effect X: one rotation axis at a time.
        QTest::keyClick(view_, Qt::Key_X);
        QVERIFY(frame_->Action(command::kEffectX)->isChecked());
        QVERIFY(!frame_->Action(command::kEffectY)->isChecked());

        QTest::keyClick(frame_.get(), Qt::Key_S, Qt::AltModifier);
        Drag(at, {at + QPoint(10, 0)});
        const float factor = 10.0f / static_cast<float>(view_->width()) + 1.0f;
        QVERIFY(test::Near(box_->Scale(), Vector3(factor, factor, factor)));
        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(test::Near(box_->Scale(), Vector3(1.0f, 1.0f, 1.0f)));
        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(box_->Orientation() == Quaternion());
    }

    void panOrbitAndZoomTheCameraWithTheirReadouts()
    {
        const COGLCamera3D& camera = view_->Viewport().Camera();
        const QPoint at(300, 300);
        QTest::keyClick(frame_.get(), Qt::Key_P, Qt::AltModifier);
        Drag(at, {at + QPoint(10, 0)});
        QCOMPARE(Readout(), QString::asprintf("X %3.3f, Y -1.500, Z 0.000", 10.0 * Unit()));
        QTest::keyClick(frame_.get(), Qt::Key_O, Qt::AltModifier);
        Drag(at, {at + QPoint(10, 0)});
        QCOMPARE(Readout(), QStringLiteral("A 358.000, E 0.000, T 0.000"));
        QVERIFY(!frame_->Action(command::kCameraFrontButton)->isChecked());
        QTest::keyClick(frame_.get(), Qt::Key_Z, Qt::AltModifier);
        Drag(at, {at + QPoint(-10, 0)});
        const float zoomed = 7.25f * std::pow(kZoomPerPixel, 10.0f);
        QVERIFY(std::fabs(camera.Distance() - zoomed) < 1e-4f);
        QCOMPARE(Readout(), QString::asprintf("Zoom %3.3f", static_cast<double>(camera.GetZoomPercent())));

        // The wheel zooms in steps whatever the tool.
        QTest::keyClick(frame_.get(), Qt::Key_P, Qt::AltModifier);
        QWheelEvent wheel(QPointF(at), view_->mapToGlobal(QPointF(at)), {}, QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view_, &wheel);
        QVERIFY(std::fabs(camera.Distance() - zoomed / kWheelNotchZoom) < 1e-4f);
        QVERIFY(Readout().startsWith(QStringLiteral("Zoom ")));
        QCOMPARE(ToolPane(), QStringLiteral("Pan"));
        QCOMPARE(document_->History().Count(), std::size_t{0});
    }

    void arrowKeysStepWithShiftAndControl()
    {
        SelectBox();
        QTest::keyClick(frame_.get(), Qt::Key_M, Qt::AltModifier);
        QTest::keyClick(view_, Qt::Key_Right);
        QTest::keyClick(view_, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(view_, Qt::Key_Up, Qt::ControlModifier);
        // From the front the right button's up is away from the viewer.
        const float u = Unit();
        QVERIFY(test::Near(box_->Position(), Vector3(11 * u, 0.0f, -u)));
        QCOMPARE(document_->History().Count(), std::size_t{3});
        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(test::Near(box_->Position(), Vector3(11 * u, 0.0f, 0.0f)));
        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(test::Near(box_->Position(), Vector3(0.0f, 0.0f, 0.0f)));
    }

    void copyAndDeleteWithTheFallBackToSelect()
    {
        SelectBox();
        QTest::keyClick(view_, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(document_->Scene()->Objects().size(), std::size_t{2});
        COGLObject* copy = document_->Scene()->Objects().back().get();
        QCOMPARE(document_->Scene()->SelectedObject(), copy);

        QTest::keyClick(frame_.get(), Qt::Key_M, Qt::AltModifier);
        QTest::keyClick(view_, Qt::Key_Delete);
        QCOMPARE(document_->Scene()->Objects().size(), std::size_t{1});
        QCOMPARE(ToolPane(), QStringLiteral("Select"));
        QVERIFY(frame_->Action(command::kSelect)->isChecked());
        QVERIFY(!frame_->Action(command::kDelete)->isEnabled());

        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document_->Scene()->Objects().back().get(), copy);
        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document_->Scene()->Objects().size(), std::size_t{1});
        QTest::keyClick(view_, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(document_->Scene()->Objects().size(), std::size_t{2});
    }

    void clearTheSceneAnsweredNoThenYes()
    {
        QtReporter boxes;
        SetReporter(&boxes);
        QString asked;
        test::AnswerNextMessageBox(QMessageBox::No, &asked);
        frame_->Action(command::kClearScene)->trigger();
        QCOMPARE(asked, QStringLiteral("Clear the Scene?"));
        QCOMPARE(document_->Scene()->Objects().size(), std::size_t{1});

        test::AnswerNextMessageBox(QMessageBox::Yes);
        frame_->Action(command::kClearScene)->trigger();
        QVERIFY(document_->Scene()->Objects().empty());
        SetReporter(&reporter_);
        QCOMPARE(frame_->Action(command::kUndo)->text(), QStringLiteral("&Undo Clear the Scene"));
        QTest::keyClick(view_, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document_->Scene()->Objects().size(), std::size_t{1});
        QTest::keyClick(view_, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(document_->Scene()->Objects().empty());
    }

    void captureLeavesOutTheOverlaysAndTheHighlightAndPrints()
    {
        SelectBox();
        const auto redPixels = [](const QImage& picture) {
            int red = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x) {
                    const QColor c = picture.pixelColor(x, y);
                    red += c.red() > 200 && c.green() < 60 && c.blue() < 60 ? 1 : 0;
                }
            return red;
        };
        QVERIFY(redPixels(view_->grabFramebuffer()) > 0); // the selected box's cage

        QVERIFY(view_->CaptureWindow());
        const PlainImage& captured = view_->CapturedImage();
        QCOMPARE(captured.Width(), qRound(view_->width() * view_->devicePixelRatio()));
        QCOMPARE(captured.Height(), qRound(view_->height() * view_->devicePixelRatio()));
        QCOMPARE(captured.BytesPerPixel(), 3);
        QImage asShown(captured.Width(), captured.Height(), QImage::Format_RGB888);
        for (int y = 0; y < captured.Height(); ++y)
            for (int x = 0; x < captured.Width(); ++x) {
                const Rgb c = captured.PixelColour(x, y);
                asShown.setPixelColor(x, y, QColor(c.red, c.green, c.blue));
            }
        QCOMPARE(redPixels(asShown), 0);
        // The top-left corner is background, as the window shows it.
        QCOMPARE(asShown.pixelColor(2, 2), view_->grabFramebuffer().pixelColor(2, 2));
        QVERIFY(view_->Viewport().Grid());
        QVERIFY(view_->Viewport().Axis());
        QCOMPARE(document_->Scene()->SelectedObject(), box_);

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = folder_.filePath(QStringLiteral("scene.pdf"));
        printer.setOutputFileName(pdf);
        view_->PrintCaptured(printer);
        QVERIFY(QFileInfo(pdf).size() > 1000);
    }

    void picturesOfEveryPresetAndDisplayMode()
    {
        view_->BeginGL();
        COGLObject& sphere = document_->Scene()->AddObject(std::make_unique<COGLSphere>());
        view_->EndGL();
        sphere.SetPosition(2.0f, 0.5f, 1.5f);
        box_->SetPosition(-1.0f, 0.5f, 0.0f);
        SelectBox();
        const QDir folder(QFile::decodeName(qgetenv("ZELVANE_SCREENSHOTS")));
        const std::pair<int, const char*> presets[] = {
            {command::kCameraSimsButton, "sims"},   {command::kCameraTopButton, "top"},
            {command::kCameraFrontButton, "front"}, {command::kCameraLeftButton, "left"},
            {command::kCameraRightButton, "right"},
        };
        for (const auto& [mode, modeName] : {std::pair{command::kWireframe, "wireframe"},
                                             std::pair{command::kShaded, "shaded"}}) {
            Trigger(mode);
            for (const auto& [preset, presetName] : presets) {
                Trigger(preset);
                QVERIFY(frame_->Action(preset)->isChecked());
                const QImage picture = view_->grabFramebuffer();
                // The scene is there: far more than the background's one colour.
                QSet<QRgb> colours;
                // Every pixel: thin lines fall between any coarser sampling.
                for (int y = 0; y < picture.height(); ++y)
                    for (int x = 0; x < picture.width(); ++x)
                        colours.insert(picture.pixel(x, y));
                // Kept before the check, so that a failure can be looked at.
                if (!folder.path().isEmpty() && folder.path() != QStringLiteral("."))
                    QVERIFY(frame_->grab().save(
                        folder.filePath(QStringLiteral("%1-%2.png").arg(QLatin1String(modeName), QLatin1String(presetName)))));
                QVERIFY2(colours.size() > 3, presetName);
            }
        }
        QVERIFY2(!frame_->Action(command::kGrid)->isEnabled(), "grid only in wireframe");

        // The editor at work: the box being moved in the game's view.
        Trigger(command::kCameraSimsButton);
        view_->grabFramebuffer();
        QTest::keyClick(frame_.get(), Qt::Key_M, Qt::AltModifier);
        const QPoint at = Shown(box_->Position());
        QTest::mousePress(view_, Qt::LeftButton, {}, at);
        QTest::mouseMove(view_, at + QPoint(10, 0));
        QVERIFY(Readout().startsWith(QStringLiteral("X ")));
        if (!folder.path().isEmpty() && folder.path() != QStringLiteral("."))
            QVERIFY(frame_->grab().save(folder.filePath(QStringLiteral("editor-at-work.png"))));
        QTest::mouseRelease(view_, Qt::LeftButton, {}, at + QPoint(10, 0));
    }

private:
    void Trigger(int id) { frame_->Action(id)->trigger(); }
    QString ToolPane() const { return frame_->ToolPaneText(); }
    QString Readout() const { return frame_->ReadoutPaneText(); }
    QPoint Shown(const Vector3& world) const
    {
        return test::WhereShown(view_->Viewport(), world, view_->devicePixelRatio());
    }
    // Larger is farther from the viewer.
    double Depth(const Vector3& world) const
    {
        return -view_->Viewport().Camera().ViewMatrix().TransformPoint(world).z;
    }
    // Scene units per pixel of the view (what a Move or Pan step goes).
    float Unit() const
    {
        const COGLViewport3D& viewport = view_->Viewport();
        const OrthoVolume v = OrthoVolume::Of(viewport.Width(), viewport.Height(), viewport.Camera().Distance(), false);
        return static_cast<float>((v.top - v.bottom) / view_->height());
    }
    void SelectBox()
    {
        QTest::mouseClick(view_, Qt::LeftButton, {}, Shown({0.0f, 0.0f, 0.0f}));
        QCOMPARE(document_->Scene()->SelectedObject(), box_);
    }
    void Drag(QPoint from, std::initializer_list<QPoint> through)
    {
        QTest::mousePress(view_, Qt::LeftButton, {}, from);
        QPoint last = from;
        for (const QPoint& point : through) {
            QTest::mouseMove(view_, point);
            last = point;
        }
        QTest::mouseRelease(view_, Qt::LeftButton, {}, last);
    }

    QTemporaryDir folder_;
    test::ScopedEnvironment env_;
    RecordingReporter reporter_;
    std::unique_ptr<COGLDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    COGLView* view_ = nullptr;
    COGLObject* box_ = nullptr;
};

} // namespace zelvane

QTEST_MAIN(zelvane::EditorGuiTest)
#include "EditorGuiTest.moc"
