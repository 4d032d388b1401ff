#pragma once
// A small RTF reader: the text of a document as paragraphs of runs with bold and italic.
// Understands the ANSI code page (\ansicpg, \'hh escapes), \uN with its \ucN fallback, \b, \i,
// \plain, \par, \line, \tab and groups; skips the font, colour and style tables and every other
// destination that carries no text.

#include <string>
#include <vector>

namespace platform {

struct RtfRun {
  std::string Text; // UTF-8
  bool Bold = false;
  bool Italic = false;

  bool operator==(const RtfRun&) const = default;
};

using RtfParagraph = std::vector<RtfRun>;

struct RtfDocument {
  std::vector<RtfParagraph> Paragraphs;

  // The plain text: paragraphs joined by line feeds.
  std::string PlainText() const;
};

// Parses an RTF document. Never throws for malformed input: unbalanced groups and unknown
// control words are tolerated; bytes that the code page cannot convert become "?".
RtfDocument ParseRtf(const std::string& rtf);

} // namespace platform
