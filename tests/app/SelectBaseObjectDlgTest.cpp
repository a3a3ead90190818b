// "Select Base Object" on the sample game: the sorted list, its filter, the
// preview of the chosen object, and OK, which clones it or keeps the dialog
// open when it cannot or should not.

#include "app/CSelectBaseObjectDlg.h"
#include "document/WorkingObjectFile.h"
#include "objects/ObjectCatalog.h"
#include "resfile/FileFaults.h"
#include "tests/document/SampleGameFolder.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"
#include "tests/view/WidgetTestSupport.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace zelvane {

class SelectBaseObjectDlgTest : public QObject {
    Q_OBJECT

    template <typename Widget>
    Widget& Find(const char* name)
    {
        auto* widget = dialog_->findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no widget %s", name);
        return *widget;
    }

    QStringList Rows()
    {
        QStringList rows;
        QAbstractItemModel* model = Find<QListView>("objectList").model();
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, 0).data().toString();
        return rows;
    }

    // Counts the preview's pixels that are not the white background.
    int DrawnPixels()
    {
        const QImage& image = dialog_->ShownPreview();
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += image.pixel(x, y) != qRgb(255, 255, 255);
        return drawn;
    }

private slots:
    void initTestCase()
    {
        SetReporter(&reporter_);
        catalog_.Rebuild(test::SampleGameFolder());
    }
    void cleanupTestCase() { SetReporter(nullptr); }

    void init()
    {
        reporter_.Clear();
        working_ = std::make_unique<WorkingObjectFile>(work_.File("zeltemp.iff"));
        dialog_ = std::make_unique<CSelectBaseObjectDlg>(catalog_, *working_);
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
    }

    void cleanup()
    {
        dialog_.reset();
        working_.reset();
    }

    void listsTheCatalogSortedAndPreviewsTheChosenObject()
    {
        QCOMPARE(dialog_->windowTitle(), QStringLiteral("Select Base Object"));
        const QStringList rows = Rows();
        QCOMPARE(rows.size(), 13);
        QCOMPARE(rows.front(), QStringLiteral("Aquarium - Goldfish"));
        QCOMPARE(rows.back(), QStringLiteral("TV - Retro"));

        // Opening shows the first row's preview, composed for it alone.
        auto& list = Find<QListView>("objectList");
        QCOMPARE(list.currentIndex().row(), 0);
        auto& preview = Find<QWidget>("preview");
        QVERIFY(preview.isVisible());
        QCOMPARE(dialog_->Previews().ComposedCount(), size_t{1});

        test::ClickRow(list, test::RowOf(list, QStringLiteral("Table - Farmhouse Dining")));
        QCOMPARE(dialog_->List().Chosen()->ResourceName(), std::string("Table - Farmhouse Dining"));
        const DisplaySize size = dialog_->ShownSize();
        QCOMPARE(preview.size(), QSize(size.width + 8, size.height + 8));
        QVERIFY(size.width <= 330 && size.height <= 300);
        QVERIFY(DrawnPixels() > dialog_->ShownPreview().width() * dialog_->ShownPreview().height() / 6);
        // The picture on screen is the composed preview, stretched into the area.
        const QImage onScreen = preview.grab().toImage();
        QCOMPARE(onScreen.pixelColor(4, 4), dialog_->ShownPreview().pixelColor(0, 0));
        test::Screenshot(*dialog_, QStringLiteral("select-base-object"));
        QCOMPARE(dialog_->Previews().ComposedCount(), size_t{2});

        // Arrow keys in the list move the preview along.
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(dialog_->List().Chosen()->ResourceName(), std::string("Table - Walnut End"));
        QCOMPARE(dialog_->Previews().ComposedCount(), size_t{3});
    }

    void theFilterNarrowsTheListAndOkWaitsForSomethingListed()
    {
        auto& filter = Find<QLineEdit>("filter");
        auto& ok = Find<QPushButton>("ok");
        QVERIFY(filter.hasFocus());
        QTest::keyClicks(&filter, QStringLiteral("TABLE"));
        QCOMPARE(Rows(),
                 (QStringList{QStringLiteral("Table - Farmhouse Dining"), QStringLiteral("Table - Walnut End")}));
        QCOMPARE(dialog_->List().Chosen()->ResourceName(), std::string("Table - Farmhouse Dining"));
        // Down in the filter box moves through the list.
        QTest::keyClick(&filter, Qt::Key_Down);
        QCOMPARE(dialog_->List().Chosen()->ResourceName(), std::string("Table - Walnut End"));
        test::Screenshot(*dialog_, QStringLiteral("select-base-object-filtered"));

        QTest::keyClicks(&filter, QStringLiteral("zzz"));
        QCOMPARE(Rows(), QStringList());
        QVERIFY(!ok.isEnabled());
        QVERIFY(!Find<QWidget>("preview").isVisible());
        QTest::keyClick(&filter, Qt::Key_Return);
        QVERIFY(dialog_->isVisible());
        QCOMPARE(working_->File(), nullptr);

        filter.clear();
        QCOMPARE(Rows().size(), 13);
        QVERIFY(ok.isEnabled());
    }

    void okClonesTheChosenObjectIntoTheWorkingFile()
    {
        auto& list = Find<QListView>("objectList");
        test::ClickRow(list, test::RowOf(list, QStringLiteral("Table - Farmhouse Dining")));
        QTest::mouseClick(&Find<QPushButton>("ok"), Qt::LeftButton);
        QCOMPARE(dialog_->result(), static_cast<int>(QDialog::Accepted));
        QVERIFY(!dialog_->isVisible());
        QVERIFY(working_->CurrentObject());
        QCOMPARE(working_->CurrentObject()->ResourceName(), std::string("Table - Farmhouse Dining"));
        QCOMPARE(working_->CurrentObject()->Members().size(), size_t{4});
        QVERIFY(reporter_.Messages().empty());
    }

    void aFailedCloneIsToldAndTheDialogStaysOpen()
    {
        auto& list = Find<QListView>("objectList");
        test::ClickRow(list, test::RowOf(list, QStringLiteral("Lamp - Brass Reading")));
        FileFaults::Arm(5, true);
        QTest::mouseClick(&Find<QPushButton>("ok"), Qt::LeftButton);
        FileFaults::Disarm();
        QVERIFY(dialog_->isVisible());
        QCOMPARE(working_->File(), nullptr);
        QVERIFY(!reporter_.Messages().empty());
        QVERIFY(QString::fromStdString(reporter_.Messages().back().text).startsWith(QStringLiteral("Could not clone")));

        // A second try, once the disk is well again, goes through.
        QTest::mouseClick(&Find<QPushButton>("ok"), Qt::LeftButton);
        QVERIFY(!dialog_->isVisible());
        QCOMPARE(working_->CurrentObject()->ResourceName(), std::string("Lamp - Brass Reading"));
    }

    void unsavedEditsAreReplacedOnlyAfterAskingAndDoubleClickIsOk()
    {
        for (CObjectEntry* entry : catalog_.ListedObjects())
            if (entry->ResourceName() == "Rug - Woven")
                QCOMPARE(working_->CloneFrom(*entry, catalog_), WorkingObjectFile::CloneOutcome::Replaced);
        working_->NoteEdited();
        auto& list = Find<QListView>("objectList");
        const int clock = test::RowOf(list, QStringLiteral("Clock - Cuckoo"));
        test::ClickRow(list, clock);

        reporter_.QueueAnswer(MessageAnswer::No);
        QTest::mouseClick(&Find<QPushButton>("ok"), Qt::LeftButton);
        QVERIFY(dialog_->isVisible());
        QCOMPARE(reporter_.Messages().size(), size_t{1});
        QCOMPARE(reporter_.Messages()[0].buttons, MessageButtons::YesNo);
        QCOMPARE(working_->CurrentObject()->ResourceName(), std::string("Rug - Woven"));

        reporter_.QueueAnswer(MessageAnswer::Yes);
        const QRect row = list.visualRect(list.model()->index(clock, 0));
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
        QVERIFY(!dialog_->isVisible());
        QCOMPARE(working_->CurrentObject()->ResourceName(), std::string("Clock - Cuckoo"));
    }

private:
    RecordingReporter reporter_;
    ObjectCatalog catalog_;
    test::TempDir work_;
    std::unique_ptr<WorkingObjectFile> working_;
    std::unique_ptr<CSelectBaseObjectDlg> dialog_;
};

} // namespace zelvane

QTEST_MAIN(zelvane::SelectBaseObjectDlgTest)
#include "SelectBaseObjectDlgTest.moc"
