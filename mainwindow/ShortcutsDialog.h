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
    // others: the window's other commands, whose keys the dialog's may not take either.
    TShortcutsDialog(const QList<QAction*>& commands, QWidget* parent = nullptr,
                     const QList<QAction*>& others = {});
    // The key of each command in the order given; an empty one for none.
    QList<QKeySequence> Keys() const;
    // A key given twice (two of these commands, or one of them and another command), said in
    // the words of the text table; empty when every key is free. Two commands on one key would
    // leave the key doing neither.
    QString Clash() const;

    // OK is refused, with the clash said, while one key is given twice.
    void accept() override;

private:
    QList<QAction*> commands_;
    QList<QAction*> others_;
    QList<QKeySequenceEdit*> edits_;
};
