#include "ui/FormReader.h"

#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "ui/Component.h"
#include "ui/Control.h"
#include "ui/NameBindings.h"
#include "ui/Properties.h"
#include "ui/Types.h"
#include "ui/WinControl.h"

#include <map>

namespace {

std::map<std::string, int>& Constants() {
    static std::map<std::string, int> constants = {
        {"clblack", clBlack},       {"clwhite", clWhite},
        {"clred", clRed},           {"clgreen", clGreen},
        {"clblue", clBlue},         {"clnavy", clNavy},
        {"clgray", clGray},         {"clsilver", clSilver},
        {"clfuchsia", clFuchsia},   {"clnone", clNone},
        {"cldefault", clDefault},   {"clbtnface", clBtnFace},
        {"clbtntext", clBtnText},   {"clbtnshadow", clBtnShadow},
        {"clbtnhighlight", clBtnHighlight}, {"clwindow", clWindow},
        {"clwindowtext", clWindowText},     {"clgraytext", clGrayText},
        {"clhighlight", clHighlight},       {"clhighlighttext", clHighlightText},
        {"default_charset", DEFAULT_CHARSET}, {"ansi_charset", ANSI_CHARSET},
    };
    return constants;
}

enum class TToken { End, Ident, Integer, String, Symbol, Binary };

// One value as written: what kind of token it came from decides which properties accept it.
struct TValue {
    TToken Kind = TToken::End;
    std::string Ident;              // identifier
    int64_t Integer = 0;
    std::wstring String;
    std::vector<std::string> Set;   // set element names
    bool IsSet = false;
    std::vector<std::wstring> List; // lines of a string list
    bool IsList = false;
    std::vector<unsigned char> Bytes;
};

// The reading context: the text, the position and the line, the root and what has been created.
class TParser {
public:
    TParser(std::string_view text, TComponent& root, const TNameBindings* bindings)
        : FText(text), FRoot(root), FBindings(bindings) {}

    void Run() {
        Next();
        ExpectIdent("object");
        int line = FTokenLine;
        std::string name = ReadIdent();
        Expect(':');
        std::string className = ReadIdent();
        if (!FRoot.InheritsFrom(className))
            FailAt(line, "the description is for a " + className + ", not for a " + FRoot.ClassName());
        FRoot.BeginLoading();
        FLoaded.push_back(&FRoot);
        Apply(line, [&] { FRoot.SetName(name); });
        ReadBody(FRoot);
        if (FToken != TToken::End) Fail("text after the final 'end'");
        ResolveReferences();
        if (FBindings) {
            auto missing = FBindings->UnboundFields(FBound);
            if (!missing.empty()) Fail("no component for the field " + missing.front());
        }
        for (TComponent* c : FLoaded) c->EndReading();
        for (TComponent* c : FLoaded) c->Loaded();
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw EFormReadError("Form description, line " + std::to_string(FTokenLine) + ": " + what);
    }

    // Runs a step that may throw for reasons of its own (a setter, a name clash) and reports it at line.
    template <typename F>
    void Apply(int line, F&& step) {
        try {
            step();
        } catch (const EFormReadError&) {
            throw;
        } catch (const std::exception& e) {
            FailAt(line, e.what());
        }
    }

    // ---- tokens ----

    char Peek(size_t ahead = 0) const { return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0'; }

    void SkipSpace() {
        while (FPos < FText.size()) {
            char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                ++FPos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++FPos;
            } else if (c == '/' && Peek(1) == '/') {
                while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
            } else {
                break;
            }
        }
    }

    static bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    void Next() {
        SkipSpace();
        FTokenLine = FLine;
        FTokenText.clear();
        if (FPos >= FText.size()) {
            FToken = TToken::End;
            return;
        }
        char c = FText[FPos];
        if (IsIdentStart(c)) {
            size_t start = FPos;
            while (IsIdentStart(Peek()) || IsDigit(Peek()) || Peek() == '.') ++FPos;
            FTokenText.assign(FText.substr(start, FPos - start));
            FToken = TToken::Ident;
        } else if (IsDigit(c) || c == '$') {
            ReadNumber();
        } else if (c == '\'' || c == '#') {
            ReadString();
        } else if (c == '{') {
            ReadBinary();
        } else {
            FTokenText.assign(1, c);
            ++FPos;
            FToken = TToken::Symbol;
        }
    }

