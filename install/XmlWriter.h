#pragma once
// A small XML document model with a reader and a writer of its own, used to edit a user's
// fontconfig file in place. All text inside the model is UTF-16. Element and attribute names
// compare case-insensitively for a-z only. Nothing is escaped or unescaped: character and entity
// references pass through a load and a save unchanged.
//
// Comments, the document type declaration, processing instructions and CDATA sections are kept
// as they were and written back in their places among the elements, so that an edit changes only
// what it changes. They are not elements: ChildCount, GetChild and the searches never see them.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "XmlByteSearch.h"
#include "XmlTextCodec.h"

class TheXmlWriter;
class TheXmlNode;

// One attribute. Key is Name with a-z upper-cased; lookups compare against it.
struct TAttrSign {
  std::u16string Name;
  std::u16string Key;
  std::u16string Value;
};
using PAttrSign = TAttrSign*;

using TOnNodeNotify = std::function<void(TheXmlNode* Node)>;

// Written in the tcANSI declaration only; takes no part in any conversion.
extern int32_t AnsiCodePage;

// The declarations the writer puts in front of the tree.
extern const char16_t* const XmlUnicodeDeclaration; // 40 characters
extern const char* const XmlUtf8Declaration;        // 38 bytes

// a-z replaced by A-Z; no other character is folded.
std::u16string UpperAscii(const std::u16string& text);
bool SameXmlName(const std::u16string& left, const std::u16string& right);

class TheXmlNode {
public:
  // Frees the node's subtree and takes it out of its parent (the document, for the root).
  ~TheXmlNode();
  TheXmlNode(const TheXmlNode&) = delete;
  TheXmlNode& operator=(const TheXmlNode&) = delete;

  std::u16string Name;
  // The element's text (the last text run before its end tag); assigning it has no side effect.
  std::u16string Text;

  TheXmlNode* Parent() const { return Parent_; }
  TheXmlWriter* Owner() const { return Owner_; }

  // Frees this node (delete this).
  void Delete();
  void ClearChildren();
  void ClearAttributes();

  int32_t ChildCount() const;
  int32_t AttributeCount() const;
  // std::out_of_range for an index outside the list.
  TheXmlNode* GetChild(int32_t index) const;
  // nullptr when index >= AttributeCount; std::out_of_range for a negative index.
  PAttrSign GetAttributeAt(int32_t index) const;

  TheXmlNode* AddChild(const std::u16string& name);
  // Direct children first, in order; then, when descending, each child's subtree in order.
  TheXmlNode* FindChild(const std::u16string& name, bool descend) const;
  TheXmlNode* FindChildByAttribute(const std::u16string& attrName, const std::u16string& value,
                                   bool descend) const;

  PAttrSign FindAttrSign(const std::u16string& name) const;
  bool HasAttribute(const std::u16string& name) const;
  std::u16string GetAttribute(const std::u16string& name, const std::u16string& defaultValue) const;
  // The value in the narrow code page; the default comes back unchanged.
  std::string GetAttribute(const std::u16string& name, const std::string& defaultValue) const;
  // A new name is appended; an existing one keeps its place and first spelling.
  void SetAttribute(const std::u16string& name, const std::u16string& value);
  // The value is UTF-8.
  void SetAttribute(const std::u16string& name, const std::string& value);

  // Typed accessors: a missing attribute gives the default, a value that does not convert raises
  // EConvertError.
  bool GetAttributeBool(const std::u16string& name, bool defaultValue) const;
  int32_t GetAttributeInt(const std::u16string& name, int32_t defaultValue) const;
  int64_t GetAttributeInt64(const std::u16string& name, int64_t defaultValue) const;
  double GetAttributeFloat(const std::u16string& name, double defaultValue) const;
  // Decodes a hexadecimal value into the node's own buffer, followed by two zero bytes. data
  // stays valid until the next binary read of this node or its destruction.
  bool GetAttributeBinary(const std::u16string& name, const uint8_t*& data, int32_t& count);
  void SetAttributeBool(const std::u16string& name, bool value);
  void SetAttributeInt(const std::u16string& name, int32_t value);
  void SetAttributeInt64(const std::u16string& name, int64_t value);
  void SetAttributeFloat(const std::u16string& name, double value);
  void SetAttributeBinary(const std::u16string& name, const uint8_t* data, int32_t count);

  // Comments, processing instructions and the like kept from the file: those that stood before
  // this element, and those after its last child (before its end tag).
  const std::vector<std::u16string>& MarkupBefore() const { return MarkupBefore_; }
  const std::vector<std::u16string>& MarkupAtEnd() const { return MarkupAtEnd_; }

private:
  friend class TheXmlWriter;
  friend class XmlDocumentReader;

