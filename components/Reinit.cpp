#include "Reinit.h"

#include "Hint.h"
#include "LanguagePack.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QRect>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <optional>

namespace {

// Set on a window once a pack has been read over it.
constexpr char kReadOver[] = "packReadOver";
// A text longer than this is no caption: such a value is refused.
constexpr qsizetype kLongestText = 10000;
// Coordinates and sizes a pack may give.
constexpr int kFarthest = 8000;

bool HasLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// The window's objects, itself first; other windows inside it (dialogs parented to it) are
// left out with everything in them, menus are the window's own.
void Collect(QObject* object, QList<QObject*>& out) {
    for (QObject* child : object->children()) {
        const auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isWindow() && !qobject_cast<const QMenu*>(widget)) continue;
        out << child;
        Collect(child, out);
    }
}

QList<QObject*> ObjectsOf(QWidget* window) {
    QList<QObject*> objects{window};
    Collect(window, objects);
    return objects;
}

// The controls whose "text" is a caption rather than what the user typed.
bool HasCaptionText(const QObject* object) {
    if (const auto* action = qobject_cast<const QAction*>(object)) return !action->isSeparator();
    if (const auto* tool = qobject_cast<const QToolButton*>(object))
        return !tool->defaultAction(); // such a button shows its command's text
    return qobject_cast<const QLabel*>(object) || qobject_cast<const QAbstractButton*>(object) ||
           object->inherits("TKelTextControl");
}

bool HasTitle(const QObject* object) {
    return qobject_cast<const QGroupBox*>(object) || qobject_cast<const QMenu*>(object);
}

// A command without a tip of its own shows its caption as the tip.
QString OwnToolTip(const QObject* object) {
    const QString tip = object->property("toolTip").toString();
    if (const auto* action = qobject_cast<const QAction*>(object))
        if (tip == QString(action->text()).remove(QLatin1Char('&')).trimmed()) return QString();
    return tip;
}

void Add(QList<TWindowText>& out, const QString& section, const QString& key, const QString& text) {
    if (HasLetter(text)) out << TWindowText{section, key, text};
}

std::optional<QList<int>> Numbers(const QString& value, int count) {
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != count) return std::nullopt;
    QList<int> numbers;
    for (const QString& part : parts) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n < -kFarthest || n > kFarthest) return std::nullopt;
        numbers << n;
    }
    return numbers;
}

// "item3", "header0": the number after the prefix, or -1.
int IndexAfter(const QString& property, QLatin1String prefix) {
    if (!property.startsWith(prefix)) return -1;
    bool ok = false;
    const int n = property.mid(prefix.size()).toInt(&ok);
    return ok && n >= 0 ? n : -1;
}

bool IsLayoutProperty(const QString& property) {
    return property == QLatin1String("geometry") || property == QLatin1String("pos") ||
           property == QLatin1String("size");
}

// Sets one text property; false when the object does not take it.
bool SetText(QObject* object, QWidget* window, const QString& property, const QString& value) {
    if (value.isEmpty() || value.size() > kLongestText) return false;
    auto* widget = qobject_cast<QWidget*>(object);
    if (property == QLatin1String("windowTitle")) {
        if (object != window) return false;
        window->setWindowTitle(value);
        return true;
    }
    if (property == QLatin1String("text")) {
        if (!HasCaptionText(object)) return false;
        auto* label = qobject_cast<QLabel*>(object);
        // A label placed at its corner with its natural size keeps its natural size; one inside
        // a layout is sized by the layout.
        const bool natural = label && label->size() == label->sizeHint() &&
                             !(label->parentWidget() && label->parentWidget()->layout() &&
                               label->parentWidget()->layout()->indexOf(label) >= 0);
        object->setProperty("text", value);
        if (natural) label->adjustSize();
        return true;
    }
    if (property == QLatin1String("title")) {
        if (!HasTitle(object)) return false;
        object->setProperty("title", value);
        return true;
    }
    if (property == QLatin1String("hint")) {
        if (!widget && !qobject_cast<QAction*>(object)) return false;
        SetHint(object, value);
        return true;
    }
    if (property == QLatin1String("toolTip") || property == QLatin1String("statusTip") ||
        property == QLatin1String("whatsThis")) {
        if (!widget && !qobject_cast<QAction*>(object)) return false;
        object->setProperty(property.toLatin1().constData(), value);
        return true;
    }
    if (property == QLatin1String("placeholderText")) {
        auto* edit = qobject_cast<QLineEdit*>(object);
        if (!edit) return false;
        edit->setPlaceholderText(value);
        return true;
    }
    if (const int item = IndexAfter(property, QLatin1String("item")); item >= 0) {
        auto* combo = qobject_cast<QComboBox*>(object);
        if (!combo || item >= combo->count()) return false;
        combo->setItemText(item, value);
        return true;
    }
    if (const int column = IndexAfter(property, QLatin1String("header")); column >= 0) {
        if (auto* tree = qobject_cast<QTreeWidget*>(object)) {
            if (column >= tree->columnCount()) return false;
            tree->headerItem()->setText(column, value);
            return true;
        }
        if (auto* table = qobject_cast<QTableWidget*>(object)) {
            QTableWidgetItem* header =
                column < table->columnCount() ? table->horizontalHeaderItem(column) : nullptr;
            if (!header) return false;
            header->setText(value);
            return true;
        }
    }
    return false;
}

