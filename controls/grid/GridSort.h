#pragma once

#include <QStringView>

#include <functional>
#include <vector>

// Sorting grid rows by the texts of one column. Kinds: 0 none, 1 numbers,
// 2 amounts ("," ignored), 3 text by UTF-16 code units, 4 integers, 5 text
// ignoring case, 6 integers else text ignoring case, 7 dates; any other kind
// sorts as 3.
//
// Kinds 4 and 6 compare two texts as integers only when both are non-zero,
// differ and are written exactly as their numbers, and as texts otherwise;
// that answer is kept for every pair, though it does not order mixed texts
// consistently (3 < 12 < 12abc < 3). Rows are therefore sorted with a merge
// sort, which stays in bounds and keeps every row under any answer.

// -1, 0 or +1 for texts a and b under the kind.
int CompareGridTexts(int kind, QStringView a, QStringView b);

// The new order of rows whose texts textOf(row) gives: new row i is old row
// result[i]. Equal rows keep their order. The texts must stay where they are
// until the sort returns.
std::vector<int> SortedRowOrder(int rowCount, const std::function<QStringView(int)>& textOf, int kind,
                                bool ascending);
