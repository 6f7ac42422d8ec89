// The command table: every command with its category, shortcut, hint, initial state and handler.
#include "Main.h"

#include "Hint.h"
#include "Icons.h"
#include "Texts.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QStatusTipEvent>

#include <tuple>
#include <utility>

QAction* TMainForm::NewCommand(QAction*& field, const char* name, const QString& caption,
                               const char* category, const QString& hint) {
    field = new QAction(caption, this);
    field->setObjectName(QString::fromLatin1(name));
    field->setProperty("category", QString::fromLatin1(category));
    field->setProperty("tag", 0);
    field->setIcon(CommandIcon(field->objectName()));
    // Menus show no icons: the original's menus are text only.
    field->setIconVisibleInMenu(false);
    if (!hint.isEmpty()) SetHint(field, hint);
    commands_ << field;
    return field;
}

void TMainForm::BuildCommands() {
    auto plain = [this](QAction* a, void (TMainForm::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    auto sided = [this](QAction* a, int side, void (TMainForm::*handler)(int)) {
        a->setProperty("tag", side);
        connect(a, &QAction::triggered, this,
                [this, a, handler] { (this->*handler)(a->property("tag").toInt()); });
    };
    auto check = [](QAction* a, bool checked) {
        a->setCheckable(true);
        a->setChecked(checked);
    };

    NewCommand(FileOpenMovie, "FileOpenMovie", "開啟影片檔", "File",
               "開啟影片檔|開啟一個MEPG1,MPEG2,MPEG4影片檔");
    FileOpenMovie->setShortcut(QKeySequence("Ctrl+O"));
    plain(FileOpenMovie, &TMainForm::FileOpenMovieExecute);

    NewCommand(FileExit, "FileExit", "結束程式", "File", "結束|關閉這個程式");
    plain(FileExit, &TMainForm::FileExitExecute);

    NewCommand(aAbout, "aAbout", "關於本程式", "Help", "關於本程式|關於本程式");
    plain(aAbout, &TMainForm::aAboutExecute);

    NewCommand(aShowSubL, "aShowSubL", "顯示字幕", "Edit", "顯示字幕|顯示左側字幕");
    NewCommand(aShowSubR, "aShowSubR", "顯示字幕", "Edit", "顯示字幕|顯示右側字幕");
    for (int side = 0; side < 2; ++side) {
        QAction* a = side ? aShowSubR : aShowSubL;
        check(a, false);
        a->setEnabled(false);
        sided(a, side, &TMainForm::aShowSubLExecute);
    }

    NewCommand(aFontEditL, "aFontEditL", "設定字型", "Dialog", "選擇字型|選擇字幕字型");
    NewCommand(aFontEditR, "aFontEditR", "設定字型", "Dialog", "選擇字型|選擇字幕字型");
    sided(aFontEditL, 0, &TMainForm::aFontEditLExecute);
    sided(aFontEditR, 1, &TMainForm::aFontEditLExecute);

    NewCommand(aColorSelectL, "aColorSelectL", "設定背景顏色", "Dialog",
               "設定顏色|設定字幕背景顏色");
    NewCommand(aColorSelectR, "aColorSelectR", "設定背景顏色", "Dialog",
               "設定顏色|設定字幕背景顏色");
    sided(aColorSelectL, 0, &TMainForm::aColorSelectLExecute);
    sided(aColorSelectR, 1, &TMainForm::aColorSelectLExecute);

    NewCommand(aPlay, "aPlay", "開始播放", "Control", "開始播放|開始播放影片");
    plain(aPlay, &TMainForm::aPlayExecute);
    NewCommand(aPause, "aPause", "暫停播放", "Control", "暫停播放|暫停播放影片");
    plain(aPause, &TMainForm::aPauseExecute);
    NewCommand(aStop, "aStop", "停止播放", "Control", "停止播放|停止播放影片");
    plain(aStop, &TMainForm::aStopExecute);

    NewCommand(aSecRepeat, "aSecRepeat", "依時間反覆播放", "Control",
               "依時間反覆播放|反覆播放一段影片");
    plain(aSecRepeat, &TMainForm::aSecRepeatExecute);
    NewCommand(aSubRepeat, "aSubRepeat", "依句子反覆播放", "Control",
               "依句子反覆播放|反覆播放一段影片");
    plain(aSubRepeat, &TMainForm::aSubRepeatExecute);
    // Group 1: checking one unchecks the other; both may be unchecked.
    RepeatGroup = new QActionGroup(this);
    RepeatGroup->setObjectName("RepeatGroup");
    RepeatGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* a : {aSecRepeat, aSubRepeat}) {
        check(a, false);
        a->setProperty("groupIndex", 1);
        RepeatGroup->addAction(a);
    }

    NewCommand(aForward, "aForward", "快轉播放", "Control", "快轉播放|快轉影片播放");
    plain(aForward, &TMainForm::aForwardExecute);
    NewCommand(aSlow, "aSlow", "慢速播放", "Control", "慢速播放|慢速播放影片");
    plain(aSlow, &TMainForm::aSlowExecute);
    for (QAction* a : {aPlay, aPause, aStop, aSecRepeat, aSubRepeat, aForward, aSlow})
        a->setEnabled(false);

    NewCommand(aSelCHT, "aSelCHT", "繁體中文", "Control", QString());
    NewCommand(aSelCHS, "aSelCHS", "簡體中文", "Control", QString());
    NewCommand(aSelENU, "aSelENU", "英文", "Control", QString());
    for (QAction* a : {aSelCHT, aSelCHS, aSelENU}) {
        a->setCheckable(true);
        sided(a, 0, &TMainForm::aSelCHTExecute);
    }

    NewCommand(aSubHeightL, "aSubHeightL", "設定字幕高度", "Dialog", "設定字幕高度");
    NewCommand(aSubHeightR, "aSubHeightR", "設定字幕高度", "Dialog", "設定字幕高度");
    sided(aSubHeightL, 0, &TMainForm::aSubHeightLExecute);
    sided(aSubHeightR, 1, &TMainForm::aSubHeightLExecute);

    NewCommand(aSaveL, "aSaveL", "儲存檔案", "File", "儲存檔案|將目前檔案回存");
    NewCommand(aSaveR, "aSaveR", "儲存檔案", "File", "儲存檔案|將目前檔案回存");
    // Saving answers whether it saved (the close question needs that); the command does not.
    for (QAction* a : {aSaveL, aSaveR}) {
        a->setProperty("tag", a == aSaveR ? 1 : 0);
        connect(a, &QAction::triggered, this,
                [this, a] { aSaveLExecute(a->property("tag").toInt()); });
    }
    aSaveL->setEnabled(false);
    aSaveR->setEnabled(false);

    NewCommand(aOpenSubtitleL, "aOpenSubtitleL", "開啟左字幕檔", "File",
               "開啟左字幕檔|開啟左側字幕檔");
    NewCommand(aOpenSubtitleR, "aOpenSubtitleR", "開啟右字幕檔", "File",
               "開啟右字幕檔|開啟右側字幕檔");
    sided(aOpenSubtitleL, 0, &TMainForm::aOpenSubtitleLExecute);
    sided(aOpenSubtitleR, 1, &TMainForm::aOpenSubtitleLExecute);

    NewCommand(aSyncLR, "aSyncLR", "左右同步", "Control", "左右同步|左右字幕連鎖同步移動");
    check(aSyncLR, false);
    plain(aSyncLR, &TMainForm::aSyncLRExecute);
    NewCommand(aSyncL, "aSyncL", "同步位移", "Control", "同步位移|字幕與影片同步移動");
    NewCommand(aSyncR, "aSyncR", "同步位移", "Control", "同步位移|字幕與影片同步移動");
    // Both share a handler that needs no side: both carry tag 0.
    for (QAction* a : {aSyncL, aSyncR}) {
        check(a, true);
        plain(a, &TMainForm::aSyncLExecute);
    }

    NewCommand(aEditSubtitle, "aEditSubtitle", "編輯字幕", "Edit", "編輯字幕|開啟字幕編輯視窗");
    check(aEditSubtitle, false);
    plain(aEditSubtitle, &TMainForm::aEditSubtitleExecute);

    NewCommand(aSegModifyL, "aSegModifyL", "區段調整", "Edit", "區段調整|區段調整字幕時間");
    NewCommand(aSegModifyR, "aSegModifyR", "區段調整", "Edit", "區段調整|區段調整字幕時間");
    sided(aSegModifyL, 0, &TMainForm::aSegModifyLExecute);
    sided(aSegModifyR, 1, &TMainForm::aSegModifyLExecute);

    NewCommand(aCombine, "aCombine", "合併字幕", "File", "合併字幕|合併兩個部份或全部字幕");
    plain(aCombine, &TMainForm::aCombineExecute);

    NewCommand(aNewLine, "aNewLine", "新增字幕", "Edit", "新增一行|在目前位置前新增一行字幕");
    aNewLine->setShortcut(QKeySequence("Ctrl+Ins"));
    plain(aNewLine, &TMainForm::aNewLineExecute);
    NewCommand(aDelLine, "aDelLine", "刪除字幕", "Edit", "刪除字幕|刪除選擇區域字幕");
    aDelLine->setShortcut(QKeySequence("Ctrl+Del"));
    plain(aDelLine, &TMainForm::aDelLineExecute);

    NewCommand(aReplace, "aReplace", "取代字串", "Search", "取代字串|尋找並取代特定字串");
    aReplace->setShortcut(QKeySequence("Ctrl+R"));
    plain(aReplace, &TMainForm::aReplaceExecute);
    NewCommand(aFind, "aFind", "尋找字串", "Search", "尋找字串|尋找特定字串");
    aFind->setShortcut(QKeySequence("Ctrl+F"));
    plain(aFind, &TMainForm::aFindExecute);
    NewCommand(aFindNext, "aFindNext", "尋找下一個", "Search", "尋找下一個|尋找下一個符合字串");
    aFindNext->setShortcut(QKeySequence("F3"));
    plain(aFindNext, &TMainForm::aFindNextExecute);

    NewCommand(aCheckTime, "aCheckTime", "修正重疊時間", "Edit",
               "修正重疊時間|自動修改字幕重疊時間");
    plain(aCheckTime, &TMainForm::aCheckTimeExecute);
    NewCommand(aImport, "aImport", "匯入檔案", "File",
               "匯入檔案|匯入含有時間值或文字的字幕檔或文字檔");
    plain(aImport, &TMainForm::aImportExecute);

    NewCommand(aSaveAsL, "aSaveAsL", "另存新檔", "File", "另存新檔|另存一個不同名字及格式的檔案");
    NewCommand(aSaveAsR, "aSaveAsR", "另存新檔", "File", "另存新檔|另存一個不同名字及格式的檔案");
    sided(aSaveAsL, 0, &TMainForm::aSaveAsLExecute);
    sided(aSaveAsR, 1, &TMainForm::aSaveAsLExecute);
    aSaveAsL->setEnabled(false);
    aSaveAsR->setEnabled(false);
    NewCommand(aReopenL, "aReopenL", "以其他編碼重新開啟", "File",
               "以其他編碼重新開啟|以選擇的編碼重新讀取左側字幕檔");
    NewCommand(aReopenR, "aReopenR", "以其他編碼重新開啟", "File",
               "以其他編碼重新開啟|以選擇的編碼重新讀取右側字幕檔");
    sided(aReopenL, 0, &TMainForm::aReopenLExecute);
    sided(aReopenR, 1, &TMainForm::aReopenLExecute);
    aReopenL->setEnabled(false);
    aReopenR->setEnabled(false);

    NewCommand(aToolBar, "aToolBar", "工具列", "View", QString());
    NewCommand(aEditorBar, "aEditorBar", "編輯列", "View", QString());
    NewCommand(aVideoBar, "aVideoBar", "影片列", "View", QString());
    NewCommand(aControlBar, "aControlBar", "控制列", "View", QString());
    NewCommand(aStatusBar, "aStatusBar", "狀態列", "View", QString());
    for (QAction* a : {aToolBar, aEditorBar, aVideoBar, aControlBar, aStatusBar}) {
        check(a, true);
        connect(a, &QAction::triggered, this, [this, a] { aViewBarExecute(a); });
    }

    // The history of the active pane's document.
    NewCommand(aUndo, "aUndo", TextOf(txUndo), "Edit", QString());
    aUndo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    plain(aUndo, &TMainForm::aUndoExecute);
    NewCommand(aRedo, "aRedo", TextOf(txRedo), "Edit", QString());
    aRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    plain(aRedo, &TMainForm::aRedoExecute);
    aUndo->setEnabled(false);
    aRedo->setEnabled(false);
    NewCommand(aAdjustSize, "aAdjustSize", "調整視窗大小", "View",
               "調整視窗|調整各個顯示視窗的大小");
    plain(aAdjustSize, &TMainForm::aAdjustSizeExecute);
    BuildChineseCommands();

    // The 播放 menu: the film and the timing keys. Their shortcuts work from the grids only
    // (AttachTimingKeys), so that Space, the arrows and Enter still type in text fields.
    NewCommand(aPlayPause, "aPlayPause", "播放/暫停", "Control", "播放/暫停|播放或暫停影片");
    NewCommand(aSeekBack, "aSeekBack", "倒退 1 秒", "Control", "倒退 1 秒|影片倒退 1 秒");
    NewCommand(aSeekForward, "aSeekForward", "前進 1 秒", "Control", "前進 1 秒|影片前進 1 秒");
    NewCommand(aSeekBack5, "aSeekBack5", "倒退 5 秒", "Control", "倒退 5 秒|影片倒退 5 秒");
    NewCommand(aSeekForward5, "aSeekForward5", "前進 5 秒", "Control", "前進 5 秒|影片前進 5 秒");
    NewCommand(aFrameBack, "aFrameBack", "上一格", "Control", "上一格|暫停並倒退一格畫面");
    NewCommand(aFrameForward, "aFrameForward", "下一格", "Control", "下一格|暫停並前進一格畫面");
    NewCommand(aPlayEntry, "aPlayEntry", "播放目前字幕", "Control", "播放目前字幕|從目前字幕的開始時間播放到結束時間");
    NewCommand(aSetStart, "aSetStart", "設定開始時間", "Edit", "設定開始時間|以影片時間設定目前字幕的開始時間");
    NewCommand(aSetEnd, "aSetEnd", "設定結束時間", "Edit", "設定結束時間|以影片時間設定目前字幕的結束時間");
    NewCommand(aSetEndNext, "aSetEndNext", "設定結束時間並到下一句", "Edit", "設定結束時間並到下一句|以影片時間設定結束時間,並移到下一句字幕");
    NewCommand(aStartBack, "aStartBack", "開始時間提早 10 毫秒", "Edit", "開始時間提早|目前字幕的開始時間提早 10 毫秒");
    NewCommand(aStartForward, "aStartForward", "開始時間延後 10 毫秒", "Edit", "開始時間延後|目前字幕的開始時間延後 10 毫秒");
    NewCommand(aEndBack, "aEndBack", "結束時間提早 10 毫秒", "Edit", "結束時間提早|目前字幕的結束時間提早 10 毫秒");
    NewCommand(aEndForward, "aEndForward", "結束時間延後 10 毫秒", "Edit", "結束時間延後|目前字幕的結束時間延後 10 毫秒");
    NewCommand(aStartBack100, "aStartBack100", "開始時間提早 100 毫秒", "Edit", "開始時間提早|目前字幕的開始時間提早 100 毫秒");
    NewCommand(aStartForward100, "aStartForward100", "開始時間延後 100 毫秒", "Edit", "開始時間延後|目前字幕的開始時間延後 100 毫秒");
    NewCommand(aEndBack100, "aEndBack100", "結束時間提早 100 毫秒", "Edit", "結束時間提早|目前字幕的結束時間提早 100 毫秒");
    NewCommand(aEndForward100, "aEndForward100", "結束時間延後 100 毫秒", "Edit", "結束時間延後|目前字幕的結束時間延後 100 毫秒");
    NewCommand(aInsertAtFilm, "aInsertAtFilm", "在影片時間插入字幕", "Edit", "插入字幕|在目前字幕之後,以影片時間插入一句字幕");
    const std::pair<QAction*, QList<QKeySequence>> keys[] = {
        {aPlayPause, {QKeySequence(Qt::Key_Space)}},
        {aSeekBack, {QKeySequence(Qt::CTRL | Qt::Key_Left)}},
        {aSeekForward, {QKeySequence(Qt::CTRL | Qt::Key_Right)}},
        {aSeekBack5, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left)}},
        {aSeekForward5, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right)}},
        {aFrameBack, {QKeySequence(Qt::ALT | Qt::Key_Left)}},
        {aFrameForward, {QKeySequence(Qt::ALT | Qt::Key_Right)}},
        {aPlayEntry, {QKeySequence(Qt::Key_F8)}},
        {aSetStart, {QKeySequence(Qt::Key_F9)}},
        {aSetEnd, {QKeySequence(Qt::Key_F10)}},
        {aSetEndNext, {QKeySequence(Qt::Key_F11)}},
        {aStartBack, {QKeySequence(Qt::CTRL | Qt::Key_BracketLeft)}},
        {aStartForward, {QKeySequence(Qt::CTRL | Qt::Key_BracketRight)}},
        {aEndBack, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft)}},
        {aEndForward, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight)}},
        {aStartBack100, {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_BracketLeft)}},
        {aStartForward100, {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_BracketRight)}},
        {aEndBack100, {QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_BracketLeft)}},
        {aEndForward100, {QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_BracketRight)}},
        {aInsertAtFilm,
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}},
    };
    for (const auto& [a, sequences] : keys) {
        a->setShortcuts(sequences);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        TimingCommands << a;
    }
    plain(aPlayPause, &TMainForm::aPlayPauseExecute);
    connect(aSeekBack, &QAction::triggered, this, [this] { SeekBy(-1); });
    connect(aSeekForward, &QAction::triggered, this, [this] { SeekBy(1); });
    connect(aSeekBack5, &QAction::triggered, this, [this] { SeekBy(-5); });
    connect(aSeekForward5, &QAction::triggered, this, [this] { SeekBy(5); });
    connect(aFrameBack, &QAction::triggered, this, [this] { FrameStep(false); });
    connect(aFrameForward, &QAction::triggered, this, [this] { FrameStep(true); });
    plain(aPlayEntry, &TMainForm::aPlayEntryExecute);
    connect(aSetStart, &QAction::triggered, this, [this] { SetStartAtFilm(); });
    connect(aSetEnd, &QAction::triggered, this, [this] { SetEndAtFilm(false); });
    connect(aSetEndNext, &QAction::triggered, this, [this] { SetEndAtFilm(true); });
    const std::tuple<QAction*, bool, int> nudges[] = {
        {aStartBack, false, -10},    {aStartForward, false, 10},   {aEndBack, true, -10},
        {aEndForward, true, 10},     {aStartBack100, false, -100}, {aStartForward100, false, 100},
        {aEndBack100, true, -100},   {aEndForward100, true, 100},
    };
    for (const auto& [a, end, delta] : nudges)
        connect(a, &QAction::triggered, this, [this, end, delta] { NudgeTime(end, delta); });
    plain(aInsertAtFilm, &TMainForm::aInsertAtFilmExecute);

    NewCommand(aShortcuts, "aShortcuts", "快速鍵...", "Dialog", "快速鍵|變更播放選單的快速鍵");
    plain(aShortcuts, &TMainForm::aShortcutsExecute);
}

void TMainForm::ApplicationHint(const QString& longHint) {
    Panels[0]->setText(longHint);
}

bool TMainForm::event(QEvent* event) {
    // Status tips are the long parts of the hints: they go to panel 0, not over the panels.
    if (event->type() == QEvent::StatusTip) {
        ApplicationHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}
