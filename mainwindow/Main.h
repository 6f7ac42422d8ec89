#pragma once
// TMainForm: the editor's one top-level window and the hub of the program. It owns the two
// panes (each side's document and history), the film player, the timers and every command; the
// editing windows reach it through the editor host it serves.
//
// Split by concern: MainLayout.cpp builds the controls and menus, MainCommands.cpp the command
// table and hints, MainSettings.cpp start, settings and closing, MainPlayback.cpp the film,
// MainCaptions.cpp the captions under it and the repeat ranges, MainPanes.cpp and MainSearch.cpp
// the subtitle panes and their commands.
#include "CaptionStyle.h"
#include "RegionSplitter.h"
#include "Subtitle.h"
#include "SideDocument.h"
#include "SubtitlePane.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QSettings;
class QSlider;
class QSpinBox;
class QSplitter;
class QStatusBar;
class QTableView;
class QTimer;
class QToolBar;
class QToolButton;
class SubTitle;
class TFilmPlayer;
class TKelLabel;
class TKelPanel;
class TAutoSave;
class TEditForm;
class TEditorHost;
class TAboutForm;
class TAdjustForm;
class TRecoveryForm;
class TReplaceDialog;
class TSaveAsForm;
class TCheckForm;
class TCombineForm;
class TImportForm;
class TSegForm;
class TSubHeightDlg;
class TSubtitleGridModel;
class TSoundReader;
class TWaveView;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Makes the film player inside the given video region; tests hand in a double.
    using PlayerFactory = std::function<TFilmPlayer*(QWidget* videoRegion)>;

    explicit TMainForm(PlayerFactory createPlayer = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // What the editing windows may ask of this window.
    TEditorHost* Host() const;
    // The windows made at start-up beside this one, which it launches and reads its settings
    // into; handed over once they exist.
    struct TWindows {
        TAboutForm* About = nullptr;
        TSubHeightDlg* SubHeight = nullptr;
        TSegForm* Seg = nullptr;
        TCombineForm* Combine = nullptr;
        TImportForm* Import = nullptr;
        TSaveAsForm* SaveAs = nullptr;
        TAdjustForm* Adjust = nullptr;
        TRecoveryForm* Recovery = nullptr;
    };
    void SetWindows(const TWindows& windows);
    // The stored sizes of the main and editing windows, which the size dialog edits in place.
    std::array<int, 12>* FormSizeTable() { return &FormSizes; }
    // Offers the copies of runs that did not end cleanly, if any.
    void OfferRecovery();
    // The edit window, made at start-up with the other windows: re-targeted by every row change,
    // shown and hidden by aEditSubtitle, which it unchecks when it closes.
    void SetEditForm(TEditForm* form);

    // Every command, in the order of the command table.
    QList<QAction*> Commands() const { return commands_; }

    // What the command line and the file manager hand over: a film, subtitle files.
    // False (after telling the user) when the player cannot open the film.
    bool FileOpenMovieAccept(const QString& path);
    // Asks for a MicroDVD file's frame rate; the frame-rate dialog in the program, a script in
    // tests. Without one, MicroDVD files are read at 25 frames per second.
    void SetFrameRateQuestion(FrameRateQuestionWithProposal ask) { AskFrameRate = std::move(ask); }
    // Opens a file into a side; false when the side keeps what it had.
    // A chosen code page reads the file in it (a reopen); a MicroDVD file is then read at
    // knownRate without the question.
    bool LoadDocument(int side, const QString& path, std::optional<LegacyPage> chosen = {},
                      std::optional<double> knownRate = {});
    // Opens a subtitle file given on the command line into a side.
    void OpenSubtitleFile(int side, const QString& path);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // No menu of Qt's own for hiding the tool bars: the view commands do that.
    QMenu* createPopupMenu() override;

private:
    friend class TMainHost;      // serves the tools from what follows
    friend class TMainFormProbe; // the tests' window into what follows

    // --- Lifecycle ---
    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void FormDestroy();

    // --- Language ---
    // Loads the pack Lcid names (the texts in force stay without one), Qt's own translations for
    // the language shown, and reads the pack over this window; the dialogs made afterwards read
    // it as they are made.
    void LoadLanguage();

    // --- Settings ---
    void ReadCaptionStyle(QSettings& key, const QString& prefix, TCaptionStyle& style);
    void WriteCaptionStyle(QSettings& key, const QString& prefix, const TCaptionStyle& style);
    void RebuildRecentMenu();
    // Status panel 0 shows the long part of the hint under the mouse.
    void ApplicationHint(const QString& longHint);

    // --- Playback ---
    TFilmPlayer* CreatePlayer();
    void FileOpenMovieExecute();
    void aPlayExecute();
    void aPauseExecute();
    void aStopExecute();
    void aSlowExecute();
    void aForwardExecute();
    void MovieTimerTimer();
    void TrackBarChange(int position);
    void PlayerPlayStateChange(int oldState, int newState);
    // The active document's file name with "*" while it differs from its file, and the film.
    void UpdateWindowTitle();
    // Moves the track bar's thumb without seeking the film.
    void SetTrackBarQuietly(int position);
    // The time readout: the film's moment and its length.
    void ShowFilmTime(double seconds);
    // Usable whenever a film is open, except while a repeat range runs.
    void UpdateTrackBarEnabled();

    // --- Timing keys (MainTiming.cpp) ---
    // The 播放 menu's shortcuts on the grids (and, through the menu bar, the window).
    void AttachTimingKeys();
    void aPlayPauseExecute();
    void SeekBy(double seconds);
    void FrameStep(bool forward);
    // After a seek or a frame step: the track bar, the time readout, the captions, the status
    // panels and the current-row colour show the new moment.
    void FollowSeek();
    void aPlayEntryExecute();
    // F9: the start to the film's moment, keeping the duration while the edit window says so,
    // else the end.
    void SetStartAtFilm();
    // F10, and F11 with next: the end to the film's moment; F11 then goes to the next entry.
    void SetEndAtFilm(bool next);
    void NudgeTime(bool end, int32_t deltaMs);
    // A timing key that would make an entry end before it starts: said, with a beep, and no step.
    void RefuseTiming(int textId, int32_t filmMs);
    void aInsertAtFilmExecute();
    // 快速鍵: the keys of the 播放 menu, stored per user as Keys/<command>.
    void aShortcutsExecute();
    // The stored keys over the defaults, at start.
    void ReadTimingKeys();
    // The side the timing keys work on (the active pane, else the left one) and its current
    // entry; -1 when there is none.
    int TimingSide() const;
    int TimingEntry(int side) const;
    // The film's moment in whole milliseconds.
    int32_t FilmMs() const;

    // --- Panes ---
    // A document takes a side: the pane, the commands, the status panel and the recent files.
    // saved is false for a document brought back from a recovery copy.
    void ShowDocument(int side, std::unique_ptr<SubTitle> doc, bool saved);
    // The side's status panel: format, entry count and code page, after every change.
    void ShowSideStatus(int side);
    // Selects the entry's row, towards the middle of the pane or, without centre, just in view.
    void SelectRow(int side, int index, bool centre = true);
    // Applies a change to a side's document as one undoable step named name; false when it
    // changed nothing. Throws SubtitleError, changing nothing, when it does not fit.
    bool ApplyChange(int side, const QString& name, TChange change);
    // Moves the other pane to the entry starting nearest to the side's entry at index.
    void SyncOpposite(int side, int index);
    void ShowCaptionPanel(int side);
    void sgSubLClick(int side);
    void sgSubLDblClick(int side);
    void sgSubLEnter(int side);
    // Grid rows are 1-based (row r shows entry r - 1); the first row when nothing is selected.
    int SelectionTop(int side) const;
    int SelectionBottom(int side) const;
    // Ctrl+S saves the active pane; answers whether the key was taken.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

    // --- Search and line commands ---
    // Selects the first entry of first..last holding SearchText; says so when none does.
    void FindText(int side, int first, int last);
    // The find and replace dialog's case box; letters match in either case without it.
    bool SearchMatchesCase() const;
    // Replaces in entries first..last as one step, named for replace all or a single replace.
    void ReplaceRange(int first, int last, bool all);
    void ReplaceDialogFind();
    void ReplaceDialogReplace(bool all);

    // --- Commands whose work arrives with later windows ---
    void FileExitExecute();
    void aAboutExecute();
    void aShowSubLExecute(int side);
    void aFontEditLExecute(int side);
    void aColorSelectLExecute(int side);
    void aSubHeightLExecute(int side);
    // False when the side was not saved (the reason told to the user).
    bool aSaveLExecute(int side);
    void aSaveAsLExecute(int side);
    void aOpenSubtitleLExecute(int side);
    void aReopenLExecute(int side);
    void aSyncLExecute();
    void aSyncLRExecute();
    void aSegModifyLExecute(int side);
    void aEditSubtitleExecute();
    void aCombineExecute();
    void aImportExecute();
    void aNewLineExecute();
    void aDelLineExecute();
    void aFindExecute();
    void aFindNextExecute();
    void aReplaceExecute();
    void aCheckTimeExecute();
    void aUndoExecute();
    void aRedoExecute();
    // The undo and redo commands name the active pane's next steps.
    void UpdateUndoCommands();
    void aSecRepeatExecute();
    void aSubRepeatExecute();
    // Stores the chosen language for the next start and says so.
    void aSelCHTExecute(int lcid);
    // The five view commands: each shows or hides its region, the regions keeping their order
    // from the bottom up: status bar, control region, video region, editor region.
    void aViewBarExecute(QAction* command);
    void aAdjustSizeExecute();
    void muF1Click(int index);
    // Chinese conversion and the readability checks (MainChinese.cpp).
    void aChineseLExecute(int side);
    void aCheckLExecute(int side);
    // --- Captions ---
    // evenPaused: once after a seek or a frame step, which the timers do not see while paused.
    void SubTimerLTimer(int side, bool evenPaused = false);
    // The caption for the film's moment, decoded from the side's code page; updates ShownIndex.
    QString CaptionAt(int side);
    void ApplySubtitleStyle(int side);
    // Puts the shown caption panels at the bottom of the video region, the left above the right.
    void StackCaptionPanels();
    // The video region as tall as its share with a film open, else as the caption panels shown.
    void FitVideoRegion();
    // The video region at its share, laid out at once.
    void OpenPictureRoom();
    // The least height of the video region that shows the film at least 135 pixels high over
    // both caption panels as they are styled now.
    int PictureRoomNeeded() const;


    // --- State (sides: 0 left, 1 right) ---
    // Each side's document and history, behind its one owner, and the views over it: grid,
    // title bar, caption panel and their state.
    TSideDocument* Sides[2] = {};
    TSubtitlePane* Pane[2] = {};
    int ActiveSide = -1;
    bool RepeatActive = false;
    double RepeatFrom = 0;
    double RepeatTo = 0;
    // False while the program itself moves the thumb: only the user's moves seek.
    bool TrackFollows = false;
    QString FilmLengthText;
    uint32_t CurrentRowColor = 0xFFCCCC;
    uint32_t ShowingRowColor = 0xFFCCCC; // light blue, stored as a Windows colour
    uint32_t GapRowColor = 0xDFDFDF;
    QString SearchText;
    QString ColumnTitles[5];
    QStringList RecentFiles;
    int Lcid = 1028;
    // Width and height of the main, edit, segment, combine, import and save-as windows.
    std::array<int, 12> FormSizes{};
    TFilmPlayer* Player = nullptr;
    // F8 pauses the film here (seconds); negative while no entry is being played.
    double PlayEntryTo = -1;

    // --- Controls, named as their object names ---
    QMenuBar* MainMenu = nullptr;
    QToolBar* atBarMain = nullptr;
    QWidget* plEditor = nullptr;
    QToolBar* atBarL = nullptr;
    QToolBar* atBarR = nullptr;
    TKelLabel* lbFilenameL = nullptr;
    TKelLabel* lbFilenameR = nullptr;
    QTableView* sgSubL = nullptr;
    QTableView* sgSubR = nullptr;
    QSplitter* SplitterHor = nullptr;
    TRegionSplitter* spUP = nullptr; // keeps the video region's share of the height
    QWidget* plVideo = nullptr;
    TKelPanel* plSubL = nullptr;
    TKelPanel* plSubR = nullptr;
    QWidget* plControl = nullptr;
    QSlider* TrackBar = nullptr;
    QToolBar* ToolBarControl = nullptr;
    QLineEdit* leSecFrom = nullptr;
    QLineEdit* leSecTo = nullptr;
    QLineEdit* leSubFrom = nullptr;
    QLineEdit* leSubTo = nullptr;
    QSpinBox* udSecFrom = nullptr;
    QSpinBox* udSecTo = nullptr;
    QSpinBox* udSubFrom = nullptr;
    QSpinBox* udSubTo = nullptr;
    QToolButton* sbSecRepeat = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* Panels[5] = {};
    // The film's sound under the picture (MainWave.cpp): spWave divides the height between the
    // regions above and plWave, which holds the waveform view.
    QSplitter* spWave = nullptr;
    QWidget* plWave = nullptr;
    TWaveView* wvAudio = nullptr;
    QAction* aWaveBar = nullptr;
    QToolButton* sbStopReading = nullptr;
    TSoundReader* SoundReader = nullptr;
    // Puts the regions and plWave into spWave (answered, for the central layout); the view
    // itself comes once the host is there. A film opened starts the reading of its sound.
    QSplitter* BuildWave(QWidget* regions);
    void BuildWaveView();
    void WaveFilmOpened(const QString& path);
    void WavePlayStretch(int64_t fromMs, int64_t toMs);
    QMenu* popMenu = nullptr;
    QAction* muF1 = nullptr;
    QAction* muF2 = nullptr;
    QAction* muF3 = nullptr;
    QAction* muF4 = nullptr;
    QAction* muLine = nullptr;

    QTimer* MovieTimer = nullptr;
    QTimer* SubTimerL = nullptr;
    QTimer* SubTimerR = nullptr;

    // --- Commands ---
    QAction* FileOpenMovie = nullptr;
    QAction* FileExit = nullptr;
    QAction* aAbout = nullptr;
    QAction* aShowSubL = nullptr;
    QAction* aShowSubR = nullptr;
    QAction* aFontEditL = nullptr;
    QAction* aFontEditR = nullptr;
    QAction* aColorSelectL = nullptr;
    QAction* aColorSelectR = nullptr;
    QAction* aPlay = nullptr;
    QAction* aPause = nullptr;
    QAction* aStop = nullptr;
    QAction* aSecRepeat = nullptr;
    QAction* aSubRepeat = nullptr;
    QAction* aForward = nullptr;
    QAction* aSlow = nullptr;
    QAction* aSelCHT = nullptr;
    QAction* aSelCHS = nullptr;
    QAction* aSelENU = nullptr;
    QAction* aSubHeightL = nullptr;
    QAction* aSubHeightR = nullptr;
    QAction* aSaveL = nullptr;
    QAction* aSaveR = nullptr;
    QAction* aOpenSubtitleL = nullptr;
    QAction* aOpenSubtitleR = nullptr;
    QAction* aSyncLR = nullptr;
    QAction* aSyncL = nullptr;
    QAction* aSyncR = nullptr;
    QAction* aEditSubtitle = nullptr;
    QAction* aSegModifyL = nullptr;
    QAction* aSegModifyR = nullptr;
    QAction* aCombine = nullptr;
    QAction* aNewLine = nullptr;
    QAction* aDelLine = nullptr;
    QAction* aReplace = nullptr;
    QAction* aFind = nullptr;
    QAction* aFindNext = nullptr;
    QAction* aCheckTime = nullptr;
    QAction* aImport = nullptr;
    QAction* aSaveAsL = nullptr;
    QAction* aSaveAsR = nullptr;
    QAction* aToolBar = nullptr;
    QAction* aEditorBar = nullptr;
    QAction* aVideoBar = nullptr;
    QAction* aControlBar = nullptr;
    QAction* aStatusBar = nullptr;
    QAction* aAdjustSize = nullptr;
    QAction* aUndo = nullptr;
    QAction* aRedo = nullptr;
    // Reading a side's file again in another code page.
    QAction* aReopenL = nullptr;
    QAction* aReopenR = nullptr;
    // Converting between Simplified and Traditional Chinese, checking what a viewer can read.
    QAction* aChineseL = nullptr;
    QAction* aChineseR = nullptr;
    QAction* aCheckL = nullptr;
    QAction* aCheckR = nullptr;
    QPointer<TCheckForm> CheckForms[2];
    // The 播放 menu's film and timing commands.
    QAction* aPlayPause = nullptr;
    QAction* aSeekBack = nullptr;
    QAction* aSeekForward = nullptr;
    QAction* aSeekBack5 = nullptr;
    QAction* aSeekForward5 = nullptr;
    QAction* aFrameBack = nullptr;
    QAction* aFrameForward = nullptr;
    QAction* aPlayEntry = nullptr;
    QAction* aSetStart = nullptr;
    QAction* aSetEnd = nullptr;
    QAction* aSetEndNext = nullptr;
    QAction* aStartBack = nullptr;
    QAction* aStartForward = nullptr;
    QAction* aEndBack = nullptr;
    QAction* aEndForward = nullptr;
    QAction* aStartBack100 = nullptr;
    QAction* aStartForward100 = nullptr;
    QAction* aEndBack100 = nullptr;
    QAction* aEndForward100 = nullptr;
    QAction* aInsertAtFilm = nullptr;
    QList<QAction*> TimingCommands;
    QAction* aShortcuts = nullptr;
    QActionGroup* RepeatGroup = nullptr;   // group 1: aSecRepeat, aSubRepeat
    QActionGroup* LanguageGroup = nullptr; // aSelCHT, aSelCHS, aSelENU: one checked at most

    // Per-side commands of the pairs above (the widgets of a side are its pane's).
    QAction* ShowAction[2] = {};
    QAction* SaveAction[2] = {};
    QAction* SaveAsAction[2] = {};
    QAction* ReopenAction[2] = {};
    QAction* SyncAction[2] = {};
    QAction* FontAction[2] = {};
    QAction* ColorAction[2] = {};
    QAction* RecentMenu[4] = {};

    TReplaceDialog* ReplaceDialog = nullptr; // the modeless replace dialog, made on first use
    // The modal editing dialogs, made and owned at start-up; null until handed over.
    TSegForm* SegForm = nullptr;
    TCombineForm* CombineForm = nullptr;
    TImportForm* ImportForm = nullptr;
    TSaveAsForm* SaveAsForm = nullptr;
    TAboutForm* AboutForm = nullptr;
    TSubHeightDlg* SubHeightDlg = nullptr;
    TAdjustForm* AdjustForm = nullptr;
    // Copies of changed documents for recovery after a crash, and backups before overwriting.
    TAutoSave* AutoSaver = nullptr;
    // The window that offers work a crashed run left behind (made with the other windows).
    TRecoveryForm* RecoveryForm = nullptr;
    QPointer<TEditForm> EditForm;
    FrameRateQuestionWithProposal AskFrameRate;
    // AskFrameRate, proposing the open film's rate for a file that states none; empty without it.
    FrameRateQuestionWithProposal FilmRateQuestion();

    void BuildCommands();
    void BuildChineseCommands();
    void AddChineseCommands(QMenu* menu, int side);
    void AddChinesePopup(QMenu* popup);
    // A command named from the text table is named again from it once the pack is read (a pack
    // keys commands by object name; these take the table's entry instead).
    static void NameFromTable(QAction* command, int textId);
    void RenameFromTable();
    void BuildMenus();
    void BuildLayout();
    void BuildStatusBar();
    QAction* NewCommand(QAction*& field, const char* name, const QString& caption,
                        const char* category, const QString& hint);

    PlayerFactory createPlayer_;
    QList<QAction*> commands_;
    void BuildPanes();
    void MakePanes();
    // The legacy code page that goes with the chosen language: GBK for Simplified Chinese, Big5
    // otherwise.
    int LanguagePage() const;
    // Whether the side may let go of its document: unchanged, or the user says so.
    bool AllowDiscard(int side);
    // The side whose pane shows a document and is active, or -1.
    int ActiveDocumentSide() const;
    // Text typed by the user, in the document's code page; nothing (after saying so) when the
    // code page cannot hold it.
    std::optional<std::string> Encode(int side, const QString& text);

    // A first start, nothing stored: the window opens large enough to show the film.
    void FirstStartSize();
    // The video region's first share of the height: room for a useful picture and the panes.
    double FirstVideoShare() const;

    TEditorHost* host_ = nullptr;
    // The language the program started with: in force until the next start, whatever is chosen.
    int lcidInForce_ = 1028;
    // What the settings held at start: the main window's size, the video region's share.
    bool storedMainSize_ = false;
    bool storedVideoShare_ = false;
    bool firstShowDone_ = false;
    // The sound region: its stored height, the end of a stretch being played.
    void ShowWave();
    void EndWaveReading();
    int waveHeight_ = 120;
    double stretchEnd_ = 0;
    QTimer* stretchTimer_ = nullptr;
    bool destroyed_ = false;
};

// The one main window, once it exists (null before and after).
TMainForm* MainForm();

// The settings store: per user, organisation "Kestrow Group.", application "Velitra".
std::unique_ptr<QSettings> OpenSettings();
