#pragma once
// Button pictures drawn by code: the STOP strip and the open door of the close button.

#include <QIcon>
#include <QImage>

/// A 32 x 16 strip: the STOP sign, then its grey copy for the disabled state, on olive.
QImage StopStrip();
/// An icon from a strip of two 16 x 16 images (normal, disabled) whose lower-left
/// pixel's colour is transparent.
QIcon IconFromStrip(const QImage& strip);
/// The open door the close button shows.
QIcon DoorIcon();
