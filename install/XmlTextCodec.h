#pragma once
// Text conversions of the XML file editor: the four document encodings, UTF-8, UTF-16 and the
// narrow code page (windows-1251 on the hosts this installer serves).
//
// Bytes that the source encoding cannot decode (broken UTF-8, the one undefined windows-1251
// byte) become the lone surrogates U+DC80..U+DCFF, and the encoders turn those back into the
// original bytes. A user's file with a stray byte therefore survives a load and a save
// unchanged instead of picking up replacement characters.

#include <cstddef>
#include <cstdint>
#include <string>

// The document encoding, in the order the file format's readers and writers number it.
enum TTypeChar : int32_t { tcUnicodeBE = 0, tcUnicodeLE = 1, tcUTF8 = 2, tcANSI = 3 };

// The iconv name of the narrow code page that tcANSI and the narrow accessors use.
extern const char* const NarrowCodePage;

// n bytes in the given encoding as UTF-16 text; a negative count gives the empty text. An odd
// final byte of a UTF-16 encoding is ignored.
std::u16string DecodeText(const uint8_t* bytes, int32_t count, TTypeChar encoding);
// The same, converted on into the narrow code page ('?' for what it cannot hold).
std::string DecodeTextNarrow(const uint8_t* bytes, int32_t count, TTypeChar encoding);

// The text with the two bytes of every unit exchanged.
std::u16string SwapBytes(const std::u16string& text);

// Narrow text in its own code page -> UTF-8.
std::string NarrowToUtf8(const std::string& narrow);
// UTF-8 -> UTF-16.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::u16string Utf8ToUtf16(const char* utf8);
std::u16string Utf8ToUtf16(const char* utf8, std::size_t length);
// UTF-16 -> UTF-8. A lone surrogate other than an escaped byte becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);
std::string Utf16ToUtf8(const char16_t* text, std::size_t length);

// Narrow code page <-> UTF-16.
std::u16string NarrowToUtf16(const std::string& narrow);
// A character the narrow code page cannot hold becomes '?' or, when strict, raises
// EConvertError naming it.
std::string Utf16ToNarrow(const std::u16string& text, bool strict);

// UTF-16 text as bytes of one byte order (the host's byte order plays no part).
std::string Utf16ToBytes(const std::u16string& text, bool bigEndian);
