#pragma once
// The rich-text memo: shows an RTF document read-only in a text view.

#include <istream>
#include <string>

#include <gtkmm/textview.h>

namespace platform {

// Replaces the text view's content by the RTF document read from the stream, with bold and
// italic kept; the view becomes read-only (no cursor, no editing).
void LoadRichText(Gtk::TextView& view, std::istream& rtf);
void LoadRichText(Gtk::TextView& view, const std::string& rtf);

} // namespace platform
