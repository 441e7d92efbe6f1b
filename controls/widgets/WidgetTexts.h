#pragma once

// Fixed texts of the window controls.
namespace WidgetTexts {

// Diagnostic description of a layout panel.
inline constexpr char PanelDescription[] =
    "Name(%1), Type(%2), Anchor(%3), Size(w:%4, h:%5), Area(l:%6, t:%7, r:%8, b:%9), "
    "MinSize(w:%10, h:%11), MaxSize(w:%12, h:%13), Parent(%14), ChildrenCount(%15)";
inline constexpr char NoParent[] = "NULL";
// Names of the layout's own panels.
inline constexpr char RootPanelName[] = "_root";
inline constexpr char ResizeGripName[] = "_resizeGrip";

} // namespace WidgetTexts
