// The object bar: the object panel and the mesh panel on their tabs, driven
// by clicks and keys against a document with its scene and working object
// file.

#include "document/COGLDoc.h"
#include "objects/ObjectCatalog.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/COGLTexture2D.h"
#include "scene/ObjectFactory.h"
#include "scene/WindowsBitmap.h"
#include "tests/document/SampleGameFolder.h"
#include "tests/scene/TestMesh.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"
#include "tests/view/WidgetTestSupport.h"
#include "view/CMeshPanel.h"
#include "view/CObjectBar.h"
#include "view/CObjectPanel.h"
#include "view/CPropertyEditorDlg.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>

#include <filesystem>

namespace zelvane {

class ObjectBarTest : public QObject {
    Q_OBJECT

    template <typename Widget>
    Widget& Find(const char* name)
    {
        auto* widget = bar_->findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no widget %s", name);
        return *widget;
    }

    QString Text(const char* name) { return Find<QLineEdit>(name).text(); }

private slots:
    void initTestCase() { SetReporter(&reporter_); }
    void cleanupTestCase() { SetReporter(nullptr); }

    void init()
    {
        reporter_.Clear();
        // The default textures, plain, so that the scene's planes have some.
        const std::string maps = work_.File("Maps/");
        std::filesystem::create_directories(maps);
        for (const char* name : {"Default Floor.bmp", "Default Wall.bmp"})
            test::WriteBytes(maps + name, EncodeWindowsBitmap(PlainImage(4, 4, 3, 120)));
        document_ = std::make_unique<COGLDoc>(std::nullopt, std::vector<std::string>{}, work_.File("zeltemp.iff"));
        document_->NewScene(maps);
        bar_ = std::make_unique<CObjectBar>(*document_);
        bar_->resize(320, 640);
        bar_->show();
        QVERIFY(QTest::qWaitForWindowExposed(bar_.get()));
    }

    void cleanup()
    {
        bar_.reset();
        document_.reset();
    }

