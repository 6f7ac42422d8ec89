#include "ShortcutsDialog.h"

#include "Texts.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

TShortcutsDialog::TShortcutsDialog(const QList<QAction*>& commands, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ShortcutsDialog"));
    setWindowTitle(TextOf(txShortcutsTitle));
    auto* inner = new QWidget;
    auto* form = new QFormLayout(inner);
    for (QAction* a : commands) {
        auto* edit = new QKeySequenceEdit(a->shortcut(), inner);
        edit->setObjectName(QStringLiteral("ke") + a->objectName());
        edit->setClearButtonEnabled(true);
        // The menu's "&" marks are no part of the command's name here.
        form->addRow(new QLabel(QString(a->text()).remove(QLatin1Char('&')), inner), edit);
        edits_ << edit;
    }
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("bbButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    resize(420, 480);
}

QList<QKeySequence> TShortcutsDialog::Keys() const {
    QList<QKeySequence> keys;
    for (const QKeySequenceEdit* edit : edits_)
        keys << edit->keySequence();
    return keys;
}