// Places a control; false for a window, a value out of range or a property of another kind.
bool SetLayout(QObject* object, const QString& property, const QString& value) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || widget->isWindow()) return false;
    if (property == QLatin1String("geometry")) {
        const auto n = Numbers(value, 4);
        if (!n || (*n)[2] < 0 || (*n)[3] < 0) return false;
        widget->setGeometry((*n)[0], (*n)[1], (*n)[2], (*n)[3]);
        return true;
    }
    if (property == QLatin1String("pos")) {
        const auto n = Numbers(value, 2);
        if (!n) return false;
        widget->move((*n)[0], (*n)[1]);
        return true;
    }
    if (property == QLatin1String("size")) {
        const auto n = Numbers(value, 2);
        if (!n || (*n)[0] < 0 || (*n)[1] < 0) return false;
        widget->resize((*n)[0], (*n)[1]);
        return true;
    }
    return false;
}

// Reads the polish of every new window, for windows no one read the pack over.
class TNewWindowReader : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Polish) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow() && !qobject_cast<QMenu*>(widget) &&
                !widget->property(kReadOver).toBool())
                ReinitializeForm(widget);
        }
        return false;
    }
};

} // namespace

QString PackSection(const QWidget* window) {
    return QString::fromLatin1(window->metaObject()->className());
}

QList<TWindowText> WindowTexts(QWidget* window) {
    QList<TWindowText> out;
    const QString section = PackSection(window);
    Add(out, section, window->objectName() + QLatin1String(".windowTitle"), window->windowTitle());
    for (QObject* object : ObjectsOf(window)) {
        const QString name = object->objectName();
        if (name.isEmpty()) continue;
        if (HasCaptionText(object))
            Add(out, section, name + QLatin1String(".text"), object->property("text").toString());
        if (HasTitle(object))
            Add(out, section, name + QLatin1String(".title"), object->property("title").toString());
        if (!qobject_cast<QWidget*>(object) && !qobject_cast<QAction*>(object)) continue;
        if (const auto* tool = qobject_cast<const QToolButton*>(object);
            tool && tool->defaultAction())
            continue;
        const QString hint = object->property("hint").toString();
        if (!hint.isEmpty()) {
            Add(out, section, name + QLatin1String(".hint"), hint);
        } else {
            Add(out, section, name + QLatin1String(".toolTip"), OwnToolTip(object));
            Add(out, section, name + QLatin1String(".statusTip"),
                object->property("statusTip").toString());
        }
        Add(out, section, name + QLatin1String(".whatsThis"),
            object->property("whatsThis").toString());
        if (const auto* edit = qobject_cast<const QLineEdit*>(object))
            Add(out, section, name + QLatin1String(".placeholderText"), edit->placeholderText());
        if (const auto* combo = qobject_cast<const QComboBox*>(object))
            for (int i = 0; i < combo->count(); ++i)
                Add(out, section, name + QStringLiteral(".item%1").arg(i), combo->itemText(i));
        if (const auto* tree = qobject_cast<const QTreeWidget*>(object))
            for (int i = 0; i < tree->columnCount(); ++i)
                Add(out, section, name + QStringLiteral(".header%1").arg(i),
                    tree->headerItem()->text(i));
        if (const auto* table = qobject_cast<const QTableWidget*>(object))
            for (int i = 0; i < table->columnCount(); ++i)
                if (const QTableWidgetItem* header = table->horizontalHeaderItem(i))
                    Add(out, section, name + QStringLiteral(".header%1").arg(i), header->text());
    }
    return out;
}

int ReinitializeForm(QWidget* window, const TLanguagePack& pack) {
    window->setProperty(kReadOver, true);
    // Per class of the window's chain, the first below Qt's own classes first.
    QStringList classes;
    for (const QMetaObject* meta = window->metaObject(); meta; meta = meta->superClass()) {
        const QString name = QString::fromLatin1(meta->className());
        if (!name.startsWith(QLatin1Char('Q'))) classes.prepend(name);
    }
    QMultiHash<QString, QObject*> byName;
    for (QObject* object : ObjectsOf(window))
        if (!object->objectName().isEmpty()) byName.insert(object->objectName(), object);

    int taken = 0;
    for (const QString& className : classes) {
        const QHash<QString, QString>* section = pack.Section(className);
        if (!section) continue;
        // Texts first, so that a label sized by its text is then placed where the pack says.
        for (const bool layout : {false, true}) {
            for (auto it = section->begin(); it != section->end(); ++it) {
                const qsizetype dot = it.key().lastIndexOf(QLatin1Char('.'));
                if (dot <= 0) continue;
                const QString name = it.key().left(dot);
                const QString property = it.key().mid(dot + 1);
                if (IsLayoutProperty(property) != layout) continue;
                for (QObject* object : byName.values(name))
                    if (layout ? SetLayout(object, property, it.value())
                               : SetText(object, window, property, it.value()))
                        ++taken;
            }
        }
    }
    return taken;
}

int ReinitializeForm(QWidget* window) {
    const TLanguagePack* pack = CurrentPack();
    if (!pack) {
        window->setProperty(kReadOver, true);
        return 0;
    }
    return ReinitializeForm(window, *pack);
}

void ReinitializeForms(const QList<QWidget*>& windows) {
    for (QWidget* window : windows)
        if (window) ReinitializeForm(window);
}

void ReadOverNewWindows() {
    static TNewWindowReader* reader = nullptr;
    if (reader || !qApp) return;
    reader = new TNewWindowReader(qApp);
    qApp->installEventFilter(reader);
}
