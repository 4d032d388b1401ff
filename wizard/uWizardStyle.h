#pragma once
// Fonts and colours of the wizard's windows. The windows ask for "PT Astra Fact"; where that
// family is not installed, the desktop's own font family is used instead.

#include <string>

#include <gdkmm/color.h>
#include <gtkmm/label.h>
#include <gtkmm/widget.h>
#include <pangomm/fontdescription.h>

namespace wizard_style {

// The family to draw with: the wanted one when installed, else the desktop's default family.
std::string FontFamily(const std::string& wanted = "PT Astra Fact");

// Sets the widget's font: family (with fallback), size in points or, when pixels is true, in
// pixels, and the weight, style and underline.
void SetFont(Gtk::Widget& widget, double size, bool pixels = false, bool bold = false,
             bool italic = false, const std::string& family = "PT Astra Fact");

// Sets the family alone (keeps the size the theme gives).
void SetFontFamily(Gtk::Widget& widget, const std::string& family = "PT Astra Fact");

// Lets a word-wrapped label wrap at the width it is given (GTK 2 wraps at a fixed width).
void WrapToWidth(Gtk::Label& label);

// "#RRGGBB" for 0xRRGGBB.
Gdk::Color Color(unsigned rgb);

// Markup-safe text.
std::string Escape(const std::string& text);

} // namespace wizard_style
