// Captions in step with the film, driven through a film player double: the caption ticks, the
// caption panels' look and place, the follow and link commands, and the two repeat ranges.
#include "MainProbe.h"
#include "FormFixture.h"
#include "Kelpanel.h"
#include "Main.h"
#include "ScriptedQuestions.h"
#include "SubHeight.h"
#include "SubtitleGrid.h"
#include "TestSettings.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kFilm = QStringLiteral("/films/f.avi");
const QColor kShowing(0xCC, 0xCC, 0xFF);
const QColor kGap(0xDF, 0xDF, 0xDF);

struct Entry {
    int start;
    int end;
    const char* text;
};

QByteArray SubRip(const std::vector<Entry>& entries) {
    QByteArray bytes;
    int n = 0;
    for (const Entry& e : entries)
        bytes += QByteArray::number(++n) + "\r\n" +
                 QByteArray::fromStdString(MsToTimeText(e.start)) + " --> " +
                 QByteArray::fromStdString(MsToTimeText(e.end)) + "\r\n" + e.text + "\r\n\r\n";
    return bytes;
}

struct Fixture : TFormFixture {
    Fixture() : TFormFixture(kFilm, 60.0) {}
    void Load(int side, const QByteArray& bytes, const QString& name = "a.srt") {
        QVERIFY(f().LoadDocument(side, Write(QString::number(side) + name, bytes)));
    }
    void Play() {
        QVERIFY(f().FileOpenMovieAccept(kFilm));
        Ctl<QAction>(f(), "aPlay")->trigger();
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Playing));
    }
    // One caption tick of a side with the film at t seconds.
    QString TickAt(int side, double t) {
        player->Position = t;
        Probe(f()).SubTimerLTimer(side);
        return Probe(f()).Pane(side)->CaptionPanel->Caption();
    }
};

} // namespace

class TestCaptions : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    void tickFollowsTheFilm() {
        TScriptedQuestions questions;
        Fixture x;
        x.Load(0, SubRip({{1000, 2000, "one"}, {3000, 4000, "two|lines"}, {5000, 6000, "three"}}));
        x.Play();
        QVERIFY(Ctl<QTimer>(x.f(), "SubTimerL")->isActive());
        QVERIFY(!Ctl<QTimer>(x.f(), "SubTimerR")->isActive()); // no right document
        struct Step {
            double t;
            const char* caption;
            int shown;
            QColor row;
            const char* status;
        };
        // In play order, each from the state the one before left; the row colour is the one
        // the last caption change chose.
        const Step steps[] = {
            {0.0, "", -1, kShowing, "[SRT] 0 -- 3"},
            {0.9999, "", -1, kShowing, "[SRT] 0 -- 3"},
            {1.0, "one", 0, kShowing, "[SRT] 1 -- 3"},
            {1.999, "one", 0, kShowing, "[SRT] 1 -- 3"},
            {2.0, "", 0, kGap, "[SRT] 1 -- 3"}, // the row keeps its mark, in grey
            {3.0, "two|lines", 1, kShowing, "[SRT] 2 -- 3"},
            {1.5, "one", 0, kShowing, "[SRT] 1 -- 3"}, // sought backwards
            {5.5, "three", 2, kShowing, "[SRT] 3 -- 3"},
            {6.0, "", 2, kGap, "[SRT] 3 -- 3"}, // the last entry's end
            {59.9, "", 2, kGap, "[SRT] 3 -- 3"},
            {0.5, "", -1, kGap, "[SRT] 0 -- 3"},
        };
        for (const Step& s : steps) {
            const QByteArray where = QByteArray::number(s.t);
            QVERIFY2(x.TickAt(0, s.t) == QString::fromUtf8(s.caption), where);
            QVERIFY2(Probe(x.f()).Pane(0)->ShownIndex == s.shown, where);
            QVERIFY2(Probe(x.f()).Pane(0)->GridModel->ShownIndex() == s.shown, where);
            QVERIFY2(Probe(x.f()).Pane(0)->GridModel->CurrentRowColor() == s.row, where);
            QVERIFY2(Probe(x.f()).Panels()[1]->text() == QString::fromUtf8(s.status), where);
        }

