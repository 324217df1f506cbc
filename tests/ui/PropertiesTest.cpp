// Published properties read and written by name: every kind, and the documented defaults for a missing
// object, a missing property and a property of another kind.
#include "ui/Component.h"
#include "ui/Errors.h"
#include "ui/Font.h"
#include "ui/Properties.h"

#include <gtest/gtest.h>

namespace {

enum TShade { shLight, shDark };

class TSample : public TComponent {
public:
    CLARIVO_CLASS
    explicit TSample(TComponent* owner) : TComponent(owner) {}

    int Count = 7;
    TShade Shade = shDark;
    bool Flag = true;
    uint32_t Options = 0b101;
    std::wstring Caption = L"Hello";
    TFont Font;
};

const TClassInfo TSample::MetaClass(
    "TSample", &TComponent::MetaClass, ComponentFactory<TSample>,
    {
        IntProp<TSample>("Count", [](const TSample& s) { return s.Count; }, [](TSample& s, int v) { s.Count = v; }),
        EnumProp<TSample, TShade>("Shade", {"shLight", "shDark"}, [](const TSample& s) { return s.Shade; },
                                  [](TSample& s, TShade v) { s.Shade = v; }),
        BoolProp<TSample>("Flag", [](const TSample& s) { return s.Flag; }, [](TSample& s, bool v) { s.Flag = v; }),
        SetProp<TSample, uint32_t>("Options", {"opA", "opB", "opC"}, [](const TSample& s) { return s.Options; },
                                   [](TSample& s, uint32_t v) { s.Options = v; }),
        StrProp<TSample>("Caption", [](const TSample& s) { return s.Caption; },
                         [](TSample& s, const std::wstring& v) { s.Caption = v; }),
        ClassProp<TSample, TFont>("Font", [](TSample& s) { return &s.Font; }),
        IntProp<TSample>("ReadOnlyCount", [](const TSample& s) { return s.Count * 2; }, nullptr),
    });

class Properties : public ::testing::Test {
protected:
    TSample sample{nullptr};
};

TEST_F(Properties, ReadEachKindByName) {
    EXPECT_EQ(ReadIntegerProperty(&sample, "Count"), 7);
    EXPECT_EQ(ReadIntegerProperty(&sample, "count"), 7) << "names compare without case";
    EXPECT_EQ(ReadEnumNameProperty(&sample, "Shade"), L"shDark");
    EXPECT_EQ(ReadEnumNameProperty(&sample, "Flag"), L"True") << "booleans have value names too";
    EXPECT_EQ(ReadStringProperty(&sample, "Caption"), L"Hello");
    EXPECT_EQ(ReadObjectProperty<TFont>(&sample, "Font"), &sample.Font);
    EXPECT_EQ(ReadIntegerProperty(&sample, "Tag"), 0) << "inherited from TComponent";
}

TEST_F(Properties, DefaultsForMissingObjectPropertyOrKind) {
    struct Case {
        const TObject* object;
        const char* name;
    };
    const Case cases[] = {
        {nullptr, "Count"},      // no object
        {&sample, "NoSuchProp"}, // no property
        {&sample, ""},           // no name
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadIntegerProperty(c.object, c.name), -1);
        EXPECT_EQ(ReadEnumNameProperty(c.object, c.name), L"");
        EXPECT_EQ(ReadStringProperty(c.object, c.name), L"");
        EXPECT_EQ(ReadObjectProperty(const_cast<TObject*>(c.object), c.name, TFont::MetaClass), nullptr);
        EXPECT_FALSE(WritePropertyText(const_cast<TObject*>(c.object), c.name, L"1"));
    }
    // Wrong kinds: each reader only accepts its own.
    EXPECT_EQ(ReadIntegerProperty(&sample, "Caption"), -1);
    EXPECT_EQ(ReadIntegerProperty(&sample, "Shade"), -1);
    EXPECT_EQ(ReadEnumNameProperty(&sample, "Count"), L"");
    EXPECT_EQ(ReadEnumNameProperty(&sample, "Options"), L"") << "a set is not an enumeration";
    EXPECT_EQ(ReadStringProperty(&sample, "Count"), L"");
    EXPECT_EQ(ReadObjectProperty(&sample, "Caption", TFont::MetaClass), nullptr);
    EXPECT_EQ(ReadObjectProperty(&sample, "Font", TComponent::MetaClass), nullptr) << "object of another class";
}

TEST_F(Properties, WriteFromText) {
    EXPECT_TRUE(WritePropertyText(&sample, "Count", L"-42"));
    EXPECT_EQ(sample.Count, -42);
    EXPECT_TRUE(WritePropertyText(&sample, "Count", L"$FF000000"));
    EXPECT_EQ(static_cast<uint32_t>(sample.Count), 0xFF000000u);
    EXPECT_TRUE(WritePropertyText(&sample, "Shade", L"shlight"));
    EXPECT_EQ(sample.Shade, shLight);
    EXPECT_TRUE(WritePropertyText(&sample, "Flag", L"False"));
    EXPECT_FALSE(sample.Flag);
    EXPECT_TRUE(WritePropertyText(&sample, "Caption", L"World"));
    EXPECT_EQ(sample.Caption, L"World");
}

TEST_F(Properties, WriteThatCannotBeDoneWritesNothing) {
    const struct {
        const char* name;
        const wchar_t* text;
    } cases[] = {
        {"Count", L"12abc"},        {"Count", L""},          {"Count", L"99999999999"},
        {"Shade", L"shMedium"},     {"Flag", L"yes"},        {"Options", L"[opA]"},
        {"Font", L"Arial"},         {"ReadOnlyCount", L"3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(WritePropertyText(&sample, c.name, c.text));
    }
    EXPECT_EQ(sample.Count, 7);
    EXPECT_EQ(sample.Shade, shDark);
    EXPECT_TRUE(sample.Flag);
    EXPECT_EQ(sample.Options, 0b101u);
}

TEST_F(Properties, TablesChainToTheBase) {
    const TClassInfo& cls = sample.ClassType();
    EXPECT_EQ(cls.Name(), "TSample");
    EXPECT_TRUE(sample.InheritsFrom(TComponent::MetaClass));
    EXPECT_TRUE(sample.InheritsFrom("tpersistent"));
    EXPECT_FALSE(sample.InheritsFrom(TFont::MetaClass));
    auto all = cls.Properties();
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0]->Name, "Name") << "the root class's properties come first";
}

TEST(ClassRegistry, CreatesByNameWithOwner) {
    TComponent owner(nullptr);
    const TClassInfo* cls = TClassInfo::Find("tsample");
    ASSERT_NE(cls, nullptr);
    TComponent* made = cls->Create(&owner);
    EXPECT_EQ(made->ClassName(), "TSample");
    EXPECT_EQ(made->Owner(), &owner);
    EXPECT_EQ(TClassInfo::Find("TNoSuchClass"), nullptr);
    EXPECT_THROW(TClassInfo::Find("TPersistent")->Create(&owner), EClassNotFound) << "abstract: no factory";
}

}  // namespace
