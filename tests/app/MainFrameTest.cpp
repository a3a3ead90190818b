// Start-up and the main window on a real display: the settings and their
// defaults, the gamma table, one document however often a new one is asked
// for, the bar layout kept only when "SaveSettings" says so, the view's and
// viewport's settings written when the window goes, the splash swallowing the
// key that hides it, and the view's OpenGL brackets.

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/CSplashWindow.h"
#include "document/COGLDoc.h"
#include "objects/GameFolder.h"
#include "scene/COGLScene.h"
#include "interaction/CommandIds.h"
#include "report/Version.h"
#include "scene/TextureMaths.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/ScopedEnvironment.h"
#include "view/COGLView.h"
#include "view/EditorSettings.h"

#include <GL/gl.h>
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QOpenGLContext>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace zelvane {

class MainFrameTest : public QObject {
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

    void init() { OpenEditorSettings()->clear(); }

    void startsWithDefaultSettingsAndOneDocument()
    {
        CEditorApp editor;
        QVERIFY(editor.InitInstance(NoSplash()));
        QCOMPARE(editor.Gamma(), 1.0f);
        QVERIFY(editor.SaveSettings());
        QCOMPARE(CurrentGammaTable(), MakeGammaTable(1.0));
        QVERIFY(reporter_.Messages().empty()); // no release notice with --no-splash

        CMainFrame* frame = editor.MainFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        QVERIFY(frame->isMaximized());
        // The scene's name, and the mark Qt shows while it has unsaved changes.
        QCOMPARE(frame->windowTitle(), QStringLiteral("Untitled[*] - zelvane ") + QString::fromLatin1(kProgramVersion));
        QVERIFY(!frame->isWindowModified());
        QVERIFY(frame->View()->Document().Scene());
        QCOMPARE(frame->View()->Document().Scene()->Lights().size(), std::size_t{3});
        editor.OnFileNew();
        QCOMPARE(editor.MainFrame(), frame);

        frame->close();
        QVERIFY(OpenEditorSettings()->contains(QStringLiteral("Bars/State")));
    }

    void theReleaseNoticeSaysWhatThisVersionDoesOncePerVersion()
    {
        {
            EditorOptions options;
            options.splash = true;
            CEditorApp editor;
            QVERIFY(editor.InitInstance(options));
            QCOMPARE(reporter_.Messages().size(), std::size_t{1});
            const std::string& notice = reporter_.Messages().front().text;
            QVERIFY(notice.find(std::string("zelvane ") + kProgramVersion) != std::string::npos);
            QVERIFY(notice.find("Render Sprites from Scene") != std::string::npos);
            QVERIFY(notice.find("Downloads") != std::string::npos);
            QVERIFY(notice.find("does not yet replace") == std::string::npos);
            QCOMPARE(OpenEditorSettings()->value(QStringLiteral("Settings/ReleaseNoticeShown")).toString(),
                     QString::fromLatin1(kProgramVersion));
            editor.MainFrame()->close();
        }
        reporter_.Clear();
        {
            EditorOptions options;
            options.splash = true;
            CEditorApp editor;
            QVERIFY(editor.InitInstance(options));
            QVERIFY(reporter_.Messages().empty()); // shown once for this version
            editor.MainFrame()->close();
        }
        // Another version shows its own.
        OpenEditorSettings()->setValue(QStringLiteral("Settings/ReleaseNoticeShown"), QStringLiteral("0.0.9"));
        const auto settings = OpenEditorSettings();
        QVERIFY(CEditorApp::ReleaseNoticeDue(*settings));
    }

    void oneSettingsFileTakingTheOldOneOverOnce()
    {
        const QString conf = EditorSettingsPath();
        QVERIFY(conf.endsWith(QStringLiteral("/zelvane/zelvane.conf")));
        QVERIFY(QFile::remove(conf));
        const QString ini = QFileInfo(conf).absolutePath() + QStringLiteral("/zelvane.ini");
        {
            QSettings earlier(ini, QSettings::IniFormat);
            earlier.setValue(QStringLiteral("Settings/SIMS_DATA"), QStringLiteral("/games/The Sims/"));
            earlier.setValue(QStringLiteral("Settings/Gamma"), 150);
        }
        QVERIFY(QFile::exists(ini));
        QCOMPARE(OpenEditorSettings()->value(QStringLiteral("Settings/Gamma")).toInt(), 150);
        QVERIFY(!QFile::exists(ini));
        QVERIFY(QFile::exists(conf));
        // The game folder's search reads SIMS_DATA from that same file.
        QCOMPARE(ReadIniValue(QFile::encodeName(conf).toStdString(), "Settings", "SIMS_DATA"),
                 std::optional<std::string>("/games/The Sims/"));
        // Taken over once: a later zelvane.ini is left alone.
        {
            QSettings later(ini, QSettings::IniFormat);
            later.setValue(QStringLiteral("Settings/Gamma"), 90);
        }
        QCOMPARE(OpenEditorSettings()->value(QStringLiteral("Settings/Gamma")).toInt(), 150);
        QVERIFY(QFile::remove(ini));
    }

    void readsGammaAndKeepsTheBarsAloneWhenSettingsAreNotSaved()
    {
        {
            const auto settings = OpenEditorSettings();
            settings->setValue(QStringLiteral("Settings/Gamma"), 220);
            settings->setValue(QStringLiteral("Settings/SaveSettings"), 0);
        }
        CEditorApp editor;
        QVERIFY(editor.InitInstance(NoSplash()));
        QCOMPARE(editor.Gamma(), 2.2f);
        QCOMPARE(CurrentGammaTable(), MakeGammaTable(2.2f));
        editor.MainFrame()->close();
        const auto settings = OpenEditorSettings();
        settings->beginGroup(QStringLiteral("Bars"));
        QVERIFY(settings->childKeys().isEmpty());
        BuildGammaTable(1.0);
    }

    void theViewWritesItsSettingsWhenItGoes()
    {
        OpenEditorSettings()->setValue(QStringLiteral("Settings/ForceSWRender"), 1);
        {
            COGLDoc document(std::nullopt, {});
            CMainFrame frame(document);
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            QVERIFY(frame.View()->ForceSoftwareRendering());
            frame.Action(command::kGrid)->trigger();
            frame.Action(command::kCage)->trigger();
        }
        const auto settings = OpenEditorSettings();
        QCOMPARE(settings->value(QStringLiteral("Settings/Grid")).toInt(), 0);
        QCOMPARE(settings->value(QStringLiteral("Settings/Cage")).toInt(), 1);
        QCOMPARE(settings->value(QStringLiteral("Settings/Axis")).toInt(), 1);
        QCOMPARE(settings->value(QStringLiteral("Settings/ForceSWRender")).toInt(), 1);
        QCOMPARE(settings->value(QStringLiteral("Settings/ShowFrameTime")).toInt(), 0);
    }

    void aKeyHidesTheSplashAndDoesNotReachTheProgram()
    {
        QLineEdit edit;
        edit.show();
        edit.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        CSplashWindow::Show(&edit);
        QVERIFY(CSplashWindow::Current());
        QTest::keyClick(&edit, Qt::Key_A);
        QVERIFY(!CSplashWindow::Current());
        QCOMPARE(edit.text(), QString());
        QTest::keyClick(&edit, Qt::Key_A);
        QCOMPARE(edit.text(), QStringLiteral("a"));

        // Left alone, it goes after 750 milliseconds.
        CSplashWindow::Show(&edit);
        QTRY_VERIFY_WITH_TIMEOUT(!CSplashWindow::Current(), 5000);
    }

    void nestedBracketsKeepTheViewsContextCurrentUntilTheOutermostEnd()
    {
        COGLDoc document(std::nullopt, {});
        CMainFrame frame(document);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        COGLView& view = *frame.View();
        view.doneCurrent();

        view.BeginGL();
        view.BeginGL();
        view.EndGL();
        QCOMPARE(QOpenGLContext::currentContext(), view.context());
        // A compatibility context: the fixed-function calls the scene makes work.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        QCOMPARE(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        view.EndGL();
        QCOMPARE(QOpenGLContext::currentContext(), nullptr);

        // The paint checks for OpenGL errors and finds nothing to complain about.
        view.grabFramebuffer();
        QFile log(folder_.filePath(QStringLiteral("log.txt")));
        if (log.open(QIODevice::ReadOnly))
            QVERIFY(!log.readAll().contains("After OnDraw"));
    }

private:
    static EditorOptions NoSplash()
    {
        EditorOptions options;
        options.splash = false;
        return options;
    }

    QTemporaryDir folder_;
    test::ScopedEnvironment env_;
    RecordingReporter reporter_;
};

} // namespace zelvane

QTEST_MAIN(zelvane::MainFrameTest)
#include "MainFrameTest.moc"
