#include "RtfReader.h"

#include <cctype>
#include <cstdlib>
#include <set>

#include <glib.h>

namespace platform {
namespace {

// Destinations whose content is not document text.
const std::set<std::string> kSkippedDestinations = {
    "fonttbl",      "colortbl",  "stylesheet",    "info",       "pict",
    "header",       "headerl",   "headerr",       "headerf",    "footer",
    "footerl",      "footerr",   "footerf",       "listtable",  "listoverridetable",
    "rsidtbl",      "generator", "xmlnstbl",      "themedata",  "colorschememapping",
    "latentstyles", "datastore", "pgdsctbl",      "filetbl",    "revtbl",
    "object",       "fldinst",   "bkmkstart",     "bkmkend",    "field",
    "pn",           "pntext",    "listtext",      "author",     "operator",
    "title",        "subject",   "keywords",      "comment",    "doccomm",
    "company",      "mmathPr",   "wgrffmtfilter", "panose",     "falt",
    "fname",        "userprops", "shppict",       "nonshppict", "template",
    "background",   "ftnsep",    "ftnsepc",       "ftncn",      "aftnsep",
    "aftnsepc",     "aftncn"};

struct GroupState {
  bool Bold = false;
  bool Italic = false;
  bool Skip = false;
  int UnicodeSkip = 1; // \ucN: fallback characters after each \uN
};

class Parser {
public:
  explicit Parser(const std::string& rtf) : In(rtf) {}

  RtfDocument Run() {
    Doc.Paragraphs.emplace_back();
    std::vector<GroupState> stack;
    GroupState state;
    bool groupStart = false; // the next token is the first of a group (destination check)
    while (Pos < In.size()) {
      char c = In[Pos];
      if (c == '{') {
        ++Pos;
        FlushBytes(state);
        PendingFallback = 0;
        stack.push_back(state);
        groupStart = true;
        continue;
      }
      if (c == '}') {
        ++Pos;
        FlushBytes(state);
        PendingFallback = 0;
        if (!stack.empty()) {
          state = stack.back();
          stack.pop_back();
        }
        groupStart = false;
        continue;
      }
      if (c == '\\') {
        ReadControl(state, groupStart);
        groupStart = false;
        continue;
      }
      groupStart = false;
      ++Pos;
      if (c == '\r' || c == '\n')
        continue;
      if (PendingFallback > 0) {
        --PendingFallback;
        continue;
      }
      AddByte(c, state);
    }
    FlushBytes(state);
    // A document ending in \par leaves an empty last paragraph: it is no paragraph of its own.
    if (Doc.Paragraphs.size() > 1 && Doc.Paragraphs.back().empty())
      Doc.Paragraphs.pop_back();
    return Doc;
  }

private:
  const std::string& In;
  size_t Pos = 0;
  RtfDocument Doc;
  std::string Bytes;      // text bytes in the document's code page, not yet converted
  bool BytesBold = false; // formatting of the pending bytes
  bool BytesItalic = false;
  std::string CodePage = "CP1252";
  int PendingFallback = 0; // characters still to skip after a \uN

  void ReadControl(GroupState& state, bool groupStart) {
    ++Pos; // backslash
    if (Pos >= In.size())
      return;
    char c = In[Pos];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      ++Pos;
      ControlSymbol(c, state, groupStart);
      return;
    }
    std::string word;
    while (Pos < In.size() && std::isalpha(static_cast<unsigned char>(In[Pos])))
      word.push_back(In[Pos++]);
    bool hasParam = false;
    long param = 0;
    size_t numStart = Pos;
    if (Pos < In.size() && (In[Pos] == '-' || std::isdigit(static_cast<unsigned char>(In[Pos])))) {
      ++Pos;
      while (Pos < In.size() && std::isdigit(static_cast<unsigned char>(In[Pos])))
        ++Pos;
      std::string num = In.substr(numStart, Pos - numStart);
      if (num != "-") {
        hasParam = true;
        param = std::strtol(num.c_str(), nullptr, 10);
      }
    }
    if (Pos < In.size() && In[Pos] == ' ')
      ++Pos; // the delimiter belongs to the control word
    ControlWord(word, hasParam, param, state, groupStart);
  }

  void ControlSymbol(char c, GroupState& state, bool groupStart) {
    switch (c) {
    case '\'': {
      if (Pos + 2 > In.size())
        return;
      std::string hex = In.substr(Pos, 2);
      Pos += 2;
      if (PendingFallback > 0) {
        --PendingFallback;
        return;
      }
      char* end = nullptr;
      long value = std::strtol(hex.c_str(), &end, 16);
      if (end != hex.c_str() + 2)
        return;
      AddByte(static_cast<char>(value), state);
      return;
    }
    case '*':
      if (groupStart)
        state.Skip = true; // an ignorable destination we do not know
      return;
    case '\\':
    case '{':
    case '}':
      AddLiteral(std::string(1, c), state);
      return;
    case '~':
      AddLiteral("\xC2\xA0", state); // no-break space
      return;
    case '_':
      AddLiteral("\xE2\x80\x91", state); // non-breaking hyphen
      return;
    case '-':
      return; // optional hyphen
    case '\r':
    case '\n':
      if (!state.Skip)
        NewParagraph(state);
      return;
    default:
      return;
    }
  }

