// The object bar and the dialogs against the real editor window on a real
// display: the bar docked beside the view acts on the view's cage, zoom and
// selection, its steps undo through the Edit menu, a base object chosen in
// "Select Base Object" becomes the scene's object file, and the About box
// reports the view's OpenGL.
//
// With ZELVANE_SCREENSHOT_DIR=<folder> set, the window is saved there.

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CSelectBaseObjectDlg.h"
#include "document/COGLDoc.h"
#include "scene/COGLScene.h"
#include "interaction/CommandIds.h"
#include "scene/COGLBox.h"
#include "scene/OpenGLInfo.h"
#include "tests/app/GuiTestSupport.h"
#include "tests/document/SampleGameFolder.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"
#include "tests/view/WidgetTestSupport.h"
#include "view/CMeshPanel.h"
#include "view/CObjectBar.h"
#include "view/CObjectPanel.h"
#include "view/COGLView.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>

namespace zelvane {

class ObjectBarOnViewTest : public QObject {
    Q_OBJECT

    template <typename Widget>
    Widget& Find(QWidget& parent, const char* name)
    {
        auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no widget %s", name);
        return *widget;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(settings_.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
        SetReporter(&reporter_);
    }
    void cleanupTestCase() { SetReporter(nullptr); }

    void init()
    {
        document_ = std::make_unique<COGLDoc>(test::SampleGameFolder(), std::vector<std::string>{},
                                              work_.File("zeltemp.iff"));
        document_->OnNewDocument();
        frame_ = std::make_unique<CMainFrame>(*document_);
        view_ = frame_->View();
        bar_ = &frame_->ObjectBar();
        frame_->resize(1100, 720);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        view_->grabFramebuffer(); // the context, and with it the scene
        QVERIFY(document_->Scene());
    }

    void cleanup()
    {
        frame_.reset();
        document_.reset();
    }

    void cageAndZoomReachTheViewAndUndoThroughTheEditMenu()
    {
        auto& height = Find<QSpinBox>(*bar_, "cageHeight");
        height.setFocus();
        QTest::keyClick(&height, Qt::Key_Up);
        QCOMPARE(view_->Viewport().CageDimensions().height, 2);
        test::ClickIndicator(Find<QRadioButton>(*bar_, "zoomFar"));
        QCOMPARE(document_->Zoom(), ZoomPreset::Far);
        view_->grabFramebuffer();
        QCOMPARE(view_->Viewport().Camera().Distance(), 14.5f);

        frame_->UpdateCommandStates();
        QAction* undo = frame_->Action(command::kUndo);
        QVERIFY(undo->isEnabled());
        QVERIFY2(undo->text().contains(QStringLiteral("Zoom Preset")), qPrintable(undo->text()));
        undo->trigger();
        QCOMPARE(document_->Zoom(), ZoomPreset::Medium);
        QVERIFY(Find<QRadioButton>(*bar_, "zoomMedium").isChecked());
        undo->trigger();
        QCOMPARE(view_->Viewport().CageDimensions().height, 1);
        QCOMPARE(height.value(), 1);
        frame_->Action(command::kRedo)->trigger();
        QCOMPARE(height.value(), 2);
    }

    void aPickFillsTheMeshPanelAndSelectBaseObjectFillsTheObjectPanel()
    {
        view_->BeginGL();
        COGLObject& box = document_->Scene()->AddObject(std::make_unique<COGLBox>());
        view_->EndGL();
        frame_->Action(command::kCameraFrontButton)->trigger();
        view_->grabFramebuffer();
        QTest::mouseClick(view_, Qt::LeftButton, {},
                          test::WhereShown(view_->Viewport(), {0, 0, 0}, view_->devicePixelRatio()));
        QCOMPARE(document_->Scene()->SelectedObject(), &box);
        QCOMPARE(bar_->MeshPanel().Model().PanelObject(), &box);
        QVERIFY(Find<QWidget>(*bar_, "useTexture").isEnabled());

        // Set Base Object: the 2 x 2 table becomes the scene's object file.
        CSelectBaseObjectDlg choose(document_->Catalog(), document_->WorkingObject(), frame_.get());
        choose.show();
        QVERIFY(QTest::qWaitForWindowExposed(&choose));
        QTest::keyClicks(&Find<QLineEdit>(choose, "filter"), QStringLiteral("farmhouse"));
        QTest::mouseClick(&Find<QPushButton>(choose, "ok"), Qt::LeftButton);
        QCOMPARE(choose.result(), static_cast<int>(QDialog::Accepted));
        bar_->ObjectPanel().Refresh();
        QCOMPARE(document_->Scene()->ObjectFile(), document_->WorkingObject().File());
        QCOMPARE(Find<QLineEdit>(*bar_, "catalogName").text(), QStringLiteral("Farmhouse Dining Table"));
        QCOMPARE(Find<QLineEdit>(*bar_, "price").text(), QStringLiteral("600"));
        frame_->Action(command::kCameraSimsButton)->trigger();
        view_->grabFramebuffer();
        test::Screenshot(*frame_, QStringLiteral("editor-with-object-bar"));

        // Deleting the box empties the mesh panel.
        frame_->Action(command::kDelete)->trigger();
        QCOMPARE(bar_->MeshPanel().Model().PanelObject(), nullptr);
        QVERIFY(!Find<QWidget>(*bar_, "useTexture").isEnabled());
    }

    void theAboutBoxReportsTheViewsOpenGL()
    {
        const OpenGLInfo openGL = ReadOpenGLInfo(*view_);
        QVERIFY2(QString::fromStdString(openGL.version).contains(QStringLiteral("Mesa")),
                 openGL.version.c_str());
        CAboutDlg about(openGL, document_->Plugins().InfoLines(), frame_.get());
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(Find<QLabel>(about, "openGLRenderer").text(), QString::fromStdString(openGL.renderer));
        test::Screenshot(about, QStringLiteral("about-on-view"));
    }

private:
    QTemporaryDir settings_;
    RecordingReporter reporter_;
    test::TempDir work_;
    std::unique_ptr<COGLDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    COGLView* view_ = nullptr;
    CObjectBar* bar_ = nullptr;
};

} // namespace zelvane

QTEST_MAIN(zelvane::ObjectBarOnViewTest)
#include "ObjectBarOnViewTest.moc"
