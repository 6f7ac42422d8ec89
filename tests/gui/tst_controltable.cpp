// The control table that the dialog tests check their controls with: a table that matches
// reports nothing, and every kind of difference is reported under the control's name.
#include "ControlTable.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

// A dialog of 200 × 100 with a button, a label, a group box and a combo box.
struct Fixture {
    QDialog dialog;
    Fixture() {
        dialog.setObjectName(QStringLiteral("Dlg"));
        dialog.setWindowTitle(QStringLiteral("Title"));
        dialog.resize(200, 100);
        auto* button = new QPushButton(QStringLiteral("OK"), &dialog);
        button->setObjectName(QStringLiteral("bbtnOK"));
        button->setGeometry(10, 60, 75, 25);
        auto* group = new QGroupBox(QStringLiteral("1. Group"), &dialog);
        group->setObjectName(QStringLiteral("GroupBox1"));
        group->setGeometry(5, 5, 190, 50);
        auto* label = new QLabel(QStringLiteral("Name:"), group);
        label->setObjectName(QStringLiteral("lbName"));
        label->move(8, 20);
        auto* combo = new QComboBox(group);
        combo->setObjectName(QStringLiteral("cbKind"));
        combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
        combo->setGeometry(60, 18, 100, 22);
    }
};

const QList<TControlRow> kMatching = {
    {"Dlg", "QDialog", "Title", QRect(0, 0, 200, 100)},
    {"bbtnOK", "QPushButton", "OK", QRect(10, 60, 75, 25)},
    {"GroupBox1", "QGroupBox", "1. Group", QRect(5, 5, 190, 50)},
    {"lbName", "QLabel", "Name:", QRect(8, 20, -1, -1)},
    {"cbKind", "QComboBox", "a", QRect(60, 18, 100, -1)},
    {"bbtnOK", "", std::nullopt, std::nullopt},
};

} // namespace

Q_DECLARE_METATYPE(TControlRow)

class TestControlTable : public QObject {
    Q_OBJECT

private slots:
    void matchingTableReportsNothing() {
        Fixture f;
        QCOMPARE(ControlMismatches(&f.dialog, kMatching), QStringList());
    }

    void differencesAreReported_data() {
        QTest::addColumn<TControlRow>("row");
        QTest::addColumn<QString>("report");
        QTest::newRow("missing") << TControlRow{"bbtnCancel", "QPushButton"}
                                 << "bbtnCancel: missing";
        QTest::newRow("kind") << TControlRow{"bbtnOK", "QLabel"}
                              << "bbtnOK: kind QPushButton, expected QLabel";
        QTest::newRow("text") << TControlRow{"lbName", "QLabel", "Name"}
                              << "lbName: text \"Name:\", expected \"Name\"";
        QTest::newRow("group box title") << TControlRow{"GroupBox1", "", "Group"}
                                         << "GroupBox1: text \"1. Group\", expected \"Group\"";
        QTest::newRow("combo box text")
            << TControlRow{"cbKind", "", "b"} << "cbKind: text \"a\", expected \"b\"";
        QTest::newRow("window title")
            << TControlRow{"Dlg", "", "Other"} << "Dlg: text \"Title\", expected \"Other\"";
        QTest::newRow("position") << TControlRow{"bbtnOK", "", std::nullopt, QRect(11, 60, 75, 25)}
                                  << "bbtnOK: geometry (10, 60, 75, 25), expected (11, 60, 75, 25)";
        QTest::newRow("height") << TControlRow{"bbtnOK", "", std::nullopt, QRect(10, 60, 75, 24)}
                                << "bbtnOK: geometry (10, 60, 75, 25), expected (10, 60, 75, 24)";
        QTest::newRow("position only")
            << TControlRow{"lbName", "", std::nullopt, QRect(9, 20, -1, -1)} << "lbName: geometry";
        QTest::newRow("size of the root")
            << TControlRow{"Dlg", "", std::nullopt, QRect(0, 0, 200, 90)}
            << "Dlg: geometry (0, 0, 200, 100), expected (0, 0, 200, 90)";
    }

    void differencesAreReported() {
        QFETCH(TControlRow, row);
        QFETCH(QString, report);
        Fixture f;
        const QStringList got = ControlMismatches(&f.dialog, kMatching + QList<TControlRow>{row});
        QCOMPARE(got.size(), 1);
        QVERIFY2(got[0].startsWith(report), qPrintable(got[0]));
    }

    // Two controls of one name make the name useless to a language pack or a test.
    void nameTakenTwiceIsReported() {
        Fixture f;
        auto* second = new QLabel(&f.dialog);
        second->setObjectName(QStringLiteral("lbName"));
        const QStringList got = ControlMismatches(&f.dialog, kMatching);
        QCOMPARE(got, QStringList{"lbName: 2 controls of that name"});
    }

    // Every difference of a row is listed, not just the first.
    void everyDifferenceOfARow() {
        Fixture f;
        const QStringList got =
            ControlMismatches(&f.dialog, {{"bbtnOK", "QCheckBox", "Cancel", QRect(0, 0, 75, 25)}});
        QCOMPARE(got.size(), 3);
        for (const QString& line : got)
            QVERIFY2(line.startsWith("bbtnOK: "), qPrintable(line));
    }
};

QTEST_MAIN(TestControlTable)
#include "tst_controltable.moc"
