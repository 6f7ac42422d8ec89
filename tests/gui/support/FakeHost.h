#pragma once
// The editor host without a main window: two documents, their steps kept for undo, and every
// call a tool makes recorded for the test to look at.
#include "EditorHost.h"
#include "Subtitle.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

class TFakeHost : public TEditorHost {
public:
    std::unique_ptr<SubTitle> Docs[2];
    // The steps applied, by name, and what takes each back.
    struct Step {
        int Side;
        QString Name;
        TChange Undo;
    };
    std::vector<Step> Steps;
    QStringList Calls; // "SelectRow 0 4", "SyncOpposite 0 5", "FillGrid 1"
    int Top[2] = {1, 1};
    int Bottom[2] = {1, 1};
    bool LinkedValue = false;
    bool FilmOpenValue = false;
    bool FilmPlayingValue = false;
    double FilmPositionValue = 0;
    QWidget WindowWidget;

    // Puts a document into a side, as opening a file would.
    void SetDocument(int side, std::unique_ptr<SubTitle> doc) {
        Docs[side] = std::move(doc);
        emit documentReplaced(side);
    }
    // Takes the newest step back, as the history would.
    bool Undo() {
        if (Steps.empty()) return false;
        Step step = std::move(Steps.back());
        Steps.pop_back();
        Docs[step.Side]->Apply(std::move(step.Undo));
        emit entriesChanged(step.Side);
        return true;
    }

    const SubTitle* Document(int side) const override {
        return side == 0 || side == 1 ? Docs[side].get() : nullptr;
    }
    bool ApplyChange(int side, const QString& name, TChange change) override {
        if (!Document(side) || change.Empty()) return false;
        TChange undo = Docs[side]->Apply(std::move(change));
        Steps.push_back({side, name, std::move(undo)});
        emit entriesChanged(side);
        return true;
    }
    void FillGrid(int side) override { Calls << QStringLiteral("FillGrid %1").arg(side); }
    void SelectRow(int side, int index) override {
        Calls << QStringLiteral("SelectRow %1 %2").arg(side).arg(index);
    }
    void SyncOpposite(int side, int row) override {
        Calls << QStringLiteral("SyncOpposite %1 %2").arg(side).arg(row);
    }
    int SelectionTop(int side) const override { return Top[side]; }
    int SelectionBottom(int side) const override { return Bottom[side]; }
    bool Linked() const override { return LinkedValue; }
    bool FilmOpen() const override { return FilmOpenValue; }
    double FilmPosition() const override { return FilmPositionValue; }
    bool FilmPlaying() const override { return FilmPlayingValue; }
    QStringList BackedUp; // files a tool asked to keep before overwriting them
    bool KeepBackupValue = true;
    bool KeepBackup(const QString& path, QString*) override {
        BackedUp << path;
        return KeepBackupValue;
    }
    QWidget* Window() const override { return const_cast<QWidget*>(&WindowWidget); }
};
