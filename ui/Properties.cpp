#include "ui/Properties.h"

#include "base/StrUtils.h"

#include <cwchar>
#include <limits>

namespace {

// Decimal or $hex text as a 32-bit integer, like StrToInt; false when it is not one.
bool ParseInteger(const std::wstring& text, int& value) {
    std::wstring t = Trim(text);
    bool negative = false;
    size_t i = 0;
    if (i < t.size() && (t[i] == L'-' || t[i] == L'+')) negative = t[i++] == L'-';
    int base = 10;
    if (i < t.size() && t[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == L'0' && (t[i + 1] == L'x' || t[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i == t.size()) return false;
    int64_t magnitude = 0;
    for (; i < t.size(); ++i) {
        int digit;
        wchar_t c = t[i];
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        else return false;
        magnitude = magnitude * base + digit;
        // Hex may spell the full unsigned range ($FF000000 is a colour); decimal must fit an int.
        if (magnitude > (base == 16 ? int64_t{0xFFFFFFFF} : int64_t{std::numeric_limits<int>::max()} + 1))
            return false;
    }
    if (base == 10) {
        int64_t v = negative ? -magnitude : magnitude;
        if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) return false;
        value = static_cast<int>(v);
    } else {
        auto bits = static_cast<uint32_t>(magnitude);
        value = static_cast<int>(negative ? 0u - bits : bits);
    }
    return true;
}

}  // namespace

const TPropInfo* FindPropInfo(const TObject* object, std::string_view name) {
    return object ? object->ClassType().FindProperty(name) : nullptr;
}

int ReadIntegerProperty(const TObject* object, std::string_view name) {
    const TPropInfo* p = FindPropInfo(object, name);
    if (!p || p->Kind != TPropKind::pkInteger) return -1;
    try {
        return static_cast<int>(p->GetOrd(*object));
    } catch (...) {
        return -1;
    }
}

std::wstring ReadEnumNameProperty(const TObject* object, std::string_view name) {
    const TPropInfo* p = FindPropInfo(object, name);
    if (!p || (p->Kind != TPropKind::pkEnumeration && p->Kind != TPropKind::pkBoolean)) return {};
    try {
        int64_t v = p->GetOrd(*object);
        if (v < 0 || static_cast<size_t>(v) >= p->Names.size()) return {};
        return Utf8ToWide(p->Names[static_cast<size_t>(v)]);
    } catch (...) {
        return {};
    }
}

std::wstring ReadSetProperty(const TObject* object, std::string_view name) {
    const TPropInfo* p = FindPropInfo(object, name);
    if (!p || p->Kind != TPropKind::pkSet) return {};
    try {
        const auto bits = static_cast<uint64_t>(p->GetOrd(*object));
        std::wstring text = L"[";
        for (size_t i = 0; i < p->Names.size() && i < 64; ++i) {
            if (!(bits & (uint64_t{1} << i))) continue;
            if (text.size() > 1) text += L',';
            text += Utf8ToWide(p->Names[i]);
        }
        return text + L"]";
    } catch (...) {
        return {};
    }
}

std::wstring ReadStringProperty(const TObject* object, std::string_view name) {
    const TPropInfo* p = FindPropInfo(object, name);
    if (!p || p->Kind != TPropKind::pkString) return {};
    try {
        return p->GetStr(*object);
    } catch (...) {
        return {};
    }
}

TObject* ReadObjectProperty(TObject* object, std::string_view name, const TClassInfo& cls) {
    const TPropInfo* p = FindPropInfo(object, name);
    if (!p || (p->Kind != TPropKind::pkClass && p->Kind != TPropKind::pkComponent)) return nullptr;
    try {
        TObject* value = p->GetObj(*object);
        return value && value->InheritsFrom(cls) ? value : nullptr;
    } catch (...) {
        return nullptr;
    }
}

bool WritePropertyText(TObject* object, std::string_view name, const std::wstring& text) {
    const TPropInfo* p = FindPropInfo(object, name);
    if (!p || !p->Writable()) return false;
    try {
        switch (p->Kind) {
        case TPropKind::pkInteger: {
            int value;
            if (!ParseInteger(text, value)) return false;
            p->SetOrd(*object, value);
            return true;
        }
        case TPropKind::pkEnumeration:
        case TPropKind::pkBoolean: {
            std::string wanted = WideToUtf8(Trim(text));
            for (size_t i = 0; i < p->Names.size(); ++i)
                if (SameTextAscii(p->Names[i], wanted)) {
                    p->SetOrd(*object, static_cast<int64_t>(i));
                    return true;
                }
            return false;
        }
        case TPropKind::pkString:
            p->SetStr(*object, text);
            return true;
        default:
            return false;
        }
    } catch (...) {
        return false;
    }
}
