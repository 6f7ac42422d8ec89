#include "Questions.h"

#include "FontColorDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace {

TQuestions* installed = nullptr;

const QString kLastFolderKey = QStringLiteral("Dialog.LastFolder");

// The user's settings, where the main window keeps its own.
QSettings UserSettings() {
    return QSettings(QStringLiteral("Kestrow Group."), QStringLiteral("Velitra"));
}

QMessageBox::StandardButton ToStandard(int button) {
    switch (button) {
    case mrOk:
        return QMessageBox::Ok;
    case mrCancel:
        return QMessageBox::Cancel;
    case mrYes:
        return QMessageBox::Yes;
    case mrNo:
        return QMessageBox::No;
    case mrSave:
        return QMessageBox::Save;
    case mrDiscard:
        return QMessageBox::Discard;
    default:
        return QMessageBox::NoButton;
    }
}

int FromStandard(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return mrOk;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    case QMessageBox::Save:
        return mrSave;
    case QMessageBox::Discard:
        return mrDiscard;
    default:
        return mrCancel;
    }
}

QString WithDefaultExt(QString path, const QString& defaultExt) {
    if (!path.isEmpty() && !defaultExt.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += '.' + defaultExt.toLower();
    return path;
}

} // namespace

TQuestions& Questions() {
    static TQtQuestions qtQuestions;
    return installed ? *installed : qtQuestions;
}

TQuestions* SetQuestions(TQuestions* questions) {
    TQuestions* previous = installed;
    installed = questions;
    return previous;
}

int TQtQuestions::MessageBox(QWidget* parent, const QString& text, const QString& title,
                             TMsgKind kind, const QList<int>& buttons, int defaultButton) {
    QMessageBox box(parent);
    box.setText(text);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    switch (kind) {
    case TMsgKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case TMsgKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case TMsgKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case TMsgKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QMessageBox::StandardButtons standard;
    for (int button : buttons)
        standard |= ToStandard(button);
    box.setStandardButtons(standard ? standard : QMessageBox::Ok);
    box.setDefaultButton(ToStandard(defaultButton));
    if (buttons.contains(mrCancel)) box.setEscapeButton(QMessageBox::Cancel);
    return FromStandard(box.exec());
}

QString TQtQuestions::OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& defaultExt, const QString& folder) {
    Q_UNUSED(defaultExt);
    return QFileDialog::getOpenFileName(parent, title, folder, QtFileFilter(filter));
}

QString TQtQuestions::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& defaultExt, const QString& folder) {
    return WithDefaultExt(
        QFileDialog::getSaveFileName(parent, title, folder, QtFileFilter(filter)), defaultExt);
}

QString ChooserFolder(const QString& documentPath) {
    if (!documentPath.isEmpty()) {
        const QDir folder = QFileInfo(documentPath).absoluteDir();
        if (folder.exists()) return folder.path();
    }
    const QString last = UserSettings().value(kLastFolderKey).toString();
    return !last.isEmpty() && QDir(last).exists() ? last : QString();
}

void RememberChooserFolder(const QString& chosenPath) {
    if (chosenPath.isEmpty()) return;
    UserSettings().setValue(kLastFolderKey, QFileInfo(chosenPath).absolutePath());
}

QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultExt, const QString& documentPath) {
    const QString path =
        Questions().OpenFileName(parent, title, filter, defaultExt, ChooserFolder(documentPath));
    RememberChooserFolder(path);
    return path;
}

std::optional<TSaveChoice> TQtQuestions::SaveFileChoice(QWidget* parent, const QString& title,
                                                        const QString& filter,
                                                        int initialFilterIndex,
                                                        const QString& initialPath) {
    const std::unique_ptr<QFileDialog> chooser =
        MakeSaveChooser(parent, title, filter, initialFilterIndex, initialPath);
    if (chooser->exec() != QDialog::Accepted) return std::nullopt;
    TSaveChoice choice = SaveChoiceOf(*chooser, filter);
    if (choice.Path.isEmpty()) return std::nullopt;
    return choice;
}

std::optional<QString> TQtQuestions::InputBox(QWidget* parent, const QString& title,
                                              const QString& prompt, const QString& value) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, value, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<int> TQtQuestions::ChooseItem(QWidget* parent, const QString& title,
                                            const QString& prompt, const QStringList& items,
                                            int current) {
    bool ok = false;
    const QString item =
        QInputDialog::getItem(parent, title.isEmpty() ? QApplication::applicationName() : title,
                              prompt, items, current, false, &ok);
    const qsizetype index = items.indexOf(item);
    if (!ok || index < 0) return std::nullopt;
    return int(index);
}

std::optional<QFont> TQtQuestions::ChooseFont(QWidget* parent, const QFont& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, WithStyleName(initial), parent);
    if (!ok) return std::nullopt;
    return font;
}

std::optional<QColor> TQtQuestions::ChooseColor(QWidget* parent, const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid()) return std::nullopt;
    return color;
}

std::optional<TFontChoice> TQtQuestions::ChooseFontAndColor(QWidget* parent, const QFont& font,
                                                            const QColor& color) {
    TFontColorDialog dialog(font, color, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return TFontChoice{dialog.Font(), dialog.Color()};
}

int TQtQuestions::RunModal(QDialog* dialog) {
    return dialog->exec() == QDialog::Accepted ? mrOk : mrCancel;
}

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            if (p == QLatin1String("*.*") || p == QLatin1String("*")) {
                patterns << QStringLiteral("*");
                continue;
            }
            for (const QString& form : {p.toLower(), p.toUpper()})
                if (!patterns.contains(form)) patterns << form;
        }
        // The description may already carry the pattern in brackets; Qt reads the last pair.
        QString name = parts[i].trimmed();
        const qsizetype bracket = name.lastIndexOf('(');
        if (bracket > 0 && name.endsWith(')')) name = name.left(bracket).trimmed();
        out << QStringLiteral("%1 (%2)").arg(name, patterns.join(' '));
    }
    return out.join(QStringLiteral(";;"));
}

std::unique_ptr<QFileDialog> MakeSaveChooser(QWidget* parent, const QString& title,
                                             const QString& filter, int initialFilterIndex,
                                             const QString& initialPath) {
    auto chooser = std::make_unique<QFileDialog>(parent, title, initialPath);
    chooser->setAcceptMode(QFileDialog::AcceptSave);
    chooser->setFileMode(QFileDialog::AnyFile);
    // The caller asks about an existing file itself, and uses the path exactly as chosen.
    chooser->setOption(QFileDialog::DontConfirmOverwrite);
    chooser->setDefaultSuffix(QString());
    const QStringList filters = QtFileFilter(filter).split(QStringLiteral(";;"));
    chooser->setNameFilters(filters);
    if (initialFilterIndex >= 0 && initialFilterIndex < filters.size())
        chooser->selectNameFilter(filters[initialFilterIndex]);
    return chooser;
}

TSaveChoice SaveChoiceOf(const QFileDialog& chooser, const QString& filter) {
    const QStringList filters = QtFileFilter(filter).split(QStringLiteral(";;"));
    return {chooser.selectedFiles().value(0), int(filters.indexOf(chooser.selectedNameFilter()))};
}
