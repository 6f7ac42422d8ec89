#pragma once
// A window's controls checked against a table: each row names a control by its objectName and
// gives its class, its text and its geometry; every mismatch is reported, each with the name.
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <QtTest>

#include <optional>

struct TControlRow {
    // The control's objectName; the root itself when the name is the root's.
    QString Name;
    // Its class name, e.g. "QPushButton"; empty: not checked.
    QString Kind;
    // What it shows (see ControlText); none: not checked.
    std::optional<QString> Text = std::nullopt;
    // Relative to its parent; a width or height below 0 is not checked (QRect(30, 20, -1, -1)
    // checks the position only). For the root only the size counts.
    std::optional<QRect> Geometry = std::nullopt;
};

// What a control shows: the title of a window, else its "text", "title" or "currentText"
// property, whichever it has first.
inline std::optional<QString> ControlText(const QWidget* w) {
    if (w->isWindow()) return w->windowTitle();
    for (const char* property : {"text", "title", "currentText"}) {
        const QVariant value = w->property(property);
        if (value.isValid()) return value.toString();
    }
    return std::nullopt;
}

inline QString RectText(const QRect& r) {
    return QStringLiteral("(%1, %2, %3, %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Every way the controls differ from the rows, each line starting with the control's name.
inline QStringList ControlMismatches(QWidget* root, const QList<TControlRow>& rows) {
    QStringList mismatches;
    for (const TControlRow& row : rows) {
        QList<QWidget*> found = root->findChildren<QWidget*>(row.Name);
        if (root->objectName() == row.Name) found.prepend(root);
        if (found.isEmpty()) {
            mismatches << row.Name + ": missing";
            continue;
        }
        if (found.size() > 1)
            mismatches << row.Name + QStringLiteral(": %1 controls of that name").arg(found.size());
        QWidget* w = found.first();
        const QString kind = QString::fromLatin1(w->metaObject()->className());
        if (!row.Kind.isEmpty() && kind != row.Kind)
            mismatches << row.Name + ": kind " + kind + ", expected " + row.Kind;
        if (row.Text) {
            const std::optional<QString> text = ControlText(w);
            if (!text)
                mismatches << row.Name + ": shows no text, expected \"" + *row.Text + '"';
            else if (*text != *row.Text)
                mismatches << row.Name + ": text \"" + *text + "\", expected \"" + *row.Text + '"';
        }
        if (row.Geometry) {
            const QRect want = *row.Geometry;
            const QRect got = w == root ? QRect(QPoint(0, 0), w->size()) : w->geometry();
            const bool same = (w == root || got.topLeft() == want.topLeft()) &&
                              (want.width() < 0 || got.width() == want.width()) &&
                              (want.height() < 0 || got.height() == want.height());
            if (!same)
                mismatches << row.Name + ": geometry " + RectText(got) + ", expected " +
                                  RectText(want);
        }
    }
    return mismatches;
}

// Fails the running test with every mismatch, one a line.
inline void CheckControls(QWidget* root, const QList<TControlRow>& rows) {
    const QStringList mismatches = ControlMismatches(root, rows);
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(QLatin1Char('\n'))));
}
