#pragma once
// The framework's exception classes; all derive from the program's one base exception (EConvertError,
// the failed Assign, is declared there).
#include "base/Exception.h"

class EClassNotFound : public Exception { using Exception::Exception; };    // unknown or abstract class name
class EComponentError : public Exception { using Exception::Exception; };   // ownership, names, fields
class EInvalidOperation : public Exception { using Exception::Exception; }; // e.g. no parent window
class EOSError : public Exception { using Exception::Exception; };          // a Windows call failed
class EInvalidGraphic : public Exception { using Exception::Exception; };   // malformed image data

// A failed Windows call, with GetLastError's text appended.
[[noreturn]] void RaiseLastOSError(const char* what);
