// Building a form from its stored description: components by class name, properties by name, nested
// parents, events bound to the form's handlers, binary properties handed over while reading, Loaded()
// on every component afterwards; and a clear error with the line for malformed descriptions.
#include "GuiFixture.h"
#include "base/MemoryStream.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/FormReader.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/Properties.h"
#include "ui/SpeedButton.h"

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> loadedOrder;

// A non-visual component with a binary property, recording what it saw and when.
class TProbe : public TComponent {
public:
    CLARIVO_CLASS
    explicit TProbe(TComponent* owner) : TComponent(owner) {}

    bool ReadBinaryProperty(std::string_view name, TStream& data) override {
        if (name != "Blob") return TComponent::ReadBinaryProperty(name, data);
        uint32_t count = data.ReadValue<uint32_t>();
        Blob.resize(count);
        data.ReadBuffer(Blob.data(), count);
        BlobWhileLoading = IsLoading();
        return true;
    }
    void Loaded() override {
        TComponent::Loaded();
        loadedOrder.push_back(Name());
    }

    std::vector<unsigned char> Blob;
    bool BlobWhileLoading = false;
    TNotifyEvent OnPing;
};

const TClassInfo TProbe::MetaClass("TProbe", &TComponent::MetaClass, ComponentFactory<TProbe>,
                                   {EventProp<TProbe>("OnPing", &TProbe::OnPing)});

class TSmallForm : public TForm {
public:
    CLARIVO_CLASS
    explicit TSmallForm(TComponent* owner) : TForm(owner) {
        Bindings().AddHandler("FormCreate", this, &TSmallForm::FormCreate);
        Bindings().AddHandler("GoClick", this, &TSmallForm::GoClick);
        Bindings().AddField("Panel1", Panel1);
        Bindings().AddField("Go", Go);
        Bindings().AddField("Probe1", Probe1);
    }
    void FormCreate(TObject*) { CreatedWithProbe = Probe1 && !Probe1->Blob.empty(); }
    void GoClick(TObject* sender) { LastClick = sender; }
    void Loaded() override {
        TForm::Loaded();
        loadedOrder.push_back(Name());
    }

    TPanel* Panel1 = nullptr;
    TSpeedButton* Go = nullptr;
    TProbe* Probe1 = nullptr;
    bool CreatedWithProbe = false;
    TObject* LastClick = nullptr;
};

const TClassInfo TSmallForm::MetaClass("TSmallForm", &TForm::MetaClass, nullptr, {});

// A 2 x 1 24-bit BMP (blue, red), as hex.
const char* const TinyBmp =
    "424D3E000000000000003600000028000000020000000100000001001800000000000800000000000000000000000000000000000000"
    "FF00000000FF0000";

std::string SmallDescription() {
    return std::string(R"(object Small1: TSmallForm
  Caption = 'Clarivo ' + 'test'#33   // joined parts and a character code
  ClientWidth = 300
  ClientHeight = 200
  Color = clBtnFace
  Position = poScreenCenter
  OnCreate = FormCreate
  object Panel1: TPanel
    Left = 10
    Top = 10
    Width = 200
    Height = 80
    BorderStyle = bsSingle
    object Label1: TLabel
      Caption = 'It''s inside'
    end
    object Edit1: TEdit
      Top = 30
      Text = 'My Computer'
      ReadOnly = True
      Font.Color = clBlue
      Font.Style = [fsBold]
      Anchors = [akLeft, akTop, akRight]
    end
  end
  object Go: TSpeedButton
    Left = 220
    Width = 60
    Height = 40
    Caption = 'Go'
    Glyph.Data = {)") +
           TinyBmp + R"(}
    OnClick = GoClick
  end
  object Probe1: TProbe
    Tag = -7
    Blob = {03000000 0A0B
            0C}
    OnPing = GoClick
  end
end
)";
}

class FormReading : public ::testing::Test {
protected:
    FormReading() { loadedOrder.clear(); }
    ~FormReading() override { TCustomForm::Free(form); }
    TSmallForm* form = new TSmallForm(nullptr);
};

