#pragma once
// The text table: the numbered user-interface texts, looked up by number so that a language
// pack can replace them. Every window takes its texts from here.
#include <QList>
#include <QString>

// The text of entry id; empty for an entry the table does not hold.
QString TextOf(int id);
// A language pack's replacement for one entry.
void SetText(int id, const QString& text);
// Back to the built-in texts.
void ResetTexts();
// The built-in text of entry id (empty when the table has no such entry), and every entry number
// the table holds, in increasing order: what a language pack may replace.
QString BuiltInText(int id);
QList<int> TextIds();

// Entry numbers in use.
enum TextId : int {
    txDefaultLcid = 101,
    txAppName = 102,
    txLeftSide = 103, // the side name of side s is txLeftSide + s
    txRightSide = 104,
    txLoadSubtitleFirst = 1001,
    txConfirmDelete = 1002,
    txFindPrompt = 1003,
    txOverlapsRepaired = 1004,
    txRestartForLanguage = 1005,
    txDiscardChanges = 1006,
    txColumnStart = 1007,
    txColumnDuration = 1008,
    txColumnText = 1009,
    txFilmNotOpened = 1010,
    txEditWindow = 2001,
    txUnknownFormat = 3001,
    txNoCombineFile = 3002,
    txFileExists = 4001,
    // The document history and the panes' messages.
    txUndo = 5000,
    txRedo = 5001,
    txStepReplace = 5002,
    txStepReplaceAll = 5003,
    txDeleteCount = 5004,
    txFileMissing = 5005,
    txFileUnreadable = 5006,
    txCannotHoldText = 5007,
    // Files in other code pages and encodings.
    txReopenPrompt = 5500,
    txSaveEncoding = 5501,
    txEncodingAsDocument = 5502,
    txCannotSaveEntry = 5503,
    // Autosave, recovery and backups.
    txRecoveryTitle = 5600,
    txRecoveryNote = 5601,
    txRecoveryFile = 5602,
    txRecoverySide = 5603,
    txRecoveryTime = 5604,
    txRecoveryCount = 5605,
    txRecoveryInto = 5606,
    txRecoveryRestore = 5607,
    txRecoveryDiscard = 5608,
    txRecoveryLater = 5609,
    txBackupFailed = 5610,
    txRecoveryUnreadable = 5611,
    // The font-and-colour chooser.
    txFontColorTitle = 5050,
    txColorLabel = 5051,
    txChooseColor = 5052,
    txOk = 5053,
    txCancel = 5054,
    // The edit window and its masked fields.
    txInvalidMaskInput = 5100,
    txStepEditEntry = 5101,
    // The segment and save-as dialogs, and the messages of the platform they relied on (5204, a
    // second copy of the masked fields' refusal, is no longer used).
    txStepSegment = 5200,
    txDivisionByZero = 5201,
    txInvalidFloatOperation = 5202,
    txNotAFloat = 5203,
    txCannotWrite = 5205,
    // The combine and import dialogs.
    txStepCombine = 5300,
    txStepImport = 5301,
    txEntryCannotBeHeld = 5302,
    txLineCannotBeHeld = 5303,
    // Texts the main window sets as it runs: the film chooser's title, the find box's title and
    // the speed panel.
    txOpenFilmTitle = 5450,
    txFindTitle = 5451,
    txSpeedNormal = 5452,
    txSpeedRate = 5453,
    // Texts not valid in their own code page, and a frame rate that is no rate.
    txEntryNotValid = 6000,
    txSourceEntryNotValid = 6001,
    txSourceLineNotValid = 6002,
    txFrameRateAboveZero = 6003,
    // The steps of the timing keys.
    txStepSetStart = 6150,
    txStepSetEnd = 6151,
    txStepNudge = 6152,
    txStepInsertAtFilm = 6153,
    txShortcutsTitle = 6154,
};
