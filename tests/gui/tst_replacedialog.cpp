// The find-and-replace dialog: its controls, which button says what, the texts read afresh at
// every press, the buttons waiting for a find text, and closing that only hides.
#include "ReplaceDialog.h"

#include <QLabel>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestReplaceDialog : public QObject {
    Q_OBJECT

private slots:
    void controls();
    void tabOrder();
    void buttonSignals_data();
    void buttonSignals();
    void enterInFieldFindsNext();
    void textsReadAtEachPress();
    void buttonsWaitForFindText();
    void showSelectsFindText();
    void closeHidesAndKeepsTexts();
};

void TestReplaceDialog::controls() {
    TReplaceDialog dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("ReplaceDialog"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("取代"));
    QVERIFY(!dialog.isModal());

    const QList<QPair<QString, QString>> captions = {
        {"lbFind", "尋找"},      {"lbReplace", "取代為"},        {"bbtnFindNext", "找下一個"},
        {"bbtnReplace", "取代"}, {"bbtnReplaceAll", "全部取代"}, {"bbtnClose", "關閉"},
    };
    for (const auto& [name, caption] : captions) {
        QString text;
        if (auto* label = dialog.findChild<QLabel*>(name))
            text = label->text();
        else if (auto* button = dialog.findChild<QPushButton*>(name))
            text = button->text();
        else
            QFAIL(qPrintable("missing " + name));
        QVERIFY2(text.startsWith(caption), qPrintable(name + ": " + text));
    }
    QCOMPARE(dialog.lbFind->buddy(), static_cast<QWidget*>(dialog.edFind));
    QCOMPARE(dialog.lbReplace->buddy(), static_cast<QWidget*>(dialog.edReplace));
    QVERIFY(dialog.bbtnFindNext->isDefault());

    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
}

void TestReplaceDialog::tabOrder() {
    TReplaceDialog dialog;
    dialog.SetFindText(QStringLiteral("a")); // every button enabled, so every one takes focus
    QList<QWidget*> chain;
    for (QWidget* w = dialog.edFind; chain.size() < 7; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) chain << w;
    const QList<QWidget*> expected{dialog.edFind,         dialog.edReplace,   dialog.cbMatchCase,
                                   dialog.bbtnFindNext,   dialog.bbtnReplace, dialog.bbtnReplaceAll,
                                   dialog.bbtnClose};
    QCOMPARE(chain, expected);
}

void TestReplaceDialog::buttonSignals_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("findNext");
    QTest::addColumn<int>("replace");
    QTest::addColumn<int>("replaceAll");
    QTest::newRow("find next") << "bbtnFindNext" << 1 << 0 << 0;
    QTest::newRow("replace") << "bbtnReplace" << 0 << 1 << 0;
    QTest::newRow("replace all") << "bbtnReplaceAll" << 0 << 0 << 1;
    QTest::newRow("close") << "bbtnClose" << 0 << 0 << 0;
}

