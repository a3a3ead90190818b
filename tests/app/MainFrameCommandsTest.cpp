// The main window's own commands on a real display, through its menus, file
// dialogs and keys: a .3ds imported through File > Import (one undo step), a
// base object set and a scene saved, cleared and opened again with its object
// file, the recent files, images saved in both formats with their pixels
// checked, files dropped on the view, the print preview in place of the view,
// the accelerators' first binding, and a scene file named on the command line.
//
// With ZELVANE_SCREENSHOT_DIR=<folder> set, the window at work is saved there.

#include "app/CEditorApp.h"
#include "app/CImportOptionsDlg.h"
#include "app/CInsertTextDlg.h"
#include "app/UserGuide.h"
#include "app/CMainFrame.h"
#include "app/CSpriteFolderDlg.h"
#include "app/QtOpenFileDialog.h"
#include "app/StatusBarProgress.h"
#include "document/COGLDoc.h"
#include "scene/COGLScene.h"
#include "interaction/CommandIds.h"
#include "pngio/PngCodec.h"
#include "report/OpenFileDialog.h"
#include "report/ProgramFolders.h"
#include "report/Version.h"
#include "scene/COGLBox.h"
#include "scene/COGLMesh.h"
#include "scene/COGLText.h"
#include "tests/app/GuiTestSupport.h"
#include "tests/document/SampleGameFolder.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/ScopedEnvironment.h"
#include "tests/testkit/TestFiles.h"
#include "tests/view/WidgetTestSupport.h"
#include "view/CObjectBar.h"
#include "view/CObjectPanel.h"
#include "view/COGLView.h"
#include "view/EditorSettings.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <filesystem>

namespace zelvane {

namespace {

// Answers the next file dialog as a user does: picks the filter, types the
// name into the file name box and presses Enter. An empty name cancels.
void AnswerNextFileDialog(const QString& name, const QString& filter = {}, QString* title = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            AnswerNextFileDialog(name, filter, title);
            return;
        }
        if (title)
            *title = dialog->windowTitle();
        if (name.isEmpty()) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        if (!filter.isEmpty()) {
            // Chosen with the keyboard in the type box, as the dialog hears a user.
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            types->setFocus();
            QTest::keyClick(types, Qt::Key_Home);
            for (int i = 0; i < types->count() && types->currentText() != filter; ++i)
                QTest::keyClick(types, Qt::Key_Down);
        }
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit) {
            dialog->reject();
            QFAIL("the file dialog has no file name box");
        }
        // The folder as a user opens it, then the name in the box (typed
        // whole, Qt's box would follow each "/" as it comes).
        const QFileInfo typed(name);
        dialog->setDirectory(typed.absolutePath());
        dialog->selectFile(typed.fileName());
        // The name box's completion list would take the Enter.
        if (edit->completer() && edit->completer()->popup())
            edit->completer()->popup()->hide();
        QTest::keyClick(edit, Qt::Key_Return);
        // A dialog that did not take the answer is closed, so the test fails instead of waiting.
        QTimer::singleShot(3000, dialog, [dialog = QPointer<QFileDialog>(dialog)] {
            if (dialog && dialog->isVisible())
                dialog->reject();
        });
    });
}

// Finds the dialog that opens next and hands it to `act`.
template <typename Dialog, typename Act>
void WithNextDialog(Act act)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            WithNextDialog<Dialog>(act);
            return;
        }
        act(*dialog);
    });
}

// While *watching, every file dialog that opens is rejected and *asked set.
void RejectFileDialogsWhile(const std::shared_ptr<bool>& watching, const std::shared_ptr<bool>& asked)
{
    QTimer::singleShot(0, [=] {
        if (!*watching)
            return;
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            *asked = true;
            dialog->reject();
        }
        RejectFileDialogsWhile(watching, asked);
    });
}

std::string FromQt(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The pixel rows of a 24-bit bitmap or Targa file as stored: bottom row
// first, blue-green-red, without the bitmap's row padding.
std::vector<uint8_t> PixelsOf(const std::vector<uint8_t>& file, bool bitmap, int& width, int& height)
{
    const auto u16 = [&](size_t at) { return static_cast<int>(file.at(at) | (file.at(at + 1) << 8)); };
    const auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    width = bitmap ? u32(18) : u16(12);
    height = bitmap ? u32(22) : u16(14);
    const size_t start = bitmap ? static_cast<size_t>(u32(10)) : 18;
    const size_t stride = bitmap ? (static_cast<size_t>(width) * 3 + 3) / 4 * 4 : static_cast<size_t>(width) * 3;
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        const auto row = file.begin() + static_cast<std::ptrdiff_t>(start + stride * static_cast<size_t>(y));
        pixels.insert(pixels.end(), row, row + width * 3);
    }
    return pixels;
}

