#pragma once
// The program's exception classes. Messages are UTF-8 and are shown to the user as they are.

#include <stdexcept>
#include <string>

// The general exception: raised with a message that callers show or log unchanged.
class EGeneral : public std::runtime_error {
public:
  explicit EGeneral(const std::string& message) : std::runtime_error(message) {}
};

// A value could not be converted (a number, an encoding, a Base64 text).
class EConvertError : public EGeneral {
public:
  using EGeneral::EGeneral;
};
