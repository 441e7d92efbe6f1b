#include "text/NumberText.h"

#include "text/TextSplit.h"

#include <QVarLengthArray>

#include <charconv>
#include <cmath>
#include <system_error>

#include <locale.h>
#include <stdlib.h>

namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Length of the run of digits starting at i.
qsizetype DigitRun(QStringView text, qsizetype i)
{
    qsizetype end = i;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return end - i;
}

} // namespace

QString FormatFixedTwo(double value)
{
    // std::to_chars formats as printf does in the C locale: the exact binary
    // value rounded, an exact tie to even. snprintf would follow LC_NUMERIC.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, 2);
    if (result.ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

double TextToDouble(QStringView text, bool* ok)
{
    if (ok)
        *ok = true;
    bool negative = false;
    qsizetype i = SkipBlanksAndSign(text, negative);
    const qsizetype start = i;
    const qsizetype whole = DigitRun(text, i);
    i += whole;
    qsizetype fraction = 0;
    if (i < text.size() && text[i] == u'.') {
        fraction = DigitRun(text, i + 1);
        if (whole + fraction > 0)
            i += 1 + fraction;
    }
    if (whole + fraction == 0)
        return 0.0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype e = i + 1;
        if (e < text.size() && (text[e] == u'+' || text[e] == u'-'))
            ++e;
        const qsizetype exponent = DigitRun(text, e);
        if (exponent > 0)
            i = e + exponent;
    }
    // The number is plain ASCII; a buffer on the stack keeps sorting by
    // number texts free of allocations. from_chars and strtod in the C locale
    // both give the correctly rounded value whatever the process locale;
    // strtod decides the rare texts beyond the range (infinity on overflow).
    QVarLengthArray<char, 64> number;
    for (qsizetype k = start; k < i; ++k)
        number.append(char(text[k].unicode()));
    double value = 0.0;
    const auto parsed = std::from_chars(number.constData(), number.constData() + number.size(), value);
    if (parsed.ec != std::errc()) {
        static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
        number.append('\0');
        value = strtod_l(number.constData(), nullptr, cLocale);
    }
    if (std::isinf(value)) {
        if (ok)
            *ok = false;
        return 0.0;
    }
    return negative ? -value : value;
}

bool FormatTwoDecimals(QString& text)
{
    if (text.isEmpty())
        return false;
    bool ok = false;
    const double value = TextToDouble(text, &ok);
    if (!ok)
        return false;
    text = FormatFixedTwo(value);
    return true;
}

QString TrimNumberZeros(const QString& text)
{
    if (!text.contains(u'.'))
        return text;
    QString result = text;
    while (result.endsWith(u'0'))
        result.chop(1);
    if (result.endsWith(u'.'))
        result.chop(1);
    return result.isEmpty() ? QStringLiteral("0") : result;
}

QString FormatThousands(const QString& text)
{
    QString result = FormatFixedTwo(TextToDouble(text));
    // A value that rounds to zero shows no sign.
    if (result == QLatin1String("-0.00"))
        result.remove(0, 1);
    // Each "," goes before the next group of three from the right; the length
    // grows by one with every insertion, so the places are 6, 10, 14, ...
    const qsizetype signWidth = result.startsWith(u'-') ? 1 : 0;
    for (qsizetype place = 6; result.size() > place + signWidth; place += 4)
        result.insert(result.size() - place, u',');
    return result;
}
