#include "text/TextSplit.h"

#include <limits>

namespace {

// Appends the pieces of text to out; after a hit the search goes on advance
// characters after its start (0 = after the whole separator).
template <typename Append>
void SplitPieces(const QString& text, const QString& separator, qsizetype advance, Append append)
{
    if (separator.isEmpty()) {
        append(text);
        return;
    }
    const qsizetype skip = advance > 0 ? advance : separator.size();
    qsizetype start = 0;
    for (qsizetype hit = text.indexOf(separator, start); hit >= 0;
         hit = text.indexOf(separator, start)) {
        append(text.mid(start, hit - start));
        start = hit + skip;
    }
    append(text.mid(start));
}

} // namespace

void SplitString(const QString& text, const QString& separator, QStringList& array)
{
    SplitPieces(text, separator, 0, [&](const QString& piece) { array.append(piece); });
}

void SplitAtChar(const QString& text, const QString& separator, QStringList& array)
{
    SplitPieces(text, separator, 1, [&](const QString& piece) { array.append(piece); });
}

void SplitToInts(const QString& text, const QString& separator, QList<int>& array)
{
    SplitPieces(text, separator, 0, [&](const QString& piece) { array.append(TextToInt(piece)); });
}

void SplitToList(const QString& text, const QString& separator, QStringList& list)
{
    SplitString(text, separator, list);
}

qsizetype SkipBlanksAndSign(QStringView text, bool& negative)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    return i;
}

int TextToInt(QStringView text)
{
    bool negative = false;
    qsizetype i = SkipBlanksAndSign(text, negative);
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(limit, value * 10 + (text[i].unicode() - u'0'));
    if (negative)
        return static_cast<int>(-value);
    return static_cast<int>(std::min(value, limit - 1));
}
