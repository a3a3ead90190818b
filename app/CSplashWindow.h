#pragma once
// The splash picture shown while the editor starts: borderless, centred on
// the screen, gone after 750 milliseconds or at the first key or mouse press
// anywhere in the program, which it swallows.

#include <QPointer>
#include <QSplashScreen>

namespace zelvane {

class CSplashWindow : public QSplashScreen {
    Q_OBJECT

public:
    static constexpr int kShowMilliseconds = 750;

    // Shows the splash over `frame` unless one is showing already; the splash
    // deletes itself when it hides.
    static CSplashWindow* Show(QWidget* frame);
    // The splash showing now, or null.
    static CSplashWindow* Current();
    // Hides the splash showing now, if any.
    static void HideCurrent();

    // The picture: the program's icon, name and version.
    static QPixmap Picture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CSplashWindow(const QPixmap& picture);
    ~CSplashWindow() override;

    static QPointer<CSplashWindow> current_;
};

} // namespace zelvane
