// The window as start-up leaves it: creation order, layout, menus, commands and their hints.
#include "MainProbe.h"
#include "EditorHost.h"
#include "FakePlayer.h"
#include "Kellabel.h"
#include "Kelpanel.h"
#include "Main.h"
#include "Questions.h"
#include "ScriptedQuestions.h"
#include "Startup.h"
#include "TestSettings.h"
#include "Texts.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

TMainForm::PlayerFactory Fake() {
    return [](QWidget* video) { return new TFakePlayer(video); };
}

// Captions of a menu's items, "-" for a separator, hidden items left out unless asked for.
QStringList Captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QStringList Names(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return out;
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    void startUpCreatesTheMainWindowFirst() {
        TForms forms;
        CreateForms(forms, Fake());
        QVERIFY(forms.MainForm);
        QCOMPARE(forms.CreationOrder,
                 (QStringList{"TMainForm", "TAboutForm", "TSetFrameDlg", "TSubHeightDlg",
                              "TEditForm", "TSegForm", "TCombineForm", "TImportForm",
                              "TSaveAsForm", "TAdjustForm", "TRecoveryForm"}));
        QVERIFY(Probe(*forms.MainForm).AskFrameRate()); // MicroDVD files ask through the dialog
        // The main window launches the dialogs start-up made.
        QCOMPARE(Probe(*forms.MainForm).SegForm(), forms.SegForm.get());
        QCOMPARE(Probe(*forms.MainForm).SaveAsForm(), forms.SaveAsForm.get());
        QCOMPARE(Probe(*forms.MainForm).CombineForm(), forms.CombineForm.get());
        QCOMPARE(Probe(*forms.MainForm).ImportForm(), forms.ImportForm.get());
        QCOMPARE(Probe(*forms.MainForm).AboutForm(), forms.AboutForm.get());
        QCOMPARE(Probe(*forms.MainForm).SubHeightDlg(), forms.SubHeightDlg.get());
        QCOMPARE(Probe(*forms.MainForm).AdjustForm(), forms.AdjustForm.get());
        QCOMPARE(MainForm(), forms.MainForm.get());
        // The edit window is the main window's tool window and known to it.
        QVERIFY(forms.EditForm);
        QCOMPARE(Probe(*forms.MainForm).EditForm().data(), forms.EditForm.data());
        QCOMPARE(forms.EditForm->parentWidget(), forms.MainForm.get());
        forms.MainForm.reset();
        QCOMPARE(MainForm(), nullptr);
        QVERIFY(!forms.EditForm); // went with it; the forms do not delete it again
    }

    void stateAfterFormCreate() {
        TMainForm form(Fake());
        QCOMPARE(form.windowTitle(), QStringLiteral("Velitra"));
        QCOMPARE(form.size(), QSize(760, 580));
        QCOMPARE(form.font().pointSize(), 9);
        QVERIFY(Probe(form).Player());
        QCOMPARE(Probe(form).ActiveSide(), -1);
        QCOMPARE(Probe(form).Lcid(), 1028);
        QCOMPARE(Probe(form).CurrentRowColor(), 0xFFCCCCu);
        QCOMPARE(Probe(form).GapRowColor(), 0xDFDFDFu);
        QCOMPARE(QStringList(std::begin(Probe(form).ColumnTitles()), std::end(Probe(form).ColumnTitles())),
                 (QStringList{"NO", "", "開始", "延遲", "文字"}));
        QCOMPARE(Probe(form).Pane(0)->CaptionHeight, -3);
        QCOMPARE(Probe(form).Pane(1)->CaptionHeight, -3);
        QCOMPARE(Probe(form).Pane(0)->Grid, Ctl<QTableView>(form, "sgSubL"));
        QCOMPARE(Probe(form).Pane(1)->Grid, Ctl<QTableView>(form, "sgSubR"));
        QCOMPARE(Probe(form).Pane(1)->CaptionPanel, Ctl<TKelPanel>(form, "plSubR"));
        QCOMPARE(Probe(form).RecentMenu()[3], Ctl<QAction>(form, "muF4"));
        QVERIFY(!Probe(form).Pane(0)->Doc() && !Probe(form).Pane(1)->Doc());

        // Timers: intervals and tags as the film and caption ticks need them, all stopped.
        const struct {
            QTimer* timer;
            int interval, tag;
        } timers[] = {
            {Ctl<QTimer>(form, "MovieTimer"), 250, 0}, {Ctl<QTimer>(form, "SubTimerL"), 250, 0}, {Ctl<QTimer>(form, "SubTimerR"), 500, 1}};
        for (const auto& t : timers) {
            QCOMPARE(t.timer->interval(), t.interval);
            QCOMPARE(t.timer->property("tag").toInt(), t.tag);
            QVERIFY(!t.timer->isActive());
        }

        // Control region: track bar off, spinners 0..999 not wrapping, seconds at 2.
        QVERIFY(!Ctl<QSlider>(form, "TrackBar")->isEnabled());
        QCOMPARE(Ctl<QSlider>(form, "TrackBar")->tickPosition(), QSlider::TicksBelow);
        for (QSpinBox* spin : {Ctl<QSpinBox>(form, "udSecFrom"), Ctl<QSpinBox>(form, "udSecTo"), Ctl<QSpinBox>(form, "udSubFrom"), Ctl<QSpinBox>(form, "udSubTo")}) {
            QCOMPARE(spin->minimum(), 0);
            QCOMPARE(spin->maximum(), 999);
            QVERIFY(!spin->wrapping());
        }
        QCOMPARE(Ctl<QLineEdit>(form, "leSecFrom")->text(), QStringLiteral("2"));
        QCOMPARE(Ctl<QLineEdit>(form, "leSecTo")->text(), QStringLiteral("2"));
        QCOMPARE(Ctl<QLineEdit>(form, "leSubFrom")->text(), QStringLiteral("0"));
        QCOMPARE(Ctl<QToolButton>(form, "sbSecRepeat")->defaultAction(), Ctl<QAction>(form, "aSecRepeat"));
        QCOMPARE(Ctl<QToolButton>(form, "SpeedButton5")->defaultAction(), Ctl<QAction>(form, "aSubRepeat"));
        QVERIFY(Ctl<TKelPanel>(form, "plSubL")->isHidden() && Ctl<TKelPanel>(form, "plSubR")->isHidden());
        QCOMPARE(Ctl<TKelLabel>(form, "lbFilenameL")->Caption(), QStringLiteral("[ ]"));
    }

    void everyControlCarriesItsName() {
        TMainForm form(Fake());
        for (const char* name :
             {"MainMenu",  "atBarMain",      "plEditor",    "atBarL",    "lbFilenameL",
              "sgSubL",    "SplitterHor",    "lbFilenameR", "sgSubR",    "atBarR",
              "spUP",      "plVideo",        "plSubL",      "plSubR",    "plControl",
              "TrackBar",  "ToolBarControl", "leSecFrom",   "udSecFrom", "leSecTo",
              "udSecTo",   "sbSecRepeat",    "leSubFrom",   "udSubFrom", "leSubTo",
              "udSubTo",   "SpeedButton5",   "StatusBar",   "popMenu",   "MovieTimer",
              "SubTimerL", "SubTimerR",      "muF1",        "muF4",      "muLine"})
            QVERIFY2(form.findChild<QObject*>(QString::fromLatin1(name)), name);
    }

    void statusBarHasFivePanels() {
        TMainForm form(Fake());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(Probe(form).StatusBar()->findChildren<QLabel*>().size(), 5);
        const int widths[] = {110, 110, 150, 50};
        for (int i = 1; i < 5; ++i) {
            QVERIFY(Probe(form).Panels()[i]->width() >= widths[i - 1]);
            QCOMPARE(Probe(form).Panels()[i]->maximumWidth(), Probe(form).Panels()[i]->minimumWidth());
        }
        // Texts of the time and speed panels fit whole; all five lie side by side inside the
        // window at its first size.
        const struct {
            int panel;
            const char* text;
        } texts[] = {
            {1, "[SRT] 123 -- 1234"}, {3, "00:01:12,250 -- 01:40:00,000"}, {4, "0.50X Speed"}};
        for (const auto& t : texts) {
            Probe(form).Panels()[t.panel]->setText(t.text);
            QVERIFY2(Probe(form).Panels()[t.panel]->sizeHint().width() <= Probe(form).Panels()[t.panel]->width(),
                     t.text);
        }
        for (int i = 1; i < 5; ++i)
            QVERIFY(Probe(form).Panels()[i]->geometry().left() >= Probe(form).Panels()[i - 1]->geometry().right());
        QVERIFY(Probe(form).Panels()[4]->geometry().right() <= Probe(form).StatusBar()->width());
        QVERIFY(Probe(form).Panels()[0]->width() >= 110);
    }

    void splittersKeepTheirMinimumSizes() {
        TMainForm form(Fake());
        QCOMPARE(Ctl<TRegionSplitter>(form, "spUP")->orientation(), Qt::Vertical);
        QCOMPARE(Ctl<TRegionSplitter>(form, "spUP")->widget(0), Ctl<QWidget>(form, "plEditor"));
        QCOMPARE(Ctl<TRegionSplitter>(form, "spUP")->widget(1), Ctl<QWidget>(form, "plVideo"));
        QVERIFY(!Ctl<TRegionSplitter>(form, "spUP")->childrenCollapsible());
        QVERIFY(!Ctl<QSplitter>(form, "SplitterHor")->childrenCollapsible());
        for (QSplitter* splitter : {static_cast<QSplitter*>(Ctl<TRegionSplitter>(form, "spUP")), Ctl<QSplitter>(form, "SplitterHor")}) {
            QCOMPARE(splitter->handleWidth(), 3);
            for (int i = 0; i < 2; ++i) {
                const QSize min = splitter->widget(i)->minimumSize();
                // Without a film the video region may shrink to nothing.
                const int least = splitter->widget(i) == Ctl<QWidget>(form, "plVideo") ? 0 : 50;
                QCOMPARE(splitter->orientation() == Qt::Vertical ? min.height() : min.width(), least);
            }
        }
    }

    void menusInTheirOrder() {
        TMainForm form(Fake());
        QStringList tops;
        for (QAction* a : Ctl<QMenuBar>(form, "MainMenu")->actions())
            tops << a->text();
        QCOMPARE(tops, (QStringList{"檔案(&F)", "編輯(&E)", "尋找(&S)", "檢視(&V)", "左側字幕(&L)",
                                    "右側字幕(&R)", "播放(&P)", "Language(&U)", "說明(&H)"}));
        const QList<QAction*> menus = Ctl<QMenuBar>(form, "MainMenu")->actions();
        QCOMPARE(Captions(menus[0]->menu()),
                 (QStringList{"開啟影片檔", "-", "開啟左字幕檔", "儲存檔案", "另存新檔", "-",
                              "開啟右字幕檔", "儲存檔案", "另存新檔", "-", "合併字幕", "匯入檔案",
                              "-", "", "", "", "", "-", "結束程式"}));
        QCOMPARE(Names(menus[0]->menu()->actions()).mid(13, 5),
                 (QStringList{"muF1", "muF2", "muF3", "muF4", "-"}));
        for (QAction* hidden : {Ctl<QAction>(form, "muF1"), Ctl<QAction>(form, "muF2"), Ctl<QAction>(form, "muF3"), Ctl<QAction>(form, "muF4"), Ctl<QAction>(form, "muLine")})
            QVERIFY(!hidden->isVisible());
        QCOMPARE(Captions(menus[1]->menu()), (QStringList{"復原", "重做"}));
        QCOMPARE(Captions(menus[2]->menu()), (QStringList{"尋找字串", "尋找下一個", "取代字串"}));
        QCOMPARE(Captions(menus[3]->menu()),
                 (QStringList{"工具列", "編輯列", "影片列", "音訊列", "頻譜圖", "貼齊", "控制列",
                              "狀態列", "調整視窗大小"}));
        for (int side = 0; side < 2; ++side)
            QCOMPARE(Names(menus[4 + side]->menu()->actions()),
                     side ? (QStringList{"aShowSubR", "aReopenR", "-", "aFontEditR",
                                         "aColorSelectR", "aSubHeightR", "-", "aChineseR",
                                         "aCheckR"})
                          : (QStringList{"aShowSubL", "aReopenL", "-", "aFontEditL",
                                         "aColorSelectL", "aSubHeightL", "-", "aChineseL",
                                         "aCheckL"}));
        QCOMPARE(Captions(menus[4]->menu()),
                 (QStringList{"顯示字幕", "以其他編碼重新開啟", "-", "設定字型", "設定背景顏色",
                              "設定字幕高度", "-", "中文轉換", "檢查字幕"}));
        QCOMPARE(menus[6]->menu()->objectName(), QStringLiteral("muPlay"));
        QCOMPARE(Names(menus[6]->menu()->actions()),
                 (QStringList{"aPlayPause", "aSeekBack", "aSeekForward", "aSeekBack5",
                              "aSeekForward5", "aFrameBack", "aFrameForward", "-", "aPlayEntry",
                              "-", "aSetStart", "aSetEnd", "aSetEndNext", "-", "aStartBack",
                              "aStartForward", "aEndBack", "aEndForward", "aStartBack100",
                              "aStartForward100", "aEndBack100", "aEndForward100", "-",
                              "aInsertAtFilm", "-", "aShortcuts"}));
        QCOMPARE(Captions(menus[7]->menu()), (QStringList{"繁體中文", "簡體中文", "英文"}));
        QCOMPARE(Captions(menus[8]->menu()), QStringList{"關於本程式"});
        QCOMPARE(Captions(Ctl<QMenu>(form, "popMenu")),
                 (QStringList{"新增字幕", "刪除字幕", "-", "復原", "重做", "-", "中文轉換",
                              "檢查字幕"}));
    }

    void toolBarsShowTheirCommands() {
        TMainForm form(Fake());
        QCOMPARE(
            Names(Ctl<QToolBar>(form, "atBarMain")->actions()),
            (QStringList{"FileOpenMovie", "aCombine", "aImport", "-", "aEditSubtitle", "aCheckTime",
                         "-", "aFind", "aFindNext", "aReplace", "-", "aSyncLR"}));
        QCOMPARE(Names(Ctl<QToolBar>(form, "atBarL")->actions()),
                 (QStringList{"aOpenSubtitleL", "aShowSubL", "aSyncL", "aSegModifyL", "aSaveL",
                              "aSaveAsL", "aReopenL"}));
        QCOMPARE(Names(Ctl<QToolBar>(form, "atBarR")->actions()),
                 (QStringList{"aOpenSubtitleR", "aShowSubR", "aSyncR", "aSegModifyR", "aSaveR",
                              "aSaveAsR", "aReopenR"}));
        QCOMPARE(Names(Ctl<QToolBar>(form, "ToolBarControl")->actions()).mid(0, 5),
                 (QStringList{"aPlay", "aPause", "aStop", "aSlow", "aForward"}));
        // Every tool bar button has a picture.
        for (QToolBar* bar : {Ctl<QToolBar>(form, "atBarMain"), Ctl<QToolBar>(form, "atBarL"), Ctl<QToolBar>(form, "atBarR"), Ctl<QToolBar>(form, "ToolBarControl")})
            for (QAction* a : bar->actions())
                if (!a->isSeparator() && !a->objectName().isEmpty())
                    QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    }

    void commandsStartAsTheTableSays_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("checkable");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("statusTip");
        auto row = [](const char* name, const char* category, const char* shortcut, bool enabled,
                      bool checkable, bool checked, int tag, const char* tip, const char* status) {
            QTest::newRow(name) << QString(category) << QString(shortcut) << enabled << checkable
                                << checked << tag << QString::fromUtf8(tip)
                                << QString::fromUtf8(status);
        };
        row("FileOpenMovie", "File", "Ctrl+O", true, false, false, 0, "開啟影片檔",
            "開啟一個MEPG1,MPEG2,MPEG4影片檔");
        row("FileExit", "File", "", true, false, false, 0, "結束", "關閉這個程式");
        row("aAbout", "Help", "", true, false, false, 0, "關於本程式", "關於本程式");
        row("aShowSubL", "Edit", "", false, true, false, 0, "顯示字幕", "顯示左側字幕");
        row("aShowSubR", "Edit", "", false, true, false, 1, "顯示字幕", "顯示右側字幕");
        row("aFontEditR", "Dialog", "", true, false, false, 1, "選擇字型", "選擇字幕字型");
        row("aColorSelectL", "Dialog", "", true, false, false, 0, "設定顏色", "設定字幕背景顏色");
        row("aPlay", "Control", "", false, false, false, 0, "開始播放", "開始播放影片");
        row("aPause", "Control", "", false, false, false, 0, "暫停播放", "暫停播放影片");
        row("aStop", "Control", "", false, false, false, 0, "停止播放", "停止播放影片");
        row("aSecRepeat", "Control", "", false, true, false, 0, "依時間反覆播放",
            "反覆播放一段影片");
        row("aSubRepeat", "Control", "", false, true, false, 0, "依句子反覆播放",
            "反覆播放一段影片");
        row("aForward", "Control", "", false, false, false, 0, "快轉播放", "快轉影片播放");
        row("aSlow", "Control", "", false, false, false, 0, "慢速播放", "慢速播放影片");
        row("aSelCHT", "Control", "", true, true, true, 1028, "", "");
        row("aSelCHS", "Control", "", true, true, false, 2052, "", "");
        row("aSelENU", "Control", "", true, true, false, 1033, "", "");
        // A hint without "|" is both the short and the long part.
        row("aSubHeightR", "Dialog", "", true, false, false, 1, "設定字幕高度", "設定字幕高度");
        row("aSaveL", "File", "", false, false, false, 0, "儲存檔案", "將目前檔案回存");
        row("aOpenSubtitleR", "File", "", true, false, false, 1, "開啟右字幕檔", "開啟右側字幕檔");
        row("aSyncLR", "Control", "", true, true, false, 0, "左右同步", "左右字幕連鎖同步移動");
        row("aSyncL", "Control", "", true, true, true, 0, "同步位移", "字幕與影片同步移動");
        row("aSyncR", "Control", "", true, true, true, 0, "同步位移", "字幕與影片同步移動");
        row("aEditSubtitle", "Edit", "", true, true, false, 0, "編輯字幕", "開啟字幕編輯視窗");
        row("aSegModifyR", "Edit", "", true, false, false, 1, "區段調整", "區段調整字幕時間");
        row("aCombine", "File", "", true, false, false, 0, "合併字幕", "合併兩個部份或全部字幕");
        row("aNewLine", "Edit", "Ctrl+Ins", true, false, false, 0, "新增一行",
            "在目前位置前新增一行字幕");
        row("aDelLine", "Edit", "Ctrl+Del", true, false, false, 0, "刪除字幕", "刪除選擇區域字幕");
        row("aReplace", "Search", "Ctrl+R", true, false, false, 0, "取代字串",
            "尋找並取代特定字串");
        row("aFind", "Search", "Ctrl+F", true, false, false, 0, "尋找字串", "尋找特定字串");
        row("aFindNext", "Search", "F3", true, false, false, 0, "尋找下一個", "尋找下一個符合字串");
        row("aCheckTime", "Edit", "", true, false, false, 0, "修正重疊時間",
            "自動修改字幕重疊時間");
        row("aImport", "File", "", true, false, false, 0, "匯入檔案",
            "匯入含有時間值或文字的字幕檔或文字檔");
        row("aSaveAsR", "File", "", false, false, false, 1, "另存新檔",
            "另存一個不同名字及格式的檔案");
        row("aStatusBar", "View", "", true, true, true, 0, "", "");
        row("aAdjustSize", "View", "", true, false, false, 0, "調整視窗", "調整各個顯示視窗的大小");
        row("aUndo", "Edit", "Ctrl+Z", false, false, false, 0, "", "");
        row("aRedo", "Edit", "Ctrl+Y", false, false, false, 0, "", "");
        row("aPlayPause", "Control", "Space", true, false, false, 0, "播放/暫停", "播放或暫停影片");
        row("aSeekBack5", "Control", "Ctrl+Shift+Left", true, false, false, 0, "倒退 5 秒",
            "影片倒退 5 秒");
        row("aFrameForward", "Control", "Alt+Right", true, false, false, 0, "下一格",
            "暫停並前進一格畫面");
        row("aPlayEntry", "Control", "F8", true, false, false, 0, "播放目前字幕",
            "從目前字幕的開始時間播放到結束時間");
        row("aSetStart", "Edit", "F9", true, false, false, 0, "設定開始時間",
            "以影片時間設定目前字幕的開始時間");
        row("aSetEnd", "Edit", "F10", true, false, false, 0, "設定結束時間",
            "以影片時間設定目前字幕的結束時間");
        row("aSetEndNext", "Edit", "F11", true, false, false, 0, "設定結束時間並到下一句",
            "以影片時間設定結束時間,並移到下一句字幕");
        row("aStartBack", "Edit", "Ctrl+[", true, false, false, 0, "開始時間提早",
            "目前字幕的開始時間提早 10 毫秒");
        row("aEndForward", "Edit", "Ctrl+Shift+]", true, false, false, 0, "結束時間延後",
            "目前字幕的結束時間延後 10 毫秒");
        row("aEndBack100", "Edit", "Ctrl+Alt+Shift+[", true, false, false, 0, "結束時間提早",
            "目前字幕的結束時間提早 100 毫秒");
        row("aInsertAtFilm", "Edit", "Ctrl+Return", true, false, false, 0, "插入字幕",
            "在目前字幕之後,以影片時間插入一句字幕");
    }

    void commandsStartAsTheTableSays() {
        QFETCH(QString, category);
        QFETCH(QString, shortcut);
        QFETCH(bool, enabled);
        QFETCH(bool, checkable);
        QFETCH(bool, checked);
        QFETCH(int, tag);
        QFETCH(QString, toolTip);
        QFETCH(QString, statusTip);
        TMainForm form(Fake());
        const auto* a = form.findChild<QAction*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(a);
        QCOMPARE(a->property("category").toString(), category);
        QCOMPARE(a->shortcut(), QKeySequence(shortcut));
        QCOMPARE(a->isEnabled(), enabled);
        QCOMPARE(a->isCheckable(), checkable);
        QCOMPARE(a->isChecked(), checked);
        QCOMPARE(a->property("tag").toInt(), tag);
        if (!toolTip.isEmpty()) QCOMPARE(a->toolTip(), toolTip);
        QCOMPARE(a->statusTip(), statusTip);
    }

    void everyCommandExistsOnce() {
        TMainForm form(Fake());
        QCOMPARE(form.Commands().size(), 76);
        QSet<QString> names;
        for (QAction* a : form.Commands())
            names.insert(a->objectName());
        QCOMPARE(names.size(), 76);
    }

    void repeatGroupAllowsNoneOrOne() {
        TMainForm form(Fake());
        Ctl<QAction>(form, "aSecRepeat")->setEnabled(true);
        Ctl<QAction>(form, "aSubRepeat")->setEnabled(true);
        Ctl<QAction>(form, "aSecRepeat")->trigger();
        QVERIFY(Ctl<QAction>(form, "aSecRepeat")->isChecked());
        Ctl<QAction>(form, "aSubRepeat")->trigger();
        QVERIFY(Ctl<QAction>(form, "aSubRepeat")->isChecked());
        QVERIFY(!Ctl<QAction>(form, "aSecRepeat")->isChecked());
        Ctl<QAction>(form, "aSubRepeat")->trigger();
        QVERIFY(!Ctl<QAction>(form, "aSubRepeat")->isChecked() && !Ctl<QAction>(form, "aSecRepeat")->isChecked());
    }

    void longHintGoesToPanelZero() {
        TMainForm form(Fake());
        QStatusTipEvent tip(Ctl<QAction>(form, "aImport")->statusTip());
        QApplication::sendEvent(&form, &tip);
        QCOMPARE(Probe(form).Panels()[0]->text(), QStringLiteral("匯入含有時間值或文字的字幕檔或文字檔"));
        // The other panels stay as they were.
        QVERIFY(Probe(form).Panels()[3]->text().isEmpty());
        QStatusTipEvent none{QString()};
        QApplication::sendEvent(&form, &none);
        QVERIFY(Probe(form).Panels()[0]->text().isEmpty());
    }

    void textTableByNumber() {
        QCOMPARE(TextOf(101), QStringLiteral("1028"));
        QCOMPARE(TextOf(txLeftSide + 1), QStringLiteral("右側字幕"));
        QCOMPARE(TextOf(1006), QStringLiteral("確定要放棄已修改部份?"));
        QCOMPARE(TextOf(4001), QStringLiteral("檔案已經存在,確定要存檔嗎?"));
        QVERIFY(TextOf(9999).isEmpty());
        SetText(1007, QStringLiteral("Start"));
        QCOMPARE(TextOf(1007), QStringLiteral("Start"));
        ResetTexts();
        QCOMPARE(TextOf(1007), QStringLiteral("開始"));
    }

    void builtInLanguageIdThatIsNoNumberLeaves1028() {
        SetText(txDefaultLcid, QStringLiteral("zh-TW"));
        TMainForm form(Fake());
        ResetTexts();
        QCOMPARE(Probe(form).Lcid(), 1028);
        QVERIFY(Ctl<QAction>(form, "aSelCHT")->isChecked());
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("film");
        QTest::addColumn<QStringList>("subtitles");
        QTest::addColumn<bool>("help");
        QTest::newRow("nothing") << QStringList{"velitra"} << "" << QStringList{} << false;
        QTest::newRow("film") << QStringList{"velitra", "a.mkv"} << "a.mkv" << QStringList{}
                              << false;
        QTest::newRow("film and two subtitles")
            << QStringList{"velitra", "L.srt", "a.avi", "R.SUB"} << "a.avi"
            << QStringList{"L.srt", "R.SUB"} << false;
        QTest::newRow("help") << QStringList{"velitra", "--help"} << "" << QStringList{} << true;
        // A file manager hands over whatever was chosen: WebVTT and ASS/SSA go to the panes too.
        QTest::newRow("vtt, film, ass")
            << QStringList{"velitra", "a.vtt", "film.mp4", "b.ASS"} << "film.mp4"
            << QStringList{"a.vtt", "b.ASS"} << false;
        QTest::newRow("ssa alone") << QStringList{"velitra", "x.ssa"} << ""
                                   << QStringList{"x.ssa"} << false;
    }

    // What the command line names opens: the film in the player, the subtitle files into the
    // left and right panes in their order, wherever the film stands among them.
    void commandLineOpensFilmAndPanes() {
        TScriptedQuestions questions;
        TFakePlayer* player = nullptr;
        TMainForm form([&player](QWidget* video) { return player = new TFakePlayer(video); });
        const QString film = QDir::cleanPath(QStringLiteral(VELITRA_FIXTURES "/film.mkv"));
        player->Films[film] = 60;
        const QString left = QStringLiteral(VELITRA_FIXTURES "/cli/basic.srt");
        const QString right = QStringLiteral(VELITRA_FIXTURES "/cli/viewer.sub");
        OpenFromCommandLine(form, ParseCommandLine({"velitra", left, film, right}));
        QCOMPARE(player->FileName(), film);
        QCOMPARE(QString::fromStdString(form.Host()->Document(0)->FileName()),
                 QFileInfo(left).absoluteFilePath());
        QCOMPARE(QString::fromStdString(form.Host()->Document(1)->FileName()),
                 QFileInfo(right).absoluteFilePath());
        QCOMPARE(form.Host()->Document(0)->Count(), 4);
        QVERIFY(questions.Messages.isEmpty());
    }

    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(QString, film);
        QFETCH(QStringList, subtitles);
        QFETCH(bool, help);
        const TCommandLine line = ParseCommandLine(args);
        QCOMPARE(line.Film, film);
        QCOMPARE(line.Subtitles, subtitles);
        QCOMPARE(line.Help, help);
        QVERIFY(UsageText().contains("FILM"));
    }

    void fileFiltersInQtForm_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("films") << "AVI Files (*.avi)|*.AVI|MPEG1 Files (*.mpg)|*.MPG|All Files "
                                  "(*.*)|*.*"
                               << "AVI Files (*.avi *.AVI);;MPEG1 Files (*.mpg *.MPG);;All Files "
                                  "(*)";
        QTest::newRow("several patterns") << "Subtitles|*.srt;*.sub"
                                          << "Subtitles (*.srt *.SRT *.sub *.SUB)";
        QTest::newRow("odd count drops the tail") << "Text (*.txt)|*.txt|Lost"
                                                  << "Text (*.txt *.TXT)";
    }

    void fileFiltersInQtForm() {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(QtFileFilter(filter), qt);
    }

    void errorInAnEventHandlerIsShownAndTheLoopGoesOn() {
        TScriptedQuestions questions;
        QObject target;
        int after = 0;
        QTimer::singleShot(0, &target, [] { throw std::runtime_error("bad number"); });
        QTimer::singleShot(0, &target, [] { throw 42; });
        QTimer::singleShot(5, &target, [&after] { ++after; });
        QTRY_COMPARE(after, 1);
        QCOMPARE(questions.Messages.size(), 2);
        QCOMPARE(questions.Messages[0].Text, QStringLiteral("bad number"));
        QCOMPARE(questions.Messages[0].Kind, TMsgKind::Error);
        // Not an error object: an error box with an empty message.
        QCOMPARE(questions.Messages[1].Text, QString());
    }
};

int main(int argc, char** argv) {
    // The application object of the program itself, so that its error handling is what runs.
    TApplication app(argc, argv);
    TestMainForm test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainform.moc"
