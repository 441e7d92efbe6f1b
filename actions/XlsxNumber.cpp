#include "XlsxNumber.h"

#include <QRegularExpression>

namespace {

// What a spreadsheet keeps of a number, and the most decimals its number
// formats show.
constexpr int MaxSignificantDigits = 15;
constexpr int MaxDecimals = 30;

} // namespace

std::optional<XlsxNumber> XlsxNumber::FromText(const QString& text)
{
    static const QRegularExpression plain(QRegularExpression::anchoredPattern(
        QStringLiteral("(-?)(0|[1-9][0-9]{0,2}(?:,[0-9]{3})+|[1-9][0-9]*)(?:\\.([0-9]+))?")));
    const QRegularExpressionMatch match = plain.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const bool negative = !match.captured(1).isEmpty();
    const bool grouped = match.captured(2).contains(u',');
    const QString decimals = match.captured(3);
    const QString digits = match.captured(2).remove(u',') + decimals;
    static const QRegularExpression nonZero(QStringLiteral("[1-9]"));
    const qsizetype firstNonZero = digits.indexOf(nonZero);
    const qsizetype significant = firstNonZero < 0 ? 0 : digits.size() - firstNonZero;
    // A negative zero would be shown without its sign.
    if ((negative && significant == 0) || significant > MaxSignificantDigits || decimals.size() > MaxDecimals)
        return std::nullopt;
    XlsxNumber number;
    number.value = QString(text).remove(u',');
    number.format = grouped ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (!decimals.isEmpty())
        number.format += u'.' + QString(decimals.size(), u'0');
    return number;
}
