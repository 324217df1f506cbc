#include "ui/Persistent.h"

#include "ui/Errors.h"

const TClassInfo TPersistent::MetaClass("TPersistent", &TObject::MetaClass, nullptr, {});

void TPersistent::Assign(const TPersistent* source) {
    if (!source) AssignError(nullptr);
    source->AssignTo(*this);
}

bool TPersistent::ReadBinaryProperty(std::string_view, TStream&) { return false; }

void TPersistent::AssignTo(TPersistent& dest) const { dest.AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const {
    std::string sourceName = source ? source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}
