#pragma once
// The main window as data: its own settings and every component in creation order.
// The window is built from this table and nothing else, so the table reads like the window.

#include <QRect>
#include <vector>

enum class ComponentKind { Label, Memo, SpinEdit, CheckBox, Button, CloseButton, Grid, Query, DataSource };
enum class FontKind { Window, Px13 };
enum class Glyph { None, Stop };

/// The further settings of one component; chained like Settings().Px13().Bold().
struct Settings {
  FontKind font = FontKind::Window;
  bool bold = false;
  bool navy = false;
  bool autoSize = false;
  bool checked = false;
  bool hidden = false;
  bool hasValue = false;
  double value = 0;
  Glyph glyph = Glyph::None;
  const char* hint = nullptr;     // CR LF between lines
  const char* onClick = nullptr;  // the window's handler a click calls

  // One builder per line reads as the list of settings it is.
  // clang-format off
  constexpr Settings Px13() const { Settings s = *this; s.font = FontKind::Px13; return s; }
  constexpr Settings Bold() const { Settings s = *this; s.bold = true; return s; }
  constexpr Settings Navy() const { Settings s = *this; s.navy = true; return s; }
  constexpr Settings AutoSize() const { Settings s = *this; s.autoSize = true; return s; }
  constexpr Settings Checked() const { Settings s = *this; s.checked = true; return s; }
  constexpr Settings Hidden() const { Settings s = *this; s.hidden = true; return s; }
  constexpr Settings Value(double v) const { Settings s = *this; s.hasValue = true; s.value = v; return s; }
  constexpr Settings Picture(Glyph g) const { Settings s = *this; s.glyph = g; return s; }
  constexpr Settings Hint(const char* text) const { Settings s = *this; s.hint = text; return s; }
  constexpr Settings OnClick(const char* handler) const { Settings s = *this; s.onClick = handler; return s; }
  // clang-format on
};

constexpr int kNoTab = -1;

/// One row of the window's description.
struct ComponentSpec {
  const char* name;
  ComponentKind kind;
  const char* text;  // UTF-8
  QRect geometry;    // client coordinates; empty for components that are not drawn
  int tab;           // place in the keyboard order, kNoTab when not in it
  Settings settings;
};

/// The window's own settings.
struct FormSpec {
  const char* caption;     // UTF-8
  QRect frame;             // place and size, frame included
  const char* fontFamily;  // preferred family; a metric-compatible one stands in when missing
  const char* fallbackFamily;
  int fontPixels;          // window font
  int largePixels;         // "13 px" components
  const char* firstFocus;  // the control that has the focus when the window opens
};

const FormSpec& MainFormSpec();
/// Components in creation order: a windowed control created later lies above earlier ones.
const std::vector<ComponentSpec>& MainFormComponents();