void DropFile(QWidget& target, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = target.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

} // namespace

class MainFrameCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Qt's own file dialog, whatever the desktop offers: the test types into it.
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QVERIFY(settings_.isValid());
        env_.Set("ZELVANE_LOG_DIR", work_.File("logs"));
        env_.Set("XDG_DATA_HOME", work_.File("data"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
        SetReporter(&reporter_);
        meshFile_ = test::TestDataDir() / "3ds" / "test1.3ds";
        if (std::error_code error; std::filesystem::exists(meshFile_, error))
            meshFile_ = std::filesystem::canonical(meshFile_);
    }
    void cleanupTestCase() { SetReporter(nullptr); }

    void init()
    {
        if (!keepSettings_)
            OpenEditorSettings()->clear();
        reporter_.Clear();
        document_ = std::make_unique<COGLDoc>(test::SampleGameFolder(), std::vector<std::string>{},
                                              work_.File("zeltemp.iff"));
        document_->OnNewDocument();
        frame_ = std::make_unique<CMainFrame>(*document_);
        SetOpenFileDialog(&frame_->OpenFileDialog());
        SetProgressDisplay(&frame_->Progress());
        view_ = frame_->View();
        frame_->resize(1100, 760);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        view_->grabFramebuffer(); // the context, and with it the scene and the plug-ins
        QVERIFY(document_->Scene());
    }

    void cleanup()
    {
        SetOpenFileDialog(nullptr);
        SetProgressDisplay(nullptr);
        frame_.reset();
        document_.reset();
    }

    void theWindowCarriesItsBarsMenusAndIcons()
    {
        QCOMPARE(frame_->windowIcon().isNull(), false);
        auto* dock = frame_->findChild<QDockWidget*>(QStringLiteral("objectBarDock"));
        QVERIFY(dock && dock->isVisible());
        QCOMPARE(frame_->dockWidgetArea(dock), Qt::RightDockWidgetArea);
        QVERIFY(dock->x() > view_->mapTo(frame_.get(), QPoint()).x());

        // Every toolbar button shows its own icon.
        auto* toolbar = frame_->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QVERIFY(toolbar);
        for (QAction* action : toolbar->actions())
            QVERIFY(action->isSeparator() || !action->icon().isNull());

        // The plug-ins' items replace the placeholder once the view has scanned them.
        auto* import = frame_->findChild<QMenu*>(QStringLiteral("menuImport"));
        QVERIFY(import && import->isEnabled());
        // One item per plug-in, in the order the folder lists them.
        QStringList items;
        for (const QAction* action : import->actions())
            items << action->text();
        items.sort();
        QCOMPARE(items, (QStringList{QStringLiteral("&3D Studio files"), QStringLiteral("&glTF and OBJ models")}));

        // Help > About: the view's OpenGL and the plug-in list.
        WithNextDialog<QDialog>([](QDialog& about) {
            QVERIFY(about.windowTitle() == QStringLiteral("About zelvane"));
            const auto* renderer = about.findChild<QLabel*>(QStringLiteral("openGLRenderer"));
            QVERIFY(renderer && !renderer->text().isEmpty());
            about.accept();
        });
        frame_->Action(command::kAbout)->trigger();

        // Alt+O and Alt+P belong to the Orbit and Pan tools, which the key table
        // binds before any menu or panel button could.
        view_->setFocus();
        QTest::keyClick(view_, Qt::Key_O, Qt::AltModifier);
        QVERIFY(frame_->Action(command::kOrbit)->isChecked());
        QTest::keyClick(view_, Qt::Key_P, Qt::AltModifier);
        QVERIFY(frame_->Action(command::kPan)->isChecked());
        QCOMPARE(frame_->ToolPaneText(), QStringLiteral("Pan"));
    }

    void spritesExportedPaintedAndImportedAreOneUndoStep()
    {
        QVERIFY2(!frame_->Action(command::kExportSprites)->isEnabled(), "no working object yet");
        for (CObjectEntry* entry : document_->Catalog().ListedObjects())
            if (entry->ResourceName() == "Chair - Maple Dining")
                QCOMPARE(document_->WorkingObject().CloneFrom(*entry, document_->Catalog()),
                         WorkingObjectFile::CloneOutcome::Replaced);
        frame_->UpdateCommandStates();
        QVERIFY(frame_->Action(command::kExportSprites)->isEnabled());

        const QString folder = QString::fromStdString(work_.File("painted"));
        const auto useFolder = [folder](CSpriteFolderDlg& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("folder"))->setText(folder);
            dialog.accept();
        };
        WithNextDialog<CSpriteFolderDlg>(useFolder);
        frame_->Action(command::kExportSprites)->trigger();
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/sprites.json")));

        // Painted: red and blue swapped in every colour picture.
        int painted = 0;
        for (const auto& entry : std::filesystem::directory_iterator(FromQt(folder))) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() != ".png" || name.ends_with("-depth.png"))
                continue;
            PngImage picture;
            std::string error;
            QVERIFY2(ReadPngFile(entry.path().string(), picture, error), error.c_str());
            for (std::size_t at = 0; at + 3 < picture.pixels.size(); at += 4)
                std::swap(picture.pixels[at], picture.pixels[at + 2]);
            QVERIFY2(WritePngFile(entry.path().string(), picture, error), error.c_str());
            ++painted;
        }
        QVERIFY(painted > 0);

        const Result<std::vector<uint8_t>> before = document_->WorkingObject().Contents();
        QVERIFY(before.ok());
        WithNextDialog<CSpriteFolderDlg>(useFolder);
        frame_->Action(command::kImportSprites)->trigger();
        QVERIFY2(reporter_.Messages().empty(), reporter_.Messages().empty() ? "" : reporter_.Messages()[0].text.c_str());
        QCOMPARE(QString::fromStdString(document_->History().UndoText()), QStringLiteral("Import Sprites"));
        QVERIFY(document_->HasUnsavedChanges());
        QVERIFY(document_->WorkingObject().Contents().Value() != before.Value());
        QVERIFY(document_->WorkingObject().CurrentObject());

        frame_->Action(command::kUndo)->trigger();
        QVERIFY(document_->WorkingObject().Contents().Value() == before.Value());
        frame_->Action(command::kRedo)->trigger();
        QVERIFY(document_->WorkingObject().Contents().Value() != before.Value());
    }

    void importThroughTheMenuStandsOnTheFootprintAsOneUndoStep()
    {
        if (!std::filesystem::exists(meshFile_))
            QSKIP("The real 3D Studio files are not here (ZELVANE_TESTDATA)");
        auto* import = frame_->findChild<QMenu*>(QStringLiteral("menuImport"));
        QAction* item = import->actions().front();
        const size_t before = document_->Scene()->Objects().size();
        // The Import Options step after the file: the plug-in's size at
        // first; fit to the footprint chosen with a click.
        ImportOptions shown;
        AnswerNextFileDialog(QString::fromStdString(meshFile_.string()));
        WithNextDialog<CImportOptionsDlg>([&shown](CImportOptionsDlg& options) {
            shown = options.Options();
            QTest::mouseClick(options.findChild<QCheckBox*>(QStringLiteral("importFit")), Qt::LeftButton, {},
                              QPoint(5, 5));
            QTest::mouseClick(options.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        });
        item->trigger();
        QCOMPARE(shown, ImportOptions{});
        QCOMPARE(document_->Scene()->Objects().size(), before + 1);
        auto* mesh = dynamic_cast<COGLMesh*>(document_->Scene()->Objects().back().get());
        QVERIFY(mesh);
        QVERIFY(mesh->GetMeshSet().partCount > 0);
        QCOMPARE(document_->Selection().object, mesh);
        QCOMPARE(frame_->Action(command::kUndo)->text(), QStringLiteral("&Undo Import"));
        QVERIFY2(frame_->statusBar()->currentMessage().startsWith(QStringLiteral("Imported test1.3ds")),
                 qPrintable(frame_->statusBar()->currentMessage()));
        // On the floor in the middle of the one-tile cage, as wide or deep as it.
        const Box3 box = mesh->SceneBox();
        QVERIFY(std::fabs(box.low.y) < 1e-4f);
        QVERIFY(std::fabs(box.Centre().x) < 1e-4f && std::fabs(box.Centre().z) < 1e-4f);
        QVERIFY(std::fabs(std::max(box.Size().x, box.Size().z) - 1.0f) < 1e-3f);
        QVERIFY(CImportOptionsDlg::Remembered().fitToFootprint);

        // Copied, it shares the imported records.
        frame_->Action(command::kCopy)->trigger();
        QCOMPARE(document_->Scene()->Objects().size(), before + 2);
        auto* copy = dynamic_cast<COGLMesh*>(document_->Scene()->Objects().back().get());
        QVERIFY(copy && copy != mesh);
        QCOMPARE(copy->GetMeshSet().parts, mesh->GetMeshSet().parts);
        frame_->Action(command::kUndo)->trigger();
        view_->grabFramebuffer();
        test::Screenshot(*frame_, QStringLiteral("frame-imported-mesh"));

        frame_->Action(command::kUndo)->trigger();
        QCOMPARE(document_->Scene()->Objects().size(), before);
        frame_->Action(command::kRedo)->trigger();
        QCOMPARE(document_->Scene()->Objects().size(), before + 1);

        // Cancelling the file dialog, or the options, imports nothing; the
        // options offered are the ones chosen last.
        AnswerNextFileDialog(QString());
        item->trigger();
        QCOMPARE(document_->Scene()->Objects().size(), before + 1);
        AnswerNextFileDialog(QString::fromStdString(meshFile_.string()));
        WithNextDialog<CImportOptionsDlg>([&shown](CImportOptionsDlg& options) {
            shown = options.Options();
            options.reject();
        });
        item->trigger();
        QVERIFY(shown.fitToFootprint);
        QCOMPARE(document_->Scene()->Objects().size(), before + 1);
        // The file dialog starts where the last model was taken from.
        QCOMPARE(OpenEditorSettings()->value(QStringLiteral("Folders/Import")).toString(),
                 QString::fromStdString(meshFile_.parent_path().string()));
    }

    void aSceneSavedClearedAndOpenedComesBackWithItsObjectFile()
    {
        // Set Base Object through the menu: the 2 x 2 table becomes the working object file.
        WithNextDialog<QDialog>([](QDialog& choose) {
            QTest::keyClicks(choose.findChild<QLineEdit*>(QStringLiteral("filter")), QStringLiteral("farmhouse"));
            QTest::mouseClick(choose.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        });
        frame_->Action(command::kSetBaseObject)->trigger();
        QVERIFY(document_->WorkingObject().File());
        QCOMPARE(document_->Scene()->ObjectFile(), document_->WorkingObject().File());
        QCOMPARE(frame_->ObjectBar().findChild<QLineEdit*>(QStringLiteral("catalogName"))->text(),
                 QStringLiteral("Farmhouse Dining Table"));

        view_->BeginGL();
        COGLObject& box = document_->Scene()->AddObject(std::make_unique<COGLBox>());
        auto text = std::make_unique<COGLText>();
        text->ReplaceText("zelvane");
        COGLObject& letters = document_->Scene()->AddObject(std::move(text));
        view_->EndGL();
        box.SetPosition(1.5f, 0.5f, -1.0f);
        box.SetScale(1.0f, 1.0f, 2.0f);
        letters.SetPosition(-2.5f, 0.2f, 2.0f);
        letters.SetScale(0.5f, 0.5f, 0.5f);
        // A mesh travels in the scene file too.
        if (std::filesystem::exists(meshFile_)) {
            QVERIFY(frame_->ImportFile(meshFile_.string(), nullptr));
            document_->Scene()->Objects().back()->SetPosition(-1.0f, 0.0f, -2.0f);
        }
        // A light cannot be copied, and Copy says so.
        document_->Select({nullptr, document_->Scene()->Lights().front().get()});
        QVERIFY(!frame_->Action(command::kCopy)->isEnabled());
        QVERIFY(frame_->Action(command::kCopy)->statusTip().contains(QStringLiteral("light")));
        // Copy of a text builds its own letters.
        document_->Select({&letters, nullptr});
        QCOMPARE(frame_->Action(command::kCopy)->statusTip(), QStringLiteral("Copy the selected object"));
        frame_->Action(command::kCopy)->trigger();
        auto* copied = dynamic_cast<COGLText*>(document_->Scene()->Objects().back().get());
        QVERIFY(copied && copied != &letters);
        QCOMPARE(copied->Text(), std::string("zelvane"));
        copied->SetPosition(-2.5f, 1.2f, 2.0f);
        std::vector<std::pair<ObjectKind, Vector3>> saved;
        for (const auto& object : document_->Scene()->Objects())
            saved.emplace_back(object->Kind(), object->Position());

        // Saved through the dialog: a name without extension becomes a .cgs with the .iff beside it.
        const QString scene = QString::fromStdString(work_.File("room"));
        AnswerNextFileDialog(scene);
        frame_->Action(command::kSave)->trigger();
        QVERIFY(QFile::exists(scene + QStringLiteral(".cgs")));
        QVERIFY(QFile::exists(scene + QStringLiteral(".iff")));
        QVERIFY(!document_->WorkingObject().HasUnsavedEdits());

        test::AnswerNextMessageBox(QMessageBox::Yes);
        reporter_.QueueAnswer(MessageAnswer::Yes);
        frame_->Action(command::kClearScene)->trigger();
        QVERIFY(document_->Scene()->Objects().empty());

        AnswerNextFileDialog(scene + QStringLiteral(".cgs"));
        frame_->Action(command::kOpen)->trigger();
        QCOMPARE(document_->Scene()->Objects().size(), saved.size());
        for (size_t i = 0; i < saved.size(); ++i) {
            QCOMPARE(document_->Scene()->Objects()[i]->Kind(), saved[i].first);
            QVERIFY(test::Near(document_->Scene()->Objects()[i]->Position(), saved[i].second));
        }
        QVERIFY(!document_->History().CanUndo()); // opening forgets the history
        QCOMPARE(document_->Scene()->ObjectFile(), document_->WorkingObject().File());
        QCOMPARE(frame_->ObjectBar().findChild<QLineEdit*>(QStringLiteral("catalogName"))->text(),
                 QStringLiteral("Farmhouse Dining Table"));

        // The title names the scene; a change marks it; Save writes to the
        // scene opened without asking, Save As asks for a new name.
        const QString version = QString::fromLatin1(kProgramVersion);
        QCOMPARE(frame_->windowTitle(), QStringLiteral("room.cgs[*] - zelvane ") + version);
        QVERIFY(!frame_->isWindowModified());
        document_->Select({document_->Scene()->Objects()[0].get(), nullptr});
        frame_->Action(command::kCopy)->trigger();
        QVERIFY(frame_->isWindowModified());
        const qint64 sizeBefore = QFileInfo(scene + QStringLiteral(".cgs")).size();
        {
            // A file dialog that opened would be turned away and noted.
            const auto watching = std::make_shared<bool>(true);
            const auto asked = std::make_shared<bool>(false);
            RejectFileDialogsWhile(watching, asked);
            QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier);
            *watching = false;
            QVERIFY(!*asked);
        }
        QVERIFY(!frame_->isWindowModified());
        QVERIFY(QFileInfo(scene + QStringLiteral(".cgs")).size() > sizeBefore);
        QVERIFY2(frame_->statusBar()->currentMessage().startsWith(QStringLiteral("Saved ")),
                 qPrintable(frame_->statusBar()->currentMessage()));
        frame_->Action(command::kUndo)->trigger();
        QVERIFY(frame_->isWindowModified());
        frame_->Action(command::kSave)->trigger(); // back as it was, still without asking
        QVERIFY(!frame_->isWindowModified());
        QCOMPARE(QFileInfo(scene + QStringLiteral(".cgs")).size(), sizeBefore);
        QString title;
        AnswerNextFileDialog(QString::fromStdString(work_.File("other")), {}, &title);
        QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(title, QStringLiteral("Save Scene As"));
        QVERIFY(QFile::exists(QString::fromStdString(work_.File("other.cgs"))));
        QCOMPARE(frame_->windowTitle(), QStringLiteral("other.cgs[*] - zelvane ") + version);
        QVERIFY(!frame_->isWindowModified());
        QVERIFY(frame_->OpenDocumentFile(FromQt(scene + QStringLiteral(".cgs"))));

        // The recent files hold it, in this window and the next.
        QAction* recent = frame_->findChild<QAction*>(QStringLiteral("actionRecentFile1"));
        QVERIFY(recent->isVisible());
        QVERIFY2(recent->text().endsWith(QStringLiteral("room.cgs")), qPrintable(recent->text()));
        // The box picked with a click and moved a little, as a user is seen at work.
        frame_->Action(command::kShaded)->trigger();
        view_->grabFramebuffer();
        const QPoint onBox = test::WhereShown(view_->Viewport(), {1.5f, 0.5f, -1.0f}, view_->devicePixelRatio());
        QTest::mouseClick(view_, Qt::LeftButton, {}, onBox);
        QCOMPARE(document_->Scene()->SelectedObject(), document_->Scene()->Objects()[0].get());
        frame_->Action(command::kMove)->trigger();
        QTest::mousePress(view_, Qt::LeftButton, {}, onBox);
        QTest::mouseMove(view_, onBox + QPoint(6, 5));
        QTest::mouseRelease(view_, Qt::LeftButton, {}, onBox + QPoint(6, 5));
        QVERIFY(!frame_->ReadoutPaneText().trimmed().isEmpty());
        view_->grabFramebuffer();
        test::Screenshot(*frame_, QStringLiteral("frame-scene-opened"));
        cleanup();
        keepSettings_ = true;
        init();
        keepSettings_ = false;
        recent = frame_->findChild<QAction*>(QStringLiteral("actionRecentFile1"));
        QVERIFY(recent->isVisible());
        recent->trigger();
        QCOMPARE(document_->Scene()->Objects().size(), saved.size());

        // A recent file that has gone leaves the list with a word to the user.
        QVERIFY(QFile::rename(scene + QStringLiteral(".cgs"), scene + QStringLiteral("-moved.cgs")));
        reporter_.Clear();
        recent->trigger();
        QCOMPARE(reporter_.Messages().size(), size_t{1});
        // The scene saved as "other.cgs" is the one recent file left.
        QVERIFY(recent->isVisible());
        QVERIFY2(recent->text().endsWith(QStringLiteral("other.cgs")), qPrintable(recent->text()));
        QVERIFY(!frame_->findChild<QAction*>(QStringLiteral("actionRecentFile2"))->isVisible());
    }

    void insertPutsEachKindOnTheFootprintFromTheMenu()
    {
        document_->SetCage({2, 1, 2});
        // Through the keyboard, as a user opens the menu.
        QTest::keyClick(frame_.get(), Qt::Key_N, Qt::AltModifier);
        auto* insert = frame_->findChild<QMenu*>(QStringLiteral("menuInsert"));
        QTRY_VERIFY(insert->isVisible());
        QTest::keyClick(insert, Qt::Key_B);
        QCOMPARE(document_->Scene()->Objects().size(), size_t{1});
        COGLObject* box = document_->Scene()->Objects().back().get();
        QCOMPARE(box->Kind(), ObjectKind::Box);
        QCOMPARE(document_->Selection().object, box);
        QCOMPARE(frame_->Action(command::kUndo)->text(), QStringLiteral("&Undo Insert Box"));
        QVERIFY(test::Near(box->Position(), Vector3(0.0f, 0.5f, 0.0f)));
        QVERIFY(frame_->statusBar()->currentMessage().startsWith(QStringLiteral("Inserted a box")));

        for (const int id : {command::kInsertSphere, command::kInsertCylinder, command::kInsertRod,
                             command::kInsertCone, command::kInsertPlane, command::kInsertDisk,
                             command::kInsertBillboard}) {
            frame_->Action(id)->trigger();
            QVERIFY(std::fabs(document_->Scene()->Objects().back()->SceneBox().Centre().x) < 1e-4f);
        }
        QCOMPARE(document_->Scene()->Objects().size(), size_t{8});

        // 3-D Text asks for the text, the font and the depth.
        WithNextDialog<CInsertTextDlg>([](CInsertTextDlg& dialog) {
            auto* text = dialog.findChild<QLineEdit*>(QStringLiteral("text"));
            text->selectAll();
            QTest::keyClicks(text, QStringLiteral("Sale"));
            dialog.findChild<QDoubleSpinBox*>(QStringLiteral("depth"))->setValue(0.3);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        });
        frame_->Action(command::kInsertText)->trigger();
        auto* text = dynamic_cast<COGLText*>(document_->Scene()->Objects().back().get());
        QVERIFY(text);
        QCOMPARE(text->Text(), std::string("Sale"));
        QCOMPARE(text->Extrusion(), 0.3f);
        QVERIFY(std::fabs(text->SceneBox().low.y) < 1e-4f);
        frame_->Action(command::kShaded)->trigger();
        view_->grabFramebuffer();
        test::Screenshot(*frame_, QStringLiteral("frame-inserted"));
        for (int i = 0; i < 9; ++i)
            frame_->Action(command::kUndo)->trigger();
        QVERIFY(document_->Scene()->Objects().empty());
    }

    void helpShowsTheGuideInsideTheProgram()
    {
        QTest::keyClick(frame_.get(), Qt::Key_F1);
        auto* guide = frame_->findChild<CUserGuideDlg*>();
        QVERIFY(guide);
        QTRY_VERIFY(guide->isVisible());
        QVERIFY(guide->Browser().toPlainText().contains(QStringLiteral("The first five minutes")));
        QVERIFY(reporter_.Messages().empty());
        guide->close();
    }

    void imagesAreSavedInBothFormatsWithTheViewsPixels()
    {
        view_->BeginGL();
        document_->Scene()->AddObject(std::make_unique<COGLBox>());
        view_->EndGL();
        for (const bool bitmap : {true, false}) {
            const QString name = QString::fromStdString(work_.File(bitmap ? "shot" : "shot2"));
            AnswerNextFileDialog(name, bitmap ? QStringLiteral("Windows Bitmap Files (*.bmp)")
                                              : QStringLiteral("Truevision Targa Files (*.tga)"));
            frame_->Action(command::kSaveImage)->trigger();
            const QString file = name + (bitmap ? QStringLiteral(".bmp") : QStringLiteral(".tga"));
            QVERIFY2(QFile::exists(file), qPrintable(file));
            const std::vector<uint8_t> bytes = test::ReadBytes(FromQt(file));
            QCOMPARE(bytes.at(0) == 'B' && bytes.at(1) == 'M', bitmap);

            const PlainImage& captured = view_->CapturedImage();
            int width = 0;
            int height = 0;
            const std::vector<uint8_t> pixels = PixelsOf(bytes, bitmap, width, height);
            QCOMPARE(width, captured.Width());
            QCOMPARE(height, captured.Height());
            std::vector<uint8_t> expected;
            for (int y = height - 1; y >= 0; --y) // Row counts from the top
                expected.insert(expected.end(), captured.Row(y).begin(), captured.Row(y).end());
            QVERIFY(pixels == expected);
            // Not a blank picture: the floor and the walls differ.
            QVERIFY(std::adjacent_find(pixels.begin(), pixels.end(), std::not_equal_to<>()) != pixels.end());
        }
    }

    void aTextureThatMovedIsAskedForWhileTheSceneOpens()
    {
        // A bitmap of the user's, put on a picked box through the mesh panel.
        const std::optional<std::string> maps = FindProgramFolder("Maps");
        QVERIFY(maps);
        std::filesystem::create_directories(work_.Path() / "textures");
        std::filesystem::create_directories(work_.Path() / "moved");
        const std::filesystem::path wood = work_.Path() / "textures" / "wood.bmp";
        std::filesystem::copy_file(std::filesystem::path(*maps) / "Default Floor.bmp", wood,
                                   std::filesystem::copy_options::overwrite_existing);
        view_->BeginGL();
        COGLObject& box = document_->Scene()->AddObject(std::make_unique<COGLBox>());
        view_->EndGL();
        frame_->Action(command::kCameraFrontButton)->trigger();
        view_->grabFramebuffer();
        QTest::mouseClick(view_, Qt::LeftButton, {},
                          test::WhereShown(view_->Viewport(), {0, 0, 0}, view_->devicePixelRatio()));
        QCOMPARE(document_->Scene()->SelectedObject(), &box);
        frame_->ObjectBar().setCurrentIndex(1);
        AnswerNextFileDialog(QString::fromStdString(wood.string()));
        QTest::mouseClick(frame_->ObjectBar().findChild<QPushButton*>(QStringLiteral("loadTexture")), Qt::LeftButton);
        auto* useTexture = frame_->ObjectBar().findChild<QCheckBox*>(QStringLiteral("useTexture"));
        test::ClickIndicator(*useTexture);
        QVERIFY(box.Texture());
        QCOMPARE(box.Texture()->Path(), wood.string());

        const std::string scene = work_.File("textured.cgs");
        QVERIFY(document_->SaveSceneFile(scene).ok());
        const std::filesystem::path moved = work_.Path() / "moved" / "wood.bmp";
        std::filesystem::rename(wood, moved);

        QString asked;
        AnswerNextFileDialog(QString::fromStdString(moved.string()), {}, &asked);
        QVERIFY(frame_->OpenDocumentFile(scene));
        QCOMPARE(asked, QStringLiteral("This TEXTURE cannot be located.  Please find it or Click Cancel."));
        QCOMPARE(document_->Scene()->Objects().size(), size_t{1});
        COGLTexture2D* found = document_->Scene()->Objects().front()->Texture();
        QVERIFY(found);
        QCOMPARE(found->Path(), moved.string());
    }

    void droppedFilesOpenAsScenesOrImportThroughTheirPlugin()
    {
        // A scene file made here first.
        view_->BeginGL();
        document_->Scene()->AddObject(std::make_unique<COGLBox>());
        view_->EndGL();
        const std::string scene = work_.File("dropped.cgs");
        QVERIFY(document_->SaveSceneFile(scene).ok());
        view_->BeginGL();
        document_->Scene()->AddObject(std::make_unique<COGLBox>());
        view_->EndGL();

        DropFile(*view_, QString::fromStdString(scene));
        QCOMPARE(document_->Scene()->Objects().size(), size_t{1});
        QVERIFY(frame_->findChild<QAction*>(QStringLiteral("actionRecentFile1"))->text().endsWith(
            QStringLiteral("dropped.cgs")));

        if (std::filesystem::exists(meshFile_)) {
            DropFile(*view_, QString::fromStdString(meshFile_.string()));
            QCOMPARE(document_->Scene()->Objects().size(), size_t{2});
            QVERIFY(dynamic_cast<COGLMesh*>(document_->Scene()->Objects().back().get()));
            QCOMPARE(frame_->Action(command::kUndo)->text(), QStringLiteral("&Undo Import"));
        }
    }

    void thePreviewTakesTheViewsPlaceAndEscapeGivesItBack()
    {
        auto* toolbar = frame_->findChild<QToolBar*>(QStringLiteral("toolBar"));
        frame_->Action(command::kPrintPreview)->trigger();
        QVERIFY(frame_->IsPreviewing());
        QVERIFY(!frame_->menuBar()->isVisible());
        QVERIFY(!toolbar->isVisible());
        QVERIFY(!frame_->statusBar()->isVisible());
        QVERIFY(!frame_->Action(command::kUndo)->isEnabled());
        QTest::qWait(50); // the layout without the bars
        test::Screenshot(*frame_, QStringLiteral("frame-print-preview"));

        QTest::keyClick(frame_->findChild<QWidget*>(QStringLiteral("previewPages")), Qt::Key_Escape);
        QVERIFY(!frame_->IsPreviewing());
        QVERIFY(frame_->menuBar()->isVisible());
        QVERIFY(toolbar->isVisible());
        QVERIFY(frame_->statusBar()->isVisible());
        QVERIFY(frame_->Action(command::kOpen)->isEnabled());

        // Closing the window during a preview closes the preview first and keeps the bars' layout.
        frame_->Action(command::kPrintPreview)->trigger();
        QVERIFY(frame_->IsPreviewing());
        frame_->close();
        QVERIFY(!frame_->IsPreviewing());
        QVERIFY(OpenEditorSettings()->contains(QStringLiteral("Bars/State")));
    }

    void unsavedSceneChangesAreNotLostWithoutAsking()
    {
        const std::string scene = work_.File("asked.cgs");
        QVERIFY(document_->SaveSceneFile(scene).ok());
        QVERIFY(!document_->HasUnsavedChanges());
        frame_->Action(command::kCameraFrontButton)->trigger();
        view_->BeginGL();
        COGLObject& box = document_->Scene()->AddObject(std::make_unique<COGLBox>());
        view_->EndGL();
        document_->Select({&box, nullptr});
        frame_->Action(command::kCopy)->trigger(); // a change, not yet saved
        const size_t objects = document_->Scene()->Objects().size();

        // Opening asks; No keeps the scene as it is.
        reporter_.Clear();
        reporter_.QueueAnswer(MessageAnswer::No);
        QVERIFY(!frame_->OpenDocumentFile(scene));
        QCOMPARE(reporter_.Messages().size(), size_t{1});
        QCOMPARE(reporter_.Messages()[0].buttons, MessageButtons::YesNo);
        QCOMPARE(document_->Scene()->Objects().size(), objects);

        // Closing asks; Cancel keeps the window, No lets it go.
        reporter_.QueueAnswer(MessageAnswer::Cancel);
        QVERIFY(!frame_->close());
        QVERIFY(frame_->isVisible());
        QCOMPARE(reporter_.Messages().back().buttons, MessageButtons::YesNoCancel);
        reporter_.QueueAnswer(MessageAnswer::No);
        QVERIFY(frame_->close());

        // Undone back to the save, nothing is asked.
        frame_->show();
        frame_->Action(command::kUndo)->trigger();
        reporter_.Clear();
        QVERIFY(frame_->OpenDocumentFile(scene));
        QVERIFY(reporter_.Messages().empty());
    }

    void aSceneNamedOnTheCommandLineOpensAndJoinsTheRecentFiles()
    {
        view_->BeginGL();
        document_->Scene()->AddObject(std::make_unique<COGLBox>());
        view_->EndGL();
        const std::string scene = work_.File("start.cgs");
        QVERIFY(document_->SaveSceneFile(scene).ok());
        cleanup();

        EditorOptions options;
        options.splash = false;
        options.gameFolder = test::SampleGameFolder();
        options.sceneFile = scene;
        CEditorApp editor;
        QVERIFY(editor.InitInstance(options));
        QCOMPARE(editor.Document()->Scene()->Objects().size(), size_t{1});
        QCOMPARE(editor.Document()->PathName(), scene);
        QCOMPARE(RecentFileListFirst(), QString::fromStdString(scene));
        editor.MainFrame()->close();
    }

private:
    static QString RecentFileListFirst()
    {
        return OpenEditorSettings()->value(QStringLiteral("Recent File List/File1")).toString();
    }

    QTemporaryDir settings_;
    test::TempDir work_;
    test::ScopedEnvironment env_;
    RecordingReporter reporter_;
    std::filesystem::path meshFile_;
    bool keepSettings_ = false;
    std::unique_ptr<COGLDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    COGLView* view_ = nullptr;
};

} // namespace zelvane

QTEST_MAIN(zelvane::MainFrameCommandsTest)
#include "MainFrameCommandsTest.moc"
