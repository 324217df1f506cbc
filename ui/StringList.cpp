#include "ui/StringList.h"

#include "ui/Properties.h"

const TClassInfo TStringList::MetaClass(
    "TStringList", &TPersistent::MetaClass, nullptr,
    {
        StrListProp<TStringList>("Strings", &TStringList::Lines, &TStringList::SetLines),
    });

void TStringList::SetLines(const std::vector<std::wstring>& lines) {
    if (lines == FLines) return;
    FLines = lines;
    if (OnChange) OnChange(this);
}

int TStringList::Add(const std::wstring& line) {
    FLines.push_back(line);
    if (OnChange) OnChange(this);
    return Count() - 1;
}

void TStringList::Assign(const TPersistent* source) {
    if (auto* list = dynamic_cast<const TStringList*>(source)) {
        SetLines(list->FLines);
        return;
    }
    TPersistent::Assign(source);
}
