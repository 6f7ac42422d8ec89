#pragma once
// A hint is "short|long": the short part is the tooltip, the long part the status text. Without
// a bar the whole hint is both; a hint beginning with "|" has only the long part. Commands and
// controls take their hints through this one rule.
#include <QObject>
#include <QString>
#include <QVariant>

inline void SetHint(QObject* control, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    control->setProperty("hint", hint);
    control->setProperty("toolTip", bar < 0 ? hint : hint.left(bar));
    control->setProperty("statusTip", bar < 0 ? hint : hint.mid(bar + 1));
}
