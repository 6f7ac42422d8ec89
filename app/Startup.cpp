#include "Startup.h"

#include "Questions.h"
#include "Texts.h"

#include <QFileInfo>

#include <clocale>
#include <cstdio>
#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Questions().ShowError(activeWindow(), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        // Not an error object: shown as an error with an empty message.
        Questions().ShowError(activeWindow(), QString());
    }
    return false;
}

void CreateForms(TForms& forms, TMainForm::PlayerFactory createPlayer) {
    forms.MainForm = std::make_unique<TMainForm>(std::move(createPlayer));
    TMainForm::TWindows windows;
    forms.CreationOrder << QStringLiteral("TMainForm");
    forms.AboutForm = std::make_unique<TAboutForm>();
    forms.CreationOrder << QStringLiteral("TAboutForm");
    windows.About = forms.AboutForm.get();
    forms.SetFrameDlg = std::make_unique<TSetFrameDlg>();
    forms.CreationOrder << QStringLiteral("TSetFrameDlg");
    // The MicroDVD reader asks through the one frame-rate dialog, which keeps its last text.
    forms.MainForm->SetFrameRateQuestion(
        MakeFrameRateQuestion(forms.SetFrameDlg.get(), forms.MainForm.get()));
    forms.SubHeightDlg = std::make_unique<TSubHeightDlg>();
    forms.CreationOrder << QStringLiteral("TSubHeightDlg");
    windows.SubHeight = forms.SubHeightDlg.get();
    forms.EditForm = new TEditForm(forms.MainForm->Host(), forms.MainForm.get());
    forms.CreationOrder << QStringLiteral("TEditForm");
    forms.MainForm->SetEditForm(forms.EditForm);
    forms.SegForm = std::make_unique<TSegForm>(forms.MainForm->Host());
    forms.CreationOrder << QStringLiteral("TSegForm");
    windows.Seg = forms.SegForm.get();
    forms.CombineForm = std::make_unique<TCombineForm>(forms.MainForm->Host());
    forms.CreationOrder << QStringLiteral("TCombineForm");
    windows.Combine = forms.CombineForm.get();
    forms.ImportForm = std::make_unique<TImportForm>(forms.MainForm->Host());
    forms.CreationOrder << QStringLiteral("TImportForm");
    windows.Import = forms.ImportForm.get();
    forms.SaveAsForm = std::make_unique<TSaveAsForm>(forms.MainForm->Host());
    forms.CreationOrder << QStringLiteral("TSaveAsForm");
    windows.SaveAs = forms.SaveAsForm.get();
    forms.AdjustForm =
        std::make_unique<TAdjustForm>(forms.MainForm.get(), forms.MainForm->FormSizeTable());
    forms.CreationOrder << QStringLiteral("TAdjustForm");
    windows.Adjust = forms.AdjustForm.get();
    forms.RecoveryForm = std::make_unique<TRecoveryForm>();
    forms.CreationOrder << QStringLiteral("TRecoveryForm");
    windows.Recovery = forms.RecoveryForm.get();
    forms.MainForm->SetWindows(windows);
}

TCommandLine ParseCommandLine(const QStringList& arguments) {
    TCommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.Help = true;
            continue;
        }
        const QString ext = QFileInfo(arg).suffix().toLower();
        if (ext == QLatin1String("srt") || ext == QLatin1String("sub"))
            line.Subtitles << arg;
        else if (line.Film.isEmpty())
            line.Film = arg;
        else
            line.Subtitles << arg;
    }
    return line;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: velitra [FILM] [LEFT-SUBTITLE [RIGHT-SUBTITLE]]\n"
        "\n"
        "Velitra, the subtitle editor: two subtitle files side by side under the film.\n"
        "\n"
        "  FILM            a film file (any format the player knows), opened as the\n"
        "                  Open Film command (Ctrl+O) would\n"
        "  LEFT-SUBTITLE   a subtitle file (.srt, .sub) for the left pane\n"
        "  RIGHT-SUBTITLE  a second one for the right pane\n"
        "  -h, --help      this text\n");
}

void OpenFromCommandLine(TMainForm& form, const TCommandLine& commandLine) {
    if (!commandLine.Film.isEmpty())
        form.FileOpenMovieAccept(QFileInfo(commandLine.Film).absoluteFilePath());
    for (qsizetype side = 0; side < std::min<qsizetype>(commandLine.Subtitles.size(), 2); ++side)
        form.OpenSubtitleFile(int(side), QFileInfo(commandLine.Subtitles[side]).absoluteFilePath());
}

int RunVelitra(int argc, char** argv) {
    // Help needs no display: answer it before the application object connects to one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const TCommandLine commandLine = ParseCommandLine(arguments);
    if (commandLine.Help) {
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    TApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Velitra"));
    app.setOrganizationName(QStringLiteral("Kestrow Group."));
    // libmpv reads numbers in the C locale; QApplication has just set the user's.
    std::setlocale(LC_NUMERIC, "C");

    TForms forms;
    try {
        CreateForms(forms);
        forms.MainForm->show();
        forms.MainForm->OfferRecovery();
        OpenFromCommandLine(*forms.MainForm, commandLine);
    } catch (const std::exception& error) {
        Questions().ShowError(nullptr, QString::fromLocal8Bit(error.what()));
        return 1;
    } catch (...) {
        Questions().ShowError(nullptr, QString());
        return 1;
    }
    const int result = app.exec();
    // Destroying the main window writes the settings back.
    forms.MainForm.reset();
    return result;
}
