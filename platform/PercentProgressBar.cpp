#include "PercentProgressBar.h"

#include <algorithm>
#include <string>

#include <atkmm/object.h>

namespace platform {

int PercentOf(int position, int max) {
  if (max <= 0)
    return 0;
  long long percent = static_cast<long long>(position) * 100 / max;
  return static_cast<int>(std::clamp<long long>(percent, 0, 100));
}

PercentProgressBar::PercentProgressBar(bool showText) : ShowText(showText) {
  SetPercentPosition(*this, 0, Max_, ShowText);
}

void PercentProgressBar::SetPercentPosition(Gtk::ProgressBar& bar, int position, int max,
                                            bool showText) {
  int percent = PercentOf(position, max);
  std::string text = std::to_string(percent) + "%";
  bar.set_fraction(percent / 100.0);
  bar.set_text(showText ? text : "");
  Glib::RefPtr<Atk::Object> accessible = bar.get_accessible();
  if (accessible)
    accessible->set_description(text);
}

void PercentProgressBar::SetMax(int max) {
  Max_ = max;
  SetPercentPosition(*this, Position_, Max_, ShowText);
}

void PercentProgressBar::SetPosition(int position) {
  Position_ = position;
  SetPercentPosition(*this, Position_, Max_, ShowText);
}

} // namespace platform
