// Object ▸ "Render Sprites from Scene..." on the real main window and view:
// an object unchecked stays out of the sprites, the working object file gets
// the new look, and a Cancel pressed while the progress runs leaves the file
// byte for byte as it was.

#include "app/CMainFrame.h"
#include "app/CRenderSpritesDlg.h"
#include "document/COGLDoc.h"
#include "document/PreviewCache.h"
#include "resfile/CTGIffFile.h"
#include "scene/COGLScene.h"
#include "scene/COGLBox.h"
#include "scene/COGLSphere.h"
#include "tests/document/SampleGameFolder.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"
#include "tests/view/WidgetTestSupport.h"
#include "view/COGLView.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace zelvane {

namespace {

template <typename Widget>
Widget& Find(QWidget& parent, const char* name)
{
    auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s", name);
    return *widget;
}

} // namespace

class RenderSpritesDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(settings_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings_.path()));
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
        frame_->resize(900, 640);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        view_->grabFramebuffer(); // the context, and with it the scene
        QVERIFY(document_->Scene());

        const CObjectEntry* loveseat = nullptr;
        for (const auto& file : document_->Catalog().Files())
            for (const CObjectEntry* object : file->ListedObjects())
                if (object->ResourceName() == "Sofa - Striped Loveseat")
                    loveseat = object;
        QVERIFY(loveseat);
        QCOMPARE(document_->WorkingObject().CloneFrom(*loveseat, document_->Catalog()),
                 WorkingObjectFile::CloneOutcome::Replaced);

        // A red 2 x 1 box over the loveseat's two tiles and a green ball on it.
        view_->BeginGL();
        COGLObject& box = document_->Scene()->AddObject(std::make_unique<COGLBox>());
        box.SetScale(0.5f, 0.5f, 1.0f);
        box.SetPosition(0.0f, 0.5f, -0.5f);
        box.SetDiffuse(0.9f, 0.1f, 0.1f, 1.0f);
        COGLObject& ball = document_->Scene()->AddObject(std::make_unique<COGLSphere>());
        ball.SetScale(0.4f, 0.4f, 0.4f);
        ball.SetPosition(0.0f, 1.4f, 0.0f);
        ball.SetDiffuse(0.1f, 0.9f, 0.1f, 1.0f);
        view_->EndGL();
    }

    void cleanup()
    {
        document_->WorkingObject().SetFileObserver(nullptr);
        frame_.reset();
        document_.reset();
        reporter_.Clear();
    }

    // Through the Object menu: the ball unchecked with the mouse and the space
    // bar, OK; the file's sprites show the red box and nothing green.
    void theCheckedObjectsBecomeTheWorkingObjectsSprites()
    {
        const std::string path = document_->WorkingObject().Path();
        QMenu* menu = frame_->findChild<QMenu*>(QStringLiteral("menuObject"));
        QVERIFY(menu);
        QAction* render = frame_->findChild<QAction*>(QStringLiteral("actionRenderSprites"));
        QVERIFY(render && menu->actions().contains(render));

        bool rendered = false;
        test::WhenModal<CRenderSpritesDlg> choose([&](CRenderSpritesDlg& dialog) {
            auto& list = Find<QListWidget>(dialog, "objectList");
            QCOMPARE(list.count(), 2); // not the floor, the walls or the lights
            QCOMPARE(list.item(0)->text(), QStringLiteral("Box"));
            QCOMPARE(list.item(1)->text(), QStringLiteral("Sphere"));
            QCOMPARE(list.item(0)->checkState(), Qt::Checked);
            QCOMPARE(list.item(1)->checkState(), Qt::Checked);
            // The box and the ball stand on the loveseat's two tiles.
            const QString measure = Find<QLabel>(dialog, "renderMeasure").text();
            QVERIFY2(measure.startsWith(QStringLiteral("The chosen objects stand within the object's 2 tiles.")),
                     qPrintable(measure));
            QVERIFY2(measure.contains(QStringLiteral("pixels at the largest zoom")), qPrintable(measure));
            test::ClickRow(list, 1);
            QTest::keyClick(list.viewport(), Qt::Key_Space);
            QCOMPARE(list.item(1)->checkState(), Qt::Unchecked);
            QCOMPARE(dialog.Model().ChosenCount(), 1u);
            test::Screenshot(dialog, QStringLiteral("render-sprites-dialog"));
            QTest::mouseClick(&Find<QPushButton>(dialog, "ok"), Qt::LeftButton);
            rendered = dialog.LastResult().outcome == BakeOutcome::Written;
        });
        render->trigger();
        QVERIFY(choose.Done());
        QVERIFY2(rendered, reporter_.Messages().empty() ? "" : reporter_.Messages().back().text.c_str());
        QVERIFY(reporter_.Messages().empty());
        QCOMPARE(document_->Scene()->ObjectFile(), document_->WorkingObject().File());
        QVERIFY(document_->WorkingObject().HasUnsavedEdits());
        // Complete on disk: a copy taken now opens by its map.
        {
            const std::string copy = work_.File("copy-after-render.iff");
            QVERIFY(QFile::copy(QString::fromStdString(path), QString::fromStdString(copy)));
            CTGIffFile file;
            QCOMPARE(file.OpenContainer(copy), kResOk);
            QCOMPARE(file.IndexSourceUsed(), IndexSource::Map);
            QCOMPARE(file.CloseContainer(), kResOk);
        }
        QVERIFY(frame_->statusBar()->currentMessage().startsWith(QStringLiteral("Rendered 2 sprite(s)")));

        // The engine's picture of the object, as the base object list shows it.
        const PlainImage picture = ComposeListPreview(*document_->WorkingObject().CurrentObject());
        int red = 0, green = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                const Rgb c = picture.PixelColour(x, y);
                red += c.red > 2 * c.green + 20 && c.red > 2 * c.blue + 20;
                green += c.green > 2 * c.red + 20 && c.green > 2 * c.blue + 20;
            }
        QVERIFY2(red > 1000, qPrintable(QString::number(red)));
        QCOMPARE(green, 0);

        // The command-line tool reads the same file: SPR2 frames of version 1000.
        const QString listed = test::RunCli({QStringLiteral("list"), QString::fromStdString(path)});
        QVERIFY2(listed.contains(QStringLiteral("SPR2")), qPrintable(listed));
        const QString out = QString::fromStdString(work_.File("baked.png"));
        const QString composed =
            test::RunCli({QStringLiteral("preview"), QString::fromStdString(path), QStringLiteral("--id"),
                          QString::number(document_->WorkingObject().CurrentObject()->DefinitionId()),
                          QStringLiteral("-o"), out});
        QVERIFY2(QFile::exists(out), qPrintable(composed));
        if (const QByteArray shots = qgetenv("ZELVANE_SCREENSHOT_DIR"); !shots.isEmpty())
            QFile::copy(out, QFile::decodeName(shots) + QStringLiteral("/render-sprites-preview.png"));

        // Opened again, the dialog shows the new look; the ball, moved beyond
        // the tiles, overhangs them.
        document_->Scene()->Objects()[1]->SetPosition(2.0f, 1.4f, 0.0f);
        test::WhenModal<CRenderSpritesDlg> look([&](CRenderSpritesDlg& dialog) {
            QVERIFY(!dialog.ShownPreview().isNull());
            const QString measure = Find<QLabel>(dialog, "renderMeasure").text();
            QVERIFY2(measure.startsWith(QStringLiteral("The chosen objects reach 1.90 tiles beyond the object's 2 tiles")),
                     qPrintable(measure));
            test::Screenshot(dialog, QStringLiteral("render-sprites-after"));
            QTest::mouseClick(&Find<QPushButton>(dialog, "cancel"), Qt::LeftButton);
        });
        render->trigger();
        QVERIFY(look.Done());
        frame_->findChild<QAction*>(QStringLiteral("actionShaded"))->trigger();
        view_->grabFramebuffer();
        test::Screenshot(*frame_, QStringLiteral("render-sprites-frame"));
    }

    // Cancel pressed on the progress dialog while the render runs: the file
    // is as it was, the dialog stays open, the working object is usable.
    void aCancelWhileRenderingLeavesTheFileByteForByte()
    {
        const std::string path = document_->WorkingObject().Path();
        const std::vector<uint8_t> before = test::ReadBytes(path);
        int stepsSeen = 0;
        BakeOutcome outcome = BakeOutcome::Written;
        test::WhenModal<CRenderSpritesDlg> choose([&](CRenderSpritesDlg& dialog) {
            // Pressed once the bar has moved on: mid-way through the renders.
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                auto* progress = dialog.findChild<QProgressDialog*>(QStringLiteral("renderProgress"));
                if (!progress || progress->value() < 2 || progress->wasCanceled())
                    return;
                stepsSeen = progress->value();
                test::Screenshot(*progress, QStringLiteral("render-sprites-progress"));
                if (auto* cancel = progress->findChild<QPushButton*>())
                    QTest::mouseClick(cancel, Qt::LeftButton);
            });
            watch.start(5);
            QTest::mouseClick(&Find<QPushButton>(dialog, "ok"), Qt::LeftButton);
            watch.stop();
            outcome = dialog.LastResult().outcome;
            QVERIFY(dialog.isVisible());
            QTest::mouseClick(&Find<QPushButton>(dialog, "cancel"), Qt::LeftButton);
        });
        frame_->findChild<QAction*>(QStringLiteral("actionRenderSprites"))->trigger();
        QVERIFY(choose.Done());
        QCOMPARE(outcome, BakeOutcome::Cancelled);
        QVERIFY2(stepsSeen >= 2 && stepsSeen < 10, qPrintable(QString::number(stepsSeen)));
        QVERIFY(test::ReadBytes(path) == before);
        QVERIFY(document_->WorkingObject().CurrentObject());
        QVERIFY(!document_->WorkingObject().HasUnsavedEdits());
        QCOMPARE(document_->Scene()->ObjectFile(), document_->WorkingObject().File());
        QVERIFY(reporter_.Messages().empty());
        // The view draws again.
        QVERIFY(!view_->grabFramebuffer().isNull());
    }

private:
    QTemporaryDir settings_;
    RecordingReporter reporter_;
    test::TempDir work_;
    std::unique_ptr<COGLDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    COGLView* view_ = nullptr;
};

} // namespace zelvane

QTEST_MAIN(zelvane::RenderSpritesDlgTest)
#include "RenderSpritesDlgTest.moc"
