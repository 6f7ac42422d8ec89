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
    // WebVTT and ASS/SSA.
    txLineKeptAsIs = 5800,
    txTagsDropped = 5801,
    txMoreLinesKept = 5802,
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
    // Chinese conversion and the readability checks.
    txChineseTitle = 5900,
    txStepChinese = 5901,
    txChineseDirection = 5902,
    txChineseS2twp = 5903,
    txChineseS2t = 5904,
    txChineseS2hk = 5905,
    txChineseT2s = 5906,
    txChineseTw2sp = 5907,
    txChineseHk2s = 5908,
    txChineseStretch = 5909,
    txChineseSelected = 5910,
    txChineseAll = 5911,
    txChinesePreview = 5912,
    txChineseBefore = 5913,
    txChineseAfter = 5914,
    txChineseNumber = 5915,
    txChineseUnfit = 5916,
    txChineseMissing = 5917,
    txChineseProgress = 5918,
    txChineseNoChange = 5919,
    txCheckTitle = 5920,
    txCheckNumber = 5921,
    txCheckKind = 5922,
    txCheckWhat = 5923,
    txCheckValue = 5924,
    txCheckStartAfterEnd = 5925,
    txCheckOutOfOrder = 5926,
    txCheckOverlap = 5927,
    txCheckGap = 5928,
    txCheckTooShort = 5929,
    txCheckTooLong = 5930,
    txCheckSpeed = 5931,
    txCheckLineTooLong = 5932,
    txCheckTooManyLines = 5933,
    txCheckEmpty = 5934,
    txCheckWhyStartAfterEnd = 5935,
    txCheckWhyOutOfOrder = 5936,
    txCheckWhyOverlap = 5937,
    txCheckWhyGap = 5938,
    txCheckWhyTooShort = 5939,
    txCheckWhyTooLong = 5940,
    txCheckWhySpeed = 5941,
    txCheckWhyLineTooLong = 5942,
    txCheckWhyTooManyLines = 5943,
    txCheckWhyEmpty = 5944,
    txCheckMinDuration = 5945,
    txCheckMaxDuration = 5946,
    txCheckCjkSpeed = 5947,
    txCheckOtherSpeed = 5948,
    txCheckMaxColumns = 5949,
    txCheckMaxLines = 5950,
    txCheckMinGap = 5951,
    txCheckLimits = 5952,
    txCheckExtend = 5953,
    txCheckShorten = 5954,
    txCheckRemoveEmpty = 5955,
    txCheckClose = 5956,
    txCheckCount = 5957,
    txCheckMs = 5958,
    txCheckCps = 5959,
    txCheckColumns = 5960,
    txCheckLines = 5961,
    txChineseRecodeTo = 5962,
    // Closing with changes, Save As's file name and line ends, and the find that found nothing.
    txSaveChangesOf = 6200,
    txNeedFileName = 6201,
    txNothingFound = 6202,
    txSaveLineEnd = 6203,
    txLineEndAsDocument = 6204,
    txLineEndLf = 6205,
    txLineEndCrLf = 6206,
    // The waveform view: its step in the history, its context menu, and the reading's progress.
    txStepAdjustTime = 5700,
    txPlayStretch = 5701,
    txShowSpectrum = 5702,
    txSnap = 5703,
    txReadingSound = 5704,
    txStopReading = 5705,
    txWaveBar = 5706,
    // The steps of the timing keys.
    txStepSetStart = 6150,
    txStepSetEnd = 6151,
    txStepNudge = 6152,
    txStepInsertAtFilm = 6153,
    txShortcutsTitle = 6154,
};
