#pragma once
// What the combine and import dialog tests share: documents by their starts, a folder for the
// files a dialog reads, a scripted frame-rate question that counts how often it is asked, and
// OK pressed as the user presses it.
#include "DocBuilder.h"
#include "FakeHost.h"
#include "ScriptedQuestions.h"
#include "SourceFile.h"

#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QQueue>
#include <QTemporaryDir>

#include <optional>
#include <string>
#include <vector>

// Entries at these starts, 500 ms long, texts prefix + "1", prefix + "2", ...
inline std::unique_ptr<SubTitle> StartsDoc(const std::vector<int>& starts,
                                           const std::string& prefix = "t") {
    std::vector<TEntrySpec> entries;
    for (size_t k = 0; k < starts.size(); ++k)
        entries.push_back({starts[k], starts[k] + 500, prefix + std::to_string(k + 1)});
    return MakeDoc(entries);
}

inline QList<int> StartsOf(const SubTitle& doc) {
    QList<int> starts;
    for (const PerTitle& e : doc.Entries())
        starts << e.Start;
    return starts;
}

inline QStringList TextsOf(const SubTitle& doc) {
    QStringList texts;
    for (const PerTitle& e : doc.Entries())
        texts << QString::fromStdString(e.Text);
    return texts;
}

template <class TForm> struct TMergeFixture {
    TScriptedQuestions questions;
    TFakeHost host;
    TForm form{&host};
    QTemporaryDir dir;
    // Answers of the frame-rate question, in order (none left: "25"); how often it was asked.
    QQueue<std::optional<std::string>> Rates;
    int Asked = 0;

    TMergeFixture() {
        form.Reading.AskFrameRate = [this](std::optional<double>) -> std::optional<std::string> {
            ++Asked;
            return Rates.isEmpty() ? std::optional<std::string>("25") : Rates.dequeue();
        };
        form.Reading.LegacyPage = kCodePageBig5;
    }
    void Docs(std::unique_ptr<SubTitle> target, std::unique_ptr<SubTitle> opposite, int side = 0) {
        host.SetDocument(side, std::move(target));
        host.SetDocument(1 - side, std::move(opposite));
        form.SetTarget(side, host.Docs[side].get(), host.Docs[1 - side].get());
    }
    SubTitle& Target(int side = 0) { return *host.Docs[side]; }
    // OK pressed; whether the dialog ended with OK.
    bool Ok() {
        form.setResult(0);
        form.bbtnOk->click();
        return form.result() == QDialog::Accepted;
    }
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return path;
    }
    QStringList MessageTexts() const {
        QStringList texts;
        for (const auto& m : questions.Messages)
            texts << m.Text;
        return texts;
    }
};

// A SubRip file's bytes with entries at these starts.
inline QByteArray SubRipBytes(const std::vector<int>& starts, const std::string& prefix = "f") {
    std::vector<TEntrySpec> entries;
    for (size_t k = 0; k < starts.size(); ++k)
        entries.push_back({starts[k], starts[k] + 500, prefix + std::to_string(k + 1)});
    return QByteArray::fromStdString(SubRipText(entries));
}

// A MicroDVD file of two entries: frames 25-50 and 50-75.
inline QByteArray MicroDvdBytes() {
    return QByteArrayLiteral("{25}{50}one\r\n{50}{75}two\r\n");
}
