// The "Property Editor" dialog driven by clicks and keys on a clone of a
// sample object and of a real one; what Apply saved is read back with
// zelvane-cli.

#include "document/WorkingObjectFile.h"
#include "objects/ObjectCatalog.h"
#include "tests/document/SampleGameFolder.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"
#include "tests/view/WidgetTestSupport.h"
#include "view/CPropertyEditorDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <filesystem>

namespace zelvane {

class PropertyEditorDlgTest : public QObject {
    Q_OBJECT

    // Clones `resourceName` from the catalog of `gameFolder` into a fresh working file.
    std::unique_ptr<WorkingObjectFile> Clone(const std::string& gameFolder, const std::string& resourceName)
    {
        catalog_.Rebuild(gameFolder);
        auto working = std::make_unique<WorkingObjectFile>(work_.File("zeltemp.iff"));
        for (CObjectEntry* entry : catalog_.ListedObjects())
            if (entry->ResourceName() == resourceName)
                working->CloneFrom(*entry, catalog_);
        return working;
    }

    template <typename Widget>
    static Widget& Find(QWidget& dialog, const char* name)
    {
        auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no widget %s", name);
        return *widget;
    }

    static void SelectProperty(CPropertyEditorDlg& dialog, const char* name)
    {
        auto& list = Find<QListWidget>(dialog, "propertyList");
        test::ClickRow(list, test::RowOf(list, QString::fromLatin1(name)));
    }

    // Types over the single-line box's text.
    static void Type(CPropertyEditorDlg& dialog, const QString& text)
    {
        auto& edit = Find<QLineEdit>(dialog, "singleLineValue");
        edit.setFocus();
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        // Letters beyond ASCII come as a keyboard layout sends them: a key with its text.
        for (const QChar letter : text)
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    }

    // Opens the dialog on its file and shows it.
    static bool OpenAndShow(CPropertyEditorDlg& dialog)
    {
        if (!dialog.Open())
            return false;
        dialog.show();
        return QTest::qWaitForWindowExposed(&dialog);
    }

    static QWidget* VisibleValueControl(CPropertyEditorDlg& dialog)
    {
        for (const char* name : {"singleLineValue", "choiceValue", "booleanValue", "flagsValue", "multiLineValue"})
            if (QWidget* control = dialog.findChild<QWidget*>(QString::fromLatin1(name)); control->isVisible())
                return control;
        return nullptr;
    }

private slots:
    void initTestCase() { SetReporter(&reporter_); }
    void cleanupTestCase() { SetReporter(nullptr); }

    void opensSimpleAndAppliesPriceAndRoomFlagsIntoTheFile()
    {
        const auto working = Clone(test::SampleGameFolder(), "Chair - Maple Dining");
        QVERIFY(working->File());
        CPropertyEditorDlg dialog(*working->File());
        QVERIFY(OpenAndShow(dialog));

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Property Editor"));
        auto& list = Find<QListWidget>(dialog, "propertyList");
        QCOMPARE(list.count(), 6);
        QCOMPARE(list.currentItem()->text(), QStringLiteral("Resource Name"));
        QCOMPARE(VisibleValueControl(dialog), &Find<QLineEdit>(dialog, "singleLineValue"));
        QCOMPARE(Find<QLineEdit>(dialog, "singleLineValue").text(), QStringLiteral("Chair - Maple Dining"));
        QCOMPARE(Find<QPlainTextEdit>(dialog, "helpText").toPlainText(),
                 QStringLiteral("Resource Name: The name of the resource, as it appears in lists."));
        auto& apply = Find<QPushButton>(dialog, "apply");
        QVERIFY(!apply.isEnabled());
        test::Screenshot(dialog, QStringLiteral("property-editor-simple"));

        SelectProperty(dialog, "Price");
        QCOMPARE(Find<QLineEdit>(dialog, "singleLineValue").text(), QStringLiteral("120"));
        Type(dialog, QStringLiteral("135"));
        QVERIFY(apply.isEnabled());

        SelectProperty(dialog, "Room Flags");
        auto& flags = Find<QListWidget>(dialog, "flagsValue");
        QCOMPARE(VisibleValueControl(dialog), &flags);
        QCOMPARE(flags.count(), 8);
        QStringList selected;
        for (QListWidgetItem* item : flags.selectedItems())
            selected << item->text();
        selected.sort();
        QCOMPARE(selected, (QStringList{QStringLiteral("Dining Room"), QStringLiteral("Kitchen")}));
        test::ClickRow(flags, test::RowOf(flags, QStringLiteral("Study"))); // each click toggles
        test::ClickRow(flags, test::RowOf(flags, QStringLiteral("Kitchen")));
        test::Screenshot(dialog, QStringLiteral("property-editor-room-flags"));

        QTest::mouseClick(&apply, Qt::LeftButton);
        QVERIFY(!apply.isEnabled());
        QVERIFY(dialog.SavedChanges());

        const QString props = test::RunCli({QStringLiteral("props"), QString::fromStdString(working->Path())});
        QVERIFY2(props.contains(QStringLiteral("Price           135")), qPrintable(props));
        QVERIFY2(props.contains(QStringLiteral("Room Flags      Dining Room,Study")), qPrintable(props));
        QVERIFY(reporter_.Messages().empty());
    }

