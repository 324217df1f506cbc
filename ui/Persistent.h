#pragma once
// TPersistent: an object whose values can be copied from another (Assign) and stored in a form
// description, including properties held as raw bytes (ReadBinaryProperty).
#include "ui/Object.h"

class TStream;

class TPersistent : public TObject {
public:
    CLARIVO_CLASS

    // Copies source's values into this object. The base asks source to AssignTo this object and fails
    // with EConvertError "Cannot assign a <source class> to a <this class>" when neither side knows how
    // (source may be null: "nil").
    virtual void Assign(const TPersistent* source);

    // A property stored as a block of bytes in a form description. Returns false for a name the class
    // does not know (the reader reports it); malformed data throws.
    virtual bool ReadBinaryProperty(std::string_view name, TStream& data);

protected:
    virtual void AssignTo(TPersistent& dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};
