#include "grid/GridSort.h"

#include "text/DateText.h"
#include "text/NumberText.h"
#include "text/TextSplit.h"

#include <QDateTime>
#include <QVarLengthArray>

#include <algorithm>
#include <climits>
#include <limits>
#include <numeric>

namespace
{
template <typename T>
int Sign(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int SignOf(int compared)
{
    return compared < 0 ? -1 : (compared > 0 ? 1 : 0);
}

// The text's leading number; one beyond the double range is infinity of its
// sign, so that 1e400 sorts above every finite number.
double NumberKey(QStringView text)
{
    bool ok = true;
    const double value = TextToDouble(text, &ok);
    if (ok)
        return value;
    bool negative = false;
    SkipBlanksAndSign(text, negative);
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

double AmountKey(QStringView text)
{
    if (std::find(text.begin(), text.end(), QChar(u',')) == text.end())
        return NumberKey(text);
    QVarLengthArray<QChar, 64> plain;
    for (QChar c : text)
        if (c != u',')
            plain.append(c);
    return NumberKey(QStringView(plain.constData(), plain.size()));
}

// A date-time and whether the text held one; texts without one sort first.
struct DateKey
{
    bool valid = false;
    qint64 msecs = 0;
    bool operator<(const DateKey& other) const
    {
        return valid != other.valid ? !valid : (valid && msecs < other.msecs);
    }
};

DateKey MakeDateKey(QStringView text)
{
    const QDateTime value = ParseDateTimeText(text.toString());
    return value.isValid() ? DateKey{true, value.toMSecsSinceEpoch()} : DateKey{};
}

// The text read as the platform's long: blanks, a sign, decimal digits,
// clamped to the range; canonical when the text is exactly the number
// written with "%ld".
struct IntegerKey
{
    long value = 0;
    bool canonical = false;
};

IntegerKey MakeIntegerKey(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    long value = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i].unicode() - u'0';
        if (!overflow) {
            if (negative ? value < (LONG_MIN + digit) / 10 : value > (LONG_MAX - digit) / 10)
                overflow = true;
            else
                value = value * 10 + (negative ? -digit : digit);
        }
    }
    if (overflow)
        value = negative ? LONG_MIN : LONG_MAX;
    return {value, QString::number(value).size() == text.size()};
}

int CompareIntegerKeys(const IntegerKey& a, const IntegerKey& b, int textAnswer)
{
    if (a.value != 0 && b.value != 0 && a.value != b.value && a.canonical && b.canonical)
        return Sign(a.value, b.value);
    return textAnswer;
}

int CompareText(QStringView a, QStringView b)
{
    return SignOf(a.compare(b, Qt::CaseSensitive));
}

QString CaseFolded(QStringView text)
{
    return text.toString().toCaseFolded();
}

// Texts ignoring case: compared after case folding, so that sorting can fold
// each text once.
int CompareNoCase(QStringView a, QStringView b)
{
    return CompareText(CaseFolded(a), CaseFolded(b));
}

// Kinds outside 0..7 sort as text.
int NormalKind(int kind)
{
    return kind >= 0 && kind <= 7 ? kind : 3;
}

// Rows sorted by an entry made once per row that holds its row; equal
// entries keep their order.
template <typename Entry, typename MakeEntry, typename Compare>
std::vector<int> SortEntries(int rowCount, MakeEntry makeEntry, Compare compare, bool ascending)
{
    std::vector<Entry> entries;
    entries.reserve(size_t(rowCount));
    for (int row = 0; row < rowCount; ++row)
        entries.push_back(makeEntry(row));
    const int direction = ascending ? 1 : -1;
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const Entry& a, const Entry& b) { return compare(a, b) * direction < 0; });
    std::vector<int> order;
    order.reserve(entries.size());
    for (const Entry& entry : entries)
        order.push_back(entry.row);
    return order;
}

