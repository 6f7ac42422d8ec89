#include "SourceFile.h"

#include "Editing.h"
#include "Questions.h"
#include "Texts.h"
#include "TimeParts.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

bool SourceFileReadable(QWidget* parent, const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && info.isFile() && info.isReadable()) return true;
    Questions().ShowError(parent, TextOf(!info.exists() ? txFileMissing : txFileUnreadable) +
                                      QLatin1Char('\n') + path);
    return false;
}

std::unique_ptr<SubTitle> ReadSourceFile(QWidget* parent, const QString& path,
                                         const TSourceReading& reading, bool* cancelled) {
    if (cancelled) *cancelled = false;
    if (!SourceFileReadable(parent, path)) return nullptr;
    bool askedAndCancelled = false;
    FrameRateQuestionWithProposal ask;
    if (reading.AskFrameRate)
        ask = [&reading, &askedAndCancelled](std::optional<double> proposed) {
            std::optional<std::string> answer = reading.AskFrameRate(proposed);
            askedAndCancelled = !answer;
            return answer;
        };
    std::unique_ptr<SubTitle> doc;
    try {
        doc = std::make_unique<SubTitle>(path.toStdString(), 25.0, ask,
                                         LegacyPage(reading.LegacyPage));
    } catch (const SubtitleError& e) {
        Questions().ShowError(parent, path + QLatin1Char('\n') + QString::fromUtf8(e.what()));
        return nullptr;
    }
    if (askedAndCancelled) {
        if (cancelled) *cancelled = true;
        return nullptr;
    }
    if (!doc->IsLoaded()) {
        Questions().ShowError(parent, TextOf(txUnknownFormat));
        return nullptr;
    }
    return doc;
}

void ShowConversionError(QWidget* parent, const TextConversionError& error) {
    const int text = error.Unreadable ? (error.Line ? txSourceLineNotValid : txSourceEntryNotValid)
                                      : (error.Line ? txLineCannotBeHeld : txEntryCannotBeHeld);
    Questions().ShowError(parent, TextOf(text)
                                      .arg(error.Number)
                                      .arg(QString::fromUtf8(CodePageName(error.CodePage))));
}
