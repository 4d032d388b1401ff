#include "XmlByteSearch.h"

namespace {

uint16_t WordAt(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

// Calls matches(offset) for every offset at which width bytes fit into the window.
template <typename Predicate>
int32_t FirstOffset(int32_t window, int32_t width, Predicate matches) {
  if (width <= 0)
    return -1;
  for (int32_t offset = 0; offset <= window - width; ++offset)
    if (matches(offset))
      return offset;
  return -1;
}

bool SignMatches(const uint8_t* at, uint16_t sign, uint8_t charWidth) {
  return charWidth == 2 ? WordAt(at) == sign : at[0] == static_cast<uint8_t>(sign & 0xFF);
}

} // namespace

int32_t FindBytes(const uint8_t* start, int32_t window, const uint8_t* pattern,
                  int32_t patternLength) {
  return FirstOffset(window, patternLength, [&](int32_t offset) {
    for (int32_t i = 0; i < patternLength; ++i)
      if (start[offset + i] != pattern[i])
        return false;
    return true;
  });
}

int32_t FindSign(const uint8_t* start, int32_t window, uint16_t sign, uint8_t charWidth) {
  return FirstOffset(window, charWidth == 2 ? 2 : 1,
                     [&](int32_t offset) { return SignMatches(start + offset, sign, charWidth); });
}

int32_t FindAnySign(const uint8_t* start, int32_t window, const uint16_t* signs, int32_t count,
                    uint8_t charWidth) {
  return FirstOffset(window, charWidth == 2 ? 2 : 1, [&](int32_t offset) {
    for (int32_t i = 0; i < count; ++i)
      if (SignMatches(start + offset, signs[i], charWidth))
        return true;
    return false;
  });
}

int32_t FindByte(const uint8_t* start, int32_t window, uint8_t value) {
  return FirstOffset(window, 1, [&](int32_t offset) { return start[offset] == value; });
}

int32_t FindAnyByte(const uint8_t* start, int32_t window, const uint8_t* values, int32_t count) {
  return FirstOffset(window, 1, [&](int32_t offset) {
    for (int32_t i = 0; i < count; ++i)
      if (start[offset] == values[i])
        return true;
    return false;
  });
}

int32_t FindWord(const uint8_t* start, int32_t window, uint16_t value) {
  return FirstOffset(window, 2, [&](int32_t offset) { return WordAt(start + offset) == value; });
}

int32_t FindAnyWord(const uint8_t* start, int32_t window, const uint16_t* values, int32_t count) {
  return FirstOffset(window, 2, [&](int32_t offset) {
    for (int32_t i = 0; i < count; ++i)
      if (WordAt(start + offset) == values[i])
        return true;
    return false;
  });
}
