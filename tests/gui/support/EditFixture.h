#pragma once
// The edit window on the host double: documents made from entries, the window's fields read and
// written as time texts.
#include "Edit.h"
#include "Editing.h"
#include "FakeHost.h"
#include "MaskEdit.h"
#include "ScriptedQuestions.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

inline int32_t Ms(const char* time) {
    return TimeTextToMs(time);
}

// A SubRip document holding exactly these entries, unmodified. Its code page is what the bytes
// of the texts make it: UTF-8 unless bytes says otherwise (then the one entry's text is bytes).
inline std::unique_ptr<SubTitle> MakeDocument(const std::vector<PerTitle>& entries,
                                              const std::string& bytes = "x") {
    std::string srt;
    for (std::size_t i = 0; i < std::max<std::size_t>(entries.size(), 1); ++i)
        srt += std::to_string(i + 1) + "\r\n00:00:01,000 --> 00:00:02,000\r\n" + bytes + "\r\n\r\n";
    auto doc = std::make_unique<SubTitle>(SubTitle::FromBytes(srt, "t.srt", 25.0));
    if (entries.empty()) doc->Apply(EraseChange(*doc, 0, 0));
    for (std::size_t i = 0; i < entries.size(); ++i)
        doc->Apply(SetEntryChange(*doc, int(i), entries[i]));
    doc->SetModified(false);
    return doc;
}

// n entries, the first at first, each gap after the one before, each length long, texts "e1",
// "e2", ...
inline std::vector<PerTitle> Entries(int n, int32_t first = 1000, int32_t gap = 2000,
                                     int32_t length = 1500) {
    std::vector<PerTitle> out;
    for (int i = 0; i < n; ++i)
        out.emplace_back(first + i * gap, first + i * gap + length, "e" + std::to_string(i + 1));
    return out;
}

struct TEditFixture {
    TScriptedQuestions questions;
    TFakeHost host;
    TEditForm form{&host};

    explicit TEditFixture(const std::vector<PerTitle>& entries = Entries(10), int side = 0) {
        host.Docs[side] = MakeDocument(entries);
    }
    const SubTitle& Doc(int side = 0) { return *host.Docs[side]; }
    const PerTitle& At(int index, int side = 0) { return *host.Docs[side]->Item(index); }

    // "HH:MM:SS,mmm" as the four fields show it.
    QString Time(int which) {
        QStringList parts;
        for (TMaskEdit* field : form.TimeField[which])
            parts << field->text();
        return parts[0] + ':' + parts[1] + ':' + parts[2] + ',' + parts[3];
    }
    QString Start() { return Time(0); }
    QString End() { return Time(1); }
    QString Delay() { return form.meDelay->text(); }
    QString Text() { return form.moTitle->toPlainText(); }
    // Puts a time into the four fields as if typed.
    void SetTime(int which, const QString& time) {
        const QStringList parts = time.split(QRegularExpression("[:,]"));
        for (int k = 0; k < 4; ++k)
            form.TimeField[which][k]->SetValue(parts.value(k));
    }
    void SetText(const QString& text) { form.moTitle->setPlainText(text); }
    int Steps() { return int(host.Steps.size()); }
};
