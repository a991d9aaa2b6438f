#pragma once
// The standard error box for an error that escapes a command.

#include <QString>
#include <exception>

class QWidget;

/// The message as the box shows it: a "." added when its last character comes after ".".
QString ErrorBoxText(const QString& message);
/// The user-facing message of any error a command lets through.
QString ErrorMessage(const std::exception& error);
/// Shows the box: application title, error icon, one OK button.
void ShowErrorBox(QWidget* parent, const QString& message, bool closeAtOnce);
