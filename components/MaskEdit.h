#pragma once
// The masked field every window edits times and durations with: digits only, at fixed positions,
// and the rule of such fields: a field changed by the user cannot be left while a required
// position is empty (a beep, the message, the caret back on the first empty required position),
// and Escape gives back the text it had before the change. Enter acts on the field (it is taken
// as left), never on the dialog's buttons.
//
// Masks are written in the windows' own form, "!90;1;_": "0" a required digit, "9" an optional
// one, any other character fixed text; "1" keeps the fixed text in the field's text and "_"
// shows an empty position. Qt writes the two digit kinds the other way round; QtMask converts.
#include <QLineEdit>
#include <QString>

class TMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMaskEdit(QWidget* parent = nullptr);

    // The Qt input mask for a mask in the windows' form ("!00:000;1;_" gives "99:999;_").
    static QString QtMask(const QString& editMask);

    void SetEditMask(const QString& editMask);
    QString EditMask() const { return editMask_; }

    // Shows a text from the program: no change by the user, nothing to give back on Escape.
    void SetValue(const QString& text);
    // Every required position holds a digit.
    bool Complete() const { return hasAcceptableInput(); }
    // Refuses the field's leaving: beeps, says why through the questions in force, and puts
    // the caret on the first empty required position.
    void Refuse();
    // The first position a required digit is missing at, or -1 when none is.
    int FirstMissing() const;
    // Takes a field the user changed and has not left (the window acts on it by a key or a
    // button that takes no focus) as if it were left: refused as leaving would be when a
    // required position is empty (false), else the leaving signal.
    bool TakeAsLeft();

signals:
    // The user left the field after changing it, every required position filled.
    void exited();
    // The user left the field, changed or not, or pressed Enter in it, every required position
    // filled (after exited when it was changed).
    void left();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString editMask_;
    QString before_; // the text when the user last came into the field
    bool refusePending_ = false;
};
