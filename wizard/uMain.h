#pragma once
// The wizard's main window. (Stand-in until the wizard's windows land.)

#include <gtkmm/window.h>

class TfrmMain : public Gtk::Window {
public:
  TfrmMain();
};
