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
        {txStepSetStart, QStringLiteral("設定開始時間")},
        {txStepSetEnd, QStringLiteral("設定結束時間")},
        {txStepNudge, QStringLiteral("微調時間")},
        {txStepInsertAtFilm, QStringLiteral("插入字幕")},
        {txShortcutsTitle, QStringLiteral("快速鍵")},
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
