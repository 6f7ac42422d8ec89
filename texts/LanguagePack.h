#pragma once
// Language packs: a UTF-8 INI file beside the program or in its installed data folder
// (velitra.CHS, velitra.ENU, or the two-letter fallback velitra.CH, velitra.EN) with a [Texts]
// section keyed by text-table number and one section per window class keyed
// "objectName.property". A pack is data only: it is read
// as text, never run, and every value stays a text until a window takes it through the
// properties it allows (components/Reinit.h).
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

struct TLanguagePack {
    // The file it was read from, and the language id it was loaded for.
    QString FileName;
    int Lcid = 0;
    // Section -> key -> value. Keys outside a section are dropped.
    QHash<QString, QHash<QString, QString>> Sections;

    const QHash<QString, QString>* Section(const QString& name) const;
};

// Larger files are not packs: they are ignored unread.
inline constexpr qint64 kLargestPack = 1024 * 1024;

// The pack code of a language id: 1028 CHT, 2052 CHS, 1033 ENU; empty for any other id.
QString PackCode(int lcid);
// Where the packs of a program file are looked for, in order: the program's file with its
// extension (or, without one, nothing) replaced by "." and the code, then by "." and the code's
// first two letters; then the same names in the installed data folder, VELITRA_PACK_DIR from the
// program's folder ("../share/velitra" for bin/velitra). Only the file name's own extension
// counts, never a dot in a folder name.
QStringList PackFileNames(const QString& programPath, const QString& code);

// Reads a pack. Nothing (with the reason in why) for a file that is missing, not a plain file,
// larger than kLargestPack, or not UTF-8 text; lines it does not understand are skipped.
std::optional<TLanguagePack> ReadLanguagePack(const QString& path, QString* why = nullptr);
// Parses a pack's text; the same rules as ReadLanguagePack.
std::optional<TLanguagePack> ParseLanguagePack(const QByteArray& bytes, QString* why = nullptr);

// The program file whose packs are looked for: the running program unless set (tests set
// another; empty sets the running program back).
void SetPackProgram(const QString& programPath);
QString PackProgram();

// Loads the pack of lcid beside programPath (PackProgram() when empty) and makes it the
// source of the text table and of every window read over later. The loaded pack, or null when
// none could be loaded: then the texts in force stay.
const TLanguagePack* LoadNewResourceModule(int lcid, const QString& programPath = QString());
// The pack in force, or null for the built-in texts.
const TLanguagePack* CurrentPack();
// Back to the built-in texts and no pack.
void UnloadLanguagePack();

// The language id the interface shows: the pack's, or the built-in Traditional Chinese.
int InterfaceLcid();
// Installs Qt's own translations (message box buttons, file, font and colour choosers) for a
// language id; false when none are installed on this machine.
bool InstallQtTranslations(int lcid);

// A value written as a pack holds it: quoted, with backslash escapes, when a reader would
// otherwise lose part of it (blanks at either end, quotes, backslashes, line breaks, ";").
QString PackValueText(const QString& value);
