#pragma once
// Questions to the user answered from a script, and every question asked kept for the test to
// look at. Installed for its lifetime.
#include "Questions.h"

#include <QDialog>
#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

class TScriptedQuestions : public TQuestions {
public:
    struct Message {
        QString Text;
        QString Title;
        TMsgKind Kind;
        QList<int> Buttons;
        int DefaultButton;
        QWidget* Parent = nullptr;
    };

    TScriptedQuestions() : previous_(SetQuestions(this)) {}
    ~TScriptedQuestions() override { SetQuestions(previous_); }

    // Answers in order; a message box with no answer left gets its default button.
    QQueue<int> MessageAnswers;
    QQueue<QString> FileAnswers;
    QQueue<std::optional<QString>> InputAnswers;
    QQueue<std::optional<int>> ItemAnswers;
    // The lists ChooseItem offered, and the item chosen at first in each.
    QList<QStringList> OfferedItems;
    QList<int> OfferedItem;
    QStringList ItemPrompts; // the prompt of each
    QQueue<std::optional<QFont>> FontAnswers;
    QQueue<std::optional<QColor>> ColorAnswers;
    QQueue<std::optional<TSaveChoice>> SaveChoiceAnswers;
    QQueue<std::optional<TFontChoice>> FontColorAnswers;
    // Fills a modal dialog's fields and answers for it; without one a dialog is cancelled.
    QQueue<std::function<int(QDialog*)>> DialogScripts;

    QList<Message> Messages;
    QStringList FileTitles;
    // The folder each open or save chooser opened in.
    QStringList FileFolders;
    // What the last save chooser was opened with.
    int LastFilterIndex = -1;
    QString LastInitialPath;
    // What each colour and each font-and-colour question offered.
    QList<QColor> ColorOffers;
    QList<TFontChoice> FontColorOffers;

    int MessageBox(QWidget* parent, const QString& text, const QString& title, TMsgKind kind,
                   const QList<int>& buttons, int defaultButton) override {
        Messages.append({text, title, kind, buttons, defaultButton, parent});
        return MessageAnswers.isEmpty() ? defaultButton : MessageAnswers.dequeue();
    }
    QString OpenFileName(QWidget*, const QString& title, const QString& filter, const QString&,
                         const QString& folder) override {
        FileTitles << title;
        LastFilter = filter;
        FileFolders << folder;
        return FileAnswers.isEmpty() ? QString() : FileAnswers.dequeue();
    }
    QString SaveFileName(QWidget*, const QString& title, const QString& filter, const QString&,
                         const QString& folder) override {
        FileTitles << title;
        LastFilter = filter;
        FileFolders << folder;
        return FileAnswers.isEmpty() ? QString() : FileAnswers.dequeue();
    }
    std::optional<TSaveChoice> SaveFileChoice(QWidget*, const QString& title, const QString& filter,
                                              int initialFilterIndex,
                                              const QString& initialPath) override {
        FileTitles << title;
        LastFilter = filter;
        LastFilterIndex = initialFilterIndex;
        LastInitialPath = initialPath;
        return SaveChoiceAnswers.isEmpty() ? std::nullopt : SaveChoiceAnswers.dequeue();
    }
    std::optional<QString> InputBox(QWidget*, const QString&, const QString&,
                                    const QString&) override {
        return InputAnswers.isEmpty() ? std::nullopt : InputAnswers.dequeue();
    }
    std::optional<int> ChooseItem(QWidget*, const QString&, const QString& prompt,
                                  const QStringList& items, int current) override {
        ItemPrompts << prompt;
        OfferedItems << items;
        OfferedItem << current;
        return ItemAnswers.isEmpty() ? std::nullopt : ItemAnswers.dequeue();
    }
    std::optional<QFont> ChooseFont(QWidget*, const QFont&) override {
        return FontAnswers.isEmpty() ? std::nullopt : FontAnswers.dequeue();
    }
    std::optional<QColor> ChooseColor(QWidget*, const QColor& initial) override {
        ColorOffers << initial;
        return ColorAnswers.isEmpty() ? std::nullopt : ColorAnswers.dequeue();
    }
    std::optional<TFontChoice> ChooseFontAndColor(QWidget*, const QFont& font,
                                                  const QColor& color) override {
        FontColorOffers.append({font, color});
        return FontColorAnswers.isEmpty() ? std::nullopt : FontColorAnswers.dequeue();
    }
    int RunModal(QDialog* dialog) override {
        return DialogScripts.isEmpty() ? mrCancel : DialogScripts.dequeue()(dialog);
    }

    QString LastFilter;

private:
    TQuestions* previous_;
};
