// The path operations of TheXmlWriter: element names (or attribute values) separated by \ or /.

#include "Exceptions.h"
#include "XmlWriter.h"

namespace {

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

std::u16string WithTrailingSeparator(const std::u16string& path) {
  return !path.empty() && IsSeparator(path.back()) ? path : path + u"/";
}

std::u16string WithTrailingBackslash(const std::u16string& path) {
  return !path.empty() && path.back() == u'\\' ? path : path + u"\\";
}

// The texts from the first character through each separator, in order.
std::vector<std::u16string> SplitIntoPrefixes(const std::u16string& path) {
  const std::u16string text = WithTrailingBackslash(path);
  std::vector<std::u16string> prefixes;
  for (std::size_t position = 0; position < text.size(); ++position)
    if (IsSeparator(text[position]))
      prefixes.push_back(text.substr(0, position + 1));
  return prefixes;
}

// Walks the path from its first segment: match(text, start, end, current) gives the node of the
// segment text[start, end) given the node matched so far (nullptr before the first match), or
// nullptr. An empty or unmatched segment leaves the segment start where it was, so the next
// segment runs across that separator (and so matches nothing sensible). The result is the node
// matched by the segment that ends the path, or nullptr.
template <typename Match> TheXmlNode* WalkPath(const std::u16string& path, Match match) {
  const std::u16string text = WithTrailingSeparator(path);
  TheXmlNode* current = nullptr;
  std::size_t start = 0;
  for (std::size_t position = 0; position < text.size(); ++position) {
    if (!IsSeparator(text[position]) || position <= start)
      continue;
    TheXmlNode* node = match(text, start, position, current);
    if (!node)
      continue;
    if (position + 1 == text.size())
      return node;
    current = node;
    start = position + 1;
  }
  return nullptr;
}

} // namespace

// The first segment must be the root's name, each further one the name of a child of the element
// before it.
TheXmlNode* TheXmlWriter::FindByPath(const std::u16string& path) const {
  if (!Root_)
    return nullptr;
  return WalkPath(path,
                  [this](const std::u16string& text, std::size_t start, std::size_t end,
                         const TheXmlNode* current) -> TheXmlNode* {
                    const std::u16string segment = text.substr(start, end - start);
                    if (current)
                      return current->FindChild(segment, false);
                    return SameXmlName(segment, Root_->Name) ? Root_ : nullptr;
                  });
}

// Like FindByPath, but each segment is an attribute value; the first one selects among the
// root's children, so the root itself is never part of such a path.
TheXmlNode* TheXmlWriter::FindPathByAttribute(const std::u16string& path,
                                              const std::u16string& attrName,
                                              bool wholePrefix) const {
  if (!Root_)
    return nullptr;
  return WalkPath(path, [&](const std::u16string& text, std::size_t start, std::size_t end,
                            const TheXmlNode* current) {
    const std::u16string value =
        wholePrefix ? text.substr(0, end) : text.substr(start, end - start);
    return (current ? current : Root_)->FindChildByAttribute(attrName, value, false);
  });
}

TheXmlNode* TheXmlWriter::AddPath(const std::u16string& path) {
  TheXmlNode* deepest = DeepestNodeAlongPath(path);
  // 0-based index of the first character after the part of the path that already exists.
  std::size_t begin = 0;
  for (const TheXmlNode* node = deepest; node; node = node->Parent_)
    begin += node->Name.size() + 1;
  if (begin > 0)
    --begin;
  const std::u16string text = WithTrailingBackslash(path);
  if (begin < text.size() && IsSeparator(text[begin]))
    ++begin;

  TheXmlNode* current = deepest;
  TheXmlNode* result = deepest;
  std::size_t start = begin;
  for (std::size_t position = begin; position < text.size(); ++position) {
    if (!IsSeparator(text[position]))
      continue;
    if (position > start) {
      const std::u16string segment = text.substr(start, position - start);
      TheXmlNode* node = nullptr;
      if (current) {
        node = current->FindChild(segment, false);
        if (!node)
          node = AddNode(current, segment);
      } else if (Root_) {
        if (!SameXmlName(segment, Root_->Name))
          throw EGeneral("Can not create node with AParent <> nil in empty xml document!");
        node = Root_;
      } else {
        node = AddNode(nullptr, segment);
      }
      current = node;
      result = node;
    }
    start = position + 1;
  }
  return result;
}

// Walks the path from the root: each segment is looked up among the children of the node reached
// so far, and the walk ends at the first segment without a match.
TheXmlNode* TheXmlWriter::DeepestNodeAlongPath(const std::u16string& path) const {
  TheXmlNode* current = nullptr;
  std::vector<std::u16string> prefixes = SplitIntoPrefixes(path);
  std::size_t index = 0;
  while (index < prefixes.size()) {
    TheXmlNode* node = LookUpSegment(prefixes[index], current);
    if (!node) {
      ++index;
      continue;
    }
    current = node;
    if (index + 1 == prefixes.size())
      break;
    const std::u16string rest = prefixes.back().substr(prefixes[index].size());
    prefixes = SplitIntoPrefixes(rest);
    index = 0;
  }
  return current;
}

// Tries the prefix's text up to each of its separators (after the first character) as the name of
// a child of start, or of the root when there is no start.
TheXmlNode* TheXmlWriter::LookUpSegment(const std::u16string& prefix,
                                        const TheXmlNode* start) const {
  const std::u16string text = WithTrailingBackslash(prefix);
  for (std::size_t position = 1; position < text.size(); ++position) {
    if (!IsSeparator(text[position]))
      continue;
    const std::u16string part = text.substr(0, position);
    if (start) {
      if (TheXmlNode* child = start->FindChild(part, false))
        return child;
    } else if (Root_ && SameXmlName(part, Root_->Name)) {
      return Root_;
    }
  }
  return nullptr;
}

// Deletes the element at the path and every sibling of the same name.
bool TheXmlWriter::DeletePath(const std::u16string& path) {
  TheXmlNode* node = FindByPath(path);
  if (!node)
    return false;
  TheXmlNode* parent = node->Parent_;
  const std::u16string name = node->Name;
  delete node;
  if (parent)
    while (TheXmlNode* sibling = parent->FindChild(name, false))
      delete sibling;
  return true;
}

bool TheXmlWriter::DeletePathByAttribute(const std::u16string& path, const std::u16string& attrName,
                                         bool wholePrefix) {
  TheXmlNode* node = FindPathByAttribute(path, attrName, wholePrefix);
  if (!node)
    return false;
  delete node;
  return true;
}
