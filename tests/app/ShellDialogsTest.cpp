// The shell's smaller pieces: the About box, the file dialogs of scenes,
// images and the locator, the status bar's progress display and the user
// guide.

#include "app/CAboutDlg.h"
#include "app/FileDialogs.h"
#include "app/QtOpenFileDialog.h"
#include "app/StatusBarProgress.h"
#include "app/UserGuide.h"
#include "plugins/host/CPluginManager.h"
#include "report/Version.h"
#include "scene/CFileLocator.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"
#include "tests/view/WidgetTestSupport.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QRegularExpression>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QTextBrowser>

#include <filesystem>

namespace zelvane {

// Records what the desktop was asked to open instead of starting a browser.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

class ShellDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetReporter(&reporter_); }
    void cleanupTestCase() { SetReporter(nullptr); }
    void init() { reporter_.Clear(); }

    void aboutBoxShowsTheOpenGLStringsAndThePlugins()
    {
        const OpenGLInfo openGL{"4.5 (Compatibility Profile) Mesa 22.3.6", "Mesa", "llvmpipe (LLVM 15.0.6, 256 bits)"};
        const std::array<std::string, 3> lines = CAboutDlg::OpenGLLines(openGL);
        QCOMPARE(QString::fromStdString(lines[0]),
                 QStringLiteral("Version:\t\t4.5 (Compatibility Profile) Mesa 22.3.6\n"));
        QCOMPARE(QString::fromStdString(lines[1]), QStringLiteral("Vendor:\t\tMesa\n"));
        QCOMPARE(QString::fromStdString(lines[2]), QStringLiteral("Renderer:\tllvmpipe (LLVM 15.0.6, 256 bits)\n"));

        CPluginManager plugins;
        static_cast<void>(plugins.ScanFolder(ZELVANE_PLUGIN_FOLDER));
        QCOMPARE(plugins.Plugins().size(), size_t{2}); // meshport and modelport
        CAboutDlg about(openGL, plugins.InfoLines());
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.windowTitle(), QStringLiteral("About zelvane"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("version"))->text(),
                 QStringLiteral("Version ") + QString::fromLatin1(kProgramVersion));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("openGLRenderer"))->text(),
                 QStringLiteral("llvmpipe (LLVM 15.0.6, 256 bits)"));
        QVERIFY(about.findChild<QLabel*>(QStringLiteral("trademarks"))
                    ->text()
                    .startsWith(QStringLiteral("The Sims and Living Large are trademarks of Maxis.\n")));
        QVERIFY(!about.findChild<QLabel*>(QStringLiteral("icon"))->pixmap().isNull());
        auto* list = about.findChild<QListWidget*>(QStringLiteral("pluginList"));
        QCOMPARE(list->count(), 9);
        QCOMPARE(list->item(0)->text(), QStringLiteral("2 plug-ins loaded"));
        QCOMPARE(list->item(1)->text(), QString());
        QVERIFY(list->item(2)->text().startsWith(QStringLiteral("Name: ")));
        test::Screenshot(about, QStringLiteral("about"));
        QTest::keyClick(&about, Qt::Key_Return);
        QCOMPARE(about.result(), static_cast<int>(QDialog::Accepted));
    }

    void sceneDialogsUseTheSceneFilterAndSavingAddsItsExtension()
    {
        test::TempDir folder;
        test::WriteBytes(folder.File("room.cgs"), {'C', 'G', 'S', '1'});
        const auto open = MakeOpenSceneDialog(nullptr);
        QCOMPARE(open->nameFilters(), QStringList{QStringLiteral("zelvane Scenes (*.cgs)")});
        QCOMPARE(open->acceptMode(), QFileDialog::AcceptOpen);

        test::WhenModal<QFileDialog> answer([&folder](QFileDialog& dialog) {
            QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
            dialog.setDirectory(QString::fromStdString(folder.Path().string()));
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QTest::keyClicks(name, QStringLiteral("kitchen"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        const std::optional<std::string> saved = AskSaveScenePath(nullptr);
        QVERIFY(answer.Done());
        QVERIFY(saved);
        QCOMPARE(QString::fromStdString(*saved), QString::fromStdString(folder.File("kitchen.cgs")));
    }

    void saveImageTakesItsFormatFromTheFilter()
    {
        test::TempDir folder;
        auto save = [&folder](const QString& filter, const QString& name) {
            test::WhenModal<QFileDialog> answer([&](QFileDialog& dialog) {
                QCOMPARE(dialog.nameFilters(), (QStringList{QStringLiteral("Windows Bitmap Files (*.bmp)"),
                                                            QStringLiteral("Truevision Targa Files (*.tga)"),
                                                            QStringLiteral("All Files (*)")}));
                dialog.setDirectory(QString::fromStdString(folder.Path().string()));
                dialog.selectNameFilter(filter);
                emit dialog.filterSelected(filter); // as choosing it in the dialog does
                auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QTest::keyClicks(edit, name);
                QTest::keyClick(edit, Qt::Key_Return);
            });
            return AskSaveImage(nullptr);
        };
        std::optional<SaveImageAnswer> answer = save(QStringLiteral("Truevision Targa Files (*.tga)"),
                                                     QStringLiteral("shot"));
        QVERIFY(answer);
        QCOMPARE(QString::fromStdString(answer->path), QString::fromStdString(folder.File("shot.tga")));
        QVERIFY(answer->filter == ImageFilter::Targa);
        answer = save(QStringLiteral("Windows Bitmap Files (*.bmp)"), QStringLiteral("shot"));
        QCOMPARE(QString::fromStdString(answer->path), QString::fromStdString(folder.File("shot.bmp")));
        QVERIFY(answer->filter == ImageFilter::Bitmap);
        answer = save(QStringLiteral("All Files (*)"), QStringLiteral("shot"));
        QCOMPARE(QString::fromStdString(answer->path), QString::fromStdString(folder.File("shot")));
        QVERIFY(answer->filter == ImageFilter::AllFiles);
    }

    void theLocatorAsksWithItsTitleAndProposesTheStoredName()
    {
        test::TempDir folder;
        const std::string sceneFolder = folder.Path().string() + "/";
        const auto dialog = MakeOpenFileDialog(
            nullptr, {kLocateTextureTitle, kLocateTextureFilter, "C:\\Old\\Maps\\wood.bmp", sceneFolder});
        QCOMPARE(dialog->windowTitle(),
                 QStringLiteral("This TEXTURE cannot be located.  Please find it or Click Cancel."));
        QCOMPARE(dialog->nameFilters(), (QStringList{QStringLiteral("All Texture Files (*.bmp *.tga)"),
                                                    QStringLiteral("Windows Bitmap (*.bmp)"),
                                                    QStringLiteral("Truevision Targa (*.tga)")}));
        QCOMPARE(QDir(dialog->directory()).canonicalPath(),
                 QDir(QString::fromStdString(folder.Path().string())).canonicalPath());
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), QStringLiteral("wood.bmp"));
        QCOMPARE(NameFiltersOf("3D Studio Files (*.3ds)|*.3ds||"), QStringList{QStringLiteral("3D Studio Files (*.3ds)")});
        // A plug-in with several extensions: patterns as the dialog takes them.
        QCOMPARE(NameFiltersOf("glTF and OBJ Models (*.gltf *.glb *.obj)|*.gltf;*.glb;*.obj||"),
                 QStringList{QStringLiteral("glTF and OBJ Models (*.gltf *.glb *.obj)")});
        QCOMPARE(NameFiltersOf("Models|*.gltf;*.glb||"), QStringList{QStringLiteral("Models (*.gltf *.glb)")});

        // The locator's question reaches the dialog through the adapter; Cancel gives nothing.
        QtOpenFileDialog asker(nullptr);
        test::WhenModal<QFileDialog> cancel([](QFileDialog& asked) { asked.reject(); });
        QVERIFY(!asker.AskForFileToOpen({kLocateTextureTitle, kLocateTextureFilter, "wood.bmp", sceneFolder}));
        QVERIFY(cancel.Done());
    }

    void progressNestsAndShowsOnlyTheOutermostDisplay()
    {
        QMainWindow window;
        StatusBarProgress progress(*window.statusBar());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(progress.Bar(), nullptr);
        progress.BeginProgress(50, "Loading...");
        QProgressBar* bar = progress.Bar();
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(bar->maximum(), 50);
        QCOMPARE(progress.Text()->text(), QStringLiteral("Loading..."));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        // The text takes the left half of the pane, the bar the right.
        QVERIFY(bar->geometry().left() >= progress.Text()->geometry().right());

        progress.BeginProgress(10, "Inner");
        QCOMPARE(progress.Bar(), bar);
        QCOMPARE(progress.Text()->text(), QStringLiteral("Loading..."));
        progress.StepProgress();
        progress.StepProgress();
        QCOMPARE(bar->value(), 2);
        progress.EndProgress();
        QCOMPARE(progress.Bar(), bar);
        progress.EndProgress();
        QCOMPARE(progress.Bar(), nullptr);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        progress.EndProgress(); // one too many changes nothing
        progress.StepProgress();
        QCOMPARE(progress.Nesting(), 0);
    }

    void helpOpensTheShippedGuideAndTheWebPage()
    {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "Open");
        // The guide is found below the folder the program starts in.
        const std::optional<std::string> guide = UserGuidePath();
        QVERIFY(guide);
        QVERIFY(std::filesystem::path(*guide).filename() == "index.html");
        // Every picture and page the guide refers to is shipped with it.
        QFile page(QString::fromStdString(*guide));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        const QDir folder = QFileInfo(page).dir();
        int references = 0;
        QRegularExpressionMatchIterator found =
            QRegularExpression(QStringLiteral("(?:src|href)=\"([^\"#:]+)\"")).globalMatch(html);
        while (found.hasNext()) {
            const QString target = found.next().captured(1);
            QVERIFY2(folder.exists(target), qPrintable(target));
            ++references;
        }
        QVERIFY(references > 20);

        // The guide shows inside the program, without a browser: its first
        // page with its pictures, and its pages linked from there.
        QWidget owner;
        QVERIFY(OpenUserGuide(&owner));
        QVERIFY(recorder.opened.isEmpty());
        auto* window = owner.findChild<CUserGuideDlg*>();
        QVERIFY(window && window->isVisible());
        QTextBrowser& browser = window->Browser();
        QCOMPARE(browser.source(), QUrl::fromLocalFile(QString::fromStdString(*guide)));
        QCOMPARE(browser.documentTitle(), QStringLiteral("zelvane user guide"));
        QVERIFY(browser.toPlainText().contains(QStringLiteral("The first five minutes")));
        const QVariant picture = browser.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/zelvane.png")));
        QVERIFY(!picture.value<QImage>().isNull() || !picture.toByteArray().isEmpty());
        // A second Help ▸ Contents brings the same window back.
        QVERIFY(OpenUserGuide(&owner));
        QCOMPARE(owner.findChildren<CUserGuideDlg*>().size(), 1);
        QVERIFY(reporter_.Messages().empty());

        QVERIFY(OpenWebPage());
        QCOMPARE(recorder.opened.back(), QUrl(QStringLiteral("https://zelvane.example.org/")));
        QVERIFY(reporter_.Messages().empty());
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        // Without a browser the user learns the address and what to do.
        QVERIFY(!OpenLink(QStringLiteral("https://[unopenable"), kWebPageFailedText));
        QCOMPARE(reporter_.Messages().size(), std::size_t{1});
        const std::string& told = reporter_.Messages().front().text;
        QVERIFY(told.rfind(kWebPageFailedText, 0) == 0);
        QVERIFY(told.find("https://[unopenable") != std::string::npos);
        QVERIFY(told.find("copied to the clipboard") != std::string::npos);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://[unopenable"));
        reporter_.Clear();
    }

private:
    RecordingReporter reporter_;
};

} // namespace zelvane

QTEST_MAIN(zelvane::ShellDialogsTest)
#include "ShellDialogsTest.moc"
