// Settings read at start and written at exit, the first showing, and the close question.
#include "MainProbe.h"
#include "FakePlayer.h"
#include "Main.h"
#include "ScriptedQuestions.h"
#include "Subtitle.h"
#include "TestSettings.h"

#include <QAction>
#include <QFile>
#include <QtTest>

namespace {

TMainForm::PlayerFactory Fake() {
    return [](QWidget* video) { return new TFakePlayer(video); };
}

// A small SubRip document; handed to a side unsaved, it differs from its file as if edited.
std::unique_ptr<SubTitle> ModifiedDoc(const char* name) {
    return std::make_unique<SubTitle>(
        SubTitle::FromBytes("1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n\r\n", name, 25.0));
}

void Store(const QVariantMap& values) {
    auto key = OpenSettings();
    key->clear();
    for (auto it = values.begin(); it != values.end(); ++it)
        key->setValue(it.key(), it.value());
    key->sync();
}

QVariantMap Stored() {
    auto key = OpenSettings();
    QVariantMap out;
    for (const QString& name : key->allKeys())
        out.insert(name, key->value(name));
    return out;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    void firstRunUsesDefaultsAndWritesEveryValue() {
        {
            TMainForm form(Fake());
            QCOMPARE(form.size(), QSize(760, 580));
            QCOMPARE(Probe(form).FormSizes(), (std::array<int, 12>{760, 580, 288, 235, 268, 308, 348, 316,
                                                          350, 306, 348, 342}));
            QVERIFY(Probe(form).RecentFiles().isEmpty());
            for (int side = 0; side < 2; ++side) {
                const TCaptionStyle& style = Probe(form).Pane(side)->CaptionStyle;
                QCOMPARE(style.BGColor, 0u);
                QCOMPARE(style.FontColor, 0xFFFFFFu);
                QVERIFY(style.Bold && !style.Italic && !style.Underline && !style.StrikeOut);
                QCOMPARE(style.Font().pixelSize(), 21);
                QCOMPARE(Probe(form).Pane(side)->CaptionHeight, -3);
            }
            QCOMPARE(Probe(form).Pane(0)->CaptionStyle.FontName, QStringLiteral("Arial"));
            QCOMPARE(Probe(form).Pane(0)->CaptionStyle.Charset, 0);
            QCOMPARE(Probe(form).Pane(1)->CaptionStyle.FontName, QStringLiteral("華康中黑體"));
            QCOMPARE(Probe(form).Pane(1)->CaptionStyle.Charset, 136);
        }
        const QVariantMap stored = Stored();
        // Nine caption values and the height per side, the language, twelve sizes, the video
        // region's share, the autosave interval and the backups kept; no recent files because
        // there are none.
        QCOMPARE(stored.size(), 2 * 10 + 1 + 12 + 1 + 2);
        QCOMPARE(stored.value("AutoSave.Interval").toInt(), 60);
        QCOMPARE(stored.value("Backup.Keep").toInt(), 5);
        const QVariantMap expected{
            {"SubtitleL.BGColor", 0},
            {"SubtitleL.Font.Name", "Arial"},
            {"SubtitleL.Font.Size", 16},
            {"SubtitleL.Font.Color", 16777215},
            {"SubtitleL.Font.Charset", 0},
            {"SubtitleL.Font.Bold", 1},
            {"SubtitleL.Font.Italic", 0},
            {"SubtitleL.Font.Underline", 0},
            {"SubtitleL.Font.StrikeOut", 0},
            {"SubtitleL.Font.Height", -3},
            {"SubtitleR.Font.Name", "華康中黑體"},
            {"SubtitleR.Font.Charset", 136},
            {"SubtitleR.Font.Height", -3},
            {"Lang.Lcid", 1028},
            {"Form.Main.Width", 760},
            {"Form.Main.Height", 580},
            {"Form.Edit.Width", 288},
            {"Form.Edit.Height", 235},
            {"Form.Seg.Width", 268},
            {"Form.Seg.Height", 308},
            {"Form.Combine.Width", 348},
            {"Form.Combine.Height", 316},
            {"Form.Import.Width", 350},
            {"Form.Import.Height", 306},
            {"Form.SaveAs.Width", 348},
            {"Form.SaveAs.Height", 342},
        };
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(stored.value(it.key()).toString(), it.value().toString());
    }

    void storedValuesComeBack() {
        Store({{"SubtitleL.BGColor", 0x0000FF},
               {"SubtitleL.Font.Name", "Tahoma"},
               {"SubtitleL.Font.Size", 12},
               {"SubtitleL.Font.Color", uint(0x80000008)}, // a system colour
               {"SubtitleL.Font.Charset", 136},
               {"SubtitleL.Font.Bold", 0},
               {"SubtitleL.Font.Italic", 1},
               {"SubtitleL.Font.Underline", 1},
               {"SubtitleL.Font.StrikeOut", 1},
               {"SubtitleL.Font.Height", 40},
               {"SubtitleR.Font.Height", -2},
               {"Lang.Lcid", 2052},
               {"Form.Main.Width", 900},
               {"Form.SaveAs.Height", 0},
               {"PreferFile.0", "/films/a.srt"},
               {"PreferFile.1", "/films/b, c.sub"}});
        {
            TMainForm form(Fake());
            const TCaptionStyle& left = Probe(form).Pane(0)->CaptionStyle;
            QCOMPARE(left.BGColor, 0x0000FFu);
            QCOMPARE(left.FontName, QStringLiteral("Tahoma"));
            QCOMPARE(left.FontSize, 12);
            QCOMPARE(left.FontColor, 0x80000008u);
            QCOMPARE(left.Charset, 136);
            QVERIFY(!left.Bold && left.Italic && left.Underline && left.StrikeOut);
            // The caption height is no font property: 40 pixels whatever the font.
            QCOMPARE(Probe(form).Pane(0)->CaptionHeight, 40);
            QCOMPARE(Probe(form).Pane(1)->CaptionHeight, -2);
            // The right side had nothing stored: its defaults.
            QCOMPARE(Probe(form).Pane(1)->CaptionStyle.FontName, QStringLiteral("華康中黑體"));
            QCOMPARE(Probe(form).FormSizes()[0], 900);
            QCOMPARE(Probe(form).FormSizes()[1], 580);
            QCOMPARE(Probe(form).FormSizes()[11], 0); // not range-checked
            QCOMPARE(Probe(form).RecentFiles(), (QStringList{"/films/a.srt", "/films/b, c.sub"}));
            QCOMPARE(Probe(form).Lcid(), 2052);
        }
        // Written back the way they were read.
        const QVariantMap stored = Stored();
        QCOMPARE(stored.value("SubtitleL.Font.Color").toString(), QStringLiteral("2147483656"));
        QCOMPARE(stored.value("SubtitleL.Font.Bold").toString(), QStringLiteral("0"));
        QCOMPARE(stored.value("SubtitleL.Font.Italic").toString(), QStringLiteral("1"));
        QCOMPARE(stored.value("PreferFile.1").toString(), QStringLiteral("/films/b, c.sub"));
    }

    void unreadableValuesKeepTheirDefaults() {
        Store({{"SubtitleL.Font.Size", "big"},
               {"SubtitleL.Font.Bold", "maybe"},
               {"SubtitleL.Font.Italic", "true"},
               {"SubtitleR.Font.Height", "  7 "},
               {"Form.Main.Width", "12.5"},
               {"Lang.Lcid", ""}});
        TMainForm form(Fake());
        QCOMPARE(Probe(form).Pane(0)->CaptionStyle.FontSize, 16);
        QVERIFY(Probe(form).Pane(0)->CaptionStyle.Bold);
        QVERIFY(Probe(form).Pane(0)->CaptionStyle.Italic);
        QCOMPARE(Probe(form).Pane(1)->CaptionHeight, 7);
        QCOMPARE(Probe(form).FormSizes()[0], 760);
        QCOMPARE(Probe(form).Lcid(), 1028);
    }

    void languageValueChecksItsCommand_data() {
        QTest::addColumn<int>("lcid");
        QTest::addColumn<QList<bool>>("checked");
        QTest::newRow("CHT") << 1028 << QList<bool>{true, false, false};
        QTest::newRow("CHS") << 2052 << QList<bool>{false, true, false};
        QTest::newRow("ENU") << 1033 << QList<bool>{false, false, true};
        QTest::newRow("no such command") << 1041 << QList<bool>{false, false, false};
    }

    void languageValueChecksItsCommand() {
        QFETCH(int, lcid);
        QFETCH(QList<bool>, checked);
        Store({{"Lang.Lcid", lcid}});
        {
            TMainForm form(Fake());
            QCOMPARE(Probe(form).Lcid(), lcid);
            QCOMPARE((QList<bool>{Ctl<QAction>(form, "aSelCHT")->isChecked(), Ctl<QAction>(form, "aSelCHS")->isChecked(),
                                  Ctl<QAction>(form, "aSelENU")->isChecked()}),
                     checked);
        }
        // A language no command matches is still kept.
        QCOMPARE(Stored().value("Lang.Lcid").toInt(), lcid);
    }

    void recentFiles_data() {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QStringList>("read");
        QTest::newRow("none") << QVariantMap{} << QStringList{};
        QTest::newRow("only digit 1")
            << QVariantMap{{"PreferFile.1", "/x/one.srt"}} << QStringList{"/x/one.srt"};
        QTest::newRow("gap closes")
            << QVariantMap{{"PreferFile.0", "/a.srt"}, {"PreferFile.2", "/c.srt"}}
            << QStringList{"/a.srt", "/c.srt"};
        QTest::newRow("digit 4 is not read")
            << QVariantMap{{"PreferFile.3", "/d.srt"}, {"PreferFile.4", "/e.srt"}}
            << QStringList{"/d.srt"};
        QTest::newRow("ampersand")
            << QVariantMap{{"PreferFile.0", "/R&M.srt"}} << QStringList{"/R&M.srt"};
    }

    void recentFiles() {
        QFETCH(QVariantMap, stored);
        QFETCH(QStringList, read);
        Store(stored);
        {
            TMainForm form(Fake());
            QCOMPARE(Probe(form).RecentFiles(), read);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            for (int i = 0; i < 4; ++i) {
                QCOMPARE(Probe(form).RecentMenu()[i]->isVisible(), i < read.size());
                if (i < read.size())
                    QCOMPARE(Probe(form).RecentMenu()[i]->text(), QStringLiteral("%1. %2").arg(i + 1).arg(
                                                             QString(read[i]).replace("&", "&&")));
            }
            QCOMPARE(Ctl<QAction>(form, "muLine")->isVisible(), !read.isEmpty());
        }
        // Written back from position 0, with no stale positions left behind to come back as
        // duplicates at the next start.
        const QVariantMap after = Stored();
        for (int i = 0; i < 5; ++i) {
            const QString name = QStringLiteral("PreferFile.%1").arg(i);
            if (i < read.size())
                QCOMPARE(after.value(name).toString(), read[i]);
            else if (i < 4)
                QVERIFY2(!after.contains(name), qPrintable(name));
        }
        TMainForm again(Fake());
        QCOMPARE(Probe(again).RecentFiles(), read);
    }

    void firstShowAppliesStoredSize() {
        Store({{"Form.Main.Width", 820}, {"Form.Main.Height", 610}});
        TMainForm form(Fake());
        QCOMPARE(form.size(), QSize(760, 580));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.size(), QSize(820, 610));
        // Only the first showing: a size the user gave later stays.
        form.hide();
        form.resize(700, 560);
        form.show();
        QCOMPARE(form.size(), QSize(700, 560));
        // A window dragged to another size does not change the stored sizes.
        QCOMPARE(Probe(form).FormSizes()[0], 820);
    }

