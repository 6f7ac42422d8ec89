// The language: the pack chosen by Lcid, read over the windows at start, and the three commands
// that choose the language of the next start.
#include "Main.h"

#include "DialogBase.h"
#include "LanguagePack.h"
#include "Questions.h"
#include "Reinit.h"
#include "Texts.h"

#include <QAction>
#include <QActionGroup>

void TMainForm::LoadLanguage() {
    if (!LanguageGroup) {
        LanguageGroup = new QActionGroup(this);
        LanguageGroup->setObjectName(QStringLiteral("LanguageGroup"));
        LanguageGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
        for (QAction* a : {aSelCHT, aSelCHS, aSelENU})
            LanguageGroup->addAction(a);
    }

    LoadNewResourceModule(Lcid);
    InstallQtTranslations(InterfaceLcid());
    // Dialogs made from now on read the pack as they are made; windows of any other kind as
    // they first show.
    TDialogBase::SetLanguageApplier([](QWidget* window) { ReinitializeForm(window); });
    ReadOverNewWindows();

    // Texts this window took from the table while it was built, then the pack's own values.
    UpdateWindowTitle();
    UpdateUndoCommands();
    RenameFromTable();
    ReinitializeForm(this);
}

void TMainForm::NameFromTable(QAction* command, int textId) {
    command->setProperty("textId", textId);
}

void TMainForm::RenameFromTable() {
    for (QAction* command : findChildren<QAction*>()) {
        const QVariant id = command->property("textId");
        if (id.isValid()) command->setText(TextOf(id.toInt()));
    }
}

void TMainForm::aSelCHTExecute(int lcid) {
    Lcid = lcid;
    for (QAction* a : {aSelCHT, aSelCHS, aSelENU})
        a->setChecked(a->property("tag").toInt() == lcid);
    // No owner window: the box stands on its own, as the change waits for the next start.
    Questions().MessageBox(nullptr,
                           TextOf(txRestartForLanguage) +
                               QStringLiteral("\n\n       Please restart this program."),
                           TextOf(txAppName), TMsgKind::Warning, {mrOk}, mrOk);
}
