#pragma once
// The edit window: one entry of one pane at a time, its start, end, duration and text, changed
// with masked digit fields, step buttons, the film's position and a text box, and written back
// as one undoable step on Apply, the later entries following the start when asked. The user
// walks the pane with the previous and next buttons or Alt+arrows; every row change of a pane
// re-targets the window, shown or hidden.
//
// The window keeps a side and an index, never a document: it asks the host for the side's
// document each time it acts, so a document replaced or closed meanwhile is never touched.
//
// Split by concern: EditLayout.cpp builds the controls, Edit.cpp loads, applies and walks,
// EditTimes.cpp shows, reads and steps the times, EditWindow.cpp holds the keys, the window
// settings and the window's own events.
#include "DialogBase.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class PerTitle;
class SubTitle;
class TEditorHost;
class TMaskEdit;
class TUpDown;

class TEditForm : public TDialogBase {
    Q_OBJECT
public:
    // Times the fields can show: 00:00:00,000 to 99:59:59,999.
    static constexpr int32_t kMaxTime = 99 * 3600000 + 59 * 60000 + 59 * 1000 + 999;
    // The window's height grows by this much while the window settings show.
    static constexpr int kSettingsHeight = 50;
    // The inside of the window at design size, the window settings hidden.
    static constexpr QSize kDesignSize{280, 259 - kSettingsHeight};

    explicit TEditForm(TEditorHost* host, QWidget* parent = nullptr);
    // 保持延遲時間: a new start keeps the entry's duration (the main window's F9 asks).
    bool KeepsDuration() const;

    // --- State ---
    int Side = 0;
    int Index = 0;
    // The entry as it was last loaded: the window writes only what differs from it.
    int32_t LoadedStart = 0;
    int32_t LoadedEnd = 0;
    std::string LoadedText;

    // --- Controls, named as their object names ---
    QGroupBox* GroupBox2 = nullptr;
    QCheckBox* cbKeepRelate = nullptr;
    QLabel* Label10 = nullptr;
    QCheckBox* cbKeepDelay = nullptr;
    QLabel* lbDelay = nullptr;
    TMaskEdit* meDelay = nullptr;
    TUpDown* upDelay = nullptr;
    QToolButton* sbPrev = nullptr;
    QToolButton* sbNext = nullptr;
    QLabel* lbStart = nullptr;
    TMaskEdit* meStartHour = nullptr;
    TMaskEdit* meStartMinute = nullptr;
    TMaskEdit* meStartSec = nullptr;
    TMaskEdit* meStartms = nullptr;
    TUpDown* upStartHour = nullptr;
    TUpDown* upStartMinute = nullptr;
    TUpDown* upStartSec = nullptr;
    TUpDown* upStartms = nullptr;
    QToolButton* sbtnGetStart = nullptr;
    QLabel* lbEnd = nullptr;
    TMaskEdit* meEndHour = nullptr;
    TMaskEdit* meEndMinute = nullptr;
    TMaskEdit* meEndSec = nullptr;
    TMaskEdit* meEndms = nullptr;
    TUpDown* upEndHour = nullptr;
    TUpDown* upEndMinute = nullptr;
    TUpDown* upEndSec = nullptr;
    TUpDown* upEndms = nullptr;
    QToolButton* sbtnGetEnd = nullptr;
    QPlainTextEdit* moTitle = nullptr;
    QPushButton* bbtnClose = nullptr;
    QPushButton* bbtnFit = nullptr;
    QPushButton* bbtnUndo = nullptr;
    QCheckBox* cbFit = nullptr;
    QToolButton* sbWindow = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* cbBlend = nullptr;
    QLabel* lbBlendLabel = nullptr;
    QLineEdit* lbBlend = nullptr;
    TUpDown* upBlend = nullptr;
    QToolButton* sbColor = nullptr;
    // The four start fields, then the four end fields, and their spinners in the same order.
    TMaskEdit* TimeField[2][4] = {};
    TUpDown* TimeSpinner[2][4] = {};

    // --- Interface ---
    // The entry index of a side, from a row change or the edit command: loaded unless it is
    // the entry already shown, whose edits not yet applied stay. Another entry applies the
    // edits first while 自動套用 is checked and the window shows (staying when they are
    // refused), and drops them otherwise. Nothing is selected in the pane: the user's own
    // selection made the row change.
    void SetTarget(int side, int index);
    // Loads an entry: the fields, the pane's row selected (and the other pane in step when they
    // are linked), centred in the pane when scroll is asked and the film is not playing.
    void LoadEntry(int index, bool scroll);
    // The time of the start (0) or end (1) fields, in milliseconds, kept within the fields'
    // range; a time outside it shows at the nearest end.
    void ShowTime(int which, int32_t ms);
    int32_t ReadTime(int which) const;
    // The duration field: widened for a duration of 100 s or more, signed when negative.
    void ShowDelay(int32_t ms);
    int32_t ReadDelay() const;

    // The document shown and its entry, or null: without a target, without a document, or with
    // the entry gone.
    const SubTitle* Document() const;
    const PerTitle* Entry() const;

    // --- Handlers ---
    void upStartmsChangingEx(TUpDown* spinner, int direction);
    void upEndmsChangingEx(TUpDown* spinner, int direction);
    void meStartmsExit();
    void meEndmsExit();
    void meDelayExit();
    void cbKeepDelayClick();
    void sbtnGetStartClick(int selector);
    // Writes the window's values as one step, a changed field that still has the focus taken
    // as left first; false, staying on the entry, when a field is incomplete or the document's
    // code page cannot hold the text.
    bool bbtnFitClick();
    void sbPrevClick();
    void sbNextClick();
    void bbtnUndoClick();
    void bbtnCloseClick();
    // Alt+Left or Alt+Up previous, Alt+Right or Alt+Down next; answers whether it acted. The
    // key goes on to the control all the same.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void sbWindowClick();
    void cbBlendClick();
    void upBlendClick();
    void sbColorClick();
    // Shows the window, centred on the main window the first time.
    void ShowWindow();

signals:
    // The window was closed or hidden, by any means.
    void closed();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void BuildSettings();
    void Connect();
    // The fields from the stored entry (the text box left as it is when it shows that text
    // already), or the window without an entry.
    void ShowEntry(bool keepText);
    void ShowNoEntry();
    void UpdateFilmButtons();
    void HostEntriesChanged(int side);
    void HostDocumentReplaced(int side);
    // A start that keeps the end at start + the stored duration inside the fields' range.
    int32_t KeptStart(int32_t start) const;
    void ShowKeptEnd();
    bool FieldsComplete();
    QColor Background() const;
    void SetBackground(const QColor& color);

    TEditorHost* host_;
    bool hasTarget_ = false;
    bool showingEntry_ = false;
    bool settingsShown_ = false;
    bool applying_ = false;
    bool placed_ = false;
    // What the fields showed when the entry was loaded: a field the user left as it was
    // writes the stored value back, also one the fields could not show.
    int32_t shownStart_ = 0;
    int32_t shownEnd_ = 0;
    QString shownText_;
};
