#include "text/SqlText.h"

#include <gtest/gtest.h>

namespace {

struct EscapeCase
{
    const char16_t* text;
    const char16_t* escaped;
};

QString Str(const char16_t* text)
{
    return QString::fromUtf16(text);
}

} // namespace

TEST(SqlText, EscapeDoublesApostrophesOnly)
{
    const EscapeCase cases[] = {
        {u"O'Brien", u"O''Brien"},
        {u"50%", u"50%"},
        {u"a[b", u"a[b"},
        {u"say \"hi\"", u"say \"hi\""},
        // A value may not close its literal and open another one.
        {u"x', 1) --", u"x'', 1) --"},
        {u"a N'b", u"a N''b"},
        {u"''", u"''''"},
        {u"名称'", u"名称''"},
        {u"", u""},
    };
    for (const EscapeCase& c : cases) {
        QString text = Str(c.text);
        EscapeSqlText(text);
        EXPECT_EQ(Str(c.escaped), text) << Str(c.text).toStdString();
        EXPECT_EQ(Str(c.escaped), EscapeSqlTextNoBracket(Str(c.text)));
    }
}

// The value a bound parameter must carry to match what the escaped literal
// stored: brackets kept, apostrophes as the database read them (single).
TEST(SqlText, LegacyPasswordFormIsTheStoredValueOfTheBracketLiteral)
{
    const EscapeCase cases[] = {
        {u"O'Brien", u"O'Brien"},
        {u"50%", u"50[%]"},
        {u"a[b", u"a[[]b"},
        {u"a\"b", u"a[\"]b"},
        {u"x',y", u"x',y"},
        {u"a N'b", u"a N'b"},
        {u"[%]", u"[[][%]]"},
        {u"", u""},
    };
    for (const EscapeCase& c : cases)
        EXPECT_EQ(Str(c.escaped), LegacyPasswordText(Str(c.text))) << Str(c.text).toStdString();
}
