#include "app/CSplashWindow.h"

#include "report/Version.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace zelvane {

QPointer<CSplashWindow> CSplashWindow::current_;

CSplashWindow::CSplashWindow(const QPixmap& picture) : QSplashScreen(picture)
{
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    qApp->installEventFilter(this);
}

CSplashWindow::~CSplashWindow()
{
    qApp->removeEventFilter(this);
}

CSplashWindow* CSplashWindow::Show(QWidget* frame)
{
    if (current_)
        return current_;
    auto* splash = new CSplashWindow(Picture());
    current_ = splash;
    if (const QScreen* screen = frame ? frame->screen() : QGuiApplication::primaryScreen())
        splash->move(screen->geometry().center() - splash->rect().center());
    splash->show();
    QTimer::singleShot(kShowMilliseconds, splash, [] { HideCurrent(); });
    return splash;
}

CSplashWindow* CSplashWindow::Current()
{
    return current_;
}

void CSplashWindow::HideCurrent()
{
    if (!current_)
        return;
    CSplashWindow* splash = current_;
    current_ = nullptr;
    splash->close();
    if (QWidget* window = QApplication::activeWindow())
        window->update();
}

bool CSplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    // A key first asks whether a shortcut takes it: none may while the splash
    // shows, and the key press that follows hides it.
    case QEvent::ShortcutOverride:
        if (current_ == this) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        if (current_ == this) {
            HideCurrent();
            return true;
        }
        break;
    default:
        break;
    }
    return QSplashScreen::eventFilter(watched, event);
}

QPixmap CSplashWindow::Picture()
{
    QPixmap picture(420, 240);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, picture.height());
    sky.setColorAt(0.0, QColor(207, 200, 207));
    sky.setColorAt(1.0, QColor(120, 132, 150));
    painter.fillRect(picture.rect(), sky);
    const QIcon icon(QStringLiteral(":/icons/zelvane-128.png"));
    if (!icon.isNull())
        icon.paint(&painter, QRect(24, 56, 128, 128));
    painter.setPen(Qt::white);
    QFont title = painter.font();
    title.setPointSize(30);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(170, 70, 240, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("zelvane"));
    QFont small = painter.font();
    small.setPointSize(11);
    small.setBold(false);
    painter.setFont(small);
    painter.drawText(QRect(172, 130, 240, 50), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Version %1\nObjects for The Sims, in 3-D").arg(QString::fromLatin1(kProgramVersion)));
    painter.setPen(QPen(QColor(255, 255, 255, 160), 1));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

} // namespace zelvane
