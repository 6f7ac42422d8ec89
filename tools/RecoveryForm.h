#pragma once
// The window that offers work left by a run that did not end cleanly: each copy's file, side,
// time and entry count; the user restores a copy into a side (its own side by default) or
// discards it, and what is left unchosen is offered again at the next start.
#include "DialogBase.h"

#include <QDateTime>
#include <QList>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

class TRecoveryForm : public TDialogBase {
    Q_OBJECT
public:
    struct TCopy {
        QString FileName;
        int Side = 0;
        QDateTime SavedAt;
        int Count = 0;
    };

    explicit TRecoveryForm(QWidget* parent = nullptr);

    // The copies to offer; the first is chosen, its own side proposed.
    void SetCopies(const QList<TCopy>& copies);
    int Remaining() const;

    // What the buttons do to the chosen copy (its index in SetCopies' list); a restore that
    // answers false (the user kept the side's document) leaves the copy offered.
    std::function<bool(int copy, int side)> Restore;
    std::function<void(int copy)> Discard;

    QLabel* lbNote = nullptr;
    QTreeWidget* lvCopies = nullptr;
    QLabel* lbSide = nullptr;
    QComboBox* cbSide = nullptr;
    QPushButton* bbtnRestore = nullptr;
    QPushButton* bbtnDiscard = nullptr;
    QPushButton* bbtnLater = nullptr;

    void bbtnRestoreClick();
    void bbtnDiscardClick();
    void lvCopiesChange();

private:
    void TakeOut(int row);
    QList<int> indexes_; // row -> index in the list handed in
};
