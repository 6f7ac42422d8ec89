// The side object: the one owner of a side's document and history. Its steps, undo and redo,
// the modified state it derives, what it announces around each change, and that a refused step
// leaves everything as it was.
#include "DocBuilder.h"
#include "Editing.h"
#include "SideDocument.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(std::vector<TRowSpan>)
Q_DECLARE_METATYPE(TSideDocument::TMove)

class TestSideDocument : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        qRegisterMetaType<std::vector<TRowSpan>>();
        qRegisterMetaType<TSideDocument::TMove>();
    }

    void modifiedFollowsTheHistory() {
        TSideDocument side(0);
        QVERIFY(!side.IsModified()); // no document
        QVERIFY(!side.Apply("x", ShiftChange(*EvenDoc(3), 0, 2, 10))); // nothing to change
        side.Replace(EvenDoc(3));
        QVERIFY(!side.IsModified());
        QVERIFY(side.Apply("shift", ShiftChange(*side.Document(), 0, 2, 10)));
        QVERIFY(side.IsModified());
        QVERIFY(side.Undo());
        QVERIFY(!side.IsModified()); // back where the file was read
        QVERIFY(side.Redo());
        QVERIFY(side.IsModified());
        // An empty change is no step.
        QVERIFY(!side.Apply("none", ShiftChange(*side.Document(), 2, 1, 10)));
        QCOMPARE(side.History().Steps(), std::size_t(1));
        // A document brought back unsaved differs from its file whatever is undone.
        side.Replace(EvenDoc(2), false);
        QVERIFY(side.IsModified());
    }

    void announcesEachHunkAndTheRowsOfTheStep() {
        TSideDocument side(1);
        side.Replace(EvenDoc(6));
        QSignalSpy before(&side, &TSideDocument::aboutToChange);
        QSignalSpy about(&side, &TSideDocument::hunkAboutToApply);
        QSignalSpy applied(&side, &TSideDocument::hunkApplied);
        QSignalSpy changed(&side, &TSideDocument::changed);
        QSignalSpy history(&side, &TSideDocument::historyChanged);
        // Erase entries 1 and 4: two hunks, told as they are applied, the second after the first
        // has moved the rows behind it.
        QVERIFY(side.Apply("erase", EraseEntriesChange(*side.Document(), {1, 4})));
        QCOMPARE(before.count(), 1);
        QCOMPARE(about.count(), 2);
        QCOMPARE(applied.count(), 2);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(history.count(), 1);
        QCOMPARE(side.Document()->Count(), 4);
        const auto rows = changed.at(0).at(0).value<std::vector<TRowSpan>>();
        QCOMPARE(int(rows.size()), 2);
        // Undo puts both back and names the rows they stand on now.
        QVERIFY(side.Undo());
        const auto back = changed.at(1).at(0).value<std::vector<TRowSpan>>();
        QCOMPARE(changed.at(1).at(1).value<TSideDocument::TMove>(), TSideDocument::TMove::Undo);
        std::vector<int> firsts;
        for (const TRowSpan& span : back)
            firsts.push_back(span.First);
        std::sort(firsts.begin(), firsts.end());
        QCOMPARE(firsts, (std::vector<int>{1, 4}));
        QCOMPARE(side.Document()->Count(), 6);
    }

    void aRefusedStepLeavesEverythingAsItWas() {
        TSideDocument side(0);
        side.Replace(EvenDoc(3));
        QVERIFY(side.Apply("shift", ShiftChange(*side.Document(), 0, 2, 10)));
        QSignalSpy changed(&side, &TSideDocument::changed);
        // A change reaching past the document is refused before anything moves.
        TChange bad;
        bad.Hunks.emplace_back(TSplice{5, 1, {}});
        QVERIFY_THROWS_EXCEPTION(SubtitleError, side.Apply("bad", std::move(bad)));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(side.History().Steps(), std::size_t(1));
        QCOMPARE(side.History().UndoName(), QString("shift"));
        QCOMPARE(side.Document()->Item(0)->Start, 10);
    }

    void saveMovesTheSavedState() {
        QTemporaryDir dir;
        const QString path = dir.filePath("s.srt");
        auto doc = MakeDoc({{0, 500, "a"}, {1000, 1500, "b"}}, path.toStdString());
        TSideDocument side(0);
        side.Replace(std::move(doc));
        QVERIFY(side.Apply("shift", ShiftChange(*side.Document(), 0, 1, 100)));
        std::string why;
        QVERIFY(side.Save(&why));
        QVERIFY(!side.IsModified());
        QVERIFY(side.Undo());
        QVERIFY(side.IsModified()); // the file now holds the shifted times
        QVERIFY(side.Redo());
        QVERIFY(!side.IsModified());
    }
};

QTEST_MAIN(TestSideDocument)
#include "tst_sidedocument.moc"
