#pragma once
// The combine dialog: copies all or a numbered stretch of another source's entries (the other
// pane's document or a subtitle file) into one pane's document, at its front, at its rear or
// before a given entry. With automatic re-timing the copies are spliced into the document's
// timeline and the entries after them move along; without it every entry keeps its times. OK is
// one step in the side's history; the other pane's document and the file are never changed.
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

class TCombineForm : public TDialogBase {
    Q_OBJECT
public:
    explicit TCombineForm(TEditorHost* host, QWidget* parent = nullptr);

    // The pane the entries go into, its document, and the other pane's document (null when it
    // holds none); nothing replaces them while the dialog runs.
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
    QToolButton* sbtnSubFile = nullptr;

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
    QRadioButton* rbtnInsertFront = nullptr;
    QRadioButton* rbtnInsertRear = nullptr;
    QRadioButton* rbtnInsertPos = nullptr;
    QLabel* leInsertPosLabel = nullptr;
    TNumberSpin* upInsertPos = nullptr;
    QLineEdit* leInsertPos = nullptr;

    QGroupBox* GroupBox4 = nullptr;
    QCheckBox* cbAutoAdjust = nullptr;

    QPushButton* bbtnOk = nullptr;
    QPushButton* bbtnCancel = nullptr;

    // The chooser's filter.
    static const QString OpenFilter;

    // The other pane's name on the first radio button, the insert position over the target, the
    // source: the other pane when it has a document, else the file; then the range refresh.
    void SetTarget(int side, const SubTitle* target, const SubTitle* opposite);
    // The range boxes over the chosen source (the whole of it), then the enabled states.
    void RangeRefresh();
    void UpdateEnabled();
    // The file chooser: a file that gives no document leaves the previous choice.
    void sbtnSubFileClick();
    // OK: the copies as one step; a missing or unreadable file, or a text the target cannot
    // hold, leaves the dialog open with nothing changed.
    void bbtnOkClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The range group's controls, for the builder and the enabled states.
    TRangeGroup Range();
    QPointer<TEditorHost> host_;
};
