#include "RecoveryForm.h"

#include "Texts.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

TRecoveryForm::TRecoveryForm(QWidget* parent)
    : TDialogBase(parent, "RecoveryForm", TextOf(txRecoveryTitle), QSize(560, 300)) {
    lbNote = Place(new QLabel(TextOf(txRecoveryNote), this), "lbNote", QRect(12, 10, 536, 20));
    lvCopies = Place(new QTreeWidget(this), "lvCopies", QRect(12, 34, 536, 190));
    lvCopies->setRootIsDecorated(false);
    lvCopies->setHeaderLabels({TextOf(txRecoveryFile), TextOf(txRecoverySide),
                               TextOf(txRecoveryTime), TextOf(txRecoveryCount)});
    lvCopies->header()->setStretchLastSection(false);
    lvCopies->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lbSide = Place(new QLabel(TextOf(txRecoveryInto), this), "lbSide", QRect(12, 238, 70, 22));
    cbSide = Place(new QComboBox(this), "cbSide", QRect(84, 236, 110, 24));
    cbSide->addItems({TextOf(txLeftSide), TextOf(txRightSide)});
    bbtnRestore = Place(new QPushButton(TextOf(txRecoveryRestore), this), "bbtnRestore",
                        QRect(204, 236, 100, 26));
    bbtnDiscard = Place(new QPushButton(TextOf(txRecoveryDiscard), this), "bbtnDiscard",
                        QRect(312, 236, 100, 26));
    bbtnLater = Place(new QPushButton(TextOf(txRecoveryLater), this), "bbtnLater",
                      QRect(448, 266, 100, 26));
    bbtnRestore->setDefault(true);
    connect(lvCopies, &QTreeWidget::currentItemChanged, this, [this] { lvCopiesChange(); });
    connect(bbtnRestore, &QPushButton::clicked, this, [this] { bbtnRestoreClick(); });
    connect(bbtnDiscard, &QPushButton::clicked, this, [this] { bbtnDiscardClick(); });
    connect(bbtnLater, &QPushButton::clicked, this, &QDialog::reject);
    ApplyLanguage();
}

void TRecoveryForm::SetCopies(const QList<TCopy>& copies) {
    lvCopies->clear();
    indexes_.clear();
    for (int i = 0; i < copies.size(); ++i) {
        const TCopy& copy = copies[i];
        auto* item =
            new QTreeWidgetItem(lvCopies, {copy.FileName, TextOf(txLeftSide + (copy.Side ? 1 : 0)),
                                           QLocale().toString(copy.SavedAt, QLocale::ShortFormat),
                                           QString::number(copy.Count)});
        item->setData(0, Qt::UserRole, copy.Side ? 1 : 0);
        item->setToolTip(0, copy.FileName);
        indexes_ << i;
    }
    for (int column = 1; column < 4; ++column)
        lvCopies->resizeColumnToContents(column);
    if (lvCopies->topLevelItemCount() > 0) lvCopies->setCurrentItem(lvCopies->topLevelItem(0));
    lvCopiesChange();
}

int TRecoveryForm::Remaining() const {
    return lvCopies->topLevelItemCount();
}

void TRecoveryForm::lvCopiesChange() {
    const QTreeWidgetItem* item = lvCopies->currentItem();
    bbtnRestore->setEnabled(item != nullptr);
    bbtnDiscard->setEnabled(item != nullptr);
    cbSide->setEnabled(item != nullptr);
    if (item) cbSide->setCurrentIndex(item->data(0, Qt::UserRole).toInt());
}

void TRecoveryForm::TakeOut(int row) {
    delete lvCopies->takeTopLevelItem(row);
    indexes_.removeAt(row);
    lvCopiesChange();
    // Nothing left to choose: the window has done its work.
    if (Remaining() == 0) accept();
}

void TRecoveryForm::bbtnRestoreClick() {
    const int row = lvCopies->indexOfTopLevelItem(lvCopies->currentItem());
    if (row < 0 || !Restore) return;
    if (Restore(indexes_[row], cbSide->currentIndex())) TakeOut(row);
}

void TRecoveryForm::bbtnDiscardClick() {
    const int row = lvCopies->indexOfTopLevelItem(lvCopies->currentItem());
    if (row < 0) return;
    if (Discard) Discard(indexes_[row]);
    TakeOut(row);
}