    void ReadNumber() {
        bool hex = FText[FPos] == '$';
        if (hex) ++FPos;
        int64_t value = 0;
        size_t digits = 0;
        while (FPos < FText.size()) {
            int d = hex ? HexDigit(FText[FPos]) : (IsDigit(FText[FPos]) ? FText[FPos] - '0' : -1);
            if (d < 0) break;
            value = value * (hex ? 16 : 10) + d;
            if (value > 0xFFFFFFFFll) Fail("number too large");
            ++FPos;
            ++digits;
        }
        if (digits == 0) Fail("digits expected after '$'");
        if (IsIdentStart(Peek()) || Peek() == '.') Fail("malformed number");
        FInteger = value;
        FToken = TToken::Integer;
    }

    void ReadString() {
        std::string utf8;
        while (true) {
            if (Peek() == '\'') {
                ++FPos;
                while (true) {
                    if (FPos >= FText.size() || FText[FPos] == '\n') Fail("unterminated string");
                    char c = FText[FPos++];
                    if (c == '\'') {
                        if (Peek() != '\'') break;
                        ++FPos;
                    }
                    utf8 += c;
                }
            } else if (Peek() == '#') {
                // #13 or #$263A: a character by its code.
                ++FPos;
                bool hex = Peek() == '$';
                if (hex) ++FPos;
                int64_t code = 0;
                size_t digits = 0;
                for (int d; (d = hex ? HexDigit(Peek()) : IsDigit(Peek()) ? Peek() - '0' : -1) >= 0 && code <= 0x10FFFF;
                     ++FPos, ++digits)
                    code = code * (hex ? 16 : 10) + d;
                if (digits == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                    Fail("malformed character code");
                std::wstring character;
                if (code >= 0x10000) {
                    character += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
                    character += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
                } else {
                    character += static_cast<wchar_t>(code);
                }
                utf8 += WideToUtf8(character);
            } else {
                break;
            }
        }
        FString += Utf8ToWide(utf8);
        FToken = TToken::String;
    }

    void ReadBinary() {
        ++FPos;  // '{'
        FBytes.clear();
        int high = -1;
        while (true) {
            if (FPos >= FText.size()) Fail("unterminated binary block");
            char c = FText[FPos++];
            if (c == '}') break;
            if (c == '\n') {
                ++FLine;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r') continue;
            int d = HexDigit(c);
            if (d < 0) Fail("binary block holds something that is not a hex digit");
            if (high < 0) {
                high = d;
            } else {
                FBytes.push_back(static_cast<unsigned char>(high * 16 + d));
                high = -1;
            }
        }
        if (high >= 0) Fail("binary block has an odd number of hex digits");
        FToken = TToken::Binary;
    }

    bool IsSymbol(char c) const { return FToken == TToken::Symbol && FTokenText[0] == c; }
    bool IsIdent(std::string_view word) const { return FToken == TToken::Ident && SameTextAscii(FTokenText, word); }

    void Expect(char c) {
        if (!IsSymbol(c)) Fail(std::string("'") + c + "' expected");
        Next();
    }
    void ExpectIdent(std::string_view word) {
        if (!IsIdent(word)) Fail("'" + std::string(word) + "' expected");
        Next();
    }
    std::string ReadIdent() {
        if (FToken != TToken::Ident || FTokenText.find('.') != std::string::npos) Fail("name expected");
        std::string name = FTokenText;
        Next();
        return name;
    }

    // ---- structure ----

    void ReadBody(TComponent& component) {
        while (true) {
            if (FToken == TToken::End) Fail("'end' expected");
            if (IsIdent("end")) {
                Next();
                return;
            }
            if (IsIdent("object")) {
                Next();
                ReadChild(component);
            } else {
                ReadProperty(component);
            }
        }
    }

    void ReadChild(TComponent& enclosing) {
        int line = FTokenLine;
        std::string name = ReadIdent();
        Expect(':');
        std::string className = ReadIdent();
        const TClassInfo* cls = TClassInfo::Find(className);
        if (!cls) FailAt(line, "class " + className + " not found");
        if (!cls->CanCreate()) FailAt(line, "class " + className + " cannot be created by name");
        TComponent* component = nullptr;
        Apply(line, [&] { component = cls->Create(&FRoot); });
        component->BeginLoading();
        FLoaded.push_back(component);
        Apply(line, [&] { component->SetName(name); });
        Apply(line, [&] { component->SetParentComponent(&enclosing); });
        if (FBindings) {
            if (!FBindings->BindField(name, component))
                FailAt(line, "the field " + name + " cannot hold a " + className);
            FBound.push_back(name);
        }
        ReadBody(*component);
    }

    [[noreturn]] void FailAt(int line, const std::string& what) {
        FTokenLine = line;
        Fail(what);
    }

    // ---- properties ----

    void ReadProperty(TComponent& component) {
        if (FToken != TToken::Ident) Fail("property name expected");
        std::string path = FTokenText;
        int line = FTokenLine;
        Next();
        Expect('=');
        TValue value = ReadValue();
        int nextLine = FTokenLine;
        FTokenLine = line;  // errors below are about this property's line
        ApplyProperty(component, path, std::move(value));
        FTokenLine = nextLine;
    }

    void ApplyProperty(TComponent& component, const std::string& path, TValue value) {
        int line = FTokenLine;

        // "Font.Style": every part before the last names an owned object.
        TObject* target = &component;
        size_t start = 0;
        for (size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', start)) {
            std::string part = path.substr(start, dot - start);
            const TPropInfo* p = target->ClassType().FindProperty(part);
            if (!p || p->Kind != TPropKind::pkClass) Fail(target->ClassName() + " has no object property " + part);
            target = p->GetObj(*target);
            if (!target) Fail("the property " + part + " holds no object");
            start = dot + 1;
        }
        std::string name = path.substr(start);
        if (name.empty()) Fail("property name expected");
        const TPropInfo* p = target->ClassType().FindProperty(name);

        if (value.Kind == TToken::Binary) {
            auto* persistent = dynamic_cast<TPersistent*>(target);
            TMemoryStream stream(std::move(value.Bytes));
            bool known = false;
            Apply(line, [&] { known = persistent && persistent->ReadBinaryProperty(name, stream); });
            if (!known) Fail(target->ClassName() + " has no binary property " + name);
            return;
        }
        if (!p) Fail(target->ClassName() + " has no property " + name);
        if (!p->Writable()) Fail("the property " + name + " cannot be written");
        Apply(line, [&] { SetValue(*target, *p, value); });
    }

    TValue ReadValue() {
        TValue v;
        v.Kind = FToken;
        switch (FToken) {
        case TToken::Integer:
            v.Integer = FInteger;
            Next();
            return v;
        case TToken::String:
            v.String = ReadStringExpression();
            return v;
        case TToken::Binary:
            v.Bytes = std::move(FBytes);
            Next();
            return v;
        case TToken::Ident:
            v.Ident = FTokenText;
            Next();
            // resource 'NAME': the bytes of the program's RCDATA resource of that name, so that large
            // binary values (glyphs, a packed skin) stay in their own files instead of hex in the text.
            if (v.Ident == "resource" && FToken == TToken::String) {
                const int line = FTokenLine;
                v.Kind = TToken::Binary;
                v.Bytes = ResourceBytes(TakeString(), line);
            }
            return v;
        case TToken::Symbol:
            if (IsSymbol('-')) {
                Next();
                if (FToken != TToken::Integer) Fail("number expected after '-'");
                v.Kind = TToken::Integer;
                v.Integer = -FInteger;
                Next();
                return v;
            }
            if (IsSymbol('[')) {
                Next();
                v.IsSet = true;
                while (!IsSymbol(']')) {
                    v.Set.push_back(ReadIdent());
                    if (!IsSymbol(']')) Expect(',');
                }
                Next();
                return v;
            }
            if (IsSymbol('(')) {
                // ( 'first' 'second' ): the lines of a string list, each one a string expression.
                Next();
                v.IsList = true;
                while (!IsSymbol(')')) {
                    if (FToken != TToken::String) Fail("string or ')' expected in a list");
                    v.List.push_back(ReadStringExpression());
                }
                Next();
                return v;
            }
            break;
        default:
            break;
        }
        Fail("value expected");
    }

    std::vector<unsigned char> ResourceBytes(const std::wstring& name, int line) {
        HMODULE module = GetModuleHandleW(nullptr);
        HRSRC info = FindResourceW(module, name.c_str(), RT_RCDATA);
        HGLOBAL data = info ? LoadResource(module, info) : nullptr;
        const void* bytes = data ? LockResource(data) : nullptr;
        if (!bytes) FailAt(line, "the program has no resource " + WideToUtf8(name));
        const auto* first = static_cast<const unsigned char*>(bytes);
        return std::vector<unsigned char>(first, first + SizeofResource(module, info));
    }

    std::wstring ReadStringExpression() {
        std::wstring s = TakeString();
        while (IsSymbol('+')) {
            Next();
            if (FToken != TToken::String) Fail("string expected after '+'");
            s += TakeString();
        }
        return s;
    }

    std::wstring TakeString() {
        std::wstring s = std::move(FString);
        FString.clear();
        Next();
        return s;
    }

    static int64_t NameIndex(const TPropInfo& p, const std::string& name) {
        for (size_t i = 0; i < p.Names.size(); ++i)
            if (SameTextAscii(p.Names[i], name)) return static_cast<int64_t>(i);
        return -1;
    }

    void SetValue(TObject& target, const TPropInfo& p, const TValue& v) {
        auto wrong = [&]() { Fail("the value does not fit the property " + p.Name); };
        switch (p.Kind) {
        case TPropKind::pkInteger: {
            int64_t value = v.Integer;
            if (v.Kind == TToken::Ident) {
                auto it = Constants().find(LowerCaseAscii(v.Ident));
                if (it == Constants().end()) Fail("unknown constant " + v.Ident);
                value = it->second;
            } else if (v.Kind != TToken::Integer) {
                wrong();
            }
            if (value < INT32_MIN || value > UINT32_MAX) wrong();
            p.SetOrd(target, static_cast<int32_t>(static_cast<uint32_t>(value)));
            return;
        }
        case TPropKind::pkEnumeration:
        case TPropKind::pkBoolean: {
            if (v.Kind != TToken::Ident) wrong();
            int64_t index = NameIndex(p, v.Ident);
            if (index < 0) Fail(v.Ident + " is not a value of the property " + p.Name);
            p.SetOrd(target, index);
            return;
        }
        case TPropKind::pkSet: {
            if (!v.IsSet) wrong();
            int64_t bits = 0;
            for (const std::string& element : v.Set) {
                int64_t index = NameIndex(p, element);
                if (index < 0) Fail(element + " is not an element of the property " + p.Name);
                bits |= int64_t{1} << index;
            }
            p.SetOrd(target, bits);
            return;
        }
        case TPropKind::pkString:
            if (v.Kind != TToken::String) wrong();
            p.SetStr(target, v.String);
            return;
        case TPropKind::pkStringList:
            if (!v.IsList) wrong();
            p.SetList(target, v.List);
            return;
        case TPropKind::pkMethod: {
            if (v.Kind != TToken::Ident) wrong();
            const std::any* handler = FBindings ? FBindings->FindHandler(v.Ident) : nullptr;
            if (!handler) Fail("no handler named " + v.Ident);
            try {
                p.SetMethod(target, *handler);
            } catch (const std::bad_any_cast&) {
                Fail("the handler " + v.Ident + " does not fit the event " + p.Name);
            }
            return;
        }
        case TPropKind::pkClass:
            Fail("the object property " + p.Name + " is set through its own properties (" + p.Name + ".X = ...)");
        case TPropKind::pkComponent:
            // Named components may come later in the text: set once everything is read.
            if (v.Kind != TToken::Ident) wrong();
            FReferences.push_back({&target, &p, v.Ident, FTokenLine});
            return;
        }
    }

    void ResolveReferences() {
        for (const TReference& r : FReferences) {
            FTokenLine = r.Line;
            TComponent* component = nullptr;
            if (LowerCaseAscii(r.Name) != "nil") {
                component = FRoot.FindComponent(r.Name);
                if (!component && SameTextAscii(FRoot.Name(), r.Name)) component = &FRoot;
                if (!component) Fail("no component named " + r.Name);
                if (!component->InheritsFrom(*r.Property->PropClass))
                    Fail(r.Name + " is not a " + r.Property->PropClass->Name() + " for the property " + r.Property->Name);
            }
            Apply(r.Line, [&] { r.Property->SetRef(*r.Target, component); });
        }
    }

    std::string_view FText;
    TComponent& FRoot;
    const TNameBindings* FBindings;
    size_t FPos = 0;
    int FLine = 1;
    int FTokenLine = 1;
    TToken FToken = TToken::End;
    std::string FTokenText;
    int64_t FInteger = 0;
    std::wstring FString;
    std::vector<unsigned char> FBytes;
    std::vector<TComponent*> FLoaded;
    struct TReference {
        TObject* Target;
        const TPropInfo* Property;
        std::string Name;
        int Line;
    };
    std::vector<TReference> FReferences;
    std::vector<std::string> FBound;
};

}  // namespace

TFormReader::TFormReader(TComponent& root, const TNameBindings* bindings) : FRoot(root), FBindings(bindings) {}

void TFormReader::Read(std::string_view text) {
    // A UTF-8 byte order mark is allowed in front.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    TParser(text, FRoot, FBindings).Run();
}

void TFormReader::RegisterIntegerConstant(std::string_view name, int value) {
    Constants()[LowerCaseAscii(name)] = value;
}
