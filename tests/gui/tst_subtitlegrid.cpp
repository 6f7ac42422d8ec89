// The pane grid: what each cell shows, how wide the text column must be, and the colours the
// delegate paints.
#include "SideDocument.h"
#include "Subtitle.h"
#include "SubtitleGrid.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

namespace {

SubTitle Srt(const std::string& bytes) {
    return SubTitle::FromBytes(bytes, "pane.srt", 25.0);
}

const std::string kThree = "1\n00:00:01,000 --> 00:00:02,500\n  Hello  \nworld\n\n"
                           "2\n00:01:00,000 --> 00:00:59,000\n\n"
                           "3\n01:02:03,045 --> 01:02:04,000\n\xE5\xAD\x97\xE5\xB9\x95\n\n";

// Entry 2 is too short (300 ms) and entry 3 ends after entry 4 starts; the others are readable.
const std::string kChecked = "1\n00:00:01,000 --> 00:00:03,000\nFine one\n\n"
                             "2\n00:00:04,000 --> 00:00:04,300\nShort\n\n"
                             "3\n00:00:06,000 --> 00:00:08,500\nOverlaps\n\n"
                             "4\n00:00:08,000 --> 00:00:10,000\nNext\n\n"
                             "5\n00:00:12,000 --> 00:00:14,000\nLast\n\n";

// The rows whose duration cell the model gives the warning colour.
QList<int> WarnedRows(const TSubtitleGridModel& model) {
    QList<int> rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QVariant colour =
            model.data(model.index(row, TSubtitleGridModel::ColDuration), Qt::BackgroundRole);
        if (colour.value<QColor>() == TSubtitleGridDelegate::WarningBackground) rows << row;
        // Only the duration cell warns.
        for (int column : {TSubtitleGridModel::ColStart, TSubtitleGridModel::ColText})
            if (model.data(model.index(row, column), Qt::BackgroundRole).value<QColor>() ==
                TSubtitleGridDelegate::WarningBackground)
                rows << -1;
    }
    return rows;
}

TChange Retime(int index, int32_t start, int32_t end) {
    TChange change;
    change.Hunks.emplace_back(TRetime{index, {TEntryTimes{start, end}}});
    return change;
}

} // namespace