    void tabsSwitchBetweenTheTwoPanelsInOnePlace()
    {
        QCOMPARE(bar_->tabText(0), QStringLiteral("Object Info"));
        QCOMPARE(bar_->tabText(1), QStringLiteral("Mesh Info"));
        auto& objectPanel = bar_->ObjectPanel();
        auto& meshPanel = bar_->MeshPanel();
        QVERIFY(objectPanel.isVisible());
        QVERIFY(!meshPanel.isVisible());
        QTabBar* tabs = bar_->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1).center());
        QVERIFY(meshPanel.isVisible());
        QVERIFY(!objectPanel.isVisible());
        QCOMPARE(meshPanel.geometry(), objectPanel.geometry());
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(0).center());
        QVERIFY(objectPanel.isVisible());
    }

    void propertiesOpensTheEditorAndThePanelShowsWhatItSaved()
    {
        QCOMPARE(Text("catalogName"), QString());
        QCOMPARE(Text("price"), QString());
        auto& properties = Find<QPushButton>("properties");
        QTest::mouseClick(&properties, Qt::LeftButton);
        QCOMPARE(reporter_.Messages().size(), size_t{1});
        QCOMPARE(QString::fromStdString(reporter_.Messages()[0].text),
                 QStringLiteral("Please set the base object to clone attributes from first."));

        ObjectCatalog catalog;
        catalog.Rebuild(test::SampleGameFolder());
        for (CObjectEntry* entry : catalog.ListedObjects())
            if (entry->ResourceName() == "Table - Farmhouse Dining")
                QCOMPARE(document_->WorkingObject().CloneFrom(*entry, catalog),
                         WorkingObjectFile::CloneOutcome::Replaced);
        // The panel shows the new working object without being told.
        QCOMPARE(Text("catalogName"), QStringLiteral("Farmhouse Dining Table"));
        QCOMPARE(Text("price"), QStringLiteral("600"));
        QVERIFY(Find<QPlainTextEdit>("description").toPlainText().startsWith(QStringLiteral("Seats four")));
        test::Screenshot(*bar_, QStringLiteral("object-panel"));

        // In the editor: a new price, then OK.
        test::WhenModal<CPropertyEditorDlg> edit([](CPropertyEditorDlg& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("propertyList"));
            test::ClickRow(*list, test::RowOf(*list, QStringLiteral("Price")));
            auto* value = dialog.findChild<QLineEdit*>(QStringLiteral("singleLineValue"));
            value->setFocus();
            QTest::keyClick(value, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(value, QStringLiteral("575"));
            QTest::keyClick(value, Qt::Key_Return); // the default button, OK
        });
        QTest::mouseClick(&properties, Qt::LeftButton);
        QVERIFY(edit.Done());
        QCOMPARE(Text("price"), QStringLiteral("575"));
        QVERIFY(document_->WorkingObject().HasUnsavedEdits());

        // Closed with Escape (as with the close box) after typing: nothing saved, nothing shown.
        const std::vector<uint8_t> saved = test::ReadBytes(document_->WorkingObject().Path());
        test::WhenModal<CPropertyEditorDlg> cancel([](CPropertyEditorDlg& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("propertyList"));
            test::ClickRow(*list, test::RowOf(*list, QStringLiteral("Price")));
            QTest::keyClicks(dialog.findChild<QLineEdit*>(QStringLiteral("singleLineValue")), QStringLiteral("1"));
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(&properties, Qt::LeftButton);
        QVERIFY(cancel.Done());
        QCOMPARE(Text("price"), QStringLiteral("575"));
        QVERIFY(test::ReadBytes(document_->WorkingObject().Path()) == saved);
    }

    void cageAndZoomChangeTheDocumentOneUndoStepEach()
    {
        auto& height = Find<QSpinBox>("cageHeight");
        auto& width = Find<QSpinBox>("cageWidth");
        QCOMPARE(height.value(), 1);
        QCOMPARE(height.maximum(), 6);
        QCOMPARE(width.maximum(), 15);
        QVERIFY(Find<QRadioButton>("zoomMedium").isChecked());

        height.setFocus();
        QTest::keyClick(&height, Qt::Key_Up);
        QTest::keyClick(&height, Qt::Key_Up);
        QCOMPARE(document_->Cage().height, 3);
        width.setFocus();
        QTest::keyClick(&width, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&width, QStringLiteral("12"));
        QCOMPARE(document_->Cage().width, 1); // not before the number is complete
        QTest::keyClick(&width, Qt::Key_Return);
        QCOMPARE(document_->Cage().width, 12);
        test::ClickIndicator(Find<QRadioButton>("zoomFar"));
        QCOMPARE(document_->Zoom(), ZoomPreset::Far);
        test::ClickIndicator(Find<QRadioButton>("zoomNear"));
        QCOMPARE(document_->Zoom(), ZoomPreset::Near);

        // Up, up, 12, Far, Near; the panel shows every undo.
        QCOMPARE(document_->History().Count(), size_t{5});
        document_->Undo();
        QVERIFY(Find<QRadioButton>("zoomFar").isChecked());
        document_->Undo();
        document_->Undo();
        QCOMPARE(width.value(), 1);
        document_->Undo();
        QCOMPARE(height.value(), 2);
        QCOMPARE(document_->History().Count(), size_t{5});
        QVERIFY2(!document_->HasUnsavedChanges(), "a scene file keeps neither");
        test::Screenshot(*bar_, QStringLiteral("object-panel-cage"));

        // The zoom tool's free zoom checks none of the presets.
        document_->ReleaseZoomPreset();
        for (const char* name : {"zoomNear", "zoomMedium", "zoomFar"})
            QVERIFY(!Find<QRadioButton>(name).isChecked());
    }

    void theMeshPanelShowsGroupsAndAppliesTextures()
    {
        test::TestMesh counted = test::CountedMesh({{"Seat", 12, 8}, {"Legs", 24, 32}, {"Back", 4, 6}});
        COGLObject& chair = document_->AddObject(std::make_unique<COGLMesh>(counted.Set()), "Import");
        QTabBar* tabs = bar_->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1).center());

        QCOMPARE(Text("meshFaces"), QStringLiteral("40"));
        QCOMPARE(Text("meshVertices"), QStringLiteral("46"));
        auto& groups = Find<QListWidget>("groups");
        QCOMPARE(groups.count(), 3);
        QCOMPARE(groups.currentRow(), 0);
        QCOMPARE(Text("groupFaces"), QStringLiteral("12"));
        test::ClickRow(groups, 1);
        QCOMPARE(Text("groupFaces"), QStringLiteral("24"));
        QCOMPARE(Text("groupVertices"), QStringLiteral("32"));

        // "&Load" through its file dialog.
        PlainImage picture(8, 8, 3, 90);
        const std::string path = work_.File("Oak Planks.bmp");
        test::WriteBytes(path, EncodeWindowsBitmap(picture));
        test::WhenModal<QFileDialog> choose([&path](QFileDialog& dialog) {
            QCOMPARE(dialog.nameFilters(), QStringList{QStringLiteral("Windows Bitmap Files (*.bmp)")});
            dialog.selectFile(QString::fromStdString(path));
            static_cast<QDialog&>(dialog).accept(); // as the Open button does
        });
        QTest::mouseClick(&Find<QPushButton>("loadTexture"), Qt::LeftButton);
        QVERIFY(choose.Done());
        auto& textures = Find<QListWidget>("textures");
        QCOMPARE(textures.count(), 1);
        QCOMPARE(textures.item(0)->text(), QStringLiteral("Oak Planks"));
        QCOMPARE(textures.currentRow(), 0);

        auto& use = Find<QCheckBox>("useTexture");
        QVERIFY(!use.isChecked());
        test::ClickIndicator(use);
        QCOMPARE(chair.Texture(), document_->Scene()->Textures()[0].get());
        QVERIFY(use.isChecked());
        auto& lit = Find<QCheckBox>("effectedByLighting");
        QVERIFY(lit.isChecked());
        test::ClickIndicator(lit);
        QCOMPARE(chair.TextureEnvMode(), static_cast<GLenum>(GL_DECAL));
        test::Screenshot(*bar_, QStringLiteral("mesh-panel"));

        chair.SetTextureScale({3, 3, 1});
        test::ClickIndicator(use);
        QCOMPARE(chair.Texture(), nullptr);
        QCOMPARE(chair.TextureScale(), (Vector3{1, 1, 1}));
        // Import, Load Texture, Use Texture, Effected by Lighting, Use Texture.
        QCOMPARE(document_->History().Count(), size_t{5});
        QCOMPARE(QString::fromStdString(document_->History().UndoText()), QStringLiteral("Use Texture"));
        document_->Undo();
        QVERIFY(use.isChecked());
        QCOMPARE(chair.TextureScale(), (Vector3{3, 3, 1}));

        // Once the mesh's import is undone, the panel shows nothing and its switches rest.
        while (document_->CanUndo())
            document_->Undo();
        QCOMPARE(Text("meshFaces"), QStringLiteral("0"));
        QCOMPARE(groups.count(), 0);
        QVERIFY(!use.isEnabled());
    }

    void theMeshPanelListsFaceGroupsAndReplacesTheirTextures()
    {
        test::TestMesh square = test::SquareMesh(1);
        const std::string oak = work_.File("oak.bmp");
        const std::string slate = work_.File("slate.bmp");
        test::WriteBytes(oak, EncodeWindowsBitmap(PlainImage(4, 4, 3, 90)));
        test::WriteBytes(slate, EncodeWindowsBitmap(PlainImage(4, 4, 3, 200)));
        ModelMaterials materials;
        materials.materials.push_back({});
        materials.materials[0].name = "Wood";
        materials.materials[0].texturePath = oak;
        materials.partGroups = {{{0, {0, 1}}}, {}};
        document_->AddObject(std::make_unique<COGLMesh>(square.Set(), materials), "Import");
        QTabBar* tabs = bar_->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1).center());

        auto& groups = Find<QListWidget>("faceGroups");
        QCOMPARE(groups.count(), 1);
        QCOMPARE(groups.item(0)->text(), QStringLiteral("Plate: Wood (2 faces) - oak.bmp"));
        test::WhenModal<QFileDialog> choose([&slate](QFileDialog& dialog) {
            dialog.selectFile(QString::fromStdString(slate));
            static_cast<QDialog&>(dialog).accept();
        });
        QTest::mouseClick(&Find<QPushButton>("replaceGroupTexture"), Qt::LeftButton);
        QVERIFY(choose.Done());
        QCOMPARE(groups.item(0)->text(), QStringLiteral("Plate: Wood (2 faces) - slate.bmp"));
        QCOMPARE(QString::fromStdString(document_->History().UndoText()), QStringLiteral("Group Texture"));
        document_->Undo();
        QCOMPARE(groups.item(0)->text(), QStringLiteral("Plate: Wood (2 faces) - oak.bmp"));
        QTest::mouseClick(&Find<QPushButton>("removeGroupTexture"), Qt::LeftButton);
        QCOMPARE(groups.item(0)->text(), QStringLiteral("Plate: Wood (2 faces)"));
        QVERIFY(!Find<QPushButton>("removeGroupTexture").isEnabled());
    }

private:
    RecordingReporter reporter_;
    test::TempDir work_;
    std::unique_ptr<COGLDoc> document_;
    std::unique_ptr<CObjectBar> bar_;
};

} // namespace zelvane

QTEST_MAIN(zelvane::ObjectBarTest)
#include "ObjectBarTest.moc"
