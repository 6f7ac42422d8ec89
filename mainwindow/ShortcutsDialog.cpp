#include "ShortcutsDialog.h"

#include "Questions.h"
#include "Texts.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QString NameOf(const QAction* a) {
    // The menu's "&" marks are no part of the command's name here.
    return QString(a->text()).remove(QLatin1Char('&'));
}

} // namespace

TShortcutsDialog::TShortcutsDialog(const QList<QAction*>& commands, QWidget* parent,
                                   const QList<QAction*>& others)
    : QDialog(parent), commands_(commands) {
    for (QAction* a : others)
        if (!commands.contains(a)) others_ << a;
    setObjectName(QStringLiteral("ShortcutsDialog"));
    setWindowTitle(TextOf(txShortcutsTitle));
    auto* inner = new QWidget;
    auto* form = new QFormLayout(inner);
    for (QAction* a : commands) {
        auto* edit = new QKeySequenceEdit(a->shortcut(), inner);
        edit->setObjectName(QStringLiteral("ke") + a->objectName());
        edit->setClearButtonEnabled(true);
        form->addRow(new QLabel(NameOf(a), inner), edit);
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

QString TShortcutsDialog::Clash() const {
    const QList<QKeySequence> keys = Keys();
    const auto changed = [&](int i) { return keys[i] != commands_[i]->shortcut(); };
    // The keys the user gave first: the command named is the one that had the key already.
    QList<int> order;
    for (int i = 0; i < keys.size(); ++i)
        if (changed(i)) order << i;
    for (int i = 0; i < keys.size(); ++i)
        if (!changed(i)) order << i;
    for (const int i : order) {
        if (keys[i].isEmpty()) continue;
        const QString key = keys[i].toString(QKeySequence::NativeText);
        for (int j = 0; j < keys.size(); ++j) {
            if (j == i) continue;
            // A command whose key is left as it was keeps its second key too (not shown here).
            const QList<QKeySequence> kept = changed(j) ? QList<QKeySequence>{keys[j]}
                                                        : commands_[j]->shortcuts();
            if (kept.contains(keys[i])) return TextOf(txKeyTaken).arg(key, NameOf(commands_[j]));
        }
        for (const QAction* other : others_)
            if (other->shortcuts().contains(keys[i])) return TextOf(txKeyTaken).arg(key, NameOf(other));
    }
    return QString();
}

void TShortcutsDialog::accept() {
    const QString clash = Clash();
    if (!clash.isEmpty()) {
        Questions().ShowError(this, clash);
        return;
    }
    QDialog::accept();
}
