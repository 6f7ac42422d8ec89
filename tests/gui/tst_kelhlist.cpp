// The scrolling list box: the horizontal extent follows the widest item added, plus one "X", and
// only grows; deleting items leaves it; FindLognestString measures the items again.
#include "Kelhlist.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QtTest>

namespace {

struct Box {
    TKelHListBox list;
    Box() {
        list.resize(120, 100);
        list.show();
    }
    int X() const { return list.fontMetrics().horizontalAdvance(QLatin1Char('X')); }
    int Text(const QString& s) const { return list.fontMetrics().horizontalAdvance(s); }
    int Range() const { return list.horizontalScrollBar()->maximum(); }
    int Page() const { return list.viewport()->width(); }
};

} // namespace

class TestKelHList : public QObject {
    Q_OBJECT

private slots:
    void extentIsTheWidestItemPlusX() {
        Box b;
        const QString longItem(60, QLatin1Char('W'));
        QCOMPARE(b.list.HorizontalExtent(), 0);
        QCOMPARE(b.list.AddString(longItem), 0);
        const int wide = b.Text(longItem) + b.X();
        QCOMPARE(b.list.HorizontalExtent(), wide);
        QCOMPARE(b.list.GetStringLength(longItem), wide);
        // A shorter item changes nothing.
        b.list.AddString(QStringLiteral("ab"));
        QCOMPARE(b.list.HorizontalExtent(), wide);
        // The scroll range covers the extent beyond the visible width, and the bar shows.
        QCOMPARE(b.Range(), wide - b.Page());
        QApplication::processEvents();
        QVERIFY(b.list.horizontalScrollBar()->isVisible());
    }

    void everyWayOfAddingIsMeasured() {
        Box b;
        b.list.InsertString(0, QStringLiteral("short"));
        QCOMPARE(b.list.HorizontalExtent(), b.Text("short") + b.X());
        // Qt's own calls go through the same measurement as the messages.
        b.list.insertItem(0, QStringLiteral("rather longer"));
        QCOMPARE(b.list.HorizontalExtent(), b.Text("rather longer") + b.X());
        b.list.addItems({QStringLiteral("x"), QStringLiteral("the longest of them all")});
        QCOMPARE(b.list.HorizontalExtent(), b.Text("the longest of them all") + b.X());
        QCOMPARE(b.list.item(0)->text(), QStringLiteral("rather longer"));
        // An index past the end appends, as the list box message does.
        b.list.InsertString(99, QStringLiteral("last"));
        QCOMPARE(b.list.item(b.list.count() - 1)->text(), QStringLiteral("last"));
    }

    void emptyStringCountsAsX() {
        Box b;
        b.list.AddString(QString());
        QCOMPARE(b.list.HorizontalExtent(), b.X());
        b.list.AddString(QStringLiteral("abc"));
        b.list.AddString(QString());
        QCOMPARE(b.list.HorizontalExtent(), b.Text("abc") + b.X());
    }

    void tabsStandEveryEightAverageCharacters() {
        Box b;
        const int tab = 8 * b.list.fontMetrics().averageCharWidth();
        QVERIFY(b.list.GetStringLength(QStringLiteral("a\tb")) >= tab + b.Text("b") + b.X());
    }

    void deletionNeverShrinksButFindLognestStringDoes() {
        Box b;
        const QString widest(80, QLatin1Char('M'));
        b.list.AddString(QStringLiteral("one"));
        b.list.AddString(widest);
        b.list.AddString(QStringLiteral("three three"));
        const int wide = b.Text(widest) + b.X();
        const int range = b.Range();
        b.list.DeleteString(1);
        b.list.DeleteString(17); // out of range: nothing
        QCOMPARE(b.list.count(), 2);
        QCOMPARE(b.list.HorizontalExtent(), wide);
        QCOMPARE(b.Range(), range);

        b.list.FindLognestString();
        const int rest = b.Text("three three") + b.X();
        QCOMPARE(b.list.HorizontalExtent(), rest);
        QCOMPARE(b.Range(), std::max(0, rest - b.Page()));

        // Emptied: the measurement is reset, the range last set stays on the bar.
        b.list.AddString(widest);
        const int rangeBefore = b.Range();
        b.list.clear();
        b.list.FindLognestString();
        QCOMPARE(b.list.HorizontalExtent(), 0);
        QCOMPARE(b.Range(), rangeBefore);
        QVERIFY(b.list.SizeAfterDel);
    }

    void aVeryWideItemKeepsItsWholeWidth() {
        Box b;
        // Wider than 65535 pixels: the width is not cut to 16 bits.
        const QString huge(20000, QLatin1Char('W'));
        b.list.AddString(huge);
        QVERIFY(b.list.HorizontalExtent() > 65535);
        QCOMPARE(b.list.HorizontalExtent(), b.list.GetStringLength(huge));
    }
};

QTEST_MAIN(TestKelHList)
#include "tst_kelhlist.moc"
