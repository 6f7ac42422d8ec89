#pragma once
// The editor host as the main window serves it to the editing windows.
#include "EditorHost.h"

class TMainForm;

class TMainHost : public TEditorHost {
    Q_OBJECT
public:
    explicit TMainHost(TMainForm* form);

    const SubTitle* Document(int side) const override;
    bool ApplyChange(int side, const QString& name, TChange change) override;
    void SelectRow(int side, int index) override;
    void SelectRowInView(int side, int index) override;
    void SyncOpposite(int side, int index) override;
    std::vector<int> SelectedEntries(int side) const override;
    std::pair<int, int> SelectedSpan(int side) const override;
    bool Linked() const override;
    bool FilmOpen() const override;
    double FilmPosition() const override;
    bool FilmPlaying() const override;
    TAssStyle NewAssStyle(int side) const override;
    bool KeepBackup(const QString& path, QString* why) override;
    void Undo(int side) override;
    void Redo(int side) override;
    QWidget* Window() const override;

private:
    TMainForm* form_;
};
