#pragma once
// 快速鍵: one key field per command of the 播放 menu. The window only edits; the main window
// applies what it answers and stores it per user (Keys/<command>).
#include <QDialog>
#include <QKeySequence>
#include <QList>

class QAction;
class QKeySequenceEdit;

class TShortcutsDialog : public QDialog {
    Q_OBJECT
public:
    TShortcutsDialog(const QList<QAction*>& commands, QWidget* parent = nullptr);
    // The key of each command in the order given; an empty one for none.
    QList<QKeySequence> Keys() const;

private:
    QList<QKeySequenceEdit*> edits_;
};
