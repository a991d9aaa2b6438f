#pragma once
// Modal boxes of the program: once the program is to end, a box closes by itself.

#include <QString>

class QWidget;

/// Shows a modal box captioned with the application title, plain text and one OK button,
/// and waits for it; with closeAtOnce it closes right after it opens.
void ShowModalBox(QWidget* parent, const QString& text, bool errorIcon, bool closeAtOnce);
