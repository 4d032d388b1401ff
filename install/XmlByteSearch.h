#pragma once
// Raw byte searches over a window of a buffer. Each one moves one byte at a time and examines
// every offset at which the searched bytes still fit inside the window, the last one included.
// The result is the offset of the first match counted from the start, or -1. A 16-bit code is
// compared as a little-endian word; a sign is compared over charWidth bytes (one byte, the
// code's low byte, when charWidth is 1).

#include <cstdint>

int32_t FindBytes(const uint8_t* start, int32_t window, const uint8_t* pattern,
                  int32_t patternLength);
int32_t FindSign(const uint8_t* start, int32_t window, uint16_t sign, uint8_t charWidth);
int32_t FindAnySign(const uint8_t* start, int32_t window, const uint16_t* signs, int32_t count,
                    uint8_t charWidth);
int32_t FindByte(const uint8_t* start, int32_t window, uint8_t value);
int32_t FindAnyByte(const uint8_t* start, int32_t window, const uint8_t* values, int32_t count);
int32_t FindWord(const uint8_t* start, int32_t window, uint16_t value);
int32_t FindAnyWord(const uint8_t* start, int32_t window, const uint16_t* values, int32_t count);
