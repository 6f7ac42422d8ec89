#include "DialogBase.h"

#include "Questions.h"

#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace {

QList<TDialogBase*>& Registry() {
    static QList<TDialogBase*> dialogs;
    return dialogs;
}

TDialogBase::TLanguageApplier& Applier() {
    static TDialogBase::TLanguageApplier applier;
    return applier;
}

} // namespace

QPoint CentredPosition(const QRect& window, const QSize& dialog) {
    return {window.left() + (window.width() - dialog.width()) / 2,
            window.top() + (window.height() - dialog.height()) / 2};
}

TDialogBase::TDialogBase(QWidget* parent, const char* objectName, const QString& title, QSize size,
                         TDialogFrame frame, TFormSlot slot)
    : QDialog(parent), frame_(frame), slot_(slot) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(title);
    // A dialog frame with a close box only: no help button, no minimise or maximise.
    Qt::WindowFlags flags =
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (frame == TDialogFrame::Fixed) flags |= Qt::MSWindowsFixedSizeDialogHint;
    setWindowFlags(flags);
    setFont(DialogFont());
    if (frame == TDialogFrame::Fixed)
        setFixedSize(size);
    else
        resize(size);
    Registry().append(this);
}

TDialogBase::~TDialogBase() {
    Registry().removeOne(this);
}

QFont TDialogBase::DialogFont() {
    return QFont(QStringLiteral("新細明體"), 9);
}

int TDialogBase::FormSizeIndex() const {
    return slot_ == TFormSlot::None ? -1 : 2 * static_cast<int>(slot_);
}

void TDialogBase::ApplyFormSize(int width, int height) {
    // FormSizes come from the settings unchecked; a window cannot be smaller than nothing.
    const QSize size(std::max(width, 0), std::max(height, 0));
    if (frame_ == TDialogFrame::Fixed)
        setFixedSize(size);
    else
        resize(size);
}

QSize TDialogBase::FormSize() const {
    return size();
}

void TDialogBase::CentreOn(const QWidget* window) {
    move(CentredPosition(window->frameGeometry(), frameGeometry().size()));
}

int TDialogBase::ShowModalThroughQuestions(QWidget* centreOn) {
    if (centreOn) CentreOn(centreOn);
    return Questions().RunModal(this);
}

void TDialogBase::SetLanguageApplier(TLanguageApplier applier) {
    Applier() = std::move(applier);
}

void TDialogBase::ApplyLanguage() {
    if (Applier()) Applier()(this);
}

const QList<TDialogBase*>& TDialogBase::Dialogs() {
    return Registry();
}

QPushButton* TDialogBase::NewOkButton() {
    return new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("確定"),
                           this);
}

QPushButton* TDialogBase::NewCancelButton() {
    auto* button = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                   QStringLiteral("取消"), this);
    connect(button, &QPushButton::clicked, this, &QDialog::reject);
    return button;
}
