#pragma once
// The tests' window into the main window: its controls by their object names, and through
// TMainFormProbe, which the window names as its friend, the state and handlers a test must set
// or read. Nothing of the program uses either.
#include "Main.h"

#include <QString>
#include <QtGlobal>

#include <utility>

// The control of the window (or of any object) that carries this object name; a test that asks
// for a name the window does not have stops there, saying which.
template <class T>
T* Ctl(const QObject& root, const QString& name) {
    T* found = root.findChild<T*>(name);
    if (!found) qFatal("no control named %s", qPrintable(name));
    return found;
}

class TMainFormProbe {
public:
    explicit TMainFormProbe(TMainForm& form) : f_(form) {}

    TSubtitlePane* Pane(int side) const { return f_.Pane[side]; }
    TSideDocument* Side(int side) const { return f_.Sides[side]; }

#define VELITRA_PROBE_FIELD(name)                                                                  \
    auto& name() { return f_.name; }
#define VELITRA_PROBE_CALL(name)                                                                   \
    template <class... A>                                                                          \
    decltype(auto) name(A&&... a) {                                                                \
        return f_.name(std::forward<A>(a)...);                                                     \
    }
    // State
    VELITRA_PROBE_FIELD(ActiveSide)
    VELITRA_PROBE_FIELD(RepeatActive)
    VELITRA_PROBE_FIELD(RepeatFrom)
    VELITRA_PROBE_FIELD(RepeatTo)
    VELITRA_PROBE_FIELD(TrackFollows)
    VELITRA_PROBE_FIELD(FilmLengthText)
    VELITRA_PROBE_FIELD(CurrentRowColor)
    VELITRA_PROBE_FIELD(GapRowColor)
    VELITRA_PROBE_FIELD(SearchText)
    VELITRA_PROBE_FIELD(ColumnTitles)
    VELITRA_PROBE_FIELD(RecentFiles)
    VELITRA_PROBE_FIELD(Lcid)
    VELITRA_PROBE_FIELD(FormSizes)
    VELITRA_PROBE_FIELD(Player)
    VELITRA_PROBE_FIELD(AskFrameRate)
    VELITRA_PROBE_FIELD(Panels)
    VELITRA_PROBE_FIELD(RecentMenu)
    VELITRA_PROBE_FIELD(StatusBar)
    VELITRA_PROBE_FIELD(AutoSaver)
    // The windows it launches
    VELITRA_PROBE_FIELD(ReplaceDialog)
    VELITRA_PROBE_FIELD(EditForm)
    VELITRA_PROBE_FIELD(SegForm)
    VELITRA_PROBE_FIELD(CombineForm)
    VELITRA_PROBE_FIELD(ImportForm)
    VELITRA_PROBE_FIELD(SaveAsForm)
    VELITRA_PROBE_FIELD(AboutForm)
    VELITRA_PROBE_FIELD(SubHeightDlg)
    VELITRA_PROBE_FIELD(AdjustForm)
    VELITRA_PROBE_FIELD(RecoveryForm)
    VELITRA_PROBE_FIELD(CheckForms)
    // Handlers a test calls as the event would
    VELITRA_PROBE_CALL(sgSubLEnter)
    VELITRA_PROBE_CALL(sgSubLClick)
    VELITRA_PROBE_CALL(sgSubLDblClick)
    VELITRA_PROBE_CALL(SelectRow)
    VELITRA_PROBE_CALL(SelectionTop)
    VELITRA_PROBE_CALL(SelectionBottom)
    VELITRA_PROBE_CALL(SyncOpposite)
    VELITRA_PROBE_CALL(ApplyChange)
    VELITRA_PROBE_CALL(MovieTimerTimer)
    VELITRA_PROBE_CALL(SetTrackBarQuietly)
    VELITRA_PROBE_CALL(FrameStep)
    VELITRA_PROBE_CALL(SubTimerLTimer)
    VELITRA_PROBE_CALL(FormKeyDown)
    VELITRA_PROBE_CALL(FormCloseQuery)
    VELITRA_PROBE_CALL(StackCaptionPanels)
    VELITRA_PROBE_CALL(aSubRepeatExecute)
    VELITRA_PROBE_CALL(muF1Click)
#undef VELITRA_PROBE_FIELD
#undef VELITRA_PROBE_CALL

private:
    TMainForm& f_;
};

inline TMainFormProbe Probe(TMainForm& form) {
    return TMainFormProbe(form);
}
