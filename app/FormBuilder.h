#pragma once
// Makes the window's controls from its description.

#include "app/FormDescription.h"

#include <QFont>
#include <vector>

class HintTimer;
class QWidget;

/// The fonts the description names, resolved on this system.
struct FormFonts {
  QFont window;
  QFont px13;
};
FormFonts ResolveFonts(const FormSpec& description);

/// Applies the window's own settings (caption, place, size, font, background).
void ApplyFormSettings(QWidget* form, const FormSpec& description, const FormFonts& fonts);

/// Creates one control as a child of form, with all its settings; the window's handlers
/// named in the description are connected. Null for components that are not controls.
QWidget* CreateControl(const ComponentSpec& description, QWidget* form, const FormFonts& fonts, HintTimer& hints);

/// Chains the created controls in the description's keyboard order.
void ApplyTabOrder(QWidget* form, const std::vector<ComponentSpec>& components);
