// Fuzz target for the XML editor's reader. Whatever the bytes, loading must end (no hang), stay
// inside the buffer, and either give a tree or raise the reader's error with an empty document.
// A tree that loaded must save, and its saved form must load and save again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "Exceptions.h"
#include "XmlWriter.h"

namespace {

std::string Save(TheXmlWriter& document) {
  std::ostringstream out;
  document.SaveToStream(out);
  return out.str();
}

// The searches walk the tree the reader built.
void Search(TheXmlWriter& document) {
  document.FindNode(u"match", true);
  document.FindByPath(u"fontconfig/match/edit");
  document.FindPathByAttribute(u"font/rgba", u"name", false);
  if (TheXmlNode* root = document.Root()) {
    root->FindChildByAttribute(u"target", u"font", true);
    root->GetAttribute(u"target", std::string());
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0xFFFFFFFFu)
    return 0;
  TheXmlWriter document("", false);
  try {
    document.LoadFromBuffer(data, static_cast<uint32_t>(size));
  } catch (const EGeneral&) {
    if (document.Root() != nullptr)
      __builtin_trap(); // a failed load must leave the document empty
    return 0;
  }
  if (document.Root() == nullptr)
    return 0;
  Search(document);

  const std::string first = Save(document);
  TheXmlWriter reloaded("", false);
  reloaded.LoadFromBuffer(first.data(), static_cast<uint32_t>(first.size()));
  if (reloaded.Encoding() != document.Encoding() || Save(reloaded) != first)
    __builtin_trap(); // what the writer wrote must read back to the same document
  return 0;
}
