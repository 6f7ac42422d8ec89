// The real questions that the coming dialogs need, checked without a modal loop: the save
// chooser (filters in Qt's form, the entry it opens on, no extension added, no overwrite question,
// the path and filter entry it answers) and the font chooser that also asks for the colour.
#include "ControlTable.h"
#include "FontColorDialog.h"
#include "Questions.h"
#include "ScriptedQuestions.h"
#include "Texts.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kFilter = QStringLiteral(
    "SubRip (*.srt)|*.srt|MicroDVD(*.sub)|*.sub|Subviewer(*.sub)|*.sub|All Files(*.*)|*.*");

QStringList QtFilters() {
    return QtFileFilter(kFilter).split(QStringLiteral(";;"));
}

} // namespace

class TestQuestions : public QObject {
    Q_OBJECT

private slots:
    void saveChooserAsksNothingAndAddsNothing();
    void saveChooserOpensOnFilterEntry_data();
    void saveChooserOpensOnFilterEntry();
    void saveChooserOpensOnPath();
    void saveChoiceIsPathAndFilterEntry_data();
    void saveChoiceIsPathAndFilterEntry();

    void fontColorControls();
    void fontColorTextsFromTheTable();
    void fontColorStartsFromWhatIsGiven();
    void fontStyleKept_data();
    void fontStyleKept();
    void colourButtonAsks_data();
    void colourButtonAsks();
    void fontColorKeys_data();
    void fontColorKeys();
};

