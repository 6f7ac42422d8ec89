// Language packs: which file a language id loads, what a pack does to the text table and to the
// windows, what a broken or hostile pack cannot do, and the language commands.
#include "MainProbe.h"
#include "FakePlayer.h"
#include "LanguagePack.h"
#include "Main.h"
#include "Questions.h"
#include "Reinit.h"
#include "ReplaceDialog.h"
#include "ScriptedQuestions.h"
#include "Segmodify.h"
#include "SetFrame.h"
#include "TestSettings.h"
#include "Texts.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

TMainForm::PlayerFactory Fake() {
    return [](QWidget* video) { return new TFakePlayer(video); };
}

QString Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

TLanguagePack Parse(const QByteArray& text) {
    std::optional<TLanguagePack> pack = ParseLanguagePack(text);
    return pack ? *pack : TLanguagePack{};
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
    TTestSettings settings_;
    QTemporaryDir dir_;

    QString Program() const { return dir_.filePath(QStringLiteral("X.exe")); }

private slots:
    void init() {
        OpenSettings()->clear();
        UnloadLanguagePack();
        SetPackProgram(Program());
        QDir dir(dir_.path());
        for (const QString& name : dir.entryList(QDir::Files | QDir::System | QDir::Hidden))
            QFile::remove(dir_.filePath(name));
    }
    void cleanup() {
        UnloadLanguagePack();
        SetPackProgram(QString());
        InstallQtTranslations(0);
    }

    void packFileNames_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("names");
        // Beside the program first (a build), then in the data folder of an installed tree.
        QTest::newRow("X.exe, CHS")
            << "/opt/v/X.exe"
            << "CHS"
            << QStringList{"/opt/v/X.CHS", "/opt/v/X.CH", "/opt/share/velitra/X.CHS",
                           "/opt/share/velitra/X.CH"};
        QTest::newRow("no extension")
            << "/usr/bin/velitra"
            << "ENU"
            << QStringList{"/usr/bin/velitra.ENU", "/usr/bin/velitra.EN",
                           "/usr/share/velitra/velitra.ENU", "/usr/share/velitra/velitra.EN"};
        // A dot in a folder's name is no extension of the program's.
        QTest::newRow("dotted folder")
            << "/home/u/.local/bin/velitra"
            << "CHT"
            << QStringList{"/home/u/.local/bin/velitra.CHT", "/home/u/.local/bin/velitra.CH",
                           "/home/u/.local/share/velitra/velitra.CHT",
                           "/home/u/.local/share/velitra/velitra.CH"};
        QTest::newRow("no code") << "/opt/v/X.exe"
                                 << "" << QStringList{};
    }
    void packFileNames() {
        QFETCH(QString, program);
        QFETCH(QString, code);
        QFETCH(QStringList, names);
        QCOMPARE(PackFileNames(program, code), names);
    }

    void packCodes() {
        QCOMPARE(PackCode(1028), QStringLiteral("CHT"));
        QCOMPARE(PackCode(2052), QStringLiteral("CHS"));
        QCOMPARE(PackCode(1033), QStringLiteral("ENU"));
        QCOMPARE(PackCode(1041), QString());
    }

    // X.CHS first, X.CH when there is no X.CHS; no pack keeps the texts in force.
    void loadedByLcid() {
        QVERIFY(!LoadNewResourceModule(2052));
        QCOMPARE(TextOf(txColumnStart), QStringLiteral("開始"));

        Write(dir_.filePath("X.CH"), "[Texts]\n1007=开始 (CH)\n");
        const TLanguagePack* pack = LoadNewResourceModule(2052);
        QVERIFY(pack);
        QCOMPARE(pack->FileName, dir_.filePath("X.CH"));
        QCOMPARE(TextOf(txColumnStart), QStringLiteral("开始 (CH)"));
        QCOMPARE(InterfaceLcid(), 2052);

        Write(dir_.filePath("X.CHS"), "[Texts]\n1007=开始\n");
        QCOMPARE(LoadNewResourceModule(2052)->FileName, dir_.filePath("X.CHS"));
        QCOMPARE(TextOf(txColumnStart), QStringLiteral("开始"));

        // English has no pack here: the Simplified Chinese one stays in force.
        QVERIFY(!LoadNewResourceModule(1033));
        QCOMPARE(CurrentPack()->FileName, dir_.filePath("X.CHS"));
        QCOMPARE(TextOf(txColumnStart), QStringLiteral("开始"));
    }

    // An installed program (bin/velitra) reads share/velitra/ when nothing is beside it; a pack
    // beside it, as in a build, comes first.
    void installedPackFolder() {
        QTemporaryDir tree;
        QVERIFY(QDir(tree.path()).mkpath("bin") && QDir(tree.path()).mkpath("share/velitra"));
        const QString program = tree.filePath("bin/velitra");
        const QString installed =
            Write(tree.filePath("share/velitra/velitra.ENU"), "[Texts]\n1007=Start\n");
        QCOMPARE(LoadNewResourceModule(1033, program)->FileName, installed);
        QCOMPARE(TextOf(txColumnStart), QStringLiteral("Start"));

        const QString beside = Write(tree.filePath("bin/velitra.EN"), "[Texts]\n1007=Begin\n");
        QCOMPARE(LoadNewResourceModule(1033, program)->FileName, beside);
        QCOMPARE(TextOf(txColumnStart), QStringLiteral("Begin"));
    }

    // Entries the pack lacks, leaves empty, or writes without the built-in markers keep the
    // built-in texts; a pack never empties a message.
    void textTableFallsBackToBuiltIn() {
        Write(dir_.filePath("X.ENU"), "[Texts]\n"
                                      "1002=Delete these entries?\n"
                                      "1003=\n"
                                      "5004=(%1 entries)\n"
                                      "5007=\"%1\" cannot be saved\n" // %2 lost
                                      "9999=not a table entry\n"
                                      "x=no number\n");
        QVERIFY(LoadNewResourceModule(1033));
        QCOMPARE(TextOf(txConfirmDelete), QStringLiteral("Delete these entries?"));
        QCOMPARE(TextOf(txFindPrompt), BuiltInText(txFindPrompt));
        QCOMPARE(TextOf(txLoadSubtitleFirst), BuiltInText(txLoadSubtitleFirst));
        QCOMPARE(TextOf(txDeleteCount).arg(3), QStringLiteral("(3 entries)"));
        QCOMPARE(TextOf(txCannotHoldText), BuiltInText(txCannotHoldText));
        QCOMPARE(TextOf(9999), QString());
        UnloadLanguagePack();
        QCOMPARE(TextOf(txConfirmDelete), BuiltInText(txConfirmDelete));
    }

    void valuesAsQSettingsWritesThem() {
        const TLanguagePack pack = Parse("\xEF\xBB\xBF; a comment\n"
                                         "[TSegForm]\r\n"
                                         "  a.text = plain text  \r\n"
                                         "b.text=\"  kept blanks; and \\\"quotes\\\"\\n\"\n"
                                         "c.text=before ; a comment\n"
                                         "d.text=\"never closed\n"
                                         "e.text=@Variant(\\0\\0\\0\\x7f)\n"
                                         "[ ]\n"
                                         "f.text=under a broken heading\n");
        const QHash<QString, QString>* seg = pack.Section(QStringLiteral("TSegForm"));
        QVERIFY(seg);
        QCOMPARE(seg->value("a.text"), QStringLiteral("plain text"));
        QCOMPARE(seg->value("b.text"), QStringLiteral("  kept blanks; and \"quotes\"\n"));
        QCOMPARE(seg->value("c.text"), QStringLiteral("before"));
        QVERIFY(!seg->contains("d.text"));
        QVERIFY(!seg->contains("f.text"));
        // Only text: nothing in a pack is ever decoded into another kind of value.
        QCOMPARE(seg->value("e.text"), QStringLiteral("@Variant(000x7f)"));
        QCOMPARE(PackValueText(QStringLiteral("  a \"b\"\n")),
                 QStringLiteral("\"  a \\\"b\\\"\\n\""));
        const TLanguagePack round = Parse("[S]\nk=" + PackValueText("  a;\\ \"b\"\n").toUtf8());
        QCOMPARE(round.Section("S")->value("k"), QStringLiteral("  a;\\ \"b\"\n"));
    }

    // Files that are no pack are ignored whole, and the texts in force stay.
    void filesThatAreNoPack_data() {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray big = "[Texts]\n1007=Start\n;";
        big += QByteArray(kLargestPack, 'x');
        QTest::newRow("over 1 MB") << big;
        QTest::newRow("NUL bytes") << QByteArray("[Texts]\n1007=St\0art\n", 20);
        QTest::newRow("not UTF-8") << QByteArray("[Texts]\n1007=\xB6\x7D\xA9\x6C\n");
        QByteArray random;
        for (int i = 0; i < 4096; ++i)
            random += char((i * 7919 + 13) % 256);
        QTest::newRow("binary") << random;
    }
    void filesThatAreNoPack() {
        QFETCH(QByteArray, bytes);
        Write(dir_.filePath("X.ENU"), bytes);
        QVERIFY(!LoadNewResourceModule(1033));
        QVERIFY(!CurrentPack());
        QCOMPARE(TextOf(txColumnStart), BuiltInText(txColumnStart));
    }

    // A pipe or a folder by a pack's name is passed over without opening it (a pipe would wait
    // for a writer for ever); the fallback name is tried next.
    void packNamesThatAreNoFiles() {
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("X.ENU")));
        QCOMPARE(::mkfifo(QFile::encodeName(dir_.filePath("X.CHS")).constData(), 0600), 0);
        QVERIFY(!LoadNewResourceModule(1033));
        QVERIFY(!LoadNewResourceModule(2052));
        Write(dir_.filePath("X.CH"), "[Texts]\n1007=开始\n");
        QVERIFY(LoadNewResourceModule(2052));
        QDir(dir_.path()).rmdir(QStringLiteral("X.ENU"));
        QFile::remove(dir_.filePath("X.CHS"));
    }

    // One applier reads a pack over any dialog: texts and hints per class of its chain, a label
    // of natural size grown to its text, a control moved; a section it lacks leaves the rest.
    void packReadOverADialog() {
        TSegForm form(nullptr);
        const QSize noteSize = form.Label1->size();
        const TLanguagePack pack = Parse("[TDialogBase]\n"
                                         "bbtnCancel.text=Cancel\n"
                                         "[TSegForm]\n"
                                         "SegForm.windowTitle=Re-time a Stretch\n"
                                         "cbKeepStep.text=Keep the spacing\n"
                                         "cbKeepStep.geometry=10, 8, 240, 17\n"
                                         "GroupBox1.title=First entry\n"
                                         "Label1.text=Start time of the entry\n"
                                         "bbtnOk.hint=Apply|Apply the new times\n");
        const int taken = ReinitializeForm(&form, pack);
        QCOMPARE(form.windowTitle(), QStringLiteral("Re-time a Stretch"));
        QCOMPARE(form.cbKeepStep->text(), QStringLiteral("Keep the spacing"));
        QCOMPARE(form.cbKeepStep->geometry(), QRect(10, 8, 240, 17));
        QCOMPARE(form.GroupBox1->title(), QStringLiteral("First entry"));
        QCOMPARE(form.bbtnCancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(form.bbtnOk->toolTip(), QStringLiteral("Apply"));
        QCOMPARE(form.bbtnOk->statusTip(), QStringLiteral("Apply the new times"));
        QCOMPARE(form.Label1->size(), form.Label1->sizeHint());
        QVERIFY(form.Label1->width() > noteSize.width());
        // Untouched: the second group and its labels.
        QCOMPARE(form.GroupBox2->title(), QStringLiteral("區段結束編號"));
        QCOMPARE(taken, 7);

        // A pack without this dialog's section leaves it as built.
        TSetFrameDlg frame;
        QCOMPARE(ReinitializeForm(&frame, pack), 1); // the base class's Cancel only
        QCOMPARE(frame.windowTitle(), QStringLiteral("設定Frame數"));
        QCOMPARE(frame.bbtnCancel->text(), QStringLiteral("Cancel"));
    }

    // Whatever a pack says, it only sets captions and places controls within bounds.
    void hostileValuesAreRefused() {
        TSegForm form(nullptr);
        const QRect keep = form.cbKeepStep->geometry();
        const QSize size = form.size();
        QByteArray text = "[TSegForm]\n"
                          "cbKeepStep.objectName=renamed\n"
                          "cbKeepStep.visible=false\n"
                          "cbKeepStep.enabled=false\n"
                          "cbKeepStep.styleSheet=background: url(/dev/zero)\n"
                          "cbKeepStep.checked=false\n"
                          "cbKeepStep.geometry=0,0,1000000,1000000\n"
                          "cbKeepStep.geometry=a,b,c,d\n"
                          "cbKeepStep.size=-5,-5\n"
                          "cbKeepStep.windowTitle=not a window\n"
                          "SegForm.geometry=0,0,5000,5000\n"
                          "SegForm.size=5000,5000\n"
                          "leStartNo.text=12345\n"
                          "upStartNo.item3=nothing\n"
                          "GroupBox1.text=a group box has a title\n"
                          "nobody.text=no such control\n"
                          ".text=no name\n"
                          "text=no property\n"
                          "cbKeepStep.=empty property\n"
                          "Label1.text=";
        text += QByteArray(20000, 'A');
        text += "\n";
        const TLanguagePack pack = Parse(text);
        QCOMPARE(ReinitializeForm(&form, pack), 0);
        QCOMPARE(form.cbKeepStep->objectName(), QStringLiteral("cbKeepStep"));
        QVERIFY(!form.cbKeepStep->isHidden());
        QVERIFY(form.cbKeepStep->isEnabled());
        QVERIFY(form.cbKeepStep->isChecked());
        QVERIFY(form.cbKeepStep->styleSheet().isEmpty());
        QCOMPARE(form.cbKeepStep->geometry(), keep);
        QCOMPARE(form.size(), size);
        QCOMPARE(form.leStartNo->text(), QStringLiteral("1"));
        QCOMPARE(form.Label1->text(), QStringLiteral("開始時間"));
    }

    // The main window loads the pack Lcid names: its menus, commands, hints, labels and column
    // titles; the dialogs made afterwards and windows made on first use follow it.
    void mainWindowAndLaterWindowsFollowThePack() {
        Write(dir_.filePath("X.ENU"), "[Texts]\n"
                                      "1007=Start\n"
                                      "1008=Duration of the entry\n"
                                      "5000=Undo\n"
                                      "[TMainForm]\n"
                                      "muFile.title=&File\n"
                                      "aSaveL.text=Save\n"
                                      "aSaveL.hint=Save|Save the left subtitle\n"
                                      "lbSecFrom.text=Repeat\n"
                                      "[TSetFrameDlg]\n"
                                      "SetFrameDlg.windowTitle=Frame Rate\n"
                                      "[TReplaceDialog]\n"
                                      "ReplaceDialog.windowTitle=Replace\n"
                                      "bbtnClose.text=Close\n");
        OpenSettings()->setValue(QStringLiteral("Lang.Lcid"), 1033);
        TMainForm form(Fake());
        QCOMPARE(Probe(form).Lcid(), 1033);
        QVERIFY(Ctl<QAction>(form, "aSelENU")->isChecked() && !Ctl<QAction>(form, "aSelCHT")->isChecked() &&
                !Ctl<QAction>(form, "aSelCHS")->isChecked());
        QCOMPARE(form.findChild<QMenu*>("muFile")->title(), QStringLiteral("&File"));
        QCOMPARE(Ctl<QAction>(form, "aSaveL")->text(), QStringLiteral("Save"));
        QCOMPARE(Ctl<QAction>(form, "aSaveL")->toolTip(), QStringLiteral("Save"));
        QCOMPARE(Ctl<QAction>(form, "aSaveL")->statusTip(), QStringLiteral("Save the left subtitle"));
        QCOMPARE(form.findChild<QLabel*>("lbSecFrom")->text(), QStringLiteral("Repeat"));
        QCOMPARE(Probe(form).ColumnTitles()[2], QStringLiteral("Start"));
        QCOMPARE(Ctl<QAction>(form, "aUndo")->text(), QStringLiteral("Undo"));
        // A column is as wide as its translated title.
        QVERIFY(Ctl<QTableView>(form, "sgSubL")->columnWidth(3) >
                Ctl<QTableView>(form, "sgSubL")->horizontalHeader()->fontMetrics().horizontalAdvance(
                    QStringLiteral("Duration of the entry")));
        // Not in the pack: built in.
        QCOMPARE(form.findChild<QMenu*>("muEdit")->title(), QStringLiteral("編輯(&E)"));
        QCOMPARE(Ctl<QAction>(form, "aSaveR")->text(), QStringLiteral("儲存檔案"));

        TSetFrameDlg frame;
        QCOMPARE(frame.windowTitle(), QStringLiteral("Frame Rate"));
        auto* replace = new TReplaceDialog(&form);
        replace->show();
        QCOMPARE(replace->windowTitle(), QStringLiteral("Replace"));
        QCOMPARE(replace->findChild<QPushButton*>("bbtnClose")->text(), QStringLiteral("Close"));
    }

    // A pack that lacks the main window's texts, or no pack at all, leaves the built-in ones.
    void packWithoutAWindowLeavesItBuiltIn() {
        Write(dir_.filePath("X.CHS"), "[Texts]\n1007=开始\n[TSomeOtherForm]\nx.text=y\n");
        OpenSettings()->setValue(QStringLiteral("Lang.Lcid"), 2052);
        TMainForm form(Fake());
        QCOMPARE(form.findChild<QMenu*>("muFile")->title(), QStringLiteral("檔案(&F)"));
        QCOMPARE(Probe(form).ColumnTitles()[2], QStringLiteral("开始"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Velitra"));
    }

    // The three commands form one group; choosing stores Lcid for the next start and shows the
    // restart box without an owner; nothing else changes now.
    void choosingALanguage() {
        TScriptedQuestions questions;
        {
            TMainForm form(Fake());
            QVERIFY(Ctl<QActionGroup>(form, "LanguageGroup")->isExclusive());
            QCOMPARE(Ctl<QActionGroup>(form, "LanguageGroup")->actions(),
                     (QList<QAction*>{Ctl<QAction>(form, "aSelCHT"), Ctl<QAction>(form, "aSelCHS"), Ctl<QAction>(form, "aSelENU")}));
            QVERIFY(Ctl<QAction>(form, "aSelCHT")->isChecked());
            const QString before = Ctl<QAction>(form, "aSaveL")->text();
            Ctl<QAction>(form, "aSelENU")->trigger();
            QCOMPARE(Probe(form).Lcid(), 1033);
            QVERIFY(Ctl<QAction>(form, "aSelENU")->isChecked() && !Ctl<QAction>(form, "aSelCHT")->isChecked() &&
                    !Ctl<QAction>(form, "aSelCHS")->isChecked());
            QCOMPARE(questions.Messages.size(), 1);
            const auto& box = questions.Messages.first();
            QCOMPARE(box.Text, QStringLiteral("請重新啟動 Velitra 以讓語系設定生效\n\n       "
                                              "Please restart this program."));
            QCOMPARE(box.Title, QStringLiteral("Velitra"));
            QCOMPARE(box.Kind, TMsgKind::Warning);
            QCOMPARE(box.Buttons, QList<int>{mrOk});
            QCOMPARE(box.Parent, nullptr);
            QCOMPARE(Ctl<QAction>(form, "aSaveL")->text(), before);
            // Choosing the checked one again keeps it checked.
            Ctl<QAction>(form, "aSelENU")->trigger();
            QVERIFY(Ctl<QAction>(form, "aSelENU")->isChecked());
            Ctl<QAction>(form, "aSelCHS")->trigger();
        }
        QCOMPARE(OpenSettings()->value(QStringLiteral("Lang.Lcid")).toInt(), 2052);
    }

    // Qt's own dialogs and buttons speak the language the interface shows.
    void qtTranslationsFollow() {
        if (!InstallQtTranslations(2052)) QSKIP("Qt's translations are not installed here");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
        QVERIFY(InstallQtTranslations(1028));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Open"), QStringLiteral("開啟"));
        InstallQtTranslations(0);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Open"), QStringLiteral("Open"));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
