#pragma once
// Base of the search criteria classes: each knows its class name and copies the values of another
// object of its own class (or of a class derived from it) with Assign.
#include "base/Exception.h"
#include "base/StrUtils.h"

class TCriteria {
public:
    virtual ~TCriteria() = default;
    virtual const char* ClassName() const = 0;
    // Copies Source's values; EConvertError "Cannot assign a %s to a %s" when Source is of another
    // class or null, and nothing changes then.
    virtual void Assign(const TCriteria* Source) = 0;

protected:
    TCriteria() = default;
    TCriteria(const TCriteria&) = default;
    TCriteria& operator=(const TCriteria&) = default;

    template <typename T>
    const T& AssignSource(const TCriteria* Source) const {
        if (auto* source = dynamic_cast<const T*>(Source)) return *source;
        throw EConvertError(Format("Cannot assign a %s to a %s", Source ? Source->ClassName() : "nil", ClassName()));
    }
};

// The usual Assign: check the source's class, then copy every value.
#define CLARIVO_CRITERIA_CLASS(Class)                                                    \
    const char* ClassName() const override { return #Class; }                            \
    void Assign(const TCriteria* Source) override { *this = AssignSource<Class>(Source); }
