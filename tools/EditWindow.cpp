// The edit window as a window: what each control is wired to, the keys it sees before its
// controls, undo and redo of its side, the window settings, and showing and closing.
#include "Edit.h"

#include "EditorHost.h"
#include "MaskEdit.h"
#include "Questions.h"
#include "UpDown.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>

void TEditForm::Connect() {
    for (int which = 0; which < 2; ++which) {
        for (int k = 0; k < 4; ++k) {
            TUpDown* spinner = TimeSpinner[which][k];
            connect(spinner, &TUpDown::clicked, this, [this, which, spinner](int direction) {
                if (which == 0)
                    upStartmsChangingEx(spinner, direction);
                else
                    upEndmsChangingEx(spinner, direction);
            });
            connect(TimeField[which][k], &TMaskEdit::exited, this,
                    [this, which] { which == 0 ? meStartmsExit() : meEndmsExit(); });
        }
    }
    connect(upDelay, &TUpDown::clicked, this,
            [this](int direction) { upEndmsChangingEx(upDelay, direction); });
    connect(meDelay, &TMaskEdit::exited, this, [this] { meDelayExit(); });
    connect(cbKeepDelay, &QCheckBox::toggled, this, [this] { cbKeepDelayClick(); });
    for (QToolButton* film : {sbtnGetStart, sbtnGetEnd})
        connect(film, &QToolButton::clicked, this,
                [this, film] { sbtnGetStartClick(film->property("tag").toInt()); });
    connect(bbtnFit, &QPushButton::clicked, this, [this] { bbtnFitClick(); });
    connect(sbPrev, &QToolButton::clicked, this, [this] { sbPrevClick(); });
    connect(sbNext, &QToolButton::clicked, this, [this] { sbNextClick(); });
    connect(bbtnUndo, &QPushButton::clicked, this, [this] { bbtnUndoClick(); });
    connect(bbtnClose, &QPushButton::clicked, this, [this] { bbtnCloseClick(); });
    connect(sbWindow, &QToolButton::toggled, this, [this] { sbWindowClick(); });
    connect(cbBlend, &QCheckBox::toggled, this, [this] { cbBlendClick(); });
    connect(upBlend, &TUpDown::changed, this, [this] { upBlendClick(); });
    connect(lbBlend, &QLineEdit::editingFinished, this, [this] {
        upBlend->setPosition(lbBlend->text().toInt());
        upBlendClick();
    });
    connect(sbColor, &QToolButton::clicked, this, [this] { sbColorClick(); });

    connect(host_, &TEditorHost::entriesChanged, this, &TEditForm::HostEntriesChanged);
    connect(host_, &TEditorHost::documentReplaced, this, &TEditForm::HostDocumentReplaced);

    // The window sees key presses before its controls do.
    qApp->installEventFilter(this);
}

bool TEditForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & Qt::AltModifier)) return false;
    if (key == Qt::Key_Left || key == Qt::Key_Up) {
        sbPrevClick();
        return true;
    }
    if (key == Qt::Key_Right || key == Qt::Key_Down) {
        sbNextClick();
        return true;
    }
    return false;
}

namespace {

// Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo, as in the main window.
int HistoryKey(const QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Z && mods == Qt::ControlModifier) return -1;
    if ((key->key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
        (key->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)))
        return 1;
    return 0;
}

// Fields that undo their own typing.
bool TypingField(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

} // namespace

bool TEditForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return TDialogBase::eventFilter(watched, event);
    // Each press once, where it is delivered first: the filter sees it again on its way up.
    QWidget* first = QApplication::focusWidget();
    if (!first) first = QApplication::activeWindow();
    if (watched != first || !first || first->window() != this)
        return TDialogBase::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // Undo and redo outside a typing field act on the side shown. The main window's commands
    // share the keys (a tool window sees its owner's shortcuts), so the key is claimed here
    // before any shortcut is looked for.
    if (const int history = HistoryKey(key); history && !TypingField(first)) {
        event->accept();
        if (type == QEvent::KeyPress && hasTarget_) {
            if (history < 0)
                host_->Undo(Side);
            else
                host_->Redo(Side);
        }
        return true;
    }
    if (type == QEvent::KeyPress)
        FormKeyDown(key->key(), key->modifiers()); // the key goes on to the control
    return TDialogBase::eventFilter(watched, event);
}

