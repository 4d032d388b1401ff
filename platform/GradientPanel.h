#pragma once
// Panels painted by hand: a vertical colour gradient and a filled shape with a border. Both are
// containers, so they can hold positioned children (the gradient panel) or a layout (the shape).

#include <cstdint>

#include <gtkmm/eventbox.h>
#include <gtkmm/fixed.h>

namespace platform {

// An RGB colour as written in the window descriptions (#RRGGBB as 0xRRGGBB).
struct RgbColor {
  uint8_t R = 0, G = 0, B = 0;
  static constexpr RgbColor FromHex(uint32_t rgb) {
    return RgbColor{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                    static_cast<uint8_t>(rgb)};
  }
};

// Fills itself with a gradient from StartColor at the top to EndColor at the bottom and places
// its children at fixed positions.
class GradientPanel : public Gtk::Fixed {
public:
  GradientPanel(RgbColor startColor, RgbColor endColor);

protected:
  bool on_expose_event(GdkEventExpose* event) override;

private:
  RgbColor StartColor;
  RgbColor EndColor;
};

// Paints the event box as a shape: a filled rectangle inset by `inset` pixels left and right,
// with a border of the given colour and width; the box's children are drawn on top.
void PaintAsShape(Gtk::EventBox& box, RgbColor fill, RgbColor border, int borderWidth,
                  int inset = 0);

} // namespace platform