    void advancedViewShowsEveryRowWithItsControl()
    {
        const auto working = Clone(test::SampleGameFolder(), "Lamp - Brass Reading");
        CPropertyEditorDlg dialog(*working->File());
        QVERIFY(dialog.Open());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto& toggle = Find<QPushButton>(dialog, "viewToggle");
        QCOMPARE(toggle.text(), QStringLiteral("&Advanced"));
        QTest::mouseClick(&toggle, Qt::LeftButton);
        auto& list = Find<QListWidget>(dialog, "propertyList");
        QCOMPARE(list.count(), 31);
        QCOMPARE(list.currentRow(), 0);
        QCOMPARE(toggle.text(), QStringLiteral("&Simple"));

        SelectProperty(dialog, "Wall Style");
        auto& choice = Find<QListWidget>(dialog, "choiceValue");
        QCOMPARE(VisibleValueControl(dialog), &choice);
        QCOMPARE(choice.count(), 11);
        test::ClickRow(choice, 2);
        QCOMPARE(choice.selectedItems().size(), 1);

        SelectProperty(dialog, "Description");
        QCOMPARE(VisibleValueControl(dialog), &Find<QPlainTextEdit>(dialog, "multiLineValue"));
        SelectProperty(dialog, "Disabled");
        auto& box = Find<QCheckBox>(dialog, "booleanValue");
        QCOMPARE(VisibleValueControl(dialog), &box);
        QCOMPARE(box.text(), QStringLiteral("Boolean"));
        test::Screenshot(dialog, QStringLiteral("property-editor-advanced"));

        QTest::mouseClick(&toggle, Qt::LeftButton);
        QCOMPARE(list.count(), 6);
    }

    void okOnARealObjectSavesWhatWasTyped()
    {
        const std::filesystem::path data = test::TestDataDir();
        if (data.empty() || !std::filesystem::exists(data / "iff" / "k8capchairts.iff"))
            QSKIP("real object files not found (set ZELVANE_TESTDATA to shared/testdata)");
        test::TempDir game;
        std::filesystem::create_directories(game.Path() / "Downloads");
        std::filesystem::copy_file(data / "iff" / "k8capchairts.iff", game.Path() / "Downloads" / "k8capchairts.iff");
        const auto working = Clone(game.Path().string() + "/", "Caprize Chair");
        QVERIFY(working->File());

        CPropertyEditorDlg dialog(*working->File());
        QVERIFY(dialog.Open());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(Find<QLineEdit>(dialog, "singleLineValue").text(), QStringLiteral("Caprize Chair"));
        SelectProperty(dialog, "Name");
        QCOMPARE(Find<QLineEdit>(dialog, "singleLineValue").text(), QStringLiteral("\"Caprize\" Chair"));
        SelectProperty(dialog, "Price");
        Type(dialog, QStringLiteral("64"));
        SelectProperty(dialog, "Room Flags");
        auto& flags = Find<QListWidget>(dialog, "flagsValue");
        test::ClickRow(flags, test::RowOf(flags, QStringLiteral("Outside")));
        QTest::mouseClick(&Find<QPushButton>(dialog, "ok"), Qt::LeftButton);
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));

