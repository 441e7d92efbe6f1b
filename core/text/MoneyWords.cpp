#include "text/MoneyWords.h"

#include "text/NumberText.h"
#include "text/TextSplit.h"

#include <cmath>

namespace {

const QString capitalDigits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
// Units of the places counted from the right, 1 = cents; place 3 is the point.
const QString placeUnits[] = {
    QStringLiteral("分"), QStringLiteral("角"), QString(),          QStringLiteral("元"),
    QStringLiteral("拾"), QStringLiteral("佰"), QStringLiteral("仟"), QStringLiteral("万"),
    QStringLiteral("拾"), QStringLiteral("佰"), QStringLiteral("仟"), QStringLiteral("亿"),
    QStringLiteral("拾"), QStringLiteral("佰"), QStringLiteral("仟"), QStringLiteral("万"),
};
constexpr int maxPlaces = 16;

const QString errorText = QStringLiteral("出错!");
const QString zero = QStringLiteral("零");
const QString yuan = QStringLiteral("元");
const QString wan = QStringLiteral("万");
const QString yi = QStringLiteral("亿");

QString PlaceUnit(int place)
{
    return place >= 1 && place <= maxPlaces ? placeUnits[place - 1] : QString();
}

} // namespace

void AppendChineseMoneyDigit(const QString& digits, int length, int position, QString& words)
{
    if (position < 0 || position >= length || position >= digits.size())
        return;
    const QChar ch = digits[position];
    const int digit = ch >= u'0' && ch <= u'9' ? ch.unicode() - u'0' : 0;
    const int place = length - position;
    if (digit == 0 && ch != u'.') {
        // A zero writes the unit of a group place (亿, 万, 元) and one 零;
        // runs of zeros are folded after the recursion.
        const bool groupPlace = place == 12 || place == 8 || place == 4;
        if (words.endsWith(zero)) {
            if (groupPlace) {
                const QString unit = PlaceUnit(place);
                words += unit;
                words.replace(zero + unit, unit);
            }
            words += zero;
        } else if (groupPlace) {
            words += PlaceUnit(place) + zero;
        } else {
            words += place == 3 ? zero : zero + zero;
        }
    } else {
        if (ch != u'.')
            words += capitalDigits[digit];
        words += PlaceUnit(place);
    }
    AppendChineseMoneyDigit(digits, length, position + 1, words);
    words.replace(zero + zero, zero);
    words.replace(zero + yi, yi);
    words.replace(zero + wan, wan);
    words.replace(yi + wan, yi);
}

QString FormatMoneyChinese(double amount)
{
    if (!std::isfinite(amount))
        return errorText;
    QString digits = FormatFixedTwo(amount);
    // A minus sign has no word; an amount that rounds to zero is zero.
    if (digits.startsWith(u'-')) {
        if (digits != QLatin1String("-0.00"))
            return errorText;
        digits.remove(0, 1);
    }
    const int length = static_cast<int>(digits.size());
    if (length > maxPlaces)
        return errorText;

    QString words;
    AppendChineseMoneyDigit(digits, length, 0, words);
    if (words.endsWith(QStringLiteral("元零")))
        words.replace(QStringLiteral("元零"), QStringLiteral("元整"));
    if (words.endsWith(QStringLiteral("角零")))
        words.replace(QStringLiteral("角零"), QStringLiteral("角"));
    if (words.startsWith(QStringLiteral("元零")))
        words.remove(0, 2);
    words.replace(zero + yuan, yuan);
    if (words == QStringLiteral("元整"))
        words = QStringLiteral("零元整");
    return words;
}

QString ToChineseCapitalDigits(const QString& text)
{
    QString result;
    result.reserve(text.size() + 1);
    for (const QChar c : text)
        result += c >= u'0' && c <= u'9' ? capitalDigits[c.unicode() - u'0'] : c;
    const int value = TextToInt(text);
    if (value >= 10 && value <= 99) {
        result.insert(1, QStringLiteral("拾"));
        result.remove(zero);
        if (result.size() == 2)
            result.prepend(zero);
    }
    return result;
}
