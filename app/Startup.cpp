#include "Startup.h"

#include "LanguagePack.h"
#include "Questions.h"
#include "Texts.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>

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
        if (IsSubtitleFileName(arg))
            line.Subtitles << arg;
        else if (line.Film.isEmpty())
            line.Film = arg;
        else
            line.Subtitles << arg;
    }
    return line;
}

bool IsSubtitleFileName(const QString& fileName) {
    static const QStringList extensions{QStringLiteral("srt"), QStringLiteral("sub"),
                                        QStringLiteral("vtt"), QStringLiteral("ass"),
                                        QStringLiteral("ssa")};
    return extensions.contains(QFileInfo(fileName).suffix().toLower());
}

QString UsageText() {
    return QStringLiteral(
        "Usage: velitra [FILM] [LEFT-SUBTITLE [RIGHT-SUBTITLE]]\n"
        "\n"
        "Velitra, the subtitle editor: two subtitle files side by side under the film.\n"
        "\n"
        "  FILM            a film file (any format the player knows), opened as the\n"
        "                  Open Film command (Ctrl+O) would\n"
        "  LEFT-SUBTITLE   a subtitle file for the left pane (.srt, .sub, .vtt, .ass,\n"
        "                  .ssa)\n"
        "  RIGHT-SUBTITLE  a second one for the right pane\n"
        "  -h, --help      this text\n");
}

void OpenFromCommandLine(TMainForm& form, const TCommandLine& commandLine) {
    if (!commandLine.Film.isEmpty())
        form.FileOpenMovieAccept(QFileInfo(commandLine.Film).absoluteFilePath());
    for (qsizetype side = 0; side < std::min<qsizetype>(commandLine.Subtitles.size(), 2); ++side)
        form.OpenSubtitleFile(int(side), QFileInfo(commandLine.Subtitles[side]).absoluteFilePath());
}

QString MenuReport(const TMainForm& form) {
    const TLanguagePack* pack = CurrentPack();
    QString report = QStringLiteral("pack\t%1\n").arg(pack ? pack->FileName : QString());
    QStringList sizes;
    for (const QSize& size : QApplication::windowIcon().availableSizes())
        sizes << QString::number(size.width());
    report += QStringLiteral("icon\t%1\n").arg(sizes.join(QLatin1Char(' ')));
    for (const QAction* top : form.menuBar()->actions()) {
        if (!top->menu()) continue;
        report += QStringLiteral("menu\t%1\n").arg(top->text());
        for (const QAction* item : top->menu()->actions())
            if (!item->isSeparator() && item->isVisible())
                report += QStringLiteral("\t%1\n").arg(item->text());
    }
    return report;
}

namespace {

// The desktop icon's PNGs, built into the program; none in a program built without them.
QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/icons/%1.png").arg(size);
        if (QFile::exists(file)) icon.addFile(file, QSize(size, size));
    }
    return icon;
}

} // namespace

int RunVelitra(int argc, char** argv) {
    // Help needs no display: answer it before the application object connects to one.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    if (ParseCommandLine(rawArguments).Help) {
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    TApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Velitra"));
    app.setOrganizationName(QStringLiteral("Kestrow Group."));
    app.setDesktopFileName(QStringLiteral(VELITRA_APP_ID));
    app.setWindowIcon(ProgramIcon());
    // libmpv reads numbers in the C locale; QApplication has just set the user's.
    std::setlocale(LC_NUMERIC, "C");
    // The files come after Qt has taken its own options (-style NAME, -platform NAME ...), which
    // would otherwise open as a film and a subtitle file.
    const TCommandLine commandLine = ParseCommandLine(app.arguments());

    TForms forms;
    try {
        CreateForms(forms);
        if (qEnvironmentVariableIsSet("VELITRA_DUMP_MENUS")) {
            std::fputs(MenuReport(*forms.MainForm).toUtf8().constData(), stdout);
            return 0;
        }
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
