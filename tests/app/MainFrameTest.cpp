// The real main window on a real display: its view must get a working
// compatibility context and paint the scene background.
//
// With ZELVANE_SCREENSHOT=<file.png> set, the painted window is also saved there.

#include "app/CMainFrame.h"
#include "report/Version.h"
#include "tests/testkit/ScopedEnvironment.h"
#include "view/COGLView.h"

#include <GL/gl.h>
#include <QFile>
#include <QImage>
#include <QOpenGLContext>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace zelvane {

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A private debug log, named before anything is logged.
        QVERIFY(logFolder_.isValid());
        env_.Set("ZELVANE_LOG_DIR", QFile::encodeName(logFolder_.path()).toStdString());
    }

    void showsTheViewPaintedInTheSceneBackground()
    {
        CMainFrame frame;
        QSignalSpy painted(frame.View(), &QOpenGLWidget::frameSwapped);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(painted.count() > 0 || painted.wait(10000));

        QCOMPARE(frame.windowTitle(), QStringLiteral("zelvane ") + QString::fromLatin1(kProgramVersion));
        QCOMPARE(frame.centralWidget(), frame.View());

        const QImage image = frame.View()->grabFramebuffer();
        QVERIFY(!image.isNull());
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), QColor(207, 200, 207));
        QCOMPARE(image.pixelColor(0, image.height() - 1), QColor(207, 200, 207));

        // The paint checks for OpenGL errors; that check must see Qt's context as
        // current (it is not an EGL context) and find nothing to complain about.
        QFile log(logFolder_.filePath(QStringLiteral("log.txt")));
        if (log.open(QIODevice::ReadOnly))
            QCOMPARE(QString::fromLocal8Bit(log.readAll()), QString());

        const QByteArray screenshot = qgetenv("ZELVANE_SCREENSHOT");
        if (!screenshot.isEmpty())
            QVERIFY(frame.grab().save(QFile::decodeName(screenshot)));
    }

    void nestedBracketsKeepTheViewsContextCurrentUntilTheOutermostEnd()
    {
        CMainFrame frame;
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
    }

private:
    QTemporaryDir logFolder_;
    test::ScopedEnvironment env_;
};

} // namespace zelvane

QTEST_MAIN(zelvane::MainFrameTest)
#include "MainFrameTest.moc"
