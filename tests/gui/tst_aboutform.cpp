// The about box: borderless, its picture, the styled title and product name, the version, the
// maker, the rights and the libraries; a click anywhere on it or Escape closes it.
#include "About.h"
#include "ControlTable.h"
#include "Kellabel.h"

#include <QLabel>
#include <QtTest>

class TestAboutForm : public QObject {
    Q_OBJECT

private slots:
    void showsWhatItShould() {
        TAboutForm about;
        CheckControls(&about, {
                                  {"AboutForm", "TAboutForm"},
                                  {"imLogo", "QLabel"},
                                  {"lbTitle", "TKelLabel", "字幕編輯程式"},
                                  {"lbProduct", "TKelLabel", "Velitra"},
                                  {"lbVersion", "QLabel", "v0.5.5     2002/08/06"},
                                  {"lbMaker", "QLabel", "Kestrow Group."},
                                  {"lbRights", "QLabel"},
                                  {"lbLibraries", "QLabel"},
                              });
        QVERIFY(about.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!about.imLogo->pixmap().isNull());
        QVERIFY(about.lbRights->text().contains(QStringLiteral("Kestrow Group.")));
        for (const char* library : {"Qt", "libmpv", "ICU", "LGPL", "Unicode License"})
            QVERIFY2(about.lbLibraries->text().contains(QLatin1String(library)), library);

        // The two styled labels: red bold 27-pixel title with a black shadow, blue bold
        // 19-pixel product name, both drop-shadowed.
        const struct {
            TKelLabel* label;
            QColor color;
            int pixels;
            const char* family;
        } styled[] = {{about.lbTitle, Qt::red, 27, "標楷體"},
                      {about.lbProduct, Qt::blue, 19, "Courier New"}};
        for (const auto& s : styled) {
            QCOMPARE(s.label->FontColor(), s.color);
            QCOMPARE(s.label->font().pixelSize(), s.pixels);
            QVERIFY(s.label->font().bold());
            QCOMPARE(s.label->font().family(), QString::fromUtf8(s.family));
            QCOMPARE(s.label->TextStyle(), tsShadow);
        }
        QCOMPARE(about.lbTitle->ShadowColor(), QColor(Qt::black));

        // Everything lies inside the box.
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        for (QWidget* w : about.findChildren<QWidget*>())
            QVERIFY2(about.rect().contains(w->geometry()), qPrintable(w->objectName()));
    }

    void aClickAnywhereCloses() {
        TAboutForm about;
        for (QWidget* target :
             {static_cast<QWidget*>(&about), static_cast<QWidget*>(about.lbTitle),
              static_cast<QWidget*>(about.lbLibraries), static_cast<QWidget*>(about.imLogo)}) {
            about.show();
            QVERIFY(QTest::qWaitForWindowExposed(&about));
            QTest::mouseClick(target, Qt::LeftButton);
            QVERIFY2(about.isHidden(), qPrintable(target->objectName()));
        }
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(about.isHidden());
    }
};

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"
