#pragma once
// The program's start: the application object, the windows in their order, the event loop and
// what happens to an error that reaches it.
#include "Combine.h"
#include "About.h"
#include "Adjust.h"
#include "Edit.h"
#include "Import.h"
#include "Main.h"
#include "RecoveryForm.h"
#include "SaveAsForm.h"
#include "Segmodify.h"
#include "SetFrame.h"
#include "SubHeight.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>

#include <memory>

// Shows an error that escapes an event handler and lets the event loop go on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Every window of the program, created once at start and living until exit.
struct TForms {
    std::unique_ptr<TMainForm> MainForm;
    std::unique_ptr<TAboutForm> AboutForm;
    std::unique_ptr<TSetFrameDlg> SetFrameDlg;
    std::unique_ptr<TSubHeightDlg> SubHeightDlg;
    std::unique_ptr<TSegForm> SegForm;
    std::unique_ptr<TCombineForm> CombineForm;
    std::unique_ptr<TImportForm> ImportForm;
    std::unique_ptr<TSaveAsForm> SaveAsForm;
    std::unique_ptr<TAdjustForm> AdjustForm;
    // After the windows of the editing tools: offers work a crashed run left behind.
    std::unique_ptr<TRecoveryForm> RecoveryForm;
    // A tool window of the main window, which takes it along if it goes first.
    QPointer<TEditForm> EditForm;
    // Class names in the order the windows were created.
    QStringList CreationOrder;

    TForms() = default;
    TForms(const TForms&) = delete;
    TForms& operator=(const TForms&) = delete;
    ~TForms() { delete EditForm; }
};

// Creates the windows in their order; the first is the main window.
void CreateForms(TForms& forms, TMainForm::PlayerFactory createPlayer = {});

// What the command line asks for: a film, and subtitle files for the left and right panes.
struct TCommandLine {
    QString Film;
    QStringList Subtitles;
    bool Help = false;
};
// The arguments after the program's name: subtitle files by their extension (IsSubtitleFileName),
// the first other file as the film, any further one as a subtitle file.
TCommandLine ParseCommandLine(const QStringList& arguments);
bool IsSubtitleFileName(const QString& fileName);
QString UsageText();

// The pack in force, the window icon's sizes, and the main menu with its commands, one a line:
// what the install check reads from an installed program started with VELITRA_DUMP_MENUS set.
QString MenuReport(const TMainForm& form);

// Opens what the command line names in the windows.
void OpenFromCommandLine(TMainForm& form, const TCommandLine& commandLine);

int RunVelitra(int argc, char** argv);
