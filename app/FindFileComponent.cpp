#include "app/FindFileComponent.h"

#include "ui/Properties.h"

namespace {

// Criteria.Files: names, folders, descent and levels.
class TFileCriteriaView : public TPersistent {
public:
    CLARIVO_CLASS
    explicit TFileCriteriaView(TFileCriteria& files) : F(files) {}

    std::wstring FileName() const { return F.FileName; }
    void SetFileName(const std::wstring& v) { F.FileName = v; }
    std::wstring Location() const { return F.Location; }
    void SetLocation(const std::wstring& v) { F.Location = v; }
    bool Subfolders() const { return F.Subfolders; }
    void SetSubfolders(bool v) { F.Subfolders = v; }
    int MinLevel() const { return F.MinLevel; }
    void SetMinLevel(int v) { F.MinLevel = static_cast<uint16_t>(v); }
    int MaxLevel() const { return F.MaxLevel; }
    void SetMaxLevel(int v) { F.MaxLevel = static_cast<uint16_t>(v); }

private:
    TFileCriteria& F;
};

const TClassInfo TFileCriteriaView::MetaClass(
    "TFileCriteria", &TPersistent::MetaClass, nullptr,
    {
        StrProp<TFileCriteriaView>("FileName", &TFileCriteriaView::FileName, &TFileCriteriaView::SetFileName),
        StrProp<TFileCriteriaView>("Location", &TFileCriteriaView::Location, &TFileCriteriaView::SetLocation),
        BoolProp<TFileCriteriaView>("Subfolders", &TFileCriteriaView::Subfolders, &TFileCriteriaView::SetSubfolders),
        IntProp<TFileCriteriaView>("MinLevel", &TFileCriteriaView::MinLevel, &TFileCriteriaView::SetMinLevel),
        IntProp<TFileCriteriaView>("MaxLevel", &TFileCriteriaView::MaxLevel, &TFileCriteriaView::SetMaxLevel),
    });

// Criteria.Attribute: the attribute set and whether it must match exactly.
class TAttributeCriteriaView : public TPersistent {
public:
    CLARIVO_CLASS
    explicit TAttributeCriteriaView(TAttributeCriteria& attribute) : A(attribute) {}

    uint32_t Attributes() const { return A.Attributes().Bits(); }
    void SetAttributes(uint32_t bits) {
        DWORD mask = 0;
        for (int value = ffArchive; value <= ffDirectory; ++value)
            if (bits & (1u << value)) mask |= TFileAttributes{static_cast<TFileAttribute>(value)}.ToMask();
        A.SetAttributes(TFileAttributes::FromMask(mask));
    }
    bool ExactMatch() const { return A.ExactMatch; }
    void SetExactMatch(bool v) { A.ExactMatch = v; }

private:
    TAttributeCriteria& A;
};

const TClassInfo TAttributeCriteriaView::MetaClass(
    "TAttributeCriteria", &TPersistent::MetaClass, nullptr,
    {
        SetProp<TAttributeCriteriaView, uint32_t>("Attributes", {"ffArchive", "ffReadonly", "ffHidden", "ffSystem", "ffDirectory"},
                                                  &TAttributeCriteriaView::Attributes, &TAttributeCriteriaView::SetAttributes),
        BoolProp<TAttributeCriteriaView>("ExactMatch", &TAttributeCriteriaView::ExactMatch,
                                         &TAttributeCriteriaView::SetExactMatch),
    });

class TSearchCriteriaView : public TPersistent {
public:
    CLARIVO_CLASS
    explicit TSearchCriteriaView(TSearchCriteria& criteria) : FFiles(criteria.Files), FAttribute(criteria.Attribute) {}

    TPersistent* Files() { return &FFiles; }
    TPersistent* Attribute() { return &FAttribute; }

private:
    TFileCriteriaView FFiles;
    TAttributeCriteriaView FAttribute;
};

const TClassInfo TSearchCriteriaView::MetaClass(
    "TSearchCriteria", &TPersistent::MetaClass, nullptr,
    {
        ClassProp<TSearchCriteriaView, TPersistent>("Files", &TSearchCriteriaView::Files),
        ClassProp<TSearchCriteriaView, TPersistent>("Attribute", &TSearchCriteriaView::Attribute),
    });

template <typename Fn>
constexpr Fn TFindFileComponent::*Event(Fn TFindFile::*member) {
    return static_cast<Fn TFindFileComponent::*>(member);
}

}  // namespace

const TClassInfo TFindFileComponent::MetaClass(
    "TFindFile", &TComponent::MetaClass, ComponentFactory<TFindFileComponent>,
    {
        ClassProp<TFindFileComponent, TPersistent>("Criteria", &TFindFileComponent::CriteriaProperties),
        BoolProp<TFindFileComponent>("Threaded", &TFindFileComponent::GetThreaded, &TFindFileComponent::SetThreaded),
        EnumProp<TFindFileComponent, TThreadPriority>(
            "ThreadPriority", {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"},
            &TFindFileComponent::GetThreadPriority, &TFindFileComponent::SetThreadPriority),
        EventProp<TFindFileComponent>("OnFileMatch", Event(&TFindFile::OnFileMatch)),
        EventProp<TFindFileComponent>("OnFolderChange", Event(&TFindFile::OnFolderChange)),
        EventProp<TFindFileComponent>("OnFolderError", Event(&TFindFile::OnFolderError)),
        EventProp<TFindFileComponent>("OnSearchBegin", Event(&TFindFile::OnSearchBegin)),
        EventProp<TFindFileComponent>("OnSearchFinish", Event(&TFindFile::OnSearchFinish)),
        EventProp<TFindFileComponent>("OnSearchAbort", Event(&TFindFile::OnSearchAbort)),
    });

TFindFileComponent::TFindFileComponent(TComponent* owner)
    : TComponent(owner), FCriteriaView(std::make_unique<TSearchCriteriaView>(Criteria)) {}

// The search ends before this part of the object goes: the worker may still call the virtual Do...
// methods and reach the events through it.
TFindFileComponent::~TFindFileComponent() { Shutdown(); }