    // Each changed side is asked Save / Don't save / Cancel, the left first; Cancel keeps the
    // window and asks no more.
    void closeAsksSaveDiscardCancelPerModifiedSide() {
        TScriptedQuestions questions;
        TMainForm form(Fake());
        Probe(form).Side(0)->Replace(ModifiedDoc("/work/left.srt"), false);
        Probe(form).Side(1)->Replace(ModifiedDoc("/work/right.srt"), false);

        questions.MessageAnswers << mrCancel;
        bool canClose = true;
        Probe(form).FormCloseQuery(canClose);
        QVERIFY(!canClose);
        QCOMPARE(questions.Messages.size(), 1);
        const auto& left = questions.Messages[0];
        QCOMPARE(left.Text, QStringLiteral("是否儲存對「left.srt」的修改?"));
        QCOMPARE(left.Title, QStringLiteral("[左側字幕] -- /work/left.srt"));
        QCOMPARE(left.Buttons, (QList<int>{mrSave, mrDiscard, mrCancel}));
        QCOMPARE(left.DefaultButton, int(mrSave));

        // Don't save, then Cancel on the right.
        questions.Messages.clear();
        questions.MessageAnswers << mrDiscard << mrCancel;
        Probe(form).FormCloseQuery(canClose);
        QVERIFY(!canClose);
        QCOMPARE(questions.Messages.size(), 2);
        QCOMPARE(questions.Messages[1].Title, QStringLiteral("[右側字幕] -- /work/right.srt"));

        // Don't save to both: the window closes, nothing is saved.
        questions.Messages.clear();
        questions.MessageAnswers << mrDiscard << mrDiscard;
        form.show();
        QVERIFY(form.close());
        QVERIFY(Probe(form).Side(0)->IsModified());
        QVERIFY(!QFile::exists("/work/left.srt"));
    }