void TEditForm::keyPressEvent(QKeyEvent* event) {
    // Escape gives a changed field its old text back (the field does that); it does not close
    // the window, which has no cancel.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    TDialogBase::keyPressEvent(event);
}

bool TEditForm::event(QEvent* event) {
    // The long part of a hint goes to the main window's status bar.
    if (event->type() == QEvent::StatusTip) {
        if (QWidget* window = host_->Window()) {
            QStatusTipEvent tip(static_cast<QStatusTipEvent*>(event)->tip());
            QApplication::sendEvent(window, &tip);
        }
        return true;
    }
    return TDialogBase::event(event);
}

void TEditForm::hideEvent(QHideEvent* event) {
    TDialogBase::hideEvent(event);
    // Closed by its button, its frame or the edit command: the command is unchecked.
    if (!event->spontaneous()) emit closed();
}

void TEditForm::ShowWindow() {
    if (!placed_) {
        CentreOn(host_->Window());
        placed_ = true;
    }
    UpdateFilmButtons();
    show();
    raise();
    activateWindow();
}

void TEditForm::sbWindowClick() {
    const bool show = sbWindow->isChecked();
    if (show == settingsShown_) return;
    settingsShown_ = show;
    GroupBox1->setVisible(show);
    setFixedHeight(height() + (show ? kSettingsHeight : -kSettingsHeight));
    sbWindow->setArrowType(show ? Qt::UpArrow : Qt::DownArrow);
}

void TEditForm::resizeEvent(QResizeEvent* event) {
    TDialogBase::resizeEvent(event);
    if (!GroupBox1) return; // still being built
    // A window larger than its design (the stored window sizes) gives the room to the text box;
    // the buttons stay under it and the window settings at the bottom.
    const int height = this->height() - (settingsShown_ ? kSettingsHeight : 0);
    const int dx = std::max(0, width() - kDesignSize.width());
    const int dy = std::max(0, height - kDesignSize.height());
    GroupBox2->resize(272 + dx, 172 + dy);
    moTitle->resize(236 + dx, 50 + dy);
    sbPrev->move(246 + dx, sbPrev->y());
    sbNext->move(246 + dx, sbNext->y());
    for (QWidget* w : {static_cast<QWidget*>(cbFit), static_cast<QWidget*>(bbtnUndo),
                       static_cast<QWidget*>(bbtnFit), static_cast<QWidget*>(bbtnClose)})
        w->move(w->x(), w->property("designY").toInt() + dy);
    sbWindow->move(254 + dx, sbWindow->property("designY").toInt() + dy);
    GroupBox1->setGeometry(4, height, 272 + dx, 46);
}

void TEditForm::cbBlendClick() {
    const bool blend = cbBlend->isChecked();
    lbBlend->setEnabled(blend);
    upBlend->setEnabled(blend);
    setWindowOpacity(blend ? upBlend->Position() / 255.0 : 1.0);
}

void TEditForm::upBlendClick() {
    if (cbBlend->isChecked()) setWindowOpacity(upBlend->Position() / 255.0);
}

void TEditForm::sbColorClick() {
    if (const std::optional<QColor> color = Questions().ChooseColor(this, Background()))
        SetBackground(*color);
}

QColor TEditForm::Background() const {
    return palette().color(QPalette::Window);
}

void TEditForm::SetBackground(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
    if (!sbColor) return;
    // The button shows the colour it would change.
    QPixmap swatch(16, 16);
    swatch.fill(color);
    QPainter(&swatch).drawRect(0, 0, 15, 15);
    sbColor->setIcon(QIcon(swatch));
}
