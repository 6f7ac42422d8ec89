#pragma once
// The save-as dialog: all or a numbered stretch of one pane's document written to a new file as
// SubRip, MicroDVD, SubViewer, WebVTT, ASS or SSA, on the way renumbered, moved to a new start, converted to
// frames, centred, and without blank entries, through the same writing velitra-convert uses. The
// document itself is not changed: its name, format, entries and modified mark stay.
#include "DialogBase.h"
#include "FormatData.h"

#include <QPointer>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class SubTitle;
class TEditorHost;
struct TRangeGroup;
class TMaskEdit;
class TNumberSpin;
class TUpDown;
class TTimeParts;
struct SaveAsOptions;

class TSaveAsForm : public TDialogBase {
    Q_OBJECT
public:
    // The host keeps a backup of a file before the dialog replaces it.
    explicit TSaveAsForm(TEditorHost* host, QWidget* parent = nullptr);

    // The pane's document, which nothing replaces while the dialog runs.
    const SubTitle* Document = nullptr;

    QGroupBox* GroupBox1 = nullptr;
    QLabel* lbFormat = nullptr;
    QRadioButton* rbtnSubRip = nullptr;
    QRadioButton* rbtnMicroDVD = nullptr;
    QRadioButton* rbtnSubviewer = nullptr;
    QRadioButton* rbtnWebVTT = nullptr;
    QRadioButton* rbtnASS = nullptr;
    QRadioButton* rbtnSSA = nullptr;
    QLabel* leSubFileLabel = nullptr;
    QLineEdit* leSubFile = nullptr;
    QToolButton* sbtnSaveFile = nullptr;

    QGroupBox* GroupBox2 = nullptr;
    QRadioButton* rbtnSelectAll = nullptr;
    QRadioButton* rbtnSelectRange = nullptr;
    QLabel* leStartNoLabel = nullptr;
    TNumberSpin* upStartNo = nullptr;
    QLineEdit* leStartNo = nullptr;
    QLabel* leEndNoLabel = nullptr;
    TNumberSpin* upEndNo = nullptr;
    QLineEdit* leEndNo = nullptr;

    QGroupBox* GroupBox3 = nullptr;
    QCheckBox* cbReNo = nullptr;
    QLabel* leSaveNoLabel = nullptr;
    TNumberSpin* upSaveNo = nullptr;
    QLineEdit* leSaveNo = nullptr;
    QCheckBox* cbReTime = nullptr;
    TTimeParts* StartTime = nullptr;
    TMaskEdit *meStartHour = nullptr, *meStartMinute = nullptr, *meStartSec = nullptr,
              *meStartms = nullptr;
    TUpDown *upStartHour = nullptr, *upStartMinute = nullptr, *upStartSec = nullptr,
            *upStartms = nullptr;
    QCheckBox* cbDelEmpty = nullptr;
    // The line ends: the document's own (item 0), LF, CR LF.
    QLabel* lbLineEnd = nullptr;
    QComboBox* cbLineEnd = nullptr;
    QCheckBox* cbPad = nullptr;
    QLabel* lbFrame = nullptr;
    QComboBox* cbFrame = nullptr;
    // The file's encoding: the document's own first, then OutputEncodings' in their order.
    QLabel* lbEncoding = nullptr;
    QComboBox* cbEncoding = nullptr;

    QPushButton* bbtnOk = nullptr;
    QPushButton* bbtnCancel = nullptr;

    // The chooser's filter: SubRip, MicroDVD, Subviewer, WebVTT, ASS, SSA, all files, in this
    // order, each entry at the index of its format.
    static const QString SaveFilter;

    // The picture size and the caption's font and colour a document written as ASS or SSA from
    // another format takes for its head: SetTarget asks the editor for those of the document's
    // side (by default 384 x 288, Arial 20, white).
    TAssStyle AssStyle;

    // Ranges over the whole document, the new start at its first entry, the document's frame
    // rate; then the format rule. The path and the options stay from the last use.
    void SetTarget(const SubTitle* document);
    // The chosen format (FormatSubRip .. FormatSSA), and its button.
    int32_t Format() const;
    QRadioButton* FormatButton(int32_t format) const;
    // Renumbering and the frame rate with SubRip and MicroDVD only, centring with SubViewer
    // only; then the enabled states that follow from the boxes.
    void FormatRule();
    void UpdateEnabled();
    // The file chooser: its filter entry sets the format; the path is used as chosen.
    void sbtnSaveFileClick();
    // The new start fields show the start of entry upStartNo.
    void ShowStartOfFirst();
    // OK: the checks, each of which leaves the dialog open with nothing written, then the file;
    // style tags the format could not take are told after it was written.
    void bbtnOkClick();
    // What OK hands the writing, once the frame rate is known.
    SaveAsOptions Options(double frameRate) const;

private:
    // The range group's controls, for the builder and the enabled states.
    TRangeGroup Range();
    void Step(int delta);

    QPointer<TEditorHost> host_;
};