        const QString props = test::RunCli({QStringLiteral("props"), QStringLiteral("--id"), QStringLiteral("16810"),
                                            QString::fromStdString(working->Path())});
        QVERIFY2(props.contains(QStringLiteral("Price           64")), qPrintable(props));
        QVERIFY2(props.contains(QStringLiteral("Room Flags      Kitchen,Bedroom,Family Room,Outside,Dining Room")),
                 qPrintable(props));
        QVERIFY2(props.contains(QStringLiteral("Name            \"Caprize\" Chair")), qPrintable(props));
    }

    void aPriceOutOfRangeIsRefusedAndOkStaysOpen()
    {
        const auto working = Clone(test::SampleGameFolder(), "Chair - Maple Dining");
        QVERIFY(working->File());
        CPropertyEditorDlg dialog(*working->File());
        QVERIFY(OpenAndShow(dialog));
        SelectProperty(dialog, "Price");
        auto& problem = Find<QLabel>(dialog, "valueProblem");
        QVERIFY(!problem.isVisible());
        for (const QString& typed : {QStringLiteral("abc"), QStringLiteral("99999"), QStringLiteral("-5")}) {
            Type(dialog, typed);
            QVERIFY2(problem.isVisible(), qPrintable(typed));
            QVERIFY2(problem.text().contains(QStringLiteral("from 0 to 32767")), qPrintable(problem.text()));
            QCOMPARE(dialog.Model().Editor().Record().Price(), int16_t{120});
        }
        reporter_.Clear();
        QTest::mouseClick(&Find<QPushButton>(dialog, "ok"), Qt::LeftButton);
        QVERIFY(dialog.isVisible()); // not saved, so not closed
        QCOMPARE(reporter_.Messages().size(), size_t{1});
        QVERIFY(reporter_.Messages()[0].text.find("-5 is out of range") != std::string::npos);
        Type(dialog, QStringLiteral("150"));
        QVERIFY(!problem.isVisible());
        QTest::mouseClick(&Find<QPushButton>(dialog, "ok"), Qt::LeftButton);
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        const QString props = test::RunCli({QStringLiteral("props"), QString::fromStdString(working->Path())});
        QVERIFY2(props.contains(QStringLiteral("Price           150")), qPrintable(props));
        reporter_.Clear();
    }

    void accentedTextsAreShownAndStoredInTheirCodePages()
    {
        const auto working = Clone(test::SampleGameFolder(), "Chair - Maple Dining");
        QVERIFY(working->File());
        {
            CPropertyEditorDlg dialog(*working->File());
            QVERIFY(OpenAndShow(dialog));
            // The resource name is the file's Windows-1252 bytes; the catalog name goes through its list.
            Type(dialog, QStringLiteral("Chaise \u2013 \u00c9rable"));
            SelectProperty(dialog, "Name");
            Type(dialog, QStringLiteral("Cr\u00e8me Chair"));
            QTest::mouseClick(&Find<QPushButton>(dialog, "ok"), Qt::LeftButton);
            QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        }
        CPropertyEditorDlg again(*working->File());
        QVERIFY(OpenAndShow(again));
        QCOMPARE(again.Model().Editor().ResourceName(), std::string("Chaise \x96 \xc9rable"));
        QCOMPARE(Find<QLineEdit>(again, "singleLineValue").text(), QStringLiteral("Chaise \u2013 \u00c9rable"));
        SelectProperty(again, "Name");
        QCOMPARE(Find<QLineEdit>(again, "singleLineValue").text(), QStringLiteral("Cr\u00e8me Chair"));
        QVERIFY(reporter_.Messages().empty());
    }

private:
    RecordingReporter reporter_;
    ObjectCatalog catalog_;
    test::TempDir work_;
};

} // namespace zelvane

QTEST_MAIN(zelvane::PropertyEditorDlgTest)
#include "PropertyEditorDlgTest.moc"
