#pragma once
// What a complete language pack holds: every text of every window start-up makes (and of the
// windows made on first use), keyed as the pack keys it, and the whole text table. Texts a
// window takes from the text table are the table's business: they are told apart by building
// the windows while every table entry carries a mark.
#include "FakePlayer.h"
#include "LanguagePack.h"
#include "Reinit.h"
#include "ReplaceDialog.h"
#include "Startup.h"
#include "Texts.h"

#include <QApplication>
#include <QMap>
#include <QMenu>
#include <QSet>

namespace packcheck {

inline const QString kMark = QStringLiteral("\u2063#table#");

// Section -> key -> the built-in text, sorted, so that the report reads in a stable order.
using TNeeds = QMap<QString, QMap<QString, QString>>;

inline TNeeds ProgramTexts() {
    TNeeds needs;
    UnloadLanguagePack();
    for (int id : TextIds()) {
        needs[QStringLiteral("Texts")][QString::number(id)] = BuiltInText(id);
        SetText(id, kMark + BuiltInText(id));
    }
    {
        TForms forms;
        CreateForms(forms, [](QWidget* video) { return new TFakePlayer(video); });
        // Windows made on first use.
        new TReplaceDialog(forms.MainForm.get());
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMenu*>(window) || PackSection(window).startsWith(QLatin1Char('Q')))
                continue;
            for (const TWindowText& text : WindowTexts(window))
                if (!text.Text.contains(kMark)) needs[text.Section][text.Key] = text.Text;
        }
    }
    ResetTexts();
    return needs;
}

// "Section/key" of every text the pack lacks (or leaves empty).
inline QStringList Missing(const TNeeds& needs, const TLanguagePack& pack) {
    QStringList missing;
    for (auto section = needs.begin(); section != needs.end(); ++section) {
        const QHash<QString, QString>* given = pack.Section(section.key());
        for (auto key = section->begin(); key != section->end(); ++key)
            if (!given || given->value(key.key()).isEmpty())
                missing << section.key() + QLatin1Char('/') + key.key();
    }
    return missing;
}

// The missing entries as pack lines with the built-in texts, ready to paste and translate.
inline QString PasteText(const TNeeds& needs, const QStringList& missing) {
    QString out;
    QString current;
    for (const QString& entry : missing) {
        const qsizetype slash = entry.indexOf(QLatin1Char('/'));
        const QString section = entry.left(slash);
        const QString key = entry.mid(slash + 1);
        if (section != current) {
            out += QStringLiteral("\n[%1]\n").arg(section);
            current = section;
        }
        out += key + QLatin1Char('=') + PackValueText(needs[section][key]) + QLatin1Char('\n');
    }
    return out;
}

inline bool IsChinese(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF) || c.isSurrogate();
}

// "Section/key=value" of every entry holding a Chinese character (or full-width punctuation).
inline QStringList ChineseEntries(const TLanguagePack& pack) {
    QStringList found;
    for (auto section = pack.Sections.begin(); section != pack.Sections.end(); ++section)
        for (auto key = section->begin(); key != section->end(); ++key)
            if (std::any_of(key->begin(), key->end(), IsChinese))
                found << section.key() + QLatin1Char('/') + key.key() + QLatin1Char('=') + *key;
    found.sort();
    return found;
}

// Entries of the pack that no window or table entry has (a control renamed or gone).
inline QStringList Unused(const TNeeds& needs, const TLanguagePack& pack) {
    QStringList unused;
    for (auto section = pack.Sections.begin(); section != pack.Sections.end(); ++section)
        for (auto key = section->begin(); key != section->end(); ++key) {
            const QString property = key.key().mid(key.key().lastIndexOf(QLatin1Char('.')) + 1);
            const bool layout = property == QLatin1String("geometry") ||
                                property == QLatin1String("pos") ||
                                property == QLatin1String("size");
            if (!layout && !needs.value(section.key()).contains(key.key()))
                unused << section.key() + QLatin1Char('/') + key.key();
        }
    unused.sort();
    return unused;
}

} // namespace packcheck
