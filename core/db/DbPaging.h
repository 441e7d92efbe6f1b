#pragma once

#include <QString>

// The SQL of a paged query. Kind 1 pages with nested TOP selects (the first
// "outer" rows in the requested order, the last "rows" of them, put back in
// order); kinds 2 and 3 with LIMIT and OFFSET.

struct DbPage
{
    int page = 1;      // the page read, 1 to pageCount
    int rows = 0;      // rows on that page
    int outer = 0;     // rows up to the end of that page
    int pageCount = 0;
};

// The page of a result of total rows (total > 0). A page size below 1 counts
// as 1 and the page number is held within 1 to the page count, so the counts
// are never negative.
DbPage DbPageOf(int total, int pageSize, int pageNumber);

// "(select from) AS TABLE_A": the paged source.
QString DbPageSource(const QString& selectText, const QString& fromText);

// "SELECT count(1) as qv_counts FROM source".
QString DbPageCountQuery(const QString& source);

// The order text with every item's direction turned round: an item ending in
// ASC (any letter case) ends in DESC and the other way round; an item without
// a direction is ascending and gets " DESC". Items are split at the commas
// outside parentheses, so names that hold "ASC" or "DESC" stay as they are.
QString ReverseOrderText(const QString& orderText);

QString DbPageQuery(int kind, const QString& source, const QString& orderText, const DbPage& page);
