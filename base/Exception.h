#pragma once
// Base class of the program's own exceptions: a message, nothing more.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Raised by streams when fewer bytes could be read or written than asked for.
class EReadError : public Exception { using Exception::Exception; };
class EWriteError : public Exception { using Exception::Exception; };
class EFOpenError : public Exception { using Exception::Exception; };
// Raised when values cannot be copied between objects of unlike classes ("Cannot assign a %s to a %s").
class EConvertError : public Exception { using Exception::Exception; };
