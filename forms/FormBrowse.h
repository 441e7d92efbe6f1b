#pragma once

class CFileEditCtrl;

// The browse action of a form's browse box: a picker form run modally, or
// the text detail dialog; the result goes into the box and, for a cell
// editor, into the grid cell.
void BrowseEditBox(CFileEditCtrl& box);
