#pragma once
// The controls the dialogs edit numbers and times with: a masked field that cannot be left half
// filled, a step button that holds no value of its own, a number box whose Enter stays in it, and
// a time edited by parts (hours, minutes, seconds, milliseconds) whose step buttons move the whole
// time, so that steps carry and borrow across the four fields.
#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSpinBox>
#include <QString>

#include <array>
#include <cstdint>

class QLabel;
class QWidget;

// A field with an input mask written as the forms write it: "pattern;1;_" where "0" is a required
// digit, "9" an optional one, a leading "!" keeps optional blanks in front, other characters are
// fixed. Leaving the field after a change while a required digit is missing is refused: a beep,
// the invalid-input message, and the caret back on the first empty position. Escape takes back
// the change.
class TMaskedField : public QLineEdit {
    Q_OBJECT
public:
    TMaskedField(const QString& formMask, QWidget* parent);

    // The same mask as Qt writes it ("0" and "9" swapped, "!" and the saving flag dropped).
    static QString QtMask(const QString& formMask);
    // The first position a required digit is missing at, or -1 when none is.
    int FirstMissing() const;
    // Refuses the field as leaving it would when a required digit is missing: answers whether
    // it was refused.
    bool RefuseIfIncomplete();
    // Shows a text put there by the program: Escape comes back to it, not to what was before.
    void Show(const QString& text);

signals:
    // Left with every required digit in place, or Enter pressed in it.
    void left();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString before_; // the text when the field was entered, for Escape
    bool refusing_ = false;
};

// A pair of arrows beside a field. A step answers the step's size, up or down, and the button's
// own position never moves: what a step does is the handler's arithmetic.
class TStepSpinner : public QAbstractSpinBox {
    Q_OBJECT
public:
    TStepSpinner(int step, QWidget* parent);
    int Step() const { return step_; }
    void stepBy(int steps) override;

signals:
    void stepped(int delta);

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

private:
    int step_;
};

// An entry number box: its arrows and Enter take the number (Enter does not reach the dialog's
// buttons), and what is typed outside its range falls back to the last number it held.
class TNumberSpin : public QSpinBox {
    Q_OBJECT
public:
    // The box's own field is named editName.
    TNumberSpin(const char* editName, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Four masked fields and their step buttons at a row of a dialog, named prefix + "Hour",
// "Minute", "Sec", "ms" (fields "me…", buttons "up…"): hours "!90;1;_", minutes and seconds
// "!00;1;_", milliseconds "!000;1;_", separated by ":", ":" and ",".
class TTimeParts : public QObject {
    Q_OBJECT
public:
    // prefix is "Start" or "End"; at is the hour field's corner in parent.
    TTimeParts(QWidget* parent, const QString& prefix, QPoint at);

    std::array<TMaskedField*, 4> Fields{};
    std::array<TStepSpinner*, 4> Spinners{};
    std::array<QLabel*, 3> Separators{};

    // Shows a time. A time the two-digit hour cannot hold (below zero, 100 hours or more) shows
    // as the nearest time the fields can hold, and reads back as itself while the fields are
    // left as shown, so that a stretch whose first entry starts before zero is not moved by
    // merely looking at it.
    void ShowTime(int32_t ms);
    // The time in the fields: hours ":" minutes ":" seconds "," milliseconds read as a time text.
    int32_t ReadTime() const;
    void SetEnabled(bool enabled);
    // Refuses the first field with a required digit missing, as leaving it would; answers
    // whether one was refused.
    bool RefuseIfIncomplete();

    // Width of the row, from the hour field to the last step button.
    static constexpr int kWidth = 165;

signals:
    // A step button was pressed: the whole time moves by delta milliseconds.
    void stepped(int delta);
    // A field was left, or Enter pressed in one.
    void left();

private:
    std::array<QString, 4> Texts() const;
    int32_t shown_ = 0;
    std::array<QString, 4> shownTexts_;
};

// A number box with its label in front, as the dialogs' labelled fields are: the box named name,
// its field editName with text "1", the label labelName.
TNumberSpin* NumberBox(QWidget* parent, QLabel*& label, const char* labelName,
                       const QString& caption, QPoint labelAt, const char* name,
                       const char* editName, const QRect& geometry, QLineEdit*& edit);

// The box reaches entries 1..count (1 without entries) and shows value, without signals.
void SetNumberRange(TNumberSpin* box, int count, int value);
