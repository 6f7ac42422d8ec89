#pragma once
// The modeless find-and-replace dialog. It only collects the two texts and says which button was
// pressed; the main window reads the texts again at each press and does the work on the document
// of the pane active at that moment. Letters match in either case unless cbMatchCase is checked;
// the search runs downwards.
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit TReplaceDialog(QWidget* parent = nullptr);

    QString FindText() const;
    QString ReplaceText() const;
    void SetFindText(const QString& text);
    bool MatchCase() const;

    QLabel* lbFind = nullptr;
    QLineEdit* edFind = nullptr;
    QLabel* lbReplace = nullptr;
    QLineEdit* edReplace = nullptr;
    QCheckBox* cbMatchCase = nullptr;
    QPushButton* bbtnFindNext = nullptr;
    QPushButton* bbtnReplace = nullptr;
    QPushButton* bbtnReplaceAll = nullptr;
    QPushButton* bbtnClose = nullptr;

signals:
    void findNextRequested();
    void replaceRequested();
    void replaceAllRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateButtons();
};