void TestQuestions::saveChooserAsksNothingAndAddsNothing() {
    const auto chooser = MakeSaveChooser(nullptr, QStringLiteral("另存新檔"), kFilter, 0, {});
    QCOMPARE(chooser->windowTitle(), QStringLiteral("另存新檔"));
    QCOMPARE(chooser->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(chooser->fileMode(), QFileDialog::AnyFile);
    QVERIFY(chooser->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(chooser->defaultSuffix(), QString());
    QCOMPARE(chooser->nameFilters(), (QStringList{"SubRip (*.srt *.SRT)", "MicroDVD (*.sub *.SUB)",
                                                  "Subviewer (*.sub *.SUB)", "All Files (*)"}));
}

void TestQuestions::saveChooserOpensOnFilterEntry_data() {
    QTest::addColumn<int>("initial");
    QTest::addColumn<int>("shown");
    QTest::newRow("SubRip") << 0 << 0;
    QTest::newRow("MicroDVD") << 1 << 1;
    QTest::newRow("Subviewer, same patterns as MicroDVD") << 2 << 2;
    QTest::newRow("all files") << 3 << 3;
    QTest::newRow("none given") << -1 << 0;
    QTest::newRow("past the last") << 4 << 0;
}

void TestQuestions::saveChooserOpensOnFilterEntry() {
    QFETCH(int, initial);
    QFETCH(int, shown);
    const auto chooser = MakeSaveChooser(nullptr, QString(), kFilter, initial, {});
    QCOMPARE(chooser->selectedNameFilter(), QtFilters()[shown]);
    QCOMPARE(SaveChoiceOf(*chooser, kFilter).FilterIndex, shown);
}

void TestQuestions::saveChooserOpensOnPath() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("film.srt"));
    const auto chooser = MakeSaveChooser(nullptr, QString(), kFilter, 0, path);
    QCOMPARE(QDir(chooser->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    QCOMPARE(chooser->selectedFiles(), QStringList{path});
}

void TestQuestions::saveChoiceIsPathAndFilterEntry_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    // The path as typed: an extension that does not match the entry, or none, stays as it is.
    QTest::newRow("Subviewer without an extension") << 2 << "part" << false;
    QTest::newRow("MicroDVD named .srt") << 1 << "part.srt" << false;
    QTest::newRow("all files") << 3 << "part.txt" << false;
    QTest::newRow("an existing file") << 0 << "old.srt" << true;
}

void TestQuestions::saveChoiceIsPathAndFilterEntry() {
    QFETCH(int, entry);
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (exists) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const auto chooser = MakeSaveChooser(nullptr, QString(), kFilter, 0, dir.path() + '/');
    // The user moves to another entry and types a name.
    chooser->selectNameFilter(QtFilters()[entry]);
    chooser->selectFile(name);
    const TSaveChoice choice = SaveChoiceOf(*chooser, kFilter);
    QCOMPARE(choice.Path, dir.filePath(name));
    QCOMPARE(choice.FilterIndex, entry);
}

void TestQuestions::fontColorControls() {
    TFontColorDialog dialog(QFont(), Qt::white);
    CheckControls(&dialog, {
                               {"FontColorDlg", "TFontColorDialog", "字型"},
                               {"fdFont", "QFontDialog"},
                               {"lbColor", "QLabel", "色彩:"},
                               {"sbtnColor", "QPushButton", "選擇色彩..."},
                               {"bbtnOK", "QPushButton", "確定"},
                               {"bbtnCancel", "QPushButton", "取消"},
                           });
    QVERIFY(dialog.bbtnOK->isDefault());
    QCOMPARE(dialog.lbColor->buddy(), static_cast<QWidget*>(dialog.sbtnColor));
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
}

// A language pack that replaces the table's entries gives the dialog its texts.
void TestQuestions::fontColorTextsFromTheTable() {
    SetText(txFontColorTitle, QStringLiteral("Font"));
    SetText(txColorLabel, QStringLiteral("Colour:"));
    SetText(txChooseColor, QStringLiteral("Choose..."));
    SetText(txOk, QStringLiteral("OK"));
    SetText(txCancel, QStringLiteral("Cancel"));
    TFontColorDialog dialog(QFont(), Qt::white);
    ResetTexts();
    CheckControls(&dialog, {
                               {"FontColorDlg", "", "Font"},
                               {"lbColor", "", "Colour:"},
                               {"sbtnColor", "", "Choose..."},
                               {"bbtnOK", "", "OK"},
                               {"bbtnCancel", "", "Cancel"},
                           });
}

void TestQuestions::fontColorStartsFromWhatIsGiven() {
    QFont font(QStringLiteral("DejaVu Sans"), 14);
    font.setBold(true);
    TFontColorDialog dialog(font, QColor(0x10, 0x20, 0x30));
    QCOMPARE(dialog.Font().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(dialog.Font().pointSize(), 14);
    QVERIFY(dialog.Font().bold());
    QCOMPARE(dialog.Color(), QColor(0x10, 0x20, 0x30));

    // The font part's choice is the dialog's.
    QFont other(QStringLiteral("DejaVu Sans"), 20);
    other.setItalic(true);
    dialog.fdFont->setCurrentFont(other);
    QCOMPARE(dialog.Font().pointSize(), 20);
    QVERIFY(dialog.Font().italic());
    QVERIFY(!dialog.Font().bold());
}

void TestQuestions::fontStyleKept_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    // DejaVu calls its plain style "Book" and has condensed styles of the same weight and slant;
    // WenQuanYi has one style only, "Regular".
    for (const char* family : {"DejaVu Sans", "DejaVu Serif"})
        for (int style = 0; style < 4; ++style)
            QTest::addRow("%s, bold %d, italic %d", family, style & 1, style >> 1)
                << QString::fromLatin1(family) << bool(style & 1) << bool(style >> 1);
    QTest::newRow("WenQuanYi Micro Hei") << "WenQuanYi Micro Hei" << false << false;
}

// OK without a change answers the font that was given, whatever its family calls its styles.
void TestQuestions::fontStyleKept() {
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    if (!QFontDatabase::hasFamily(family)) QSKIP("font family not installed");
    QFont font(family, 16);
    font.setBold(bold);
    font.setItalic(italic);
    TFontColorDialog dialog(font, Qt::white);
    QCOMPARE(dialog.Font().family(), family);
    QCOMPARE(dialog.Font().bold(), bold);
    QCOMPARE(dialog.Font().italic(), italic);
    QCOMPARE(dialog.Font().pointSize(), 16);
    QVERIFY(!dialog.Font().styleName().contains(QStringLiteral("Condensed")));
}

void TestQuestions::colourButtonAsks_data() {
    QTest::addColumn<std::optional<QColor>>("answer");
    QTest::addColumn<QColor>("after");
    QTest::newRow("chosen") << std::optional<QColor>(QColor(Qt::red)) << QColor(Qt::red);
    QTest::newRow("cancelled") << std::optional<QColor>() << QColor(Qt::blue);
    QTest::newRow("no valid colour") << std::optional<QColor>(QColor()) << QColor(Qt::blue);
}

void TestQuestions::colourButtonAsks() {
    QFETCH(std::optional<QColor>, answer);
    QFETCH(QColor, after);
    TScriptedQuestions questions;
    questions.ColorAnswers.enqueue(answer);
    TFontColorDialog dialog(QFont(), Qt::blue);
    dialog.sbtnColor->click();
    QCOMPARE(questions.ColorOffers, QList<QColor>{QColor(Qt::blue)});
    QCOMPARE(dialog.Color(), after);
    // The button shows the colour held.
    const QImage swatch = dialog.sbtnColor->icon().pixmap(QSize(32, 14)).toImage();
    QCOMPARE(swatch.pixelColor(16, 7), after);
}

void TestQuestions::fontColorKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Enter is OK") << int(Qt::Key_Return) << true;
    QTest::newRow("Escape is Cancel") << int(Qt::Key_Escape) << false;
}

// Keys pressed inside the font part close the whole dialog, which keeps its font part.
void TestQuestions::fontColorKeys() {
    QFETCH(int, key);
    QFETCH(bool, accepted);
    TFontColorDialog dialog(QFont(), Qt::white);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* field = dialog.fdFont->findChild<QLineEdit*>();
    QVERIFY(field);
    field->setFocus();
    QTest::keyClick(field, Qt::Key(key));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QVERIFY(!dialog.fdFont->isHidden());
}

QTEST_MAIN(TestQuestions)
#include "tst_questions.moc"
