#include "MaskEdit.h"

#include "Questions.h"
#include "Texts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStringList>
#include <QTimer>

#include <algorithm>

TMaskEdit::TMaskEdit(QWidget* parent) : QLineEdit(parent) {}

QString TMaskEdit::QtMask(const QString& editMask) {
    const QStringList parts = editMask.split(QLatin1Char(';'));
    QString pattern = parts.value(0);
    // A leading "!" lines the digits up to the right; Qt's fields have no such setting.
    if (pattern.startsWith(QLatin1Char('!'))) pattern.remove(0, 1);
    const QString blank = parts.size() > 2 && !parts[2].isEmpty() ? parts[2] : QStringLiteral("_");
    static const QString qtMeta = QStringLiteral("AaNnXx90Dd#HhBb><!{}[]\\;");
    QString out;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('0'))
            out += QLatin1Char('9'); // required digit
        else if (c == QLatin1Char('9'))
            out += QLatin1Char('0'); // optional digit
        else if (qtMeta.contains(c))
            out += QLatin1Char('\\') + c; // fixed text that Qt would read as a mask character
        else
            out += c;
    }
    return out + QLatin1Char(';') + blank.at(0);
}

void TMaskEdit::SetEditMask(const QString& editMask) {
    editMask_ = editMask;
    const QString kept = text();
    setInputMask(QtMask(editMask));
    setText(kept);
    before_ = text();
}

void TMaskEdit::SetValue(const QString& text) {
    refusePending_ = false;
    setText(text);
    setModified(false);
    before_ = this->text();
}

int TMaskEdit::FirstMissing() const {
    if (hasAcceptableInput()) return -1;
    // Positions of the Qt mask: a required digit is "9"; "\x" is one fixed character.
    const QString mask = inputMask().section(QLatin1Char(';'), 0, 0);
    const QString shown = displayText();
    int position = 0;
    for (qsizetype i = 0; i < mask.size(); ++i, ++position) {
        if (mask[i] == QLatin1Char('\\')) {
            ++i;
            continue;
        }
        if (mask[i] == QLatin1Char('9') && (position >= shown.size() || !shown[position].isDigit()))
            return position;
    }
    return 0;
}

void TMaskEdit::Refuse() {
    refusePending_ = false;
    QApplication::beep();
    Questions().ShowError(window(), TextOf(txInvalidMaskInput));
    setFocus(Qt::OtherFocusReason);
    deselect();
    setCursorPosition(std::max(FirstMissing(), 0));
}

void TMaskEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Coming back after a refusal, or to the window, keeps the text from before the change.
    if (!isModified()) before_ = text();
}

void TMaskEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Another window taking the focus is no leaving of the field.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (!isModified()) {
        if (Complete()) emit left();
        return;
    }
    if (!Complete()) {
        // Refused once the focus has settled, so that the caret can be put back.
        refusePending_ = true;
        QTimer::singleShot(0, this, [this] {
            // A dialog closed meanwhile has nothing to refuse.
            if (refusePending_ && isEnabled() && isVisible()) Refuse();
        });
        return;
    }
    TakeAsLeft();
    emit left();
}

bool TMaskEdit::TakeAsLeft() {
    if (!isModified()) return true;
    if (!Complete()) {
        Refuse();
        return false;
    }
    setModified(false);
    before_ = text();
    emit exited();
    return true;
}

void TMaskEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isModified()) {
        SetValue(before_);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter acts on the field, not on the dialog's buttons.
        event->accept();
        if (!Complete()) {
            Refuse();
            return;
        }
        TakeAsLeft();
        emit left();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
