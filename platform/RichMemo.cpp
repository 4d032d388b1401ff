#include "RichMemo.h"

#include <iterator>

#include <gtkmm/textbuffer.h>

#include "RtfReader.h"

namespace platform {
namespace {

Glib::RefPtr<Gtk::TextTag> EnsureTag(const Glib::RefPtr<Gtk::TextBuffer>& buffer,
                                     const Glib::ustring& name, bool bold, bool italic) {
  Glib::RefPtr<Gtk::TextTag> tag = buffer->get_tag_table()->lookup(name);
  if (tag)
    return tag;
  tag = buffer->create_tag(name);
  if (bold)
    tag->property_weight() = Pango::WEIGHT_BOLD;
  if (italic)
    tag->property_style() = Pango::STYLE_ITALIC;
  return tag;
}

} // namespace

void LoadRichText(Gtk::TextView& view, const std::string& rtf) {
  RtfDocument document = ParseRtf(rtf);
  Glib::RefPtr<Gtk::TextBuffer> buffer = view.get_buffer();
  buffer->set_text("");
  Glib::RefPtr<Gtk::TextTag> bold = EnsureTag(buffer, "rtf-bold", true, false);
  Glib::RefPtr<Gtk::TextTag> italic = EnsureTag(buffer, "rtf-italic", false, true);
  Glib::RefPtr<Gtk::TextTag> boldItalic = EnsureTag(buffer, "rtf-bold-italic", true, true);
  for (size_t i = 0; i < document.Paragraphs.size(); ++i) {
    if (i > 0)
      buffer->insert(buffer->end(), "\n");
    for (const RtfRun& run : document.Paragraphs[i]) {
      if (run.Text.empty())
        continue;
      if (run.Bold && run.Italic)
        buffer->insert_with_tag(buffer->end(), run.Text, boldItalic);
      else if (run.Bold)
        buffer->insert_with_tag(buffer->end(), run.Text, bold);
      else if (run.Italic)
        buffer->insert_with_tag(buffer->end(), run.Text, italic);
      else
        buffer->insert(buffer->end(), run.Text);
    }
  }
  buffer->place_cursor(buffer->begin());
  view.set_editable(false);
  view.set_cursor_visible(false);
}

void LoadRichText(Gtk::TextView& view, std::istream& rtf) {
  std::string bytes((std::istreambuf_iterator<char>(rtf)), std::istreambuf_iterator<char>());
  LoadRichText(view, bytes);
}

} // namespace platform
