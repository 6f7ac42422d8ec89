#pragma once
// Icons of the commands: the platform theme's where it has one, otherwise a small picture
// drawn here, so that the tool bars never show empty buttons.
#include <QIcon>
#include <QString>

// The icon of the command with this object name; a null icon for commands without one.
QIcon CommandIcon(const QString& commandName);
