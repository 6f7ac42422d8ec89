#include "TimeParts.h"
#include "Hint.h"

#include "MaskEdit.h"
#include "Pertitle.h"
#include "UpDown.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

TNumberSpin::TNumberSpin(const char* editName, QWidget* parent) : QSpinBox(parent) {
    // The number is taken when an arrow is pressed, on Enter and on leaving, not while typing.
    setKeyboardTracking(false);
    setWrapping(false);
    lineEdit()->setObjectName(QString::fromLatin1(editName));
}

void TNumberSpin::keyPressEvent(QKeyEvent* event) {
    QSpinBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) event->accept();
}

namespace {

struct TPartSpec {
    const char* Name;
    const char* Mask;
    int Step;
    int Width;
    const char* Hint;
};

const TPartSpec kParts[4] = {
    {"Hour", "!90;1;_", 3600000, 20, "往前,後調整1小時|往前調整一小時或往後調整一小時"},
    {"Minute", "!00;1;_", 60000, 20, "往前,後調整1分|往前調整一分或往後調整一分"},
    {"Sec", "!00;1;_", 1000, 20, "往前,後調整1秒|往前調整一秒或往後調整一秒"},
    {"ms", "!000;1;_", 50, 27, "往前,後調整50微杪|往前調整50微杪或往後調整50微杪"},
};
constexpr int kSpinnerWidth = 15;
constexpr int kSeparatorWidth = 6;
constexpr int kHeight = 21;
// The largest time the fields can hold: 99:59:59,999.
constexpr int32_t kLargestShown = ((99 * 60 + 59) * 60 + 59) * 1000 + 999;

} // namespace

TTimeParts::TTimeParts(QWidget* parent, const QString& prefix, QPoint at) : QObject(parent) {
    int x = at.x();
    const QString separators[3] = {QStringLiteral(":"), QStringLiteral(":"), QStringLiteral(",")};
    for (int k = 0; k < 4; ++k) {
        const TPartSpec& part = kParts[k];
        auto* field = new TMaskEdit(parent);
        field->SetEditMask(QString::fromLatin1(part.Mask));
        field->setObjectName(QStringLiteral("me") + prefix + QLatin1String(part.Name));
        field->setGeometry(x, at.y(), part.Width, kHeight);
        field->setAlignment(Qt::AlignCenter);
        connect(field, &TMaskEdit::left, this, &TTimeParts::left);
        Fields[size_t(k)] = field;
        x += part.Width;

        auto* spinner = new TUpDown(parent);
        spinner->setIncrement(part.Step);
        spinner->setObjectName(QStringLiteral("up") + prefix + QLatin1String(part.Name));
        spinner->setGeometry(x, at.y(), kSpinnerWidth, kHeight);
        SetHint(spinner, QString::fromUtf8(part.Hint));
        // The button holds no position: a click is the step of the whole time.
        connect(spinner, &TUpDown::clicked, this,
                [this, spinner](int direction) { emit stepped(direction * spinner->Increment()); });
        Spinners[size_t(k)] = spinner;
        x += kSpinnerWidth;

        if (k < 3) {
            auto* label = new QLabel(separators[k], parent);
            label->setObjectName(QStringLiteral("lb") + prefix +
                                 QStringLiteral("Sep%1").arg(k + 1));
            label->setAlignment(Qt::AlignCenter);
            label->setGeometry(x, at.y(), kSeparatorWidth, kHeight);
            Separators[size_t(k)] = label;
            x += kSeparatorWidth;
        }
    }
}

void TTimeParts::ShowTime(int32_t ms) {
    const int32_t shown = std::clamp(ms, int32_t{0}, kLargestShown);
    const int32_t parts[4] = {shown / 3600000, shown / 60000 % 60, shown / 1000 % 60, shown % 1000};
    for (int k = 0; k < 4; ++k)
        Fields[size_t(k)]->SetValue(
            QStringLiteral("%1").arg(parts[k], k == 3 ? 3 : 2, 10, QLatin1Char('0')));
    shown_ = ms;
    shownTexts_ = Texts();
}

std::array<QString, 4> TTimeParts::Texts() const {
    std::array<QString, 4> texts;
    for (size_t k = 0; k < 4; ++k) {
        QString text = Fields[k]->text().trimmed();
        texts[k] = text.isEmpty() ? QStringLiteral("0") : text;
    }
    return texts;
}

int32_t TTimeParts::ReadTime() const {
    const std::array<QString, 4> texts = Texts();
    if (texts == shownTexts_) return shown_;
    const QString joined = texts[0] + QLatin1Char(':') + texts[1] + QLatin1Char(':') + texts[2] +
                           QLatin1Char(',') + texts[3];
    return TimeTextToMs(joined.toStdString());
}

void TTimeParts::SetEnabled(bool enabled) {
    for (TMaskEdit* field : Fields)
        field->setEnabled(enabled);
    for (TUpDown* spinner : Spinners)
        spinner->setEnabled(enabled);
}

bool TTimeParts::RefuseIfIncomplete() {
    for (TMaskEdit* field : Fields)
        if (field->isEnabled() && !field->Complete()) {
            field->Refuse();
            return true;
        }
    return false;
}

TNumberSpin* NumberBox(QWidget* parent, QLabel*& label, const char* labelName,
                       const QString& caption, QPoint labelAt, const char* name,
                       const char* editName, const QRect& geometry, QLineEdit*& edit) {
    label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(labelName));
    label->move(labelAt);
    label->adjustSize();
    auto* box = new TNumberSpin(editName, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setRange(1, 1);
    edit = box->findChild<QLineEdit*>(QString::fromLatin1(editName));
    edit->setText(QStringLiteral("1"));
    label->setBuddy(box);
    return box;
}

void SetNumberRange(TNumberSpin* box, int count, int value) {
    const QSignalBlocker block(box);
    box->setRange(1, std::max(count, 1));
    box->setValue(value);
}
