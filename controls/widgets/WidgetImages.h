#pragma once

#include <QImage>

// Images drawn for this program, kept in the widgets' resource file and
// known by the numbers the form descriptions and dialogs use.
enum WidgetImageId {
    IDB_PAGE_LAST = 400,     // 16 x 16 blue arrow to the last page
    IDB_PAGE_FIRST = 425,    // to the first page
    IDB_PAGE_PREVIOUS = 426, // to the previous page
    IDB_PAGE_NEXT = 427,     // to the next page
    IDI_BROWSE = 30800,      // 16 x 16 picture of a browse button (three dots)
    // 16 x 16 coloured dots of menu items, 537 to 566: ten hues in a strong,
    // a light and a dark shade.
    IDB_MENU_COLOUR_FIRST = 537,
    IDB_MENU_COLOUR_LAST = 566,
};

// The paging arrows are bitmaps on the background 0xF8F8F8 (their
// transparent colour); the browse picture and the menu dots are icons with
// alpha.
// A null image for an unknown number.
QImage LoadWidgetImage(int id);
