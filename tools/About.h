#pragma once
// The about box: a borderless window with the program's picture, its name and version, the
// maker, a rights notice and the libraries it runs on. Any click on it, or Escape, closes it.
#include "DialogBase.h"

class QLabel;
class TKelLabel;

class TAboutForm : public TDialogBase {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    QLabel* imLogo = nullptr;
    TKelLabel* lbTitle = nullptr;
    TKelLabel* lbProduct = nullptr;
    QLabel* lbVersion = nullptr;
    QLabel* lbMaker = nullptr;
    QLabel* lbRights = nullptr;
    QLabel* lbLibraries = nullptr;

    // The program's picture: a strip of film with a caption under its frame.
    static QPixmap Picture(int size);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
