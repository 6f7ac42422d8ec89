#pragma once
// The editor host without a main window: two documents, their steps kept for undo, and every
// call a tool makes recorded for the test to look at.
#include "EditorHost.h"
#include "Subtitle.h"

#include <QStringList>
#include <QWidget>

#include <iterator>
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
    // Steps taken back, newest last, with what does each again.
    std::vector<Step> Undone;
    QStringList Calls; // "SelectRow 0 4", "SelectRowInView 0 4", "SyncOpposite 0 4", "Undo 1"
    std::vector<int> Selected[2]; // entries of a selection with gaps (Ctrl+click)
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
    bool Undo() { return !Steps.empty() && Move(Steps, Undone, Steps.back().Side); }

    const SubTitle* Document(int side) const override {
        return side == 0 || side == 1 ? Docs[side].get() : nullptr;
    }
    bool ApplyChange(int side, const QString& name, TChange change) override {
        if (!Document(side) || change.Empty()) return false;
        TChange undo = Docs[side]->Apply(std::move(change));
        Steps.push_back({side, name, std::move(undo)});
        std::erase_if(Undone, [side](const Step& step) { return step.Side == side; });
        emit entriesChanged(side);
        return true;
    }
    void SelectRow(int side, int index) override {
        Calls << QStringLiteral("SelectRow %1 %2").arg(side).arg(index);
    }
    void SelectRowInView(int side, int index) override {
        Calls << QStringLiteral("SelectRowInView %1 %2").arg(side).arg(index);
    }
    void SyncOpposite(int side, int index) override {
        Calls << QStringLiteral("SyncOpposite %1 %2").arg(side).arg(index);
    }
    std::pair<int, int> SelectedSpan(int side) const override {
        const std::vector<int> rows = SelectedEntries(side);
        return rows.empty() ? std::pair{-1, -1} : std::pair{rows.front(), rows.back()};
    }
    // Selected unless given: the rows Top to Bottom.
    std::vector<int> SelectedEntries(int side) const override {
        if (!Selected[side].empty()) return Selected[side];
        std::vector<int> rows;
        for (int row = Top[side]; row <= Bottom[side]; ++row)
            rows.push_back(row - 1);
        return rows;
    }
    bool Linked() const override { return LinkedValue; }
    bool FilmOpen() const override { return FilmOpenValue; }
    double FilmPosition() const override { return FilmPositionValue; }
    bool FilmPlaying() const override { return FilmPlayingValue; }
    TAssStyle AssStyleValue[2];
    TAssStyle NewAssStyle(int side) const override {
        return side == 0 || side == 1 ? AssStyleValue[side] : TAssStyle();
    }
    QStringList BackedUp; // files a tool asked to keep before overwriting them
    bool KeepBackupValue = true;
    bool KeepBackup(const QString& path, QString*) override {
        BackedUp << path;
        return KeepBackupValue;
    }
    // A side's newest step taken back, or the one last taken back done again.
    void Undo(int side) override {
        Calls << QStringLiteral("Undo %1").arg(side);
        Move(Steps, Undone, side);
    }
    void Redo(int side) override {
        Calls << QStringLiteral("Redo %1").arg(side);
        Move(Undone, Steps, side);
    }
    QWidget* Window() const override { return const_cast<QWidget*>(&WindowWidget); }

private:
    // Applies the newest step of the side from one list and keeps what takes it back in the
    // other.
    bool Move(std::vector<Step>& from, std::vector<Step>& to, int side) {
        for (auto it = from.rbegin(); it != from.rend(); ++it) {
            if (it->Side != side || !Docs[side]) continue;
            Step step = std::move(*it);
            from.erase(std::next(it).base());
            TChange back = Docs[side]->Apply(std::move(step.Undo));
            to.push_back({side, step.Name, std::move(back)});
            emit entriesChanged(side);
            return true;
        }
        return false;
    }
};
