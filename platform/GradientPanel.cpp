#include "GradientPanel.h"

#include <cairomm/context.h>
#include <gdkmm/window.h>

namespace platform {
namespace {

void SetSource(const Cairo::RefPtr<Cairo::Context>& cr, RgbColor color) {
  cr->set_source_rgb(color.R / 255.0, color.G / 255.0, color.B / 255.0);
}

} // namespace

GradientPanel::GradientPanel(RgbColor startColor, RgbColor endColor)
    : StartColor(startColor), EndColor(endColor) {
  set_has_window(true);
}

bool GradientPanel::on_expose_event(GdkEventExpose* event) {
  Glib::RefPtr<Gdk::Window> window = get_window();
  if (window) {
    Cairo::RefPtr<Cairo::Context> cr = window->create_cairo_context();
    Gtk::Allocation area = get_allocation();
    Cairo::RefPtr<Cairo::LinearGradient> gradient =
        Cairo::LinearGradient::create(0, 0, area.get_width() / 4.0, area.get_height());
    gradient->add_color_stop_rgb(0, StartColor.R / 255.0, StartColor.G / 255.0,
                                 StartColor.B / 255.0);
    gradient->add_color_stop_rgb(1, EndColor.R / 255.0, EndColor.G / 255.0, EndColor.B / 255.0);
    cr->set_source(gradient);
    cr->rectangle(0, 0, area.get_width(), area.get_height());
    cr->fill();
  }
  return Gtk::Fixed::on_expose_event(event);
}

void PaintAsShape(Gtk::EventBox& box, RgbColor fill, RgbColor border, int borderWidth, int inset) {
  box.set_app_paintable(true);
  box.signal_expose_event().connect(
      [&box, fill, border, borderWidth, inset](GdkEventExpose*) {
        Glib::RefPtr<Gdk::Window> window = box.get_window();
        if (!window)
          return false;
        Cairo::RefPtr<Cairo::Context> cr = window->create_cairo_context();
        Gtk::Allocation area = box.get_allocation();
        // An event box with its own window draws at 0,0 of that window.
        double half = borderWidth / 2.0;
        double width = area.get_width() - 2.0 * inset;
        double height = area.get_height();
        cr->rectangle(inset + half, half, width - borderWidth, height - borderWidth);
        SetSource(cr, fill);
        cr->fill_preserve();
        SetSource(cr, border);
        cr->set_line_width(borderWidth);
        cr->stroke();
        return false; // the children are drawn next
      },
      false);
}

} // namespace platform
