#pragma once
// Dialog templates: the layout of every dialog as data. The templates are JSON files in
// resources/dialogs/, compiled into the program as a Qt resource and read once on first use.
//
// File format (one dialog per file, named after its id, e.g. 146.json):
//   {
//     "id": 146,                         template id
//     "caption": "Lanterna",             window title ("" for none)
//     "size": [209, 85],                 client width and height in dialog units
//     "style": ["caption", "sysmenu"],   caption, sysmenu, minbox, maxbox, toolwindow, resizable
//     "controls": [                      in tab order; later controls lie above earlier ones
//       { "id": 1, "kind": "defbutton", "text": "확인", "rect": [79, 64, 50, 14],
//         "style": ["group"], "limit": 14, "image": 147, "items": ["a", "b"],
//         "name": "SMTP 포트" }
//     ]
//   }
// Texts are Korean, the program's own language. Beside a Korean text its English translation
// may stand under the same key with "_en" appended ("caption_en", "text_en", "items_en"), and
// where an English text needs more room, "rect_en" and "size_en" give the English layout. What
// has no English key reads the same in both languages (such as "DHCP"). "name" is the name the
// accessibility interface gives a control whose label it shares with another ("name_en" in
// English); without it the name comes from the labels (ui/Dialog.h).
// Control kinds: button, defbutton, label, edit, check, radio, group (group box), icon
// (picture of icon "image"), ipaddress, listview, progress, hline (separator line), combo
// (drop-down list of "items"), table (rows of texts under column titles, ui/TableView.h).
// "anchor" tells how a control of a resizable dialog follows its size: "right" keeps its distance
// to the right edge, "bottom" to the bottom edge, "wide" grows with the width, "tall" with the
// height (CDialog::OnSize places them).
// Control styles: hidden, disabled, default, password, digits,
// group (starts a radio group), threestate, manual (check state changes only by program),
// notabstop, readonly, center, right, multiline, flat, smooth, acceptfiles. "limit" is an edit's
// text limit in bytes. Id -1 marks controls that no code refers to; other ids are unique.

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/UserLanguage.h"
#include "ui/DialogUnits.h"

namespace ui {

enum class ControlKind {
    Button,
    DefaultButton,
    Label,
    Edit,
    CheckBox,
    RadioButton,
    GroupBox,
    Icon,
    IpAddress,
    ListView,
    ProgressBar,
    Separator,
    ComboBox,
    Table,
};

// Bits of ControlTemplate::styles.
namespace ControlStyle {
inline constexpr std::uint32_t Hidden = 1u << 0;
inline constexpr std::uint32_t Disabled = 1u << 1;
inline constexpr std::uint32_t Default = 1u << 2;
inline constexpr std::uint32_t Password = 1u << 3;
inline constexpr std::uint32_t Digits = 1u << 4;
inline constexpr std::uint32_t Group = 1u << 5;
inline constexpr std::uint32_t ThreeState = 1u << 6;
inline constexpr std::uint32_t Manual = 1u << 7;
inline constexpr std::uint32_t NoTabStop = 1u << 8;
inline constexpr std::uint32_t ReadOnly = 1u << 9;
inline constexpr std::uint32_t Center = 1u << 10;
inline constexpr std::uint32_t Right = 1u << 11;
inline constexpr std::uint32_t Multiline = 1u << 12;
inline constexpr std::uint32_t Flat = 1u << 13;
inline constexpr std::uint32_t Smooth = 1u << 14;
inline constexpr std::uint32_t AcceptFiles = 1u << 15;
}  // namespace ControlStyle

// Bits of ControlTemplate::anchors.
namespace Anchor {
inline constexpr std::uint32_t Right = 1u << 0;
inline constexpr std::uint32_t Bottom = 1u << 1;
inline constexpr std::uint32_t Wide = 1u << 2;
inline constexpr std::uint32_t Tall = 1u << 3;
}  // namespace Anchor

// Bits of DialogTemplate::styles.
namespace DialogStyle {
inline constexpr std::uint32_t Caption = 1u << 0;
inline constexpr std::uint32_t SysMenu = 1u << 1;
inline constexpr std::uint32_t MinimizeBox = 1u << 2;
inline constexpr std::uint32_t MaximizeBox = 1u << 3;
inline constexpr std::uint32_t ToolWindow = 1u << 4;
inline constexpr std::uint32_t Resizable = 1u << 5;
}  // namespace DialogStyle

inline constexpr int kStaticId = -1;

struct ControlTemplate {
    int id = kStaticId;
    ControlKind kind = ControlKind::Label;
    std::string text;  // UTF-8
    DluRect rect;
    std::uint32_t styles = 0;
    std::uint32_t anchors = 0;  // Anchor bits
    int textLimit = 0;          // bytes; 0 for none
    int image = 0;              // icon resource id of an icon control; 0 for none
    std::vector<std::string> items;
    std::string accessibleName;  // UTF-8; empty: named after its label

    bool Has(std::uint32_t style) const { return (styles & style) != 0; }
};

struct DialogTemplate {
    int id = 0;
    std::string caption;  // UTF-8
    int width = 0;        // dialog units
    int height = 0;
    std::uint32_t styles = 0;
    std::vector<ControlTemplate> controls;

    bool Has(std::uint32_t style) const { return (styles & style) != 0; }
    const ControlTemplate* FindControl(int controlId) const;
};

// Reads one template, with its texts and layout in `language`. On failure returns false and says
// why in `error`.
bool ParseDialogTemplate(const QByteArray& json, DialogTemplate& result, std::string& error,
                         lanterna::Language language = lanterna::Language::Korean);

// The compiled-in template of `id` in the user's language (lanterna::UserLanguage()), or in
// `language`; nullptr when there is none. The store of a language is filled on its first use, on
// any thread; the returned pointer stays valid for the life of the program.
const DialogTemplate* FindDialogTemplate(int id);
const DialogTemplate* FindDialogTemplate(int id, lanterna::Language language);

// Ids of every known template in increasing order.
std::vector<int> DialogTemplateIds();

// Problems met while reading the compiled-in templates in either language (language, file name
// and reason), empty when all were read.
std::vector<std::string> DialogTemplateErrors();

// Adds or replaces a template at run time, for both languages (tests and tools use it for
// dialogs of their own).
// Must not replace a template while a dialog built from it is alive.
void RegisterDialogTemplate(DialogTemplate dialogTemplate);

const char* ControlKindName(ControlKind kind);

}  // namespace ui