  void ControlWord(const std::string& word, bool hasParam, long param, GroupState& state,
                   bool groupStart) {
    if (groupStart && kSkippedDestinations.count(word)) {
      state.Skip = true;
      return;
    }
    if (word == "ansicpg" && hasParam) {
      CodePage = "CP" + std::to_string(param);
    } else if (word == "uc" && hasParam) {
      state.UnicodeSkip = param < 0 ? 0 : static_cast<int>(param);
    } else if (word == "u" && hasParam) {
      long code = param < 0 ? param + 65536 : param;
      if (!state.Skip)
        AddCodePoint(static_cast<gunichar>(code), state);
      PendingFallback = state.UnicodeSkip;
    } else if (word == "b") {
      FlushBytes(state);
      state.Bold = !hasParam || param != 0;
    } else if (word == "i") {
      FlushBytes(state);
      state.Italic = !hasParam || param != 0;
    } else if (word == "plain") {
      FlushBytes(state);
      state.Bold = false;
      state.Italic = false;
    } else if (word == "par" || word == "sect") {
      if (!state.Skip)
        NewParagraph(state);
    } else if (word == "line") {
      AddLiteral("\n", state);
    } else if (word == "tab") {
      AddLiteral("\t", state);
    } else if (word == "emdash") {
      AddLiteral("\xE2\x80\x94", state);
    } else if (word == "endash") {
      AddLiteral("\xE2\x80\x93", state);
    } else if (word == "bullet") {
      AddLiteral("\xE2\x80\xA2", state);
    } else if (word == "lquote") {
      AddLiteral("\xE2\x80\x98", state);
    } else if (word == "rquote") {
      AddLiteral("\xE2\x80\x99", state);
    } else if (word == "ldblquote") {
      AddLiteral("\xE2\x80\x9C", state);
    } else if (word == "rdblquote") {
      AddLiteral("\xE2\x80\x9D", state);
    }
  }

  void AddByte(char byte, const GroupState& state) {
    if (state.Skip)
      return;
    if (!Bytes.empty() && (BytesBold != state.Bold || BytesItalic != state.Italic))
      FlushBytes(state);
    Bytes.push_back(byte);
    BytesBold = state.Bold;
    BytesItalic = state.Italic;
  }

  void AddLiteral(const std::string& utf8, const GroupState& state) {
    if (state.Skip)
      return;
    FlushBytes(state);
    AppendText(utf8, state.Bold, state.Italic);
  }

  void AddCodePoint(gunichar code, const GroupState& state) {
    char buffer[8] = {};
    int length = g_unichar_to_utf8(code, buffer);
    AddLiteral(std::string(buffer, length), state);
  }

  void NewParagraph(const GroupState& state) {
    FlushBytes(state);
    Doc.Paragraphs.emplace_back();
  }

  // Converts the pending code-page bytes to UTF-8 and appends them with their formatting.
  void FlushBytes(const GroupState&) {
    if (Bytes.empty())
      return;
    AppendText(Convert(Bytes), BytesBold, BytesItalic);
    Bytes.clear();
  }

  std::string Convert(const std::string& bytes) const {
    gsize written = 0;
    gchar* converted =
        g_convert_with_fallback(bytes.data(), static_cast<gssize>(bytes.size()), "UTF-8",
                                CodePage.c_str(), "?", nullptr, &written, nullptr);
    if (converted == nullptr) {
      // Unknown code page: keep ASCII, mark the rest.
      std::string result;
      for (char b : bytes)
        result.push_back(static_cast<unsigned char>(b) < 0x80 ? b : '?');
      return result;
    }
    std::string result(converted, written);
    g_free(converted);
    return result;
  }

  void AppendText(const std::string& utf8, bool bold, bool italic) {
    RtfParagraph& paragraph = Doc.Paragraphs.back();
    if (!paragraph.empty() && paragraph.back().Bold == bold && paragraph.back().Italic == italic)
      paragraph.back().Text += utf8;
    else
      paragraph.push_back(RtfRun{utf8, bold, italic});
  }
};

} // namespace

std::string RtfDocument::PlainText() const {
  std::string text;
  for (size_t i = 0; i < Paragraphs.size(); ++i) {
    if (i > 0)
      text += '\n';
    for (const RtfRun& run : Paragraphs[i])
      text += run.Text;
  }
  return text;
}

RtfDocument ParseRtf(const std::string& rtf) {
  return Parser(rtf).Run();
}

} // namespace platform