TEST_F(FormReading, BuildsTheComponentsWithTheirProperties) {
    form->ReadDescription(SmallDescription());
    EXPECT_EQ(form->Name(), "Small1");
    EXPECT_EQ(form->Caption(), L"Clarivo test!");
    EXPECT_EQ(form->ClientWidth(), 300);
    EXPECT_EQ(form->Position(), poScreenCenter);
    ASSERT_NE(form->Panel1, nullptr);
    EXPECT_EQ(form->Panel1->Parent(), form);
    EXPECT_EQ(form->Panel1->BorderStyle(), bsSingleBorder);

    auto* edit = dynamic_cast<TEdit*>(form->FindComponent("Edit1"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Owner(), form) << "every component is owned by the form";
    EXPECT_EQ(edit->Parent(), form->Panel1) << "and placed in the control it is written in";
    EXPECT_EQ(edit->Text(), L"My Computer");
    EXPECT_TRUE(edit->ReadOnly());
    EXPECT_EQ(edit->Font()->Color(), clBlue);
    EXPECT_EQ(edit->Font()->Style(), FontStyleBit(fsBold));
    EXPECT_EQ(edit->Anchors(), AnchorBit(akLeft) | AnchorBit(akTop) | AnchorBit(akRight));
    EXPECT_EQ(ReadStringProperty(form->FindComponent("Label1"), "Caption"), L"It's inside");
    EXPECT_EQ(form->Probe1->Tag(), -7);
}

TEST_F(FormReading, HandsBinaryPropertiesOverWhileLoading) {
    form->ReadDescription(SmallDescription());
    EXPECT_EQ(form->Probe1->Blob, (std::vector<unsigned char>{0x0A, 0x0B, 0x0C}));
    EXPECT_TRUE(form->Probe1->BlobWhileLoading);
    TBitmap* glyph = form->Go->Glyph();
    ASSERT_EQ(glyph->Width(), 2);
    EXPECT_EQ(glyph->PixelFormat(), pf24bit);
    auto* pixels = static_cast<unsigned char*>(glyph->ScanLine(0));
    EXPECT_EQ(pixels[0], 0xFF) << "blue first";
    EXPECT_EQ(pixels[5], 0xFF) << "red second";
}

TEST_F(FormReading, BindsEventsAndCallsLoadedBeforeOnCreate) {
    form->ReadDescription(SmallDescription());
    EXPECT_EQ(loadedOrder, (std::vector<std::string>{"Small1", "Probe1"})) << "the root first, then reading order";
    EXPECT_FALSE(form->IsLoading());
    EXPECT_FALSE(form->Probe1->IsLoading());
    EXPECT_TRUE(form->CreatedWithProbe) << "OnCreate runs after everything has been read";
    form->Go->DoClick();
    EXPECT_EQ(form->LastClick, form->Go);
    form->Probe1->OnPing(form->Probe1);
    EXPECT_EQ(form->LastClick, form->Probe1);
}

TEST_F(FormReading, ShowsTheReadForm) {
    form->ReadDescription(SmallDescription());
    form->Show();
    Application().ProcessMessages();
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_TRUE(IsWindowVisible(form->Panel1->Handle()));
    int clicks = 0;
    form->Go->OnClick = [&](TObject*) { ++clicks; };
    Click(form->Handle(), 240, 20);
    EXPECT_EQ(clicks, 1);
}

TEST(FormTabOrder, FollowsTheTabOrderReadNotTheReadingOrder) {
    TForm form(nullptr);
    form.ReadDescription(R"(object F: TForm
  object C: TEdit
    TabOrder = 2
  end
  object A: TEdit
    TabOrder = 0
  end
  object Free: TEdit
  end
  object B: TCheckBox
    TabOrder = 1
  end
end
)");
    std::vector<TWinControl*> order;
    form.GetTabOrderList(order);
    std::vector<std::string> names;
    for (TWinControl* c : order) names.push_back(c->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C", "Free"}));
}

TEST(FormResource, ReadsTheDescriptionCompiledIntoTheProgram) {
    TForm* form = new TForm(nullptr);
    form->ReadDescriptionResource(L"TRESOURCEFORM");
    EXPECT_EQ(form->Name(), "ResourceForm1");
    EXPECT_EQ(form->Caption(), L"From the resource \u263A");
    EXPECT_EQ(ReadStringProperty(form->FindComponent("Note"), "Caption"), L"Gr\u00FC\u00DFe") << "UTF-8 text";
    TCustomForm::Free(form);
    TForm other(nullptr);
    EXPECT_THROW(other.ReadDescriptionResource(L"TNOSUCHFORM"), EComponentError);
}

TEST(FormResource, BinaryValueFromAResource) {
    TSmallForm form(nullptr);
    std::string text = SmallDescription();
    size_t at = text.find("Blob = {");
    text.replace(at, text.find('}', at) + 1 - at, "Blob = resource 'BLOBDATA'");
    form.ReadDescription(text);
    EXPECT_EQ(form.Probe1->Blob, (std::vector<unsigned char>{0x0A, 0x0B, 0x0C}));
    TSmallForm other(nullptr);
    try {
        other.ReadDescription("object F: TSmallForm\n  object P: TProbe\n    Blob = resource 'NOSUCH'\n  end\nend\n");
        FAIL() << "no error";
    } catch (const EFormReadError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3: the program has no resource NOSUCH"), std::string::npos)
            << e.what();
    }
}

TEST(FormReadingErrors, MalformedDescriptionsNameTheLine) {
    const struct {
        const char* text;
        int line;
        const char* what;
    } cases[] = {
        {"object F: TSmallForm\n  Caption = 'open\nend\n", 2, "unterminated string"},
        {"object F: TSmallForm\n  Left = 1\n", 3, "'end' expected"},
        {"object F: TSmallForm\n  object X: TNoSuchClass\n  end\nend\n", 2, "class TNoSuchClass not found"},
        {"object F: TSmallForm\n\n  NoSuchProp = 1\nend\n", 3, "has no property NoSuchProp"},
        {"object F: TSmallForm\n  Left = 'text'\nend\n", 2, "does not fit"},
        {"object F: TSmallForm\n  Position = poNowhere\nend\n", 2, "poNowhere"},
        {"object F: TSmallForm\n  BorderIcons = [biNone]\nend\n", 2, "biNone"},
        {"object F: TSmallForm\n  OnCreate = NoSuchHandler\nend\n", 2, "no handler named NoSuchHandler"},
        {"object F: TSmallForm\n  object P: TProbe\n    Blob = {0A0}\n  end\nend\n", 3, "odd number"},
        {"object F: TSmallForm\n  object P: TProbe\n    Blob = {0AZZ}\n  end\nend\n", 3, "hex digit"},
        {"object F: TSmallForm\n  Left = {00}\nend\n", 2, "no binary property Left"},
        {"object F: TSmallForm\n  Left = 99999999999\nend\n", 2, "too large"},
        {"object F: TForm1\nend\n", 1, "not for a TSmallForm"},
        {"object F: TSmallForm\nend\nend\n", 3, "after the final"},
        {"object F: TSmallForm\n  object Go: TLabel\n  end\nend\n", 2, "cannot hold a TLabel"},
        {"object F: TSmallForm\n  object A: TProbe\n  end\n  object A: TProbe\n  end\nend\n", 4, "already exists"},
        {"object F: TSmallForm\n  Font = 3\nend\n", 2, "Font"},
        {"object F: TSmallForm\n  object P: TProbe\n    Blob = {01000000}\n  end\nend\n", 3, "read error"},
        {"object F: TSmallForm\n  object R: TRadioGroup\n    Items.Strings = 'a'\n  end\nend\n", 3, "does not fit"},
        {"object F: TSmallForm\n  object R: TRadioGroup\n    Items.Strings = ('a' 7)\n  end\nend\n", 3,
         "string or ')' expected"},
        {"object F: TSmallForm\n  Left = ('a')\nend\n", 2, "does not fit"},
        {"object F: TSmallForm\nend\n", 0, "no component for the field"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TSmallForm form(nullptr);
        try {
            form.ReadDescription(c.text);
            ADD_FAILURE() << "no error";
        } catch (const EFormReadError& e) {
            std::string message = e.what();
            if (c.line != 0) {
                EXPECT_NE(message.find("line " + std::to_string(c.line) + ":"), std::string::npos) << message;
            }
            EXPECT_NE(message.find(c.what), std::string::npos) << message;
        }
    }
}

TEST(FormReadingErrors, DamagedDescriptionsReadOrFailCleanly) {
    const std::string original = SmallDescription();
    const char alphabet[] = "'{}[]=:.,+#$-_ 019AFaz\n";
    std::mt19937 random(99);
    for (int round = 0; round < 400; ++round) {
        std::string text = original;
        int changes = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < changes; ++i) {
            size_t at = random() % text.size();
            if (random() % 2)
                text[at] = alphabet[random() % (sizeof alphabet - 1)];
            else
                text.erase(at, 1 + random() % 8);
        }
        TSmallForm* form = new TSmallForm(nullptr);
        try {
            form->ReadDescription(text);
        } catch (const EFormReadError&) {
            // the one failure a damaged description may give
        }
        TCustomForm::Free(form);
    }
}

TEST(FormReadingErrors, HandlerOfAnotherEventTypeIsRefused) {
    TSmallForm form(nullptr);
    form.Bindings().AddHandlerFunction("Closing", TCloseEvent([](TObject*, TCloseAction&) {}));
    try {
        form.ReadDescription("object F: TSmallForm\n  OnCreate = Closing\nend\n");
        FAIL() << "no error";
    } catch (const EFormReadError& e) {
        EXPECT_NE(std::string(e.what()).find("does not fit the event OnCreate"), std::string::npos) << e.what();
    }
}

}  // namespace
