#pragma once
// The import dialog: overwrites the times and/or texts of a numbered stretch of one pane's
// entries with those of another source, entry by entry, without inserting or removing any. The
// source is the other pane's document, a subtitle file (.srt, .sub) or a text file (.txt, .csv)
// poured in one paragraph per entry. OK is one step in the side's history; the other pane's
// document and the file are never changed.
#include "DialogBase.h"
#include "SourceFile.h"

#include <QPointer>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class SubTitle;
class TEditorHost;
struct TRangeGroup;
class TNumberSpin;

class TImportForm : public TDialogBase {
    Q_OBJECT
public:
    explicit TImportForm(TEditorHost* host, QWidget* parent = nullptr);

    // The pane whose entries are overwritten, its document, and the other pane's document (null
    // when it holds none); nothing replaces them while the dialog runs.
    int Side = 0;
    const SubTitle* Document = nullptr;
    const SubTitle* Opposite = nullptr;
    // How a chosen file is read; the main window hands its own before each run.
    TSourceReading Reading;
    // Entries of the last subtitle file chosen; 1 before any.
    int FileCount = 1;

    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* rbtnOpposite = nullptr;
    QRadioButton* rbtnSubFile = nullptr;
    QLineEdit* etSubFile = nullptr;
    QToolButton* sbtnFile = nullptr;

    QGroupBox* GroupBox5 = nullptr;
    QCheckBox* cbTimeStamp = nullptr;
    QCheckBox* cbTitle = nullptr;

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
    QLabel* leImStartNoLabel = nullptr;
    TNumberSpin* upImStartNo = nullptr;
    QLineEdit* leImStartNo = nullptr;
    QLabel* leImEndNoLabel = nullptr;
    TNumberSpin* upImEndNo = nullptr;
    QLineEdit* leImEndNo = nullptr;
    QLabel* lbImNote = nullptr;

    QPushButton* bbtnOk = nullptr;
    QPushButton* bbtnCancel = nullptr;

    // The chooser's filter.
    static const QString OpenFilter;

    // The other pane's name on the first radio button, the target range over the whole target,
    // the source: the other pane when it has a document, else the file; then the refresh.
    void SetTarget(int side, const SubTitle* target, const SubTitle* opposite);
    // The source range over a subtitle source; a text file has no times and is read from its
    // start; then the enabled states.
    void Refresh();
    void UpdateEnabled();
    // The file chooser: a subtitle file that gives no document leaves the previous choice; any
    // other file is taken as chosen (OK decides).
    void sbtnFileClick();
    // OK: the copying as one step; a missing file, a file of another kind, or a text the
    // target cannot hold leaves the dialog open with nothing changed.
    void bbtnOkClick();

private:
    // The range group's controls, for the builder and the enabled states.
    TRangeGroup Range();
    QPointer<TEditorHost> host_;
};