class TestSubtitleGrid : public QObject {
    Q_OBJECT
private slots:
    void cellsShowNumberStartDurationAndText() {
        SubTitle doc = Srt(kThree);
        TSubtitleGridModel model;
        model.Fill(&doc);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 5);
        const QStringList row0 = {"1", "", "00:00:01,000", "01:500", "Hello  |world"};
        for (int c = 0; c < 5; ++c)
            QCOMPARE(model.data(model.index(0, c), Qt::DisplayRole).toString(), row0[c]);
        // A negative duration shows with the minus in front; an empty text stays empty.
        QCOMPARE(model.CellText(1, 3), QString("-01:000"));
        QCOMPARE(model.CellText(1, 4), QString());
        QCOMPARE(model.CellText(2, 4), QString::fromUtf8("字幕"));
        QCOMPARE(model.CellText(3, 0), QString()); // past the end
        QCOMPARE(model.data(model.index(0, 4), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignLeft | Qt::AlignVCenter));
        QCOMPARE(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignCenter));
    }

    void big5TextIsDecodedWholeCharacters() {
        // 四 (A5 7C) and 弋 (A4 7C) end in the "|" byte; they must show as characters.
        SubTitle doc = Srt("1\r\n00:00:01,000 --> 00:00:02,000\r\n\xA5\x7C\xA4\x7C\r\nA\r\n\r\n");
        QCOMPARE(doc.CodePage(), kCodePageBig5);
        TSubtitleGridModel model;
        model.Fill(&doc);
        QCOMPARE(model.CellText(0, 4), QString::fromUtf8("四弋|A"));
        QCOMPARE(model.WidestText(), 6);
    }

    // A change that moves the document into another code page with its texts: every row is
    // drawn again and shows the same characters, before and after its undo.
    void recodedDocumentRepaintsEveryRow() {
        TSideDocument side(0);
        side.Replace(std::make_unique<SubTitle>(
            Srt("1\r\n00:00:01,000 --> 00:00:02,000\r\n\xA5\x7C\r\n\r\n"
                "2\r\n00:00:03,000 --> 00:00:04,000\r\nB\r\n\r\n")));
        const SubTitle& doc = *side.Document();
        QCOMPARE(doc.CodePage(), kCodePageBig5);
        TSubtitleGridModel model;
        model.Follow(&side);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        TChange change;
        change.Hunks.emplace_back(TRecode{kCodePageUtf8, FileEncoding::Plain});
        change.Hunks.emplace_back(TSplice{0, 1, {PerTitle(1000, 2000, "\xE5\x9B\x9B")}});
        QVERIFY(side.Apply("recode", std::move(change)));
        QCOMPARE(doc.CodePage(), kCodePageUtf8);
        QCOMPARE(model.CellText(0, 4), QString::fromUtf8("四"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex().row(), 0);
        QCOMPARE(changed[0][1].toModelIndex().row(), 1);
        QVERIFY(side.Undo());
        QCOMPARE(side.Document()->CodePage(), kCodePageBig5);
        QCOMPARE(model.CellText(0, 4), QString::fromUtf8("四"));
    }

    void widestTextCountsDoubleWidthAsTwo() {
        SubTitle doc = Srt(kThree);
        TSubtitleGridModel model;
        model.Fill(&doc);
        // Measured on the stored text, spaces included: "  Hello  |world" is 15 wide, 字幕 4.
        QCOMPARE(model.WidestText(), 15);
    }

    void emptyAndAbsentDocumentsShowNoRows() {
        SubTitle blank = Srt("\n\n\n");
        TSubtitleGridModel model;
        model.Fill(&blank);
        QVERIFY(blank.IsLoaded());
        QCOMPARE(model.rowCount(), 0);
        model.Fill(nullptr);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.WidestText(), 0);
    }

    void shownIndexRepaintsOnlyTheRowsConcerned() {
        SubTitle doc = Srt(kThree);
        TSubtitleGridModel model;
        model.Fill(&doc);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.SetShownIndex(1);
        QCOMPARE(changed.count(), 1);
        model.SetShownIndex(1);
        QCOMPARE(changed.count(), 1);
        model.SetShownIndex(2);
        QCOMPARE(changed.count(), 3); // the row left and the row entered
        QCOMPARE(changed.at(1).at(0).value<QModelIndex>().row(), 1);
        QCOMPARE(changed.at(2).at(0).value<QModelIndex>().row(), 2);
        model.SetShownIndex(-1);
        QCOMPARE(changed.count(), 4);
    }

    void delegatePaintsTheRowColours() {
        SubTitle doc = Srt(kThree);
        TSubtitleGridModel model;
        model.Fill(&doc);
        model.SetColumnTitles({"NO", "", "Start", "Delay", "Text"});
        const QColor current(0xCC, 0xCC, 0xFF);
        model.SetCurrentRowColor(current);
        model.SetShownIndex(0);

        QTableView view;
        view.setModel(&model);
        view.setItemDelegate(new TSubtitleGridDelegate(&view));
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.verticalHeader()->hide();
        view.verticalHeader()->setDefaultSectionSize(16);
        view.setColumnWidth(0, 30);
        view.setColumnWidth(2, 70);
        view.resize(400, 200);
        view.selectRow(1);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage image = view.viewport()->grab().toImage();

        auto colourAt = [&](int row, int column) {
            const QRect cell = view.visualRect(model.index(row, column));
            // A corner just inside the cell: background, not text.
            return QColor(image.pixel(cell.right() - 1, cell.top() + 1));
        };
        QCOMPARE(colourAt(0, 2), current);                                   // the showing row
        QCOMPARE(colourAt(1, 2), TSubtitleGridDelegate::SelectedBackground); // selected
        QCOMPARE(colourAt(2, 2), QColor(Qt::white));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(colourAt(row, 0), TSubtitleGridDelegate::NumberBackground);

        // Selected text is red: some pixel of the selected row's start cell is.
        const QRect cell = view.visualRect(model.index(1, 2));
        bool red = false;
        for (int x = cell.left(); x <= cell.right() && !red; ++x)
            for (int y = cell.top(); y <= cell.bottom() && !red; ++y) {
                const QColor c(image.pixel(x, y));
                red = c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        QVERIFY(red);
    }

    // The duration cell of an entry with a readability problem warns; a change checks again the
    // rows it touched and their neighbours, rows that come and go take their marks along, and
    // the showing row keeps its own colour.
    void durationCellWarnsOfProblems() {
        TSideDocument side(0);
        side.Replace(std::make_unique<SubTitle>(Srt(kChecked)));
        TSubtitleGridModel model;
        model.Follow(&side);
        QCOMPARE(WarnedRows(model), (QList<int>{1, 2}));

        QVERIFY(side.Apply("longer", Retime(1, 4000, 5000))); // the short one fixed
        QCOMPARE(WarnedRows(model), (QList<int>{2}));
        QVERIFY(side.Apply("shorter", Retime(2, 6000, 7800))); // the overlap fixed
        QCOMPARE(WarnedRows(model), (QList<int>{}));
        // Moving entry 4 earlier makes entry 3 overlap it again: the row before a change too.
        QVERIFY(side.Apply("earlier", Retime(3, 7700, 10000)));
        QCOMPARE(WarnedRows(model), (QList<int>{2}));
        QVERIFY(side.Undo());
        QVERIFY(side.Undo());
        QCOMPARE(WarnedRows(model), (QList<int>{2}));
        QVERIFY(side.Undo());
        QCOMPARE(WarnedRows(model), (QList<int>{1, 2}));

        // The first entry taken out: the marks move up with their rows.
        TChange erase;
        erase.Hunks.emplace_back(TSplice{0, 1, {}});
        QVERIFY(side.Apply("erase", std::move(erase)));
        QCOMPARE(WarnedRows(model), (QList<int>{0, 1}));
        // An entry put in before the overlapping one, overlapping nothing but too short itself.
        TChange insert;
        insert.Hunks.emplace_back(TSplice{1, 0, {PerTitle(5000, 5100, "Tiny")}});
        QVERIFY(side.Apply("insert", std::move(insert)));
        QCOMPARE(WarnedRows(model), (QList<int>{0, 1, 2}));
        QVERIFY(side.Undo());
        QVERIFY(side.Undo());
        QCOMPARE(WarnedRows(model), (QList<int>{1, 2}));

        // Other limits check every entry again: 300 ms is no longer too short.
        TCheckLimits limits;
        limits.MinDuration = 200;
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.SetCheckLimits(limits);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(WarnedRows(model), (QList<int>{2}));
        model.SetCheckLimits(TCheckLimits{});

        // The showing row's colour stays above the warning.
        const QColor current(0xCC, 0xCC, 0xFF);
        model.SetCurrentRowColor(current);
        model.SetShownIndex(1);
        QCOMPARE(model.data(model.index(1, TSubtitleGridModel::ColDuration), Qt::BackgroundRole)
                     .value<QColor>(),
                 current);
        QCOMPARE(WarnedRows(model), (QList<int>{2}));

        // As painted: the showing row in its colour, a selected row with a problem warns, a
        // selected row without one stays light yellow.
        model.SetShownIndex(2);
        QTableView view;
        view.setModel(&model);
        view.setItemDelegate(new TSubtitleGridDelegate(&view));
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setSelectionMode(QAbstractItemView::MultiSelection);
        view.verticalHeader()->hide();
        view.verticalHeader()->setDefaultSectionSize(16);
        view.resize(500, 200);
        view.selectRow(0);
        view.selectRow(1);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage image = view.viewport()->grab().toImage();
        auto colourAt = [&](int row) {
            const QRect cell = view.visualRect(model.index(row, TSubtitleGridModel::ColDuration));
            return QColor(image.pixel(cell.right() - 1, cell.top() + 1));
        };
        QCOMPARE(colourAt(0), TSubtitleGridDelegate::SelectedBackground);
        QCOMPARE(colourAt(1), TSubtitleGridDelegate::WarningBackground);
        QCOMPARE(colourAt(2), current);
        QCOMPARE(colourAt(3), QColor(Qt::white));
    }
};

QTEST_MAIN(TestSubtitleGrid)
#include "tst_subtitlegrid.moc"
