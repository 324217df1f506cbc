#pragma once
// Reads a form description into a root component: creates the components it lists by class name,
// sets their published properties by name, binds events to the root's handlers by name, hands
// properties stored as bytes to the object they belong to (ReadBinaryProperty), and calls Loaded() on
// every component (the root first, then in reading order) once all have been read.
//
// The description is UTF-8 text:
//
//     object Form1: TForm1                      // the root: name and class (must be the root's class)
//       Caption = 'Clarivo'                     // string: '...', '' for a quote, #13 for a character code,
//       ClientWidth = 949                       //   parts joined with +
//       Color = clBtnFace                       // integer: decimal, $hex, or a registered constant name
//       Font.Style = [fsBold]                   // a property of an owned object (Font); a set: [a, b]
//       Position = poScreenCenter               // enumeration or boolean (True/False) by name
//       OnCreate = FormCreate                   // event: the name of a handler the root registered
//       object Panel1: TPanel                   // a child: owned by the root, parent = enclosing control
//         Visible = False
//         object Label1: TLabel
//         end
//       end
//       object SkinData1: TSkinData
//         SkinStream = {0000000001FF}           // bytes in hex, may run over several lines
//       end
//       object RadioGroup1: TRadioGroup
//         Items.Strings = (                     // a string list: its lines, each a string
//           'First'
//           'Second')
//       end
//       object FindButton: TSpeedButton
//         Glyph.Data = resource 'FINDGLYPH'     // bytes: the program's RCDATA resource of that name
//       end
//     end
//
// Lines may end in // comments. Any error (syntax, unknown class or property, a value of the wrong
// kind, a handler that does not exist or does not fit) throws EFormReadError naming the line.
#include "base/Exception.h"

#include <string_view>
#include <vector>

class TComponent;
class TNameBindings;

class EFormReadError : public Exception { using Exception::Exception; };

class TFormReader {
public:
    // bindings: the root's handlers and fields (may be null when the description binds none).
    TFormReader(TComponent& root, const TNameBindings* bindings);

    void Read(std::string_view text);

    // Names usable as integer values in every description (the colour names are there from the start).
    static void RegisterIntegerConstant(std::string_view name, int value);

private:
    TComponent& FRoot;
    const TNameBindings* FBindings;
};
