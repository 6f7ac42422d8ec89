#include "Texts.h"

#include <map>

namespace {

const std::map<int, QString>& BuiltIn() {
    static const std::map<int, QString> table{
        {txDefaultLcid, QStringLiteral("1028")},
        {txAppName, QStringLiteral("Velitra")},
        {txLeftSide, QStringLiteral("左側字幕")},
        {txRightSide, QStringLiteral("右側字幕")},
        {txLoadSubtitleFirst, QStringLiteral("請先載入欲編修之字幕檔")},
        {txConfirmDelete, QStringLiteral("確定要刪除嗎?")},
        {txFindPrompt, QStringLiteral("請輸入欲尋找字串")},
        {txOverlapsRepaired, QStringLiteral("修正字幕重疊數: ")},
        {txRestartForLanguage, QStringLiteral("請重新啟動 Velitra 以讓語系設定生效")},
        {txDiscardChanges, QStringLiteral("確定要放棄已修改部份?")},
        {txColumnStart, QStringLiteral("開始")},
        {txColumnDuration, QStringLiteral("延遲")},
        {txColumnText, QStringLiteral("文字")},
        // Not in the original table: a film the player cannot open is named to the user.
        {txFilmNotOpened, QStringLiteral("無法開啟影片檔")},
        {txEditWindow, QStringLiteral("編輯視窗")},
        {txUnknownFormat, QStringLiteral("無法辨識字幕檔格式,請重新選擇")},
        {txNoCombineFile, QStringLiteral("尚未設定欲併入之字幕檔案")},
        {txFileExists, QStringLiteral("檔案已經存在,確定要存檔嗎?")},
        {txRecoveryTitle, QStringLiteral("復原未儲存的字幕")},
        {txRecoveryNote, QStringLiteral("上次執行未正常結束,以下字幕的修改尚未儲存:")},
        {txRecoveryFile, QStringLiteral("檔案")},
        {txRecoverySide, QStringLiteral("位置")},
        {txRecoveryTime, QStringLiteral("時間")},
        {txRecoveryCount, QStringLiteral("字幕數")},
        {txRecoveryInto, QStringLiteral("還原至:")},
        {txRecoveryRestore, QStringLiteral("還原")},
        {txRecoveryDiscard, QStringLiteral("捨棄")},
        {txRecoveryLater, QStringLiteral("稍後再說")},
        {txBackupFailed, QStringLiteral("無法保留舊檔的備份,檔案未儲存:")},
        {txRecoveryUnreadable, QStringLiteral("無法讀取復原檔")},
        {txSaveChangesOf, QStringLiteral("是否儲存對「%1」的修改?")},
        {txNeedFileName, QStringLiteral("請輸入存檔之檔案名稱")},
        {txNothingFound, QStringLiteral("找不到「%1」")},
        {txSaveLineEnd, QStringLiteral("行尾:")},
        {txLineEndAsDocument, QStringLiteral("同原檔")},
        {txLineEndLf, QStringLiteral("LF (Unix)")},
        {txLineEndCrLf, QStringLiteral("CR LF (Windows)")},
        {txUndo, QStringLiteral("復原")},
        {txRedo, QStringLiteral("重做")},
        {txStepReplace, QStringLiteral("取代")},
        {txStepReplaceAll, QStringLiteral("全部取代")},
        {txDeleteCount, QStringLiteral("(共 %1 筆字幕)")},
        {txFileMissing, QStringLiteral("找不到檔案")},
        {txFileUnreadable, QStringLiteral("無法讀取檔案")},
        {txCannotHoldText, QStringLiteral("「%1」無法以 %2 編碼儲存")},
        {txReopenPrompt, QStringLiteral("以這個編碼重新讀取檔案:")},
        {txSaveEncoding, QStringLiteral("編碼")},
        {txEncodingAsDocument, QStringLiteral("與原檔相同")},
        {txLineKeptAsIs, QStringLiteral("第 %1 行無法解讀,已原樣保留")},
        {txTagsDropped, QStringLiteral("%1 個樣式標記無法轉換")},
        {txMoreLinesKept, QStringLiteral("另有 %1 行同樣無法解讀,也已原樣保留")},
        {txCannotSaveEntry, QStringLiteral("第 %1 筆字幕的文字無法以 %2 編碼儲存,檔案沒有寫入。")},
        // Not in the original table: the font chooser of our own also asks for the colour.
        {txFontColorTitle, QStringLiteral("字型")},
        {txColorLabel, QStringLiteral("色彩:")},
        {txChooseColor, QStringLiteral("選擇色彩...")},
        {txOk, QStringLiteral("確定")},
        {txCancel, QStringLiteral("取消")},
        // The masked fields' refusal, in the words the platform's fields use.
        {txInvalidMaskInput,
         QStringLiteral("Invalid input value.  Use escape key to abandon changes")},
        // The step an Apply of the edit window leaves in the history.
        {txStepEditEntry, QStringLiteral("編輯字幕")},
        // The segment dialog's step in the history; the floating-point errors of a stretch
        // whose first and last entries start together; the conversion message of a frame rate
        // that is no number; a Save As that could not be written.
        {txStepSegment, QStringLiteral("區段調整")},
        {txDivisionByZero, QStringLiteral("Floating point division by zero")},
        {txInvalidFloatOperation, QStringLiteral("Invalid floating point operation")},
        {txNotAFloat, QStringLiteral("'%1' is not a valid floating point value")},
        {txCannotWrite, QStringLiteral("無法寫入檔案")},
        // The combine and import dialogs' steps in the history, and their refusal of a text the
        // target's code page cannot hold (the entry or the line, then the page's name).
        {txStepCombine, QStringLiteral("合併字幕")},
        {txStepImport, QStringLiteral("匯入字幕")},
        {txEntryCannotBeHeld,
         QStringLiteral("來源第 %1 筆字幕的文字無法以 %2 編碼儲存,未做任何變更")},
        {txLineCannotBeHeld, QStringLiteral("文字檔第 %1 行的文字無法以 %2 編碼儲存,未做任何變更")},
        // The film chooser's title; the find box's title and the speed panel in the words the
        // original shows in every language; %1 is the rate written "%0.2f".
        {txOpenFilmTitle, QStringLiteral("開啟影片檔")},
        {txFindTitle, QStringLiteral("Find")},
        {txSpeedNormal, QStringLiteral("Normal")},
        {txSpeedRate, QStringLiteral("%1X Speed")},
        // A text the document's (or the source's) own code page cannot read is the source's
        // fault, not the target's: %1 the entry or line, %2 the page. A frame rate that is a
        // number but not above 0.
        {txEntryNotValid, QStringLiteral("第 %1 筆字幕的文字不是有效的 %2 文字,檔案沒有寫入。")},
        {txSourceEntryNotValid,
         QStringLiteral("來源第 %1 筆字幕的文字不是有效的 %2 文字,未做任何變更")},
        {txSourceLineNotValid, QStringLiteral("文字檔第 %1 行的文字不是有效的 %2 文字,未做任何變更")},
        {txFrameRateAboveZero, QStringLiteral("每秒Frame數必須大於 0")},
        // Chinese conversion (its dialog, its step and its questions) and the readability checks
        // (the list window, its kinds, limits, fixes and the units of its values).
        {txChineseTitle, QStringLiteral("中文轉換")},
        {txStepChinese, QStringLiteral("中文轉換")},
        {txChineseDirection, QStringLiteral("轉換方向")},
        {txChineseS2twp, QStringLiteral("簡體 → 繁體(臺灣用詞)")},
        {txChineseS2t, QStringLiteral("簡體 → 繁體")},
        {txChineseS2hk, QStringLiteral("簡體 → 繁體(香港)")},
        {txChineseT2s, QStringLiteral("繁體 → 簡體")},
        {txChineseTw2sp, QStringLiteral("繁體(臺灣) → 簡體")},
        {txChineseHk2s, QStringLiteral("繁體(香港) → 簡體")},
        {txChineseStretch, QStringLiteral("範圍")},
        {txChineseSelected, QStringLiteral("選取的字幕")},
        {txChineseAll, QStringLiteral("全部字幕")},
        {txChinesePreview, QStringLiteral("預覽(前 %1 筆變更)")},
        {txChineseBefore, QStringLiteral("轉換前")},
        {txChineseAfter, QStringLiteral("轉換後")},
        {txChineseNumber, QStringLiteral("編號")},
        {txChineseUnfit, QStringLiteral("轉換後有 %1 筆字幕的文字無法以 %2 編碼儲存(第一筆是第 %3 筆字幕)。")},
        {txChineseRecodeTo, QStringLiteral("要把文件的編碼改為:")},
        {txChineseMissing, QStringLiteral("未安裝的轉換:%1")},
        {txChineseProgress, QStringLiteral("正在轉換...")},
        {txChineseNoChange, QStringLiteral("沒有會變更的字幕")},
        {txCheckTitle, QStringLiteral("檢查字幕")},
        {txCheckNumber, QStringLiteral("編號")},
        {txCheckKind, QStringLiteral("種類")},
        {txCheckWhat, QStringLiteral("說明")},
        {txCheckValue, QStringLiteral("數值")},
        {txCheckStartAfterEnd, QStringLiteral("時間顛倒")},
        {txCheckOutOfOrder, QStringLiteral("順序錯誤")},
        {txCheckOverlap, QStringLiteral("重疊")},
        {txCheckGap, QStringLiteral("間隔過短")},
        {txCheckTooShort, QStringLiteral("過短")},
        {txCheckTooLong, QStringLiteral("過長")},
        {txCheckSpeed, QStringLiteral("閱讀速度")},
        {txCheckLineTooLong, QStringLiteral("行過長")},
        {txCheckTooManyLines, QStringLiteral("行數過多")},
        {txCheckEmpty, QStringLiteral("沒有文字")},
        {txCheckWhyStartAfterEnd, QStringLiteral("開始時間晚於結束時間")},
        {txCheckWhyOutOfOrder, QStringLiteral("開始時間早於前一筆字幕")},
        {txCheckWhyOverlap, QStringLiteral("結束時間晚於下一筆字幕的開始")},
        {txCheckWhyGap, QStringLiteral("與下一筆字幕的間隔少於 %1 毫秒")},
        {txCheckWhyTooShort, QStringLiteral("顯示時間少於 %1 毫秒")},
        {txCheckWhyTooLong, QStringLiteral("顯示時間超過 %1 毫秒")},
        {txCheckWhySpeed, QStringLiteral("每秒超過 %1 字")},
        {txCheckWhyLineTooLong, QStringLiteral("一行超過 %1 欄")},
        {txCheckWhyTooManyLines, QStringLiteral("超過 %1 行")},
        {txCheckWhyEmpty, QStringLiteral("字幕沒有文字")},
        {txCheckMinDuration, QStringLiteral("最短顯示(毫秒)")},
        {txCheckMaxDuration, QStringLiteral("最長顯示(毫秒)")},
        {txCheckCjkSpeed, QStringLiteral("中日文每秒字數")},
        {txCheckOtherSpeed, QStringLiteral("其他文字每秒字數")},
        {txCheckMaxColumns, QStringLiteral("每行最多欄數")},
        {txCheckMaxLines, QStringLiteral("最多行數")},
        {txCheckMinGap, QStringLiteral("最小間隔(毫秒)")},
        {txCheckLimits, QStringLiteral("限制")},
        {txCheckExtend, QStringLiteral("延長過短字幕")},
        {txCheckShorten, QStringLiteral("縮短重疊字幕")},
        {txCheckRemoveEmpty, QStringLiteral("刪除空白字幕")},
        {txCheckClose, QStringLiteral("關閉")},
        {txCheckCount, QStringLiteral("共 %1 個問題")},
        {txCheckMs, QStringLiteral("%1 毫秒")},
        {txCheckCps, QStringLiteral("%1 字/秒")},
        {txCheckColumns, QStringLiteral("%1 欄")},
        {txCheckLines, QStringLiteral("%1 行")},
        // The waveform view: an edge or an entry dragged into place is one step; the stretch
        // marked over the sound is played; the spectrogram in place of the waveform; edges
        // snapping; the status bar while the film's sound is read (%1 the percentage).
        {txStepAdjustTime, QStringLiteral("調整時間")},
        {txPlayStretch, QStringLiteral("播放此段")},
        {txShowSpectrum, QStringLiteral("頻譜圖")},
        {txSnap, QStringLiteral("貼齊")},
        {txReadingSound, QStringLiteral("讀取音訊 %1%")},
        {txStopReading, QStringLiteral("停止讀取")},
        {txWaveBar, QStringLiteral("音訊列")},
        {txStepSetStart, QStringLiteral("設定開始時間")},
        {txStepSetEnd, QStringLiteral("設定結束時間")},
        {txStepNudge, QStringLiteral("微調時間")},
        {txStepInsertAtFilm, QStringLiteral("插入字幕")},
        {txShortcutsTitle, QStringLiteral("快速鍵")},
        {txFilmBeforeStart, QStringLiteral("影片時間 %1 在這句字幕的開始之前,結束時間未變")},
        {txFilmAfterEnd, QStringLiteral("影片時間 %1 在這句字幕的結束之後,開始時間未變")},
        {txKeyTaken, QStringLiteral("「%1」已是「%2」的快速鍵,請另選一個按鍵。")},
    };
    return table;
}

std::map<int, QString>& Current() {
    static std::map<int, QString> table = BuiltIn();
    return table;
}

} // namespace

QString TextOf(int id) {
    const auto& table = Current();
    const auto it = table.find(id);
    return it == table.end() ? QString() : it->second;
}

void SetText(int id, const QString& text) {
    Current()[id] = text;
}

void ResetTexts() {
    Current() = BuiltIn();
}

QString BuiltInText(int id) {
    const auto& table = BuiltIn();
    const auto it = table.find(id);
    return it == table.end() ? QString() : it->second;
}

QList<int> TextIds() {
    QList<int> ids;
    for (const auto& [id, text] : BuiltIn())
        ids << id;
    return ids;
}
