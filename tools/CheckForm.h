#pragma once
// The check window: one side's readability problems in a list, one row each (entry number, kind,
// what is wrong, the value), sorted by entry. The list is a model over the results, so a hundred
// thousand problems cost no widgets. A double-click selects the entry in its pane; the list
// follows every change of the side; the limits are set here and kept per user; the fixes are
// steps over the entries chosen in the list (every listed one when none is chosen).
#include "Checks.h"
#include "DialogBase.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

#include <vector>

class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class TEditorHost;

class TCheckModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColumnNumber, ColumnKind, ColumnWhat, ColumnValue, ColumnCount };
    using QAbstractTableModel::QAbstractTableModel;

    void SetProblems(std::vector<TCheckProblem> problems);
    const std::vector<TCheckProblem>& Problems() const { return problems_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<TCheckProblem> problems_;
};

class TCheckForm : public TDialogBase {
    Q_OBJECT
public:
    explicit TCheckForm(TEditorHost* host, QWidget* parent = nullptr);

    int Side = 0;

    QGroupBox* gbLimits = nullptr;
    QLabel *lbMinDuration = nullptr, *lbMaxDuration = nullptr, *lbCjkSpeed = nullptr,
           *lbOtherSpeed = nullptr, *lbMaxColumns = nullptr, *lbMaxLines = nullptr,
           *lbMinGap = nullptr;
    QSpinBox *spMinDuration = nullptr, *spMaxDuration = nullptr, *spMaxColumns = nullptr,
             *spMaxLines = nullptr, *spMinGap = nullptr;
    QDoubleSpinBox *spCjkSpeed = nullptr, *spOtherSpeed = nullptr;
    QTableView* lvProblems = nullptr;
    QLabel* lbCount = nullptr;
    QPushButton *btnExtend = nullptr, *btnShorten = nullptr, *btnRemoveEmpty = nullptr,
                *btnClose = nullptr;
    TCheckModel* Model = nullptr;

    // Checks the side's document now and whenever it changes.
    void SetTarget(int side);
    void Recheck();
    TCheckLimits Limits() const;
    // The limits shown (and kept for the next time).
    void SetLimits(const TCheckLimits& limits);
    // The entries of the rows chosen, or of every row when none is.
    std::vector<int> ChosenEntries() const;
    void btnExtendClick();
    void btnShortenClick();
    void btnRemoveEmptyClick();
    void lvProblemsDoubleClick(const QModelIndex& index);

    // The limits kept for the user, the defaults where none are kept.
    static TCheckLimits StoredLimits();
    static void StoreLimits(const TCheckLimits& limits);

signals:
    // The user set other limits (they are stored already).
    void limitsChanged(const TCheckLimits& limits);

private:
    void Fix(int stepText, TChange change);
    void LimitsEdited();

    QPointer<TEditorHost> host_;
    bool showing_ = false; // the limits are being put into the boxes
};
