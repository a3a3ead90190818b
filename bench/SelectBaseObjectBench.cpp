// select_bench GAME_FOLDER [--rows N]: the "Select Base Object" dialog on a
// whole game folder, on the offscreen platform.
//
//  - open: from creating the dialog until its list and the first object's
//    preview are on screen (list sorted, preview composed, window painted);
//  - move: showing the preview after the selection moves one row down
//    (compose, convert, paint), for every row of the list (or the first N);
//  - memory: the bytes the preview cache holds while the selection walks
//    the list, and the process's resident memory before and after;
//  - filter: the first keystrokes of a filter; the first reads the catalog
//    names of the objects whose resource names do not match.

#include "app/CSelectBaseObjectDlg.h"
#include "document/WorkingObjectFile.h"
#include "objects/ObjectCatalog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QKeyEvent>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

// Resident memory now, in MiB, from /proc/self/statm.
double ResidentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0 / (1 << 20);
}

double Milliseconds(const QElapsedTimer& clock)
{
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// A key typed into `widget`, as the keyboard delivers it.
void Type(QWidget* widget, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())))];
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: select_bench GAME_FOLDER [--rows N]\n");
        return 2;
    }
    std::string game = argv[1];
    if (game.back() != '/')
        game += '/';
    size_t rowLimit = 0;
    for (int i = 2; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--rows") == 0)
            rowLimit = std::stoul(argv[i + 1]);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QElapsedTimer clock;
    clock.start();
    ObjectCatalog catalog;
    catalog.Rebuild(game);
    const double catalogMs = Milliseconds(clock);
    std::printf("catalog: %zu object files, %zu objects, built in %.0f ms (not part of the dialog)\n",
                catalog.Files().size(), catalog.ListedObjects().size(), catalogMs);
    const double residentBefore = ResidentMiB();

    WorkingObjectFile working("/nonexistent/zeltemp.iff");
    clock.restart();
    CSelectBaseObjectDlg dialog(catalog, working);
    const double builtMs = Milliseconds(clock);
    dialog.show();
    while (!dialog.windowHandle() || !dialog.windowHandle()->isExposed())
        application.processEvents(QEventLoop::AllEvents, 10);
    QWidget* preview = dialog.findChild<QWidget*>(QStringLiteral("preview"));
    preview->repaint();
    const double openMs = Milliseconds(clock);
    std::printf("open: list of %zu rows and the first preview (%dx%d) on screen in %.1f ms "
                "(dialog built in %.1f ms)\n",
                dialog.List().RowCount(), dialog.ShownPreview().width(), dialog.ShownPreview().height(), openMs,
                builtMs);

    // Walk the list one row at a time, as the Down key does.
    const size_t rows = rowLimit ? std::min(rowLimit, dialog.List().RowCount()) : dialog.List().RowCount();
    std::vector<double> moves;
    moves.reserve(rows);
    size_t mostHeld = 0;
    for (size_t row = 1; row < rows; ++row) {
        clock.restart();
        dialog.SelectRow(row);
        preview->repaint();
        moves.push_back(Milliseconds(clock));
        mostHeld = std::max(mostHeld, dialog.Previews().HeldBytes());
        application.processEvents();
    }
    std::printf("move: %zu moves, median %.2f ms, 95th percentile %.2f ms, 99th %.2f ms, slowest %.2f ms\n",
                moves.size(), Percentile(moves, 0.5), Percentile(moves, 0.95), Percentile(moves, 0.99),
                moves.empty() ? 0.0 : *std::max_element(moves.begin(), moves.end()));
    std::printf("memory: previews held at most %.1f MiB (budget %.1f MiB, %zu kept at the end, %zu composed); "
                "resident %.0f MiB before the dialog, %.0f MiB after the walk\n",
                static_cast<double>(mostHeld) / (1 << 20),
                static_cast<double>(dialog.Previews().Budget()) / (1 << 20), dialog.Previews().HeldCount(),
                dialog.Previews().ComposedCount(), residentBefore, ResidentMiB());

    auto* filter = dialog.findChild<QLineEdit*>(QStringLiteral("filter"));
    clock.restart();
    Type(filter, Qt::Key_Z, QStringLiteral("z"));
    const double firstKey = Milliseconds(clock);
    clock.restart();
    Type(filter, Qt::Key_Q, QStringLiteral("q"));
    const double secondKey = Milliseconds(clock);
    std::printf("filter: first keystroke %.1f ms (reads the catalog names the resource names do not match), "
                "next %.1f ms, %zu rows match \"zq\"\n",
                firstKey, secondKey, dialog.List().RowCount());
    return 0;
}