void TestReplaceDialog::buttonSignals() {
    QFETCH(QString, button);
    QFETCH(int, findNext);
    QFETCH(int, replace);
    QFETCH(int, replaceAll);

    TReplaceDialog dialog;
    dialog.SetFindText(QStringLiteral("ab"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy findSpy(&dialog, &TReplaceDialog::findNextRequested);
    QSignalSpy replaceSpy(&dialog, &TReplaceDialog::replaceRequested);
    QSignalSpy allSpy(&dialog, &TReplaceDialog::replaceAllRequested);

    auto* pressed = dialog.findChild<QPushButton*>(button);
    QVERIFY(pressed);
    QTest::mouseClick(pressed, Qt::LeftButton);

    QCOMPARE(findSpy.count(), findNext);
    QCOMPARE(replaceSpy.count(), replace);
    QCOMPARE(allSpy.count(), replaceAll);
    // Only the close button closes; the others leave the dialog open for the next press.
    QCOMPARE(dialog.isVisible(), button != QLatin1String("bbtnClose"));
}

void TestReplaceDialog::enterInFieldFindsNext() {
    TReplaceDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy findSpy(&dialog, &TReplaceDialog::findNextRequested);
    QSignalSpy replaceSpy(&dialog, &TReplaceDialog::replaceRequested);
    QTest::keyClicks(dialog.edFind, QStringLiteral("ab"));
    QTest::keyClick(dialog.edFind, Qt::Key_Return);
    QTest::keyClick(dialog.edReplace, Qt::Key_Return);
    QCOMPARE(findSpy.count(), 2);
    QCOMPARE(replaceSpy.count(), 0);
    QVERIFY(dialog.isVisible());
}

void TestReplaceDialog::textsReadAtEachPress() {
    TReplaceDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QStringList seen;
    auto record = [&](const char* what) {
        seen << QStringLiteral("%1:%2>%3").arg(what, dialog.FindText(), dialog.ReplaceText());
    };
    connect(&dialog, &TReplaceDialog::findNextRequested, [&] { record("find"); });
    connect(&dialog, &TReplaceDialog::replaceRequested, [&] { record("replace"); });
    connect(&dialog, &TReplaceDialog::replaceAllRequested, [&] { record("all"); });

    dialog.SetFindText(QStringLiteral("四"));
    QTest::mouseClick(dialog.bbtnFindNext, Qt::LeftButton);
    dialog.edReplace->insert(QStringLiteral("五")); // as typed through an input method
    QTest::mouseClick(dialog.bbtnReplace, Qt::LeftButton);
    dialog.edFind->selectAll();
    QTest::keyClicks(dialog.edFind, QStringLiteral("a b"));
    dialog.edReplace->clear();
    QTest::mouseClick(dialog.bbtnReplaceAll, Qt::LeftButton);

    QCOMPARE(seen, QStringList({"find:四>", "replace:四>五", "all:a b>"}));
}

void TestReplaceDialog::buttonsWaitForFindText() {
    TReplaceDialog dialog;
    const QList<QPushButton*> acting = {dialog.bbtnFindNext, dialog.bbtnReplace,
                                        dialog.bbtnReplaceAll};
    auto enabled = [&] {
        QList<bool> states;
        for (QPushButton* b : acting)
            states << b->isEnabled();
        return states;
    };
    QCOMPARE(enabled(), QList<bool>({false, false, false}));
    QVERIFY(dialog.bbtnClose->isEnabled());

    dialog.SetFindText(QStringLiteral("x"));
    QCOMPARE(enabled(), QList<bool>({true, true, true}));
    // A replace text alone is not enough.
    dialog.SetFindText(QString());
    dialog.edReplace->setText(QStringLiteral("y"));
    QCOMPARE(enabled(), QList<bool>({false, false, false}));

    // A disabled button says nothing when pressed.
    QSignalSpy findSpy(&dialog, &TReplaceDialog::findNextRequested);
    QTest::mouseClick(dialog.bbtnFindNext, Qt::LeftButton);
    QCOMPARE(findSpy.count(), 0);
}

void TestReplaceDialog::showSelectsFindText() {
    TReplaceDialog dialog;
    dialog.SetFindText(QStringLiteral("old"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.edFind->selectedText(), QStringLiteral("old"));
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.edFind));
}

void TestReplaceDialog::closeHidesAndKeepsTexts() {
    TReplaceDialog dialog;
    dialog.SetFindText(QStringLiteral("a"));
    dialog.edReplace->setText(QStringLiteral("b"));
    for (auto close : {+[](TReplaceDialog* d) { d->bbtnClose->click(); },
                       +[](TReplaceDialog* d) { QTest::keyClick(d->edFind, Qt::Key_Escape); },
                       +[](TReplaceDialog* d) { d->close(); }}) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        close(&dialog);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.FindText(), QStringLiteral("a"));
        QCOMPARE(dialog.ReplaceText(), QStringLiteral("b"));
    }
}

QTEST_MAIN(TestReplaceDialog)
#include "tst_replacedialog.moc"
