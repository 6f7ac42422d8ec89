// The Chinese conversion and the readability checks in the main window: 中文轉換 and 檢查字幕 for
// each side, on the side's menu, and in the panes' context menu for the pane it opens over.
#include "Main.h"

#include "CheckForm.h"
#include "ChineseForm.h"
#include "EditorHost.h"
#include "Questions.h"
#include "Subtitle.h"
#include "SubtitleGrid.h"
#include "SubtitlePane.h"
#include "Texts.h"

#include <QMenu>

void TMainForm::BuildChineseCommands() {
    NewCommand(aChineseL, "aChineseL", TextOf(txChineseTitle), "Edit", QString());
    NewCommand(aChineseR, "aChineseR", TextOf(txChineseTitle), "Edit", QString());
    NewCommand(aCheckL, "aCheckL", TextOf(txCheckTitle), "Edit", QString());
    NewCommand(aCheckR, "aCheckR", TextOf(txCheckTitle), "Edit", QString());
    for (QAction* a : {aChineseL, aChineseR})
        NameFromTable(a, txChineseTitle);
    for (QAction* a : {aCheckL, aCheckR})
        NameFromTable(a, txCheckTitle);
    for (int side = 0; side < 2; ++side) {
        QAction* chinese = side ? aChineseR : aChineseL;
        QAction* check = side ? aCheckR : aCheckL;
        chinese->setProperty("tag", side);
        check->setProperty("tag", side);
        connect(chinese, &QAction::triggered, this, [this, side] { aChineseLExecute(side); });
        connect(check, &QAction::triggered, this, [this, side] { aCheckLExecute(side); });
    }
}

void TMainForm::AddChineseCommands(QMenu* menu, int side) {
    menu->addSeparator();
    menu->addAction(side ? aChineseR : aChineseL);
    menu->addAction(side ? aCheckR : aCheckL);
}

void TMainForm::AddChinesePopup(QMenu* popup) {
    // One context menu serves both panes: its entries act on the active one, where it opened.
    popup->addSeparator();
    QAction* chinese = popup->addAction(TextOf(txChineseTitle));
    chinese->setObjectName(QStringLiteral("popChinese"));
    NameFromTable(chinese, txChineseTitle);
    connect(chinese, &QAction::triggered, this, [this] { aChineseLExecute(ActiveDocumentSide()); });
    QAction* check = popup->addAction(TextOf(txCheckTitle));
    check->setObjectName(QStringLiteral("popCheck"));
    NameFromTable(check, txCheckTitle);
    connect(check, &QAction::triggered, this, [this] { aCheckLExecute(ActiveDocumentSide()); });
}

void TMainForm::aChineseLExecute(int side) {
    if (side < 0 || side > 1 || !Host()->Document(side)) {
        Questions().ShowError(this, TextOf(txLoadSubtitleFirst));
        return;
    }
    TChineseForm form(Host(), this);
    form.SetTarget(side, SelectionTop(side), SelectionBottom(side));
    // OK is a step in the side's history, which the pane shows by rows.
    form.ShowModalThroughQuestions(this);
    activateWindow();
}

void TMainForm::aCheckLExecute(int side) {
    if (side < 0 || side > 1 || !Host()->Document(side)) {
        Questions().ShowError(this, TextOf(txLoadSubtitleFirst));
        return;
    }
    // One list window per side, kept while the editor runs; it follows the side by itself.
    if (!CheckForms[side]) {
        CheckForms[side] = new TCheckForm(Host(), this);
        CheckForms[side]->SetTarget(side);
        // Both grids mark problems by the limits last set, whichever side's window set them.
        connect(CheckForms[side], &TCheckForm::limitsChanged, this, [this](const TCheckLimits& l) {
            for (TSubtitlePane* pane : Pane)
                pane->GridModel->SetCheckLimits(l);
        });
    }
    CheckForms[side]->show();
    CheckForms[side]->raise();
    CheckForms[side]->activateWindow();
}
