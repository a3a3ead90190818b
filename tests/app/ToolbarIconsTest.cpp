// The toolbar's icons: one for every toolbar command, at 16 x 15 and at
// twice that, each its own picture.
//
// With ZELVANE_SCREENSHOT_DIR=<folder> set, a sheet of all icons at 1x, 2x
// and 4x (nearest neighbour) is saved there as toolbar-icons.png.

#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QToolBar>
#include <QTest>

#include <set>

namespace zelvane {

class ToolbarIconsTest : public QObject {
    Q_OBJECT

private slots:
    void everyToolbarCommandHasAnIconInBothSizes()
    {
        // The toolbar's buttons in order (the gaps between groups left out).
        const std::vector<int> toolbar = {57601, 57603, 32807, 32808, 32809, 32810, 32848, 32846,
                                          32845, 32816, 32853, 32811, 32812, 32813, 32897, 32898,
                                          32899, 32900, 32826, 32822, 32905, 32818};
        const std::vector<int>& commands = ToolbarIconCommands();
        QVERIFY(commands.size() >= toolbar.size());
        QVERIFY(std::equal(toolbar.begin(), toolbar.end(), commands.begin()));

        std::set<QByteArray> seen;
        for (int id : commands) {
            const QIcon icon = ToolbarIcon(id);
            QVERIFY2(!icon.isNull(), qPrintable(QString::number(id)));
            const QList<QSize> sizes = icon.availableSizes();
            QVERIFY2(sizes.contains(QSize(16, 15)) && sizes.contains(QSize(32, 30)), qPrintable(QString::number(id)));

            for (int scale : {1, 2}) {
                const QImage image = DrawToolbarIcon(id, scale);
                QCOMPARE(image.size(), QSize(16 * scale, 15 * scale));
                // Drawn on a transparent ground, with something on it.
                int transparent = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        transparent += qAlpha(image.pixel(x, y)) == 0;
                const int pixels = image.width() * image.height();
                QVERIFY2(transparent > pixels / 10 && transparent < pixels * 7 / 8, qPrintable(QString::number(id)));
            }
            const QImage small = DrawToolbarIcon(id, 1);
            seen.insert(QByteArray(reinterpret_cast<const char*>(small.constBits()), small.sizeInBytes()));
        }
        QCOMPARE(seen.size(), commands.size()); // no two alike
        QVERIFY(ToolbarIcon(1).isNull());
        QVERIFY(DrawToolbarIcon(1, 1).isNull());
    }

    void sheetForReview()
    {
        const QByteArray folder = qgetenv("ZELVANE_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("set ZELVANE_SCREENSHOT_DIR to write the icon sheet");
        // Six icons a row; each at 1x and 2x, and both magnified to 96 x 90.
        const std::vector<int>& commands = ToolbarIconCommands();
        const int columns = 6;
        const int cellWidth = 16 + 8 + 32 + 8 + 96 + 8 + 96 + 16;
        const int cellHeight = 90 + 16;
        const int rows = (static_cast<int>(commands.size()) + columns - 1) / columns;
        QImage sheet(columns * cellWidth + 8, rows * cellHeight + 8, QImage::Format_RGB32);
        sheet.fill(QColor(0xef, 0xef, 0xef));
        QPainter painter(&sheet);
        for (size_t i = 0; i < commands.size(); ++i) {
            const int x = 8 + static_cast<int>(i) % columns * cellWidth;
            const int y = 8 + static_cast<int>(i) / columns * cellHeight;
            const QImage one = DrawToolbarIcon(commands[i], 1);
            const QImage two = DrawToolbarIcon(commands[i], 2);
            painter.drawImage(x, y, one);
            painter.drawImage(x + 24, y, two);
            painter.drawImage(QRect(x + 64, y, 96, 90), one);
            painter.drawImage(QRect(x + 168, y, 96, 90), two);
        }
        painter.end();
        QVERIFY(sheet.save(QFile::decodeName(folder) + QStringLiteral("/toolbar-icons.png")));

        // As a toolbar shows them, in their groups (run with QT_SCALE_FACTOR=2 for the 2x look).
        QToolBar toolbar;
        const std::vector<int> groups = {57603, 32810, 32845, 32853, 32813, 32900, 32822};
        for (int id : commands) {
            if (id == 32817)
                continue; // Orbit is in the menu only
            toolbar.addAction(ToolbarIcon(id), QString::number(id));
            if (std::find(groups.begin(), groups.end(), id) != groups.end())
                toolbar.addSeparator();
        }
        toolbar.setIconSize(QSize(16, 15));
        toolbar.resize(24 * 30, toolbar.sizeHint().height());
        toolbar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&toolbar));
        QVERIFY(toolbar.grab().save(QFile::decodeName(folder) + QStringLiteral("/toolbar.png")));
    }
};

} // namespace zelvane

QTEST_MAIN(zelvane::ToolbarIconsTest)
#include "ToolbarIconsTest.moc"
