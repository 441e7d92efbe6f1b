#pragma once

// What a form's control reports to its form (D_T1::Notify). Each stands for
// the platform notifications the form window turns into one event.
enum class FormNotify {
    Clicked,       // a button clicked, a list or tree clicked: CLICK
    DoubleClicked, // a button or list double-clicked, an editable list typed into: DCLICK
    RightClicked,  // a list or tree right-clicked: RCLICK, run without guard
    DropDown,      // a drop-down list about to open: CLICK
    EditChange,    // an edit's text changed: EN_CHANGE under the length rule
    KillFocus,     // an edit or drop-down list lost the focus: EN_KILLFOCUS
    SelChange,     // a drop-down list's or tree's selection changed: EN_CHANGE
    RowSelected,   // a list row became current and selected: EN_CHANGE
};
