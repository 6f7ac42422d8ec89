// The main window's find telling when nothing matched and matching either case unless asked, the
// file choosers opening where the user was, and the frame-rate question proposing the film's rate.
#include "MainProbe.h"
#include "FormFixture.h"
#include "Main.h"
#include "ReplaceDialog.h"
#include "ScriptedQuestions.h"
#include "SubtitleGrid.h"
#include "TestSettings.h"
#include "Texts.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

const QByteArray kSrt = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello there\r\n\r\n"
                        "2\r\n00:00:03,000 --> 00:00:04,000\r\nsay HELLO\r\n\r\n"
                        "3\r\n00:00:05,000 --> 00:00:06,000\r\nbye\r\n\r\n";

struct Fixture : TFormFixture {
    Fixture() : TFormFixture("/films/f.avi", 100.0) {}
    int Current(int side) { return Probe(f()).Pane(side)->Grid->currentIndex().row(); }
    QString Hint() { return Ctl<QLabel>(f(), "StatusPanel0")->text(); }
};

} // namespace

class TestFindAndFolders : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    // Ctrl+F finds in either case; a text in no entry is said in the status bar, the row stays.
    void findSaysWhenNothingMatched() {
        TScriptedQuestions questions;
        Fixture x;
        QVERIFY(x.f().LoadDocument(0, x.Write("a.srt", kSrt)));
        Probe(x.f()).sgSubLEnter(0);
        questions.InputAnswers << QStringLiteral("hello");
        Ctl<QAction>(x.f(), "aFind")->trigger();
        const int found = x.Current(0);
        QVERIFY(found >= 0);
        Ctl<QAction>(x.f(), "aFindNext")->trigger();
        QVERIFY(x.Current(0) > found); // "say HELLO" in the other case
        const int second = x.Current(0);

        questions.InputAnswers << QStringLiteral("nowhere");
        Ctl<QAction>(x.f(), "aFind")->trigger();
        QCOMPARE(x.Current(0), second);
        QCOMPARE(x.Hint(), QStringLiteral("找不到「nowhere」"));
        // Nothing after the last match either.
        questions.InputAnswers << QStringLiteral("HELLO");
        Ctl<QAction>(x.f(), "aFind")->trigger();
        Ctl<QAction>(x.f(), "aFindNext")->trigger();
        Ctl<QAction>(x.f(), "aFindNext")->trigger();
        QCOMPARE(x.Hint(), QStringLiteral("找不到「HELLO」"));
        QVERIFY(questions.Messages.isEmpty()); // no box to close
    }

    // The dialog's case box: unchecked, letters match in either case for find and replace;
    // checked, only as typed.
    void replaceDialogCaseBox() {
        TScriptedQuestions questions;
        Fixture x;
        QVERIFY(x.f().LoadDocument(0, x.Write("a.srt", kSrt)));
        Probe(x.f()).sgSubLEnter(0);
        Ctl<QAction>(x.f(), "aReplace")->trigger();
        TReplaceDialog* dialog = Probe(x.f()).ReplaceDialog();
        QVERIFY(dialog);
        QVERIFY(!dialog->cbMatchCase->isChecked());
        dialog->edFind->setText(QStringLiteral("hello"));
        dialog->edReplace->setText(QStringLiteral("hi"));
        dialog->bbtnReplaceAll->click();
        const SubTitle* doc = Probe(x.f()).Pane(0)->Doc();
        QCOMPARE(doc->Item(0)->Text, std::string("hi there"));
        QCOMPARE(doc->Item(1)->Text, std::string("say hi"));
        Probe(x.f()).Side(0)->Undo();

        dialog->cbMatchCase->setChecked(true);
        dialog->edFind->setText(QStringLiteral("HELLO"));
        dialog->bbtnReplaceAll->click();
        QCOMPARE(doc->Item(0)->Text, std::string("Hello there"));
        QCOMPARE(doc->Item(1)->Text, std::string("say hi"));
        dialog->edFind->setText(QStringLiteral("hello"));
        dialog->bbtnFindNext->click();
        QCOMPARE(x.Hint(), QStringLiteral("找不到「hello」"));
    }

    // A file that states no rate is offered the open film's; one that states a rate, that rate;
    // without a film (or a film of unknown rate), nothing is proposed.
    void frameRateQuestionProposesTheFilmsRate() {
        TScriptedQuestions questions;
        Fixture x;
        QList<std::optional<double>> offered;
        Probe(x.f()).AskFrameRate() = [&offered](std::optional<double> proposed) {
            offered << proposed;
            return std::optional<std::string>("25");
        };
        const QString plain = x.Write("plain.sub", QByteArray("{25}{50}a\r\n"));
        const QString stated = x.Write("stated.sub", QByteArray("{1}{1}29.970\r\n{25}{50}a\r\n"));
        QVERIFY(x.f().LoadDocument(0, plain));
        QVERIFY(x.f().FileOpenMovieAccept("/films/f.avi"));
        QVERIFY(x.f().LoadDocument(0, plain)); // the film's rate is unknown
        x.player->FrameRateValue = 23.976;
        QVERIFY(x.f().LoadDocument(0, plain));
        QVERIFY(x.f().LoadDocument(1, stated));
        QCOMPARE(offered, (QList<std::optional<double>>{std::nullopt, std::nullopt, 23.976, 29.97}));
    }

    // The subtitle chooser opens in the side's folder, else the other side's, else the last one
    // used; the film chooser in the film's folder, else the active document's.
    void choosersOpenWhereTheUserWas() {
        TScriptedQuestions questions;
        Fixture x;
        QTemporaryDir other;
        const QString a = x.Write("a.srt", kSrt);
        Ctl<QAction>(x.f(), "aOpenSubtitleR")->trigger(); // cancelled: nothing known yet
        QCOMPARE(questions.FileFolders.last(), QString());
        questions.FileAnswers << a;
        Ctl<QAction>(x.f(), "aOpenSubtitleL")->trigger();
        QCOMPARE(questions.FileFolders.last(), QString());
        Ctl<QAction>(x.f(), "aOpenSubtitleR")->trigger(); // the left side's folder
        QCOMPARE(questions.FileFolders.last(), x.dir.path());

        // A file chosen elsewhere makes that the last folder, and its side's own.
        QFile::copy(a, other.filePath("b.srt"));
        questions.FileAnswers << other.filePath("b.srt");
        Ctl<QAction>(x.f(), "aOpenSubtitleR")->trigger();
        Ctl<QAction>(x.f(), "aOpenSubtitleR")->trigger();
        QCOMPARE(questions.FileFolders.last(), other.path());
        QCOMPARE(OpenSettings()->value("Dialog.LastFolder").toString(), other.path());

        Probe(x.f()).sgSubLEnter(0);
        Ctl<QAction>(x.f(), "FileOpenMovie")->trigger();
        QCOMPARE(questions.FileFolders.last(), x.dir.path());

        // A new window without documents starts in the last folder used.
        Fixture y;
        Ctl<QAction>(y.f(), "aOpenSubtitleL")->trigger();
        QCOMPARE(questions.FileFolders.last(), other.path());
    }
};

QTEST_MAIN(TestFindAndFolders)
#include "tst_findandfolders.moc"
