#pragma once

#include "FormDescription.h"
#include "XDesktop.h"

#include <QImage>
#include <QPoint>
#include <QString>

// One open form of the program, found on the screen by its title, driven
// through its controls' places in its description: click buttons, type into
// boxes, click and edit grid cells, read a box back through the clipboard.
class FormWindow
{
public:
    FormWindow(const XDesktop& desktop, const QString& entry, const QString& window,
               const E2eFormDescription& description);

    QString Entry() const { return m_strEntry; }
    QString Window() const { return m_strWindow; }
    QRect Geometry() const;
    bool IsShown() const;

    QPoint ControlPoint(int id) const;
    QRect ControlScreenRect(int id) const;
    void Click(int id) const;
    void DoubleClick(int id) const;
    // Clicks into the box, selects what it holds and types the text over it.
    void Fill(int id, const QString& text) const;
    // Opens the drop-down list and picks the choice with the keyboard.
    void Choose(int id, const QString& choice) const;
    // The same by the choice's place in the list (a list filled by a query).
    void ChooseIndex(int id, int index) const;
    // Reads a box (or an editable list's text) through select all and copy.
    QString Read(int id) const;

    // Grid cells by row and column, counted from 0.
    QPoint CellPoint(int tableId, int row, int column) const;
    QPoint HeaderPoint(int tableId, int column) const;
    QRect CellScreenRect(int tableId, int row, int column) const;
    void ClickCell(int tableId, int row, int column) const;
    // Clicks the cell, replaces what its editor holds by the text; the caller
    // ends the edit (Tab, Return or a click elsewhere).
    void EditCell(int tableId, int row, int column, const QString& text) const;
    // Clicks the cell, opens its drop-down list editor and picks the choice
    // by its place in the list; the caller ends the edit.
    void ChooseInCell(int tableId, int row, int column, int index) const;
    // The rows of the grid that show something in the column (text pixels),
    // of those the grid shows whole.
    int FilledRows(int tableId, int column) const;
    // How many rows the grid shows whole.
    int VisibleRows(int tableId) const;
    QImage GridImage(int tableId) const;

    const XDesktop& Desktop() const { return *m_desktop; }

private:
    // Opens the drop-down list through the arrow at the right of the box and
    // picks the choice with the keyboard.
    void PickFromList(const QRect& box, int index) const;

    const XDesktop* m_desktop;
    QString m_strEntry;
    QString m_strWindow;
    E2eFormDescription m_description;
};
