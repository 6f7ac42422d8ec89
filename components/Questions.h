#pragma once
// Every question the program puts to the user goes through one TQuestions: message boxes, file
// choosers, the one-line input box, the font and colour choosers, and the running of a modal
// dialog. The program installs TQtQuestions; tests install a scripted one, so that no test ever
// waits in a real modal loop.
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QDialog;
class QFileDialog;
class QWidget;

enum class TMsgKind { Error, Warning, Information, Confirmation };

// Buttons of a message box; a box answers with the one pressed. mrSave and mrDiscard are the
// platform's Save and Don't Save of the question about unsaved changes.
enum TMsgButton : int { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7, mrSave = 20, mrDiscard = 21 };

// What a save chooser ended on: the path exactly as chosen, and the entry of the filter list
// shown then, counted from 0 in the order of the filter text (-1 when none is known).
struct TSaveChoice {
    QString Path;
    int FilterIndex = -1;
};

// A font together with the colour its text is drawn in.
struct TFontChoice {
    QFont Font;
    QColor Color;
};

class TQuestions {
public:
    virtual ~TQuestions() = default;

    // An empty title means the application's name.
    virtual int MessageBox(QWidget* parent, const QString& text, const QString& title,
                           TMsgKind kind, const QList<int>& buttons, int defaultButton) = 0;
    // Filters are written as "Name (*.ext)|*.EXT|Other|*.*"; an empty result means cancelled. The
    // chooser opens in folder (empty: where the platform likes).
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& defaultExt, const QString& folder) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& defaultExt, const QString& folder) = 0;
    // A save chooser that opens on filter entry initialFilterIndex (counted from 0) and on
    // initialPath (a file or a folder). It adds no extension and asks nothing about an existing
    // file: the caller decides both. Nothing when cancelled.
    virtual std::optional<TSaveChoice> SaveFileChoice(QWidget* parent, const QString& title,
                                                      const QString& filter, int initialFilterIndex,
                                                      const QString& initialPath) = 0;
    virtual std::optional<QString> InputBox(QWidget* parent, const QString& title,
                                            const QString& prompt, const QString& value) = 0;
    // One of a list of items, current chosen at first; the index chosen, nothing when cancelled.
    virtual std::optional<int> ChooseItem(QWidget* parent, const QString& title,
                                          const QString& prompt, const QStringList& items,
                                          int current) = 0;
    virtual std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) = 0;
    virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) = 0;
    // A font and its colour chosen in one dialog; nothing when cancelled.
    virtual std::optional<TFontChoice> ChooseFontAndColor(QWidget* parent, const QFont& font,
                                                          const QColor& color) = 0;
    // Shows the dialog modally; answers mrOk or mrCancel.
    virtual int RunModal(QDialog* dialog) = 0;

    // The error box of an error that reached the event loop, and of any plain failure.
    void ShowError(QWidget* parent, const QString& text) {
        MessageBox(parent, text, QString(), TMsgKind::Error, {mrOk}, mrOk);
    }
};

// The questions in force. Before any is installed, the Qt ones.
TQuestions& Questions();
// Installs another (tests); answers the one it replaces. Null restores the Qt ones.
TQuestions* SetQuestions(TQuestions* questions);

class TQtQuestions : public TQuestions {
public:
    int MessageBox(QWidget* parent, const QString& text, const QString& title, TMsgKind kind,
                   const QList<int>& buttons, int defaultButton) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultExt, const QString& folder) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultExt, const QString& folder) override;
    std::optional<TSaveChoice> SaveFileChoice(QWidget* parent, const QString& title,
                                              const QString& filter, int initialFilterIndex,
                                              const QString& initialPath) override;
    std::optional<QString> InputBox(QWidget* parent, const QString& title, const QString& prompt,
                                    const QString& value) override;
    std::optional<int> ChooseItem(QWidget* parent, const QString& title, const QString& prompt,
                                  const QStringList& items, int current) override;
    std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
    std::optional<TFontChoice> ChooseFontAndColor(QWidget* parent, const QFont& font,
                                                  const QColor& color) override;
    int RunModal(QDialog* dialog) override;
};

// Where a file chooser opens: the folder of documentPath (the file being worked on) when that
// folder exists, else the folder of the last file chosen (kept per user, "Dialog.LastFolder"),
// else empty. RememberChooserFolder keeps the folder of a file chosen.
QString ChooserFolder(const QString& documentPath = QString());
void RememberChooserFolder(const QString& chosenPath);
// Questions().OpenFileName in ChooserFolder(documentPath), the chosen file's folder remembered.
QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultExt, const QString& documentPath);

// "AVI Files (*.avi)|*.AVI|All Files (*.*)|*.*" as Qt writes it. Patterns match in either letter
// case, as they do where the filter comes from, and "*.*" means every file.
QString QtFileFilter(const QString& filter);

// The chooser SaveFileChoice shows, and the answer it reads from it once accepted; apart, so
// that they can be checked without a modal loop.
std::unique_ptr<QFileDialog> MakeSaveChooser(QWidget* parent, const QString& title,
                                             const QString& filter, int initialFilterIndex,
                                             const QString& initialPath);
TSaveChoice SaveChoiceOf(const QFileDialog& chooser, const QString& filter);
