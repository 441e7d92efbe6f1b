#pragma once

// The window-style bits of form descriptions' "style" attributes that the
// builder gives a meaning on this platform.
namespace WindowStyle {

constexpr int EditCenter = 0x0001;
constexpr int EditRight = 0x0002;
constexpr int EditMultiLine = 0x0004;
constexpr int EditUpperCase = 0x0008;
constexpr int EditLowerCase = 0x0010;
constexpr int EditPassword = 0x0020;
constexpr int EditReadOnly = 0x0800;
constexpr int EditNumber = 0x2000;
constexpr int HorizontalScroll = 0x00100000;
constexpr int VerticalScroll = 0x00200000;

// The full styles of text boxes with "style" 4 and 5.
constexpr int TextBoxMultiLine = 0x50210004;
constexpr int TextBoxCentredMultiLine = 0x503100C5;

constexpr int ButtonTypeMask = 0x000F;
constexpr int ButtonCheckBox = 2;
constexpr int ButtonAutoCheckBox = 3;
constexpr int ButtonRadio = 4;
constexpr int Button3State = 5;
constexpr int ButtonAuto3State = 6;
constexpr int ButtonGroupBox = 7;
constexpr int ButtonAutoRadio = 9;

constexpr int ComboTypeMask = 0x0003;
constexpr int ComboDropDownList = 3;

constexpr int StaticTypeMask = 0x001F;
constexpr int StaticCenter = 1;
constexpr int StaticRight = 2;
constexpr int StaticLeftNoWrap = 0xC;
constexpr int StaticCenterImage = 0x0200;

} // namespace WindowStyle
