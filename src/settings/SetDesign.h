#pragma once
#include <vector>

// The settings dialog's controls as they stand at design time: kind, caption, tooltip and place.
// Texts are Windows-1252; an "&" marks the mnemonic of option buttons, check boxes and buttons.

// The maker's and the weather service's addresses shown in the link labels.
inline constexpr const char* kHomepageAddress = "http://www.korvelin.invalid/";
inline constexpr const char* kMailAddress = "info@korvelin.invalid";
inline constexpr const char* kServiceAddress = "http://www.accuweather.com/";

enum class SetKind { Frame, Option, Check, Combo, DropList, Edit, ReadOnlyEdit, Button, Label, Link, Picture };
enum class SetFont { Form, Bold, Fixed };

struct SetControl {
    const char* name;
    int index;  // element of a control array; -1 for a single control
    SetKind kind;
    const char* caption;
    const char* tooltip;  // empty: none
    int left, top, width, height;  // pixels in the client area; a combo box's height is its closed height
    SetFont font = SetFont::Form;

    // Controls that the keyboard reaches with Tab (option buttons as one group).
    bool TabStop() const {
        return kind == SetKind::Option || kind == SetKind::Check || kind == SetKind::Combo ||
               kind == SetKind::DropList || kind == SetKind::Edit || kind == SetKind::ReadOnlyEdit ||
               kind == SetKind::Button;
    }
};

inline constexpr int kSetClientWidth = 392;
inline constexpr int kSetClientHeight = 424;
inline constexpr const char* kSetCaption = " Einstellungen ...";

// Every control in tab order, which is also the order of creation.
const std::vector<SetControl>& SetDesign();