// Each row's key made once, then the keys sorted beside their rows.
template <typename Key, typename MakeKey, typename Compare>
std::vector<int> SortByKeys(int rowCount, const std::function<QStringView(int)>& textOf, MakeKey makeKey,
                            Compare compare, bool ascending)
{
    struct Entry
    {
        Key key;
        int row;
    };
    return SortEntries<Entry>(
        rowCount, [&](int row) { return Entry{makeKey(textOf(row)), row}; },
        [&](const Entry& a, const Entry& b) { return compare(a.key, b.key); }, ascending);
}

// Texts by code units. Each row's text is kept as its characters and length
// beside the row, 16 bytes in all (a view and the row would take 24), so
// that the sort moves no more than it must.
std::vector<int> SortByText(int rowCount, const std::function<QStringView(int)>& textOf, bool ascending)
{
    struct Entry
    {
        const QChar* characters;
        int length;
        int row;
        QStringView Text() const { return QStringView(characters, length); }
    };
    return SortEntries<Entry>(
        rowCount,
        [&](int row) {
            // Compared on their first 2 G characters at most, far beyond any cell.
            const QStringView text = textOf(row);
            return Entry{text.data(), int(std::min<qsizetype>(text.size(), INT_MAX)), row};
        },
        [](const Entry& a, const Entry& b) { return CompareText(a.Text(), b.Text()); }, ascending);
}

struct TextKey
{
    QString folded;   // for the kinds that ignore case
    QStringView text; // what is compared: the cell's text, or folded
    IntegerKey integer;
};

// The key of kinds 4 and 6. The view into folded stays valid as the key
// moves: a moved string keeps its characters where they are.
TextKey MakeTextKey(QStringView text, bool noCase)
{
    TextKey key{noCase ? CaseFolded(text) : QString(), text, MakeIntegerKey(text)};
    if (noCase)
        key.text = key.folded;
    return key;
}
} // namespace

int CompareGridTexts(int kind, QStringView a, QStringView b)
{
    switch (NormalKind(kind)) {
    case 0:
        return 0;
    case 1:
        return Sign(NumberKey(a), NumberKey(b));
    case 2:
        return Sign(AmountKey(a), AmountKey(b));
    case 4:
        return CompareIntegerKeys(MakeIntegerKey(a), MakeIntegerKey(b), CompareText(a, b));
    case 5:
        return CompareNoCase(a, b);
    case 6:
        return CompareIntegerKeys(MakeIntegerKey(a), MakeIntegerKey(b), CompareNoCase(a, b));
    case 7:
        return Sign(MakeDateKey(a), MakeDateKey(b));
    default:
        return CompareText(a, b);
    }
}

std::vector<int> SortedRowOrder(int rowCount, const std::function<QStringView(int)>& textOf, int kind,
                                bool ascending)
{
    rowCount = std::max(rowCount, 0);
    const auto same = [](const auto& a, const auto& b) { return Sign(a, b); };
    switch (NormalKind(kind)) {
    case 0: {
        std::vector<int> order(static_cast<size_t>(rowCount));
        std::iota(order.begin(), order.end(), 0);
        return order;
    }
    case 1:
        return SortByKeys<double>(rowCount, textOf, NumberKey, same, ascending);
    case 2:
        return SortByKeys<double>(rowCount, textOf, AmountKey, same, ascending);
    case 7:
        return SortByKeys<DateKey>(rowCount, textOf, MakeDateKey, same, ascending);
    case 5:
        return SortByKeys<QString>(rowCount, textOf, CaseFolded,
                                   [](const QString& a, const QString& b) { return CompareText(a, b); }, ascending);
    case 4:
    case 6: {
        const bool noCase = NormalKind(kind) == 6;
        return SortByKeys<TextKey>(
            rowCount, textOf,
            [noCase](QStringView t) { return MakeTextKey(t, noCase); },
            [](const TextKey& a, const TextKey& b) {
                return CompareIntegerKeys(a.integer, b.integer, CompareText(a.text, b.text));
            },
            ascending);
    }
    default:
        return SortByText(rowCount, textOf, ascending);
    }
}
