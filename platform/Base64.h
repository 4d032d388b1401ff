#pragma once
// Base64 with the standard alphabet ("A"-"Z", "a"-"z", "0"-"9", "+", "/") and "=" padding, on
// one line without line breaks.

#include <string>

namespace platform {

std::string Base64Encode(const std::string& bytes);

// Strict decoding: the length must be a multiple of 4, every character must belong to the
// alphabet, and "=" may only pad the last group. False (and output untouched) otherwise.
bool Base64Decode(const std::string& text, std::string& bytes);

} // namespace platform