    // Save writes the side through its owner and the window closes; a save that fails is told
    // and keeps the window open with the changes.
    void closeSavesWhenAskedAndStaysWhenTheSaveFails() {
        QTemporaryDir dir;
        const QString path = dir.filePath("left.srt");
        TScriptedQuestions questions;
        TMainForm form(Fake());
        Probe(form).Side(0)->Replace(ModifiedDoc(path.toUtf8().constData()), false);
        const QString blocked = dir.filePath("missing/right.srt");
        Probe(form).Side(1)->Replace(ModifiedDoc(blocked.toUtf8().constData()), false);

        questions.MessageAnswers << mrSave << mrSave;
        bool canClose = true;
        Probe(form).FormCloseQuery(canClose);
        QVERIFY(!canClose);
        QVERIFY(QFile::exists(path));
        QVERIFY(!Probe(form).Side(0)->IsModified());
        QVERIFY(Probe(form).Side(1)->IsModified());
        // The two questions and the failed save's error.
        QCOMPARE(questions.Messages.size(), 3);
        QCOMPARE(questions.Messages[2].Kind, TMsgKind::Error);
        QVERIFY(questions.Messages[2].Text.contains(blocked));

        // Now only the right is asked; Save with the folder there closes the window.
        QVERIFY(QDir().mkpath(dir.filePath("missing")));
        questions.Messages.clear();
        questions.MessageAnswers << mrSave;
        form.show();
        QVERIFY(form.close());
        QCOMPARE(questions.Messages.size(), 1);
        QVERIFY(QFile::exists(blocked));
        QVERIFY(!Probe(form).Side(1)->IsModified());
    }

    void closeWithoutChangesAsksNothing() {
        TScriptedQuestions questions;
        TMainForm form(Fake());
        Probe(form).Side(1)->Replace(ModifiedDoc("/work/right.srt"), false);
        Probe(form).Side(1)->Replace(std::make_unique<SubTitle>(SubTitle::FromBytes(
            "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n\r\n", "/work/r.srt", 25.0)));
        form.show();
        QVERIFY(form.close());
        QVERIFY(questions.Messages.isEmpty());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
