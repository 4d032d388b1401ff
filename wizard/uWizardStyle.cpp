#include "uWizardStyle.h"

#include <cstdio>
#include <map>

#include <glibmm/markup.h>
#include <gtkmm/label.h>
#include <pangomm/context.h>
#include <pangomm/fontfamily.h>

namespace wizard_style {
namespace {

bool FamilyInstalled(Gtk::Widget& widget, const std::string& family) {
  Glib::RefPtr<Pango::Context> context = widget.get_pango_context();
  if (!context)
    return false;
  for (const Glib::RefPtr<Pango::FontFamily>& candidate : context->list_families())
    if (candidate->get_name().casefold() == Glib::ustring(family).casefold())
      return true;
  return false;
}

std::string DesktopFamily(Gtk::Widget& widget) {
  Pango::FontDescription font =
      widget.get_style() ? widget.get_style()->get_font() : Pango::FontDescription("Sans");
  std::string family = font.get_family();
  return family.empty() ? std::string("Sans") : family;
}

std::string ResolveFamily(Gtk::Widget& widget, const std::string& wanted) {
  // Listing the font families is slow: each wanted family is looked up once per run.
  static std::map<std::string, std::string> resolved;
  auto found = resolved.find(wanted);
  if (found != resolved.end())
    return found->second;
  std::string result = FamilyInstalled(widget, wanted) ? wanted : DesktopFamily(widget);
  resolved[wanted] = result;
  return result;
}

} // namespace

std::string FontFamily(const std::string& wanted) {
  Gtk::Label probe;
  return ResolveFamily(probe, wanted);
}

void SetFont(Gtk::Widget& widget, double size, bool pixels, bool bold, bool italic,
             const std::string& family) {
  Pango::FontDescription font;
  font.set_family(ResolveFamily(widget, family));
  if (pixels)
    font.set_absolute_size(size * Pango::SCALE);
  else
    font.set_size(static_cast<int>(size * Pango::SCALE));
  font.set_weight(bold ? Pango::WEIGHT_BOLD : Pango::WEIGHT_NORMAL);
  font.set_style(italic ? Pango::STYLE_ITALIC : Pango::STYLE_NORMAL);
  widget.modify_font(font);
}

void SetFontFamily(Gtk::Widget& widget, const std::string& family) {
  Pango::FontDescription font =
      widget.get_style() ? widget.get_style()->get_font() : Pango::FontDescription();
  font.set_family(ResolveFamily(widget, family));
  widget.modify_font(font);
}

void WrapToWidth(Gtk::Label& label) {
  label.set_line_wrap(true);
  label.signal_size_allocate().connect([&label](Gtk::Allocation& allocation) {
    // Asking for the given width (padding included) lets the label wrap and compute its
    // height for it; the window's size is fixed, so this settles after one round.
    int xpad = 0, ypad = 0;
    label.get_padding(xpad, ypad);
    int width = allocation.get_width() - 2 * xpad;
    int currentWidth = 0, currentHeight = 0;
    label.get_size_request(currentWidth, currentHeight);
    if (width > 1 && currentWidth != width)
      label.set_size_request(width, -1);
  });
}

Gdk::Color Color(unsigned rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFFu);
  return Gdk::Color(text);
}

std::string Escape(const std::string& text) {
  return Glib::Markup::escape_text(text);
}

} // namespace wizard_style
