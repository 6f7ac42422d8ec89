#include "ReplaceDialog.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* NewButton(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

TReplaceDialog::TReplaceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReplaceDialog"));
    setWindowTitle(QStringLiteral("取代"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);
    setFont(QFont(QStringLiteral("新細明體"), 9));

    edFind = new QLineEdit(this);
    edFind->setObjectName(QStringLiteral("edFind"));
    edFind->setMinimumWidth(180);
    lbFind = new QLabel(QStringLiteral("尋找(&N):"), this);
    lbFind->setObjectName(QStringLiteral("lbFind"));
    lbFind->setBuddy(edFind);

    edReplace = new QLineEdit(this);
    edReplace->setObjectName(QStringLiteral("edReplace"));
    edReplace->setMinimumWidth(180);
    lbReplace = new QLabel(QStringLiteral("取代為(&P):"), this);
    lbReplace->setObjectName(QStringLiteral("lbReplace"));
    lbReplace->setBuddy(edReplace);

    cbMatchCase = new QCheckBox(QStringLiteral("大小寫須相符(&C)"), this);
    cbMatchCase->setObjectName(QStringLiteral("cbMatchCase"));

    bbtnFindNext = NewButton("bbtnFindNext", QStringLiteral("找下一個(&F)"), this);
    bbtnReplace = NewButton("bbtnReplace", QStringLiteral("取代(&R)"), this);
    bbtnReplaceAll = NewButton("bbtnReplaceAll", QStringLiteral("全部取代(&A)"), this);
    bbtnClose = NewButton("bbtnClose", QStringLiteral("關閉"), this);
    // Enter in either field finds the next match, as in the platform's own dialog.
    bbtnFindNext->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addWidget(lbFind, 0, 0);
    fields->addWidget(edFind, 0, 1);
    fields->addWidget(lbReplace, 1, 0);
    fields->addWidget(edReplace, 1, 1);
    fields->addWidget(cbMatchCase, 2, 0, 1, 2);
    fields->setRowStretch(3, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(bbtnFindNext);
    buttons->addWidget(bbtnReplace);
    buttons->addWidget(bbtnReplaceAll);
    buttons->addWidget(bbtnClose);
    buttons->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->addLayout(fields, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(edFind, edReplace);
    setTabOrder(edReplace, cbMatchCase);
    setTabOrder(cbMatchCase, bbtnFindNext);
    setTabOrder(bbtnFindNext, bbtnReplace);
    setTabOrder(bbtnReplace, bbtnReplaceAll);
    setTabOrder(bbtnReplaceAll, bbtnClose);

    connect(bbtnFindNext, &QPushButton::clicked, this, &TReplaceDialog::findNextRequested);
    connect(bbtnReplace, &QPushButton::clicked, this, &TReplaceDialog::replaceRequested);
    connect(bbtnReplaceAll, &QPushButton::clicked, this, &TReplaceDialog::replaceAllRequested);
    // Closing only hides: the dialog lives for the whole run and keeps its texts.
    connect(bbtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(edFind, &QLineEdit::textChanged, this, &TReplaceDialog::UpdateButtons);
    UpdateButtons();
}

QString TReplaceDialog::FindText() const {
    return edFind->text();
}

QString TReplaceDialog::ReplaceText() const {
    return edReplace->text();
}

bool TReplaceDialog::MatchCase() const {
    return cbMatchCase->isChecked();
}

void TReplaceDialog::SetFindText(const QString& text) {
    edFind->setText(text);
}

void TReplaceDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Ready to type over the last search.
    edFind->setFocus();
    edFind->selectAll();
}

// Nothing to find means nothing to do, so the three buttons wait for a find text.
void TReplaceDialog::UpdateButtons() {
    const bool any = !edFind->text().isEmpty();
    bbtnFindNext->setEnabled(any);
    bbtnReplace->setEnabled(any);
    bbtnReplaceAll->setEnabled(any);
}
