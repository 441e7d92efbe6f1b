#pragma once

#include "widgets/ColorRef.h"

#include <QString>

// The fixed texts and colours of the cell operations and the control-state
// actions.
namespace CellTexts {

// The two colours of grouped rows, the same pair as the grid's zebra rows.
constexpr COLORREF White = MakeColorRef(255, 255, 255);
constexpr COLORREF Band = MakeColorRef(220, 230, 240);
constexpr COLORREF Black = MakeColorRef(0, 0, 0);

// set_cell_color's "text" that matches every negative amount.
inline const QString Negative = QStringLiteral("-0");
// set_cell_color's "color_col" that colours the whole row.
inline const QString WholeRow = QStringLiteral("0");

// One entry of a grid's locked-column list (the column number from 1).
inline const QString LockedColumn = QStringLiteral(",%1,");

} // namespace CellTexts
