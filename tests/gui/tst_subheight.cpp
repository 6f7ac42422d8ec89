// The caption height dialog: a side's value shown as its item and pixels, the line items showing
// the pixels their lines take, the custom height from the field, and what OK answers.
#include "ControlTable.h"
#include "SubHeight.h"
#include "UpDown.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QValidator>
#include <QtTest>

class TestSubHeight : public QObject {
    Q_OBJECT

private slots:
    void controlsAsLaidOut() {
        TSubHeightDlg dialog;
        CheckControls(&dialog, {
                                   {"SubHeightDlg", "TSubHeightDlg", "設定字幕高度"},
                                   {"rgSubHeight", "QGroupBox", "字幕高度"},
                                   {"rgSubHeightItem0", "QRadioButton", "一行字幕"},
                                   {"rgSubHeightItem1", "QRadioButton", "二行字幕"},
                                   {"rgSubHeightItem2", "QRadioButton", "三行字幕"},
                                   {"rgSubHeightItem3", "QRadioButton",
                                    "自定高度                   點(Pixel) "},
                                   {"edSubHeight", "QLineEdit", "1"},
                                   {"UpDown1", "TUpDown"},
                                   {"bbtnOK", "QPushButton", "確定"},
                                   {"bbtnCancel", "QPushButton", "取消"},
                               });
        QCOMPARE(dialog.ItemIndex(), 2);
        QCOMPARE(dialog.UpDown1->Min(), 1);
        QCOMPARE(dialog.UpDown1->Max(), 500);
        QCOMPARE(dialog.UpDown1->Increment(), 5);
        QVERIFY(!dialog.UpDown1->Wrap());
        // The field lies in the custom item's gap, between its first word and "點".
        const QRect item = dialog.Items[3]->geometry();
        const QRect field = dialog.edSubHeight->geometry();
        QVERIFY(field.left() > item.left() + 20 && field.right() < item.right());
        QVERIFY(item.contains(field.center()));
    }

    void showsTheValue_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("lineHeight");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("field");
        QTest::newRow("two lines") << -2 << 28 << 1 << "56";
        QTest::newRow("one line") << -1 << 20 << 0 << "20";
        QTest::newRow("three lines") << -3 << 25 << 2 << "75";
        QTest::newRow("pixels") << 90 << 28 << 3 << "90";
        QTest::newRow("beyond the spinner") << 900 << 28 << 3 << "900";
        QTest::newRow("zero pixels") << 0 << 28 << 3 << "0";
        // Four lines and more are no line item: the custom item, the field as it was.
        QTest::newRow("four lines") << -4 << 28 << 3 << "33";
    }
    void showsTheValue() {
        QFETCH(int, value);
        QFETCH(int, lineHeight);
        QFETCH(int, index);
        QFETCH(QString, field);
        TSubHeightDlg dialog;
        dialog.edSubHeight->setText(QStringLiteral("33"));
        dialog.SetTarget(value, lineHeight);
        QCOMPARE(dialog.ItemIndex(), index);
        QCOMPARE(dialog.edSubHeight->text(), field);
        dialog.bbtnOKClick();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // OK answers the value shown: the lines, or the pixels in the field.
        QCOMPARE(dialog.HeightValue, index < 3 ? -(index + 1) : field.toInt());
    }

    void choosingALineItemShowsItsPixels() {
        TSubHeightDlg dialog;
        dialog.SetTarget(90, 28);
        QTest::mouseClick(dialog.Items[0], Qt::LeftButton, {}, QPoint(8, 10));
        QCOMPARE(dialog.ItemIndex(), 0);
        QCOMPARE(dialog.edSubHeight->text(), QStringLiteral("28"));
        QTest::mouseClick(dialog.Items[2], Qt::LeftButton, {}, QPoint(8, 10));
        QCOMPARE(dialog.edSubHeight->text(), QStringLiteral("84"));
        // The custom item leaves the field as it is.
        QTest::mouseClick(dialog.Items[3], Qt::LeftButton, {}, QPoint(8, 10));
        QCOMPARE(dialog.edSubHeight->text(), QStringLiteral("84"));
        dialog.Items[0]->click();
        dialog.bbtnOK->click();
        QCOMPARE(dialog.HeightValue, -1);
    }

    void theFieldAndItsSpinnerMeanTheCustomHeight() {
        TSubHeightDlg dialog;
        dialog.SetTarget(-2, 28);
        QTest::mouseClick(dialog.edSubHeight, Qt::LeftButton);
        QCOMPARE(dialog.ItemIndex(), 3);
        dialog.SetTarget(-2, 28);
        // The arrows step from the number typed, not from where they last were.
        dialog.edSubHeight->setText(QStringLiteral("90"));
        dialog.UpDown1->Click(+1);
        QCOMPARE(dialog.ItemIndex(), 3);
        QCOMPARE(dialog.edSubHeight->text(), QStringLiteral("95"));
        dialog.bbtnOKClick();
        QCOMPARE(dialog.HeightValue, 95);
    }

    void customTextThatIsNoNumberIsThreeLines_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("decimal") << "12.5";
    }
    void customTextThatIsNoNumberIsThreeLines() {
        QFETCH(QString, text);
        TSubHeightDlg dialog;
        dialog.SetTarget(40, 20);
        dialog.edSubHeight->setText(text);
        dialog.bbtnOKClick();
        QCOMPARE(dialog.HeightValue, -3);
        // Nor can such a text be typed.
        QString typed = text;
        int at = 0;
        if (!text.isEmpty())
            QCOMPARE(dialog.edSubHeight->validator()->validate(typed, at), QValidator::Invalid);
    }

    void cancelAnswersCancel() {
        TSubHeightDlg dialog;
        dialog.SetTarget(-2, 28);
        dialog.Items[0]->click();
        dialog.bbtnCancel->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.HeightValue, -2);
    }
};

QTEST_MAIN(TestSubHeight)
#include "tst_subheight.moc"
