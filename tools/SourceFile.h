#pragma once
// What the combine and import dialogs share: reading a subtitle file they take entries from, with
// the frame-rate question and the language's page the panes use, each failure told to the user;
// and the message for a text the target cannot hold.
#include "Subtitle.h"

#include <QString>

#include <memory>

class QWidget;
class TextConversionError;

// How a dialog reads a subtitle file: the question a MicroDVD file asks (none: 25 frames per
// second) and the page a file in neither UTF-8 nor UTF-16 falls back to.
struct TSourceReading {
    FrameRateQuestionWithProposal AskFrameRate;
    int LegacyPage = LegacyCodePage();
};

// The document of a subtitle file, or null. A file that is gone or unreadable, a reader's error
// and a file that gives no document are each told to the user over parent; a frame-rate question
// the user cancelled is the user's own choice, and nothing is said (cancelled then says so).
std::unique_ptr<SubTitle> ReadSourceFile(QWidget* parent, const QString& path,
                                         const TSourceReading& reading, bool* cancelled = nullptr);

// Whether the file is there to be read; else tells the user over parent.
bool SourceFileReadable(QWidget* parent, const QString& path);

// Tells the user which entry or line could not be held (or is not valid in its own page), and
// that nothing changed.
void ShowConversionError(QWidget* parent, const TextConversionError& error);
