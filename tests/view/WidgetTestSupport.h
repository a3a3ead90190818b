#pragma once
// What the widget tests share: acting on a modal dialog once it shows,
// clicking a row of a list as a user does, and running zelvane-cli.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace zelvane::test {

// Once a modal dialog of type Dialog is the active modal widget, runs
// `action` on it (from inside its event loop, so the action may close it).
// Gives up after a few seconds; Done() says whether it ran.
template <typename Dialog>
class WhenModal {
public:
    explicit WhenModal(std::function<void(Dialog&)> action) : state_(std::make_shared<State>())
    {
        state_->action = std::move(action);
        state_->clock.start();
        Poll(state_);
    }
    bool Done() const { return state_->done; }

private:
    // Shared with the pending timer, which may outlive this object.
    struct State {
        std::function<void(Dialog&)> action;
        QElapsedTimer clock;
        bool done = false;
    };

    static void Poll(std::shared_ptr<State> state)
    {
        QTimer::singleShot(10, [state] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                state->done = true;
                state->action(*dialog);
            } else if (state->clock.elapsed() < 5000) {
                Poll(state);
            }
        });
    }

    std::shared_ptr<State> state_;
};

// Clicks the middle of a list's row, scrolled into view first.
inline void ClickRow(QAbstractItemView& view, int row)
{
    const QModelIndex index = view.model()->index(row, 0);
    view.scrollTo(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, view.visualRect(index).center());
}

// Clicks a check box or radio button on its indicator, where a user does (the
// middle of a wide one is beyond its text and takes no clicks).
inline void ClickIndicator(QAbstractButton& button)
{
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(button.height() / 2, button.height() / 2));
}

// The row of a list whose text is `text`, or -1.
inline int RowOf(const QAbstractItemView& view, const QString& text)
{
    for (int row = 0; row < view.model()->rowCount(); ++row)
        if (view.model()->index(row, 0).data().toString() == text)
            return row;
    return -1;
}

// Runs zelvane-cli with `arguments`; its standard output, or the error text.
inline QString RunCli(const QStringList& arguments)
{
    QProcess cli;
    cli.start(QStringLiteral(ZELVANE_CLI_PATH), arguments);
    if (!cli.waitForFinished(30000))
        return QStringLiteral("zelvane-cli did not finish");
    return QString::fromUtf8(cli.readAllStandardOutput()) + QString::fromUtf8(cli.readAllStandardError());
}

// Saves the widget's picture as NAME.png in $ZELVANE_SCREENSHOT_DIR when set.
inline void Screenshot(QWidget& widget, const QString& name)
{
    const QByteArray folder = qgetenv("ZELVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget.grab().save(QFile::decodeName(folder) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace zelvane::test
