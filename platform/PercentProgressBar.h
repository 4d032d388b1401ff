#pragma once
// A progress bar that shows its position as "NN%", as its text and as its accessible
// description (GTK 2 does not publish a progress bar's value to assistive technologies).

#include <gtkmm/progressbar.h>

namespace platform {

class PercentProgressBar : public Gtk::ProgressBar {
public:
  // showText false: the bar shows no text, but the description still carries the percentage.
  explicit PercentProgressBar(bool showText = true);
  // Wraps a bar created elsewhere (from a window description).
  static void SetPercentPosition(Gtk::ProgressBar& bar, int position, int max, bool showText);

  void SetMax(int max);
  void SetPosition(int position);
  int Position() const { return Position_; }
  int Max() const { return Max_; }

private:
  bool ShowText;
  int Position_ = 0;
  int Max_ = 100;
};

// "NN%" for a position of a maximum, clamped to 0..100; 0% for a maximum of 0 or less.
int PercentOf(int position, int max);

} // namespace platform