        // Paused, a tick changes nothing; stopped, the last caption stays on screen.
        x.TickAt(0, 3.5);
        Ctl<QAction>(x.f(), "aPause")->trigger();
        QCOMPARE(x.TickAt(0, 1.5), QStringLiteral("two|lines"));
        QCOMPARE(Probe(x.f()).Pane(0)->ShownIndex, 1);
        Ctl<QAction>(x.f(), "aStop")->trigger();
        QCOMPARE(Probe(x.f()).Pane(0)->ShownIndex, -1);
        QCOMPARE(Probe(x.f()).Pane(0)->GridModel->ShownIndex(), -1);
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionPanel->Caption(), QStringLiteral("two|lines"));
        // Played again, the entry marked before the stop is marked again.
        Ctl<QAction>(x.f(), "aPlay")->trigger();
        QCOMPARE(x.TickAt(0, 3.5), QStringLiteral("two|lines"));
        QCOMPARE(Probe(x.f()).Pane(0)->GridModel->ShownIndex(), 1);
    }

    void emptyDocumentShowsNothing() {
        TScriptedQuestions questions;
        Fixture x;
        x.Load(0, "no entries here\r\n");
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 0);
        x.Play();
        for (double t : {0.0, 1.0, 59.0}) {
            QCOMPARE(x.TickAt(0, t), QString());
            QCOMPARE(Probe(x.f()).Pane(0)->ShownIndex, -1);
        }
        QCOMPARE(Probe(x.f()).Panels()[1]->text(), QStringLiteral("[SRT] 0 -- 0"));
    }

    void eachSideKeepsItsOwnRowColour() {
        // The right side in a gap must not turn the left side's showing row grey.
        TScriptedQuestions questions;
        Fixture x;
        x.Load(0, SubRip({{1000, 5000, "left"}}));
        x.Load(1, SubRip({{1000, 2000, "right"}}));
        x.Play();
        QVERIFY(Ctl<QTimer>(x.f(), "SubTimerR")->isActive());
        QCOMPARE(x.TickAt(0, 1.5), QStringLiteral("left"));
        QCOMPARE(x.TickAt(1, 1.5), QStringLiteral("right"));
        QCOMPARE(x.TickAt(0, 3.0), QStringLiteral("left"));
        QCOMPARE(x.TickAt(1, 3.0), QString());
        QCOMPARE(Probe(x.f()).Pane(0)->GridModel->CurrentRowColor(), kShowing);
        QCOMPARE(Probe(x.f()).Pane(1)->GridModel->CurrentRowColor(), kGap);
        QCOMPARE(x.TickAt(0, 3.25), QStringLiteral("left"));
        QCOMPARE(Probe(x.f()).Pane(0)->GridModel->CurrentRowColor(), kShowing);
        QCOMPARE(Probe(x.f()).Pane(1)->GridModel->CurrentRowColor(), kGap);
        QCOMPARE(Probe(x.f()).Panels()[2]->text(), QStringLiteral("[SRT] 1 -- 1"));
    }

    void big5CharacterEndingInBarIsOneLine() {
        // 四 is A5 7C in Big5: its second byte is "|", which must not split the caption.
        TScriptedQuestions questions;
        Fixture x;
        x.Load(0, "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xA5\x7C\xA4\x48|\xA6\x7C\r\n\r\n",
               "big5.srt");
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->CodePage(), 950);
        x.Play();
        QCOMPARE(x.TickAt(0, 1.5), QStringLiteral("四人|帆"));
        QCOMPARE(TKelPanel::countDelimiter("|", Probe(x.f()).Pane(0)->CaptionPanel->Caption()), 1);
    }

    // The panel shows what the film would: the caption without its format's tags, in italics
    // where a tag says so, and nothing for an ASS comment line.
    void tagsAreLeftOutAndItalicsShown() {
        struct Case {
            const char* name;
            QByteArray bytes;
            double t;
            const char* caption;
            bool italic;
        };
        const QByteArray assHead =
            "[Script Info]\r\nScriptType: v4.00+\r\n\r\n[Events]\r\n"
            "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n";
        const QByteArray ass =
            assHead + "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\i1}slanted{\\i0}\\Nline\r\n"
                      "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,{\\pos(10,20)\\fnA}a\\hb\r\n"
                      "Comment: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,not shown\r\n"
                      "Dialogue: 0,0:00:07.00,0:00:08.00,Default,,0,0,0,,a|b\\Nc\r\n";
        const QByteArray vtt = "WEBVTT\n\n00:01.000 --> 00:02.000\n<i>it</i> &amp; <c.loud>me</c>\n\n"
                               "00:03.000 --> 00:04.000 align:start\n<v Ann>plain\n\n"
                               "00:05.000 --> 00:06.000\nyes | no\n";
        const Case cases[] = {
            {"a.ass", ass, 1.5, "slanted|line", true},
            {"a.ass", ass, 3.5, "a b", false},
            {"a.ass", ass, 5.5, "", false},
            // A bar of the text stays on its line, shown as its look-alike.
            {"a.ass", ass, 7.5, "a\u01C0b|c", false},
            {"a.vtt", vtt, 1.5, "it & me", true},
            {"a.vtt", vtt, 3.5, "plain", false},
            {"a.vtt", vtt, 5.5, "yes \u01C0 no", false},
            {"a.srt", SubRip({{1000, 2000, "<i>one</i>|<font color=red>two</font>"}}), 1.5,
             "one|two", true},
            {"a.srt", SubRip({{1000, 2000, "a < b"}}), 1.5, "a < b", false},
        };
        for (const Case& c : cases) {
            TScriptedQuestions questions;
            Fixture x;
            x.Load(0, c.bytes, QString::fromLatin1(c.name));
            x.Play();
            const QByteArray where = QByteArray(c.name) + " " + QByteArray::number(c.t);
            QVERIFY2(x.TickAt(0, c.t) == QString::fromUtf8(c.caption), where);
            TKelPanel* panel = Probe(x.f()).Pane(0)->CaptionPanel;
            QVERIFY2(panel->CaptionItalic() == c.italic, where);
            QVERIFY2(panel->DrawFont().italic() == c.italic, where);
            // The next caption without tags is upright again.
            if (c.italic) {
                x.TickAt(0, 2.5);
                QVERIFY2(!panel->CaptionItalic(), where);
            }
        }
    }

    void followingScrollsWithoutARowChange() {
        TScriptedQuestions questions;
        Fixture x;
        std::vector<Entry> many;
        for (int i = 0; i < 300; ++i)
            many.push_back({i * 1000, i * 1000 + 500, "x"});
        x.Load(0, SubRip(many));
        x.f().show();
        QVERIFY(QTest::qWaitForWindowExposed(&x.f()));
        Probe(x.f()).SelectRow(0, 4);
        QSignalSpy rowChanges(Probe(x.f()).Pane(0), &TSubtitlePane::rowChanged);
        x.Play();
        QTableView* grid = Probe(x.f()).Pane(0)->Grid;
        const int visible =
            grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize();
        QVERIFY(visible > 2);

        x.TickAt(0, 150.2); // entry 150, index 150
        QCOMPARE(Probe(x.f()).Pane(0)->ShownIndex, 150);
        QCOMPARE(grid->verticalScrollBar()->value(), 151 - visible / 2 - 1);
        QCOMPARE(grid->currentIndex().row(), 4);
        QCOMPARE(rowChanges.count(), 0); // the caption moves no row of the user's
        // Near the top the first row stays the first.
        x.TickAt(0, 1.2);
        QCOMPARE(grid->verticalScrollBar()->value(), 0);

        // Not following: the row is marked, the pane stays where it is.
        Ctl<QAction>(x.f(), "aSyncL")->trigger();
        QVERIFY(!Ctl<QAction>(x.f(), "aSyncL")->isChecked());
        x.TickAt(0, 200.2);
        QCOMPARE(Probe(x.f()).Pane(0)->GridModel->ShownIndex(), 200);
        QCOMPARE(grid->verticalScrollBar()->value(), 0);
    }

    void followAndLinkExcludeEachOther() {
        TScriptedQuestions questions;
        Fixture x;
        QAction* l = Ctl<QAction>(x.f(), "aSyncL");
        QAction* r = Ctl<QAction>(x.f(), "aSyncR");
        QAction* lr = Ctl<QAction>(x.f(), "aSyncLR");
        QVERIFY(l->isChecked() && r->isChecked() && !lr->isChecked());
        lr->trigger();
        QVERIFY(lr->isChecked() && !l->isChecked() && !r->isChecked());
        l->trigger();
        QVERIFY(l->isChecked() && !r->isChecked() && !lr->isChecked());
        lr->trigger();
        r->trigger();
        QVERIFY(r->isChecked() && !l->isChecked() && !lr->isChecked());
        // Unchecking changes nothing else.
        r->trigger();
        QVERIFY(!r->isChecked() && !l->isChecked() && !lr->isChecked());
        lr->trigger();
        lr->trigger();
        QVERIFY(!r->isChecked() && !l->isChecked() && !lr->isChecked());
    }

    void repeatBySeconds() {
        TScriptedQuestions questions;
        Fixture x;
        x.Play();
        struct Case {
            double p;
            int before;
            int after;
            double from;
            double to;
        };
        // Clamped to the film at both ends.
        const Case cases[] = {{1.5, 2, 2, 0, 3.5}, {30, 5, 10, 25, 40}, {58.5, 0, 3, 58.5, 60}};
        for (const Case& c : cases) {
            Ctl<QSpinBox>(x.f(), "udSecFrom")->setValue(c.before);
            Ctl<QSpinBox>(x.f(), "udSecTo")->setValue(c.after);
            x.player->Position = c.p;
            if (Ctl<QAction>(x.f(), "aSecRepeat")->isChecked()) Ctl<QAction>(x.f(), "aSecRepeat")->trigger();
            Ctl<QAction>(x.f(), "aSecRepeat")->trigger();
            QVERIFY(Probe(x.f()).RepeatActive());
            QCOMPARE(Probe(x.f()).RepeatFrom(), c.from);
            QCOMPARE(Probe(x.f()).RepeatTo(), c.to);
            QCOMPARE(x.player->Position, c.from);
            QVERIFY(!Ctl<QSlider>(x.f(), "TrackBar")->isEnabled());
        }
        // The film timer loops the range.
        x.player->Position = 60;
        Probe(x.f()).MovieTimerTimer();
        QCOMPARE(x.player->Position, 58.5);
        // Pressed again, the repeat ends and the track bar is back.
        Ctl<QAction>(x.f(), "aSecRepeat")->trigger();
        QVERIFY(!Probe(x.f()).RepeatActive());
        QVERIFY(Ctl<QSlider>(x.f(), "TrackBar")->isEnabled());
    }

    void repeatByEntries() {
        TScriptedQuestions questions;
        Fixture x;
        x.Load(0, SubRip({{0, 900, "0"},
                          {1000, 1900, "1"},
                          {2000, 2900, "2"},
                          {3000, 3900, "3"},
                          {4500, 5500, "4"},
                          {6000, 7000, "5"},
                          {8000, 9000, "6"},
                          {10000, 14900, "7"}}));
        x.Play();
        struct Case {
            double t; // where the film is: ShownIndex follows from it
            int before;
            int after;
            double from;
            double to;
        };
        const Case cases[] = {
            {6.5, 1, 2, 4, 14},   // entries 4..7; 7 ends at 14.9 s, the loop at 14 s
            {6.5, 0, 0, 6, 7},    // the showing entry alone
            {1.5, 5, 1, 0, 2},    // clamped at the first entry
            {6.5, 0, 999, 6, 14}, // and at the last
            {0.95, 0, 0, 0, 0},   // in the gap after entry 0: that entry
            {20, 3, 0, 4, 14},    // after the last entry
        };
        for (const Case& c : cases) {
            x.TickAt(0, c.t);
            Ctl<QSpinBox>(x.f(), "udSubFrom")->setValue(c.before);
            Ctl<QSpinBox>(x.f(), "udSubTo")->setValue(c.after);
            if (Ctl<QAction>(x.f(), "aSubRepeat")->isChecked()) Ctl<QAction>(x.f(), "aSubRepeat")->trigger();
            Ctl<QAction>(x.f(), "aSubRepeat")->trigger();
            const QByteArray where = QByteArray::number(c.t);
            QVERIFY2(Probe(x.f()).RepeatActive(), where);
            QVERIFY2(Probe(x.f()).RepeatFrom() == c.from, where);
            QVERIFY2(Probe(x.f()).RepeatTo() == c.to, where);
            QVERIFY2(x.player->Position == c.from, where);
        }
        // The two repeats are one group: checking one unchecks the other.
        Ctl<QAction>(x.f(), "aSecRepeat")->trigger();
        QVERIFY(!Ctl<QAction>(x.f(), "aSubRepeat")->isChecked());
        Ctl<QAction>(x.f(), "aSubRepeat")->trigger();
        QVERIFY(!Ctl<QAction>(x.f(), "aSecRepeat")->isChecked());
        QVERIFY(Probe(x.f()).RepeatActive());

        // Before the first entry (ShownIndex -1) with 0 and 0: the whole document.
        Ctl<QAction>(x.f(), "aStop")->trigger();
        Ctl<QAction>(x.f(), "aPlay")->trigger();
        Ctl<QSpinBox>(x.f(), "udSubFrom")->setValue(0);
        Ctl<QSpinBox>(x.f(), "udSubTo")->setValue(0);
        Ctl<QAction>(x.f(), "aSubRepeat")->trigger();
        Ctl<QAction>(x.f(), "aSubRepeat")->trigger();
        QCOMPARE(Probe(x.f()).RepeatFrom(), 0.0);
        QCOMPARE(Probe(x.f()).RepeatTo(), 14.0);

        // Not playing, or without a left document, the command only ends the repeat.
        Ctl<QAction>(x.f(), "aPause")->trigger();
        Probe(x.f()).aSubRepeatExecute();
        QVERIFY(!Probe(x.f()).RepeatActive());
        QVERIFY(Ctl<QSlider>(x.f(), "TrackBar")->isEnabled()); // the repeat over, it seeks
        Fixture none;
        none.Play();
        Probe(none.f()).RepeatActive() = true;
        Ctl<QAction>(none.f(), "aSubRepeat")->setChecked(true);
        Probe(none.f()).aSubRepeatExecute();
        QVERIFY(!Probe(none.f()).RepeatActive());
        QCOMPARE(none.player->Position, 0.0);
    }

    void panelsStackAtTheBottomOfTheVideo() {
        TScriptedQuestions questions;
        Fixture x;
        x.f().show();
        QVERIFY(QTest::qWaitForWindowExposed(&x.f()));
        x.Load(0, SubRip({{1000, 2000, "a"}}));
        x.Load(1, SubRip({{1000, 2000, "b"}}));
        QWidget* video = Ctl<QWidget>(x.f(), "plVideo");
        TKelPanel* left = Ctl<TKelPanel>(x.f(), "plSubL");
        TKelPanel* right = Ctl<TKelPanel>(x.f(), "plSubR");
        auto check = [&] {
            QApplication::processEvents();
            QWidget* lowest = right->isVisible() ? right : left;
            if (lowest->isVisible()) QCOMPARE(lowest->geometry().bottom(), video->height() - 1);
            if (left->isVisible() && right->isVisible())
                QCOMPARE(left->geometry().bottom() + 1, right->geometry().top());
            for (TKelPanel* p : {left, right})
                if (p->isVisible()) QCOMPARE(p->width(), video->width());
        };
        QVERIFY(left->isVisible() && right->isVisible());
        check();
        Ctl<QAction>(x.f(), "aShowSubR")->trigger(); // hidden
        QVERIFY(!right->isVisible());
        check();
        x.f().resize(900, 700);
        check();
        Ctl<QAction>(x.f(), "aShowSubR")->trigger();
        Ctl<QAction>(x.f(), "aShowSubL")->trigger();
        check();
        Ctl<QAction>(x.f(), "aShowSubL")->trigger();
        check();
        // A hidden panel still gets its caption from its running timer.
        x.Play();
        Ctl<QAction>(x.f(), "aShowSubL")->trigger();
        QVERIFY(!left->isVisible() && Ctl<QTimer>(x.f(), "SubTimerL")->isActive());
        QCOMPARE(x.TickAt(0, 1.5), QStringLiteral("a"));
    }

    void styleFontColourAndHeight() {
        TScriptedQuestions questions;
        Fixture x;
        TKelPanel* panel = Ctl<TKelPanel>(x.f(), "plSubL");
        // The built-in style: white on black, three lines of the font.
        QCOMPARE(panel->Color(), QColor(Qt::black));
        QCOMPARE(panel->FontColor(), QColor(Qt::white));
        const int line = QFontMetrics(panel->font()).height();
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionLineHeight, line);
        QCOMPARE(panel->height(), 3 * line);

        // The height dialog answers a value; OK stores it and styles the panel, Cancel leaves
        // both.
        TSubHeightDlg heights;
        Probe(x.f()).SubHeightDlg() = &heights;
        for (auto [answer, expected] : {std::pair{-2, 2 * line}, {30, 30}, {0, 0}}) {
            const int before = Probe(x.f()).Pane(0)->CaptionHeight;
            int offered = 0, offeredLine = 0;
            questions.DialogScripts << [&, answer = answer](QDialog*) {
                offered = heights.HeightValue;
                offeredLine = heights.LineHeight;
                heights.HeightValue = answer;
                return int(mrOk);
            };
            Ctl<QAction>(x.f(), "aSubHeightL")->trigger();
            // The dialog opened on the side's value and line height.
            QCOMPARE(offered, before);
            QCOMPARE(offeredLine, line);
            QCOMPARE(Probe(x.f()).Pane(0)->CaptionHeight, answer);
            QCOMPARE(panel->height(), expected);
        }
        questions.DialogScripts << [&](QDialog*) {
            heights.HeightValue = 77;
            return int(mrCancel);
        };
        Ctl<QAction>(x.f(), "aSubHeightL")->trigger();
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionHeight, 0);
        questions.DialogScripts << [&](QDialog*) {
            heights.Items[1]->click();
            heights.bbtnOKClick();
            return int(mrOk);
        };
        Ctl<QAction>(x.f(), "aSubHeightL")->trigger();
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionHeight, -2);
        QCOMPARE(panel->height(), 2 * line);

        // The font command chooses the text colour with the font, starting from both.
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSize(30);
        chosen.setItalic(true);
        questions.FontColorAnswers << TFontChoice{chosen, QColor(0xFF, 0xEE, 0x00)};
        Ctl<QAction>(x.f(), "aFontEditL")->trigger();
        QCOMPARE(questions.FontColorOffers.size(), 1);
        QCOMPARE(questions.FontColorOffers[0].Color, QColor(Qt::white));
        // The offer is a face the chooser can show in the caption's style.
        const QFont offered = questions.FontColorOffers[0].Font;
        QVERIFY(QFontDatabase::hasFamily(offered.family()));
        QVERIFY(offered.bold());
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionStyle.FontColor, 0x00EEFFu);
        QCOMPARE(panel->FontColor(), QColor(0xFF, 0xEE, 0x00));
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionStyle.FontSize, 30);
        QVERIFY(Probe(x.f()).Pane(0)->CaptionStyle.Italic);
        QCOMPARE(panel->font().pixelSize(), 40); // 30 points at 96 dots per inch
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionLineHeight, QFontMetrics(panel->font()).height());
        QCOMPARE(panel->height(), 2 * Probe(x.f()).Pane(0)->CaptionLineHeight);
        QVERIFY(Probe(x.f()).Pane(0)->CaptionLineHeight > line);

        questions.ColorAnswers << QColor(0x10, 0x20, 0x30);
        Ctl<QAction>(x.f(), "aColorSelectR")->trigger();
        QCOMPARE(Ctl<TKelPanel>(x.f(), "plSubR")->Color(), QColor(0x10, 0x20, 0x30));
        QCOMPARE(Probe(x.f()).Pane(1)->CaptionStyle.BGColor, 0x302010u);
        QCOMPARE(panel->Color(), QColor(Qt::black));
        // Cancelled choosers change nothing.
        Ctl<QAction>(x.f(), "aColorSelectR")->trigger();
        Ctl<QAction>(x.f(), "aFontEditL")->trigger();
        QCOMPARE(Ctl<TKelPanel>(x.f(), "plSubR")->Color(), QColor(0x10, 0x20, 0x30));
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionStyle.FontSize, 30);
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionStyle.FontColor, 0x00EEFFu);

        // A face this system lacks is offered as its stand-in; taken back unchanged, the stored
        // face and its bold stay.
        Probe(x.f()).Pane(1)->CaptionStyle.FontName = QStringLiteral("No Such Face 12345");
        Probe(x.f()).Pane(1)->CaptionStyle.Bold = true;
        questions.FontColorOffers.clear();
        questions.FontColorAnswers.enqueue(std::nullopt);
        Ctl<QAction>(x.f(), "aFontEditR")->trigger();
        const QFont standIn = questions.FontColorOffers[0].Font;
        QVERIFY(standIn.family() != QStringLiteral("No Such Face 12345"));
        questions.FontColorAnswers << TFontChoice{standIn, QColor(Qt::white)};
        Ctl<QAction>(x.f(), "aFontEditR")->trigger();
        QCOMPARE(Probe(x.f()).Pane(1)->CaptionStyle.FontName, QStringLiteral("No Such Face 12345"));
        QVERIFY(Probe(x.f()).Pane(1)->CaptionStyle.Bold);
        // Another face chosen is stored as chosen.
        QFont other = standIn;
        other.setFamily(QStringLiteral("DejaVu Serif"));
        questions.FontColorAnswers << TFontChoice{other, QColor(Qt::white)};
        Ctl<QAction>(x.f(), "aFontEditR")->trigger();
        QCOMPARE(Probe(x.f()).Pane(1)->CaptionStyle.FontName, QStringLiteral("DejaVu Serif"));
    }
};

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
