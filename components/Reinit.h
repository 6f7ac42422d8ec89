#pragma once
// Reading a language pack over the windows. One applier serves every window: it walks the
// window's objects by objectName and sets the properties the pack keys "objectName.property",
// per class of the window's chain below Qt's own (TDialogBase, then TSegForm, say). Windows need
// no code of their own to follow the language.
//
// Properties a pack may set (anything else in a pack is ignored):
//   texts:  windowTitle (the window itself), text (labels, buttons, check boxes, actions, styled
//           labels), title (group boxes, menus), hint ("short|long", split as every hint is),
//           toolTip, statusTip, whatsThis, placeholderText, itemN (combo box entry N) and
//           headerN (column N's title of a list or table with items)
//   layout: geometry "x, y, width, height", pos "x, y" and size "width, height", for controls
//           inside a window (never the window's own size, which FormSizes keep)
// A label that had its natural size keeps it for its new text.
#include <QList>
#include <QString>

class QWidget;
struct TLanguagePack;

// A text a pack can replace: its section and key, and the text the window shows now.
struct TWindowText {
    QString Section;
    QString Key;
    QString Text;
};

// The section that holds a window's texts: its own class name.
QString PackSection(const QWidget* window);

// Every text of the window (titles, labels, buttons, group boxes, menus and commands, tool and
// status tips, combo box entries, column titles) that holds a letter, keyed as a pack keys it.
// Controls of other windows inside it are left to their own windows.
QList<TWindowText> WindowTexts(QWidget* window);

// Reads the pack over one window; answers how many values it took. The window is marked as
// read over, so that ReadOverNewWindows does not read it again.
int ReinitializeForm(QWidget* window, const TLanguagePack& pack);
// The same with the pack in force; nothing without one.
int ReinitializeForm(QWidget* window);
// Every window given, in order.
void ReinitializeForms(const QList<QWidget*>& windows);

// From now on, a window made later that no one has read the pack over is read over as it is
// first polished (just before it first shows): dialogs made on first use, whatever their class.
void ReadOverNewWindows();
