#pragma once
// What the editing dialogs share: a fixed frame with a close box only (or a resizable one), the
// dialogs' font, controls placed by name at their design geometry, the dialog's pair in the main
// window's FormSizes, the language-pack hook, and running modally through the questions in force,
// centred on a window.
#include <QDialog>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QPushButton;

// Where a window's width and height sit in the main window's FormSizes: the width at 2 × slot,
// the height right after it.
enum class TFormSlot : int { None = -1, Main = 0, Edit, Segment, Combine, Import, SaveAs };

enum class TDialogFrame { Fixed, Resizable };

// Where a dialog of the given size goes to sit in the middle of a window's frame: half the
// difference of the sizes, truncated toward zero, from the window's corner.
QPoint CentredPosition(const QRect& window, const QSize& dialog);

class TDialogBase : public QDialog {
    Q_OBJECT
public:
    // size is the inside of the frame. A fixed frame keeps it until ApplyFormSize changes it.
    TDialogBase(QWidget* parent, const char* objectName, const QString& title, QSize size,
                TDialogFrame frame = TDialogFrame::Fixed, TFormSlot slot = TFormSlot::None);
    ~TDialogBase() override;

    // The font every dialog's controls use unless they set their own.
    static QFont DialogFont();

    TDialogFrame Frame() const { return frame_; }
    TFormSlot FormSlot() const { return slot_; }
    // The index of the width in FormSizes (the height follows it), or -1 without a slot.
    int FormSizeIndex() const;
    // Takes the size a FormSizes pair gives (a fixed frame stays fixed, at the new size), and
    // reads the present size back for it.
    void ApplyFormSize(int width, int height);
    QSize FormSize() const;

    // Moves the dialog to the middle of window's frame.
    void CentreOn(const QWidget* window);
    // Centred on centreOn when given, shown modally through the questions in force; mrOk or
    // mrCancel.
    int ShowModalThroughQuestions(QWidget* centreOn = nullptr);

    // Language packs. The pack loader installs one function that reads the current pack over a
    // window: per class of the window's chain, the values keyed "objectName.property". Each
    // dialog calls ApplyLanguage at the end of its constructor, so that a dialog made after the
    // pack was loaded comes up in the pack's language; re-reading the dialogs that exist walks
    // Dialogs(). A dialog whose other state follows from its texts (sizes of labels, say)
    // overrides ApplyLanguage, calling this one first.
    using TLanguageApplier = std::function<void(QWidget* window)>;
    static void SetLanguageApplier(TLanguageApplier applier);
    virtual void ApplyLanguage();
    // Every dialog alive, in the order they were created.
    static const QList<TDialogBase*>& Dialogs();

protected:
    // Names a control and puts it at its design geometry, relative to its parent.
    template <class T> static T* Place(T* control, const char* objectName, const QRect& geometry) {
        control->setObjectName(QString::fromLatin1(objectName));
        control->setGeometry(geometry);
        return control;
    }
    // The same for a control that takes the size of its text (a label): placed at its corner.
    template <class T> static T* Place(T* control, const char* objectName, const QPoint& corner) {
        control->setObjectName(QString::fromLatin1(objectName));
        control->move(corner);
        control->adjustSize();
        return control;
    }
    // The dialog's OK button ("確定" with the platform's icon), to be placed.
    QPushButton* NewOkButton();
    // Its Cancel button ("取消"), which rejects the dialog as Escape and the close box do.
    QPushButton* NewCancelButton();

private:
    TDialogFrame frame_;
    TFormSlot slot_;
};