  // Only TheXmlWriter::AddNode creates nodes; it sets Owner_.
  TheXmlNode(TheXmlNode* parent, const std::u16string& name);
  void RemoveChild(TheXmlNode* child);

  TheXmlNode* Parent_ = nullptr;
  std::vector<TheXmlNode*> Children_; // owned
  std::vector<std::unique_ptr<TAttrSign>> Attributes_;
  std::vector<uint8_t> Buffer_; // GetAttributeBinary's output; never shrinks
  TheXmlWriter* Owner_ = nullptr;
  std::vector<std::u16string> MarkupBefore_;
  std::vector<std::u16string> MarkupAtEnd_;
};

class TheXmlWriter {
public:
  // Loads the file when load is true and the file exists (symbolic links followed).
  TheXmlWriter(const std::string& fileName, bool load);
  ~TheXmlWriter();
  TheXmlWriter(const TheXmlWriter&) = delete;
  TheXmlWriter& operator=(const TheXmlWriter&) = delete;

  TTypeChar Encoding() const { return Encoding_; }
  TheXmlNode* Root() const { return Root_; }
  const std::string& FileName() const { return FileName_; }
  uint8_t CharWidth() const { return CharWidth_; }
  uint16_t SpaceSign() const { return SpaceSign_; }
  uint16_t GtSign() const { return GtSign_; }
  uint16_t LtSign() const { return LtSign_; }
  uint16_t QuoteSign() const { return QuoteSign_; }
  uint16_t SlashSign() const { return SlashSign_; }
  uint16_t EqSign() const { return EqSign_; }

  TOnNodeNotify OnDeleteNode; // called by the destructor of every node of this document
  TOnNodeNotify OnAddNode;    // called by AddNode for every new node
  bool LineBreaks = false;    // the writer adds line feeds after tags

  // Comments and the like before and after the root element.
  const std::vector<std::u16string>& PrologMarkup() const { return PrologMarkup_; }
  const std::vector<std::u16string>& EpilogMarkup() const { return EpilogMarkup_; }

  void Clear();
  void SetEncoding(TTypeChar encoding);
  // Loads the file when its name differs from FileName.
  void SetFileName(const std::string& fileName);
  // A missing file gives an empty document without error.
  void LoadFromFile(const std::string& fileName);
  void LoadFromStream(std::istream& stream);
  // Raises EGeneral "Can not load XML document!" for a malformed or truncated buffer and leaves
  // the document empty then. Fewer than 24 bytes give an empty document without error.
  void LoadFromBuffer(const void* data, uint32_t size);
  // An empty document raises "Can not save empty xml document!" before the file is touched; the
  // whole output is built before the file is emptied.
  void SaveToFile(const std::string& fileName);
  void Save();
  void SaveToStream(std::ostream& stream);

  // A new child of parent, or of Root when parent is none; creates Root in an empty document.
  TheXmlNode* AddNode(TheXmlNode* parent, const std::u16string& name);
  TheXmlNode* FindNode(const std::u16string& name, bool descend) const;

  // Paths of element names or attribute values separated by \ or /.
  TheXmlNode* FindByPath(const std::u16string& path) const;
  TheXmlNode* FindPathByAttribute(const std::u16string& path, const std::u16string& attrName,
                                  bool wholePrefix) const;
  TheXmlNode* AddPath(const std::u16string& path);
  bool DeletePath(const std::u16string& path);
  bool DeletePathByAttribute(const std::u16string& path, const std::u16string& attrName,
                             bool wholePrefix);

private:
  friend class TheXmlNode;
  friend class XmlDocumentReader;

  std::string SaveToBytes() const;
  void SerializeNode(const TheXmlNode& node, std::u16string& out) const;
  std::string EncodeForFile(const std::u16string& text) const;
  void SetCharWidthAndSigns();
  void RootFreed();
  TheXmlNode* DeepestNodeAlongPath(const std::u16string& path) const;
  TheXmlNode* LookUpSegment(const std::u16string& prefix, const TheXmlNode* start) const;

  TTypeChar Encoding_ = tcUnicodeLE;
  TheXmlNode* Root_ = nullptr; // owned
  std::string FileName_;
  uint8_t CharWidth_ = 0;
  uint16_t SpaceSign_ = 0, GtSign_ = 0, LtSign_ = 0, QuoteSign_ = 0, SlashSign_ = 0, EqSign_ = 0;
  std::vector<std::u16string> PrologMarkup_;
  std::vector<std::u16string> EpilogMarkup_;
};

// The code of an ASCII character as the reader meets it in a buffer of that encoding: the
// character times 256 for tcUnicodeBE (its bytes 00 x read as a little-endian word), else the
// character itself.
uint16_t SignCode(char character, TTypeChar encoding);
