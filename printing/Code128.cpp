#include "Code128.h"

#include "PrintTexts.h"

#include <QList>

namespace
{

// Bar and space widths of the symbol values 0 to 105; the stop pattern has
// seven widths.
constexpr const char* Patterns[106] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232",
};
constexpr const char* StopPattern = "2331112";

constexpr int CodeB = 100;
constexpr int Fnc1 = 102;
constexpr int StartA = 103;
constexpr int StartB = 104;
constexpr int StartC = 105;

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The value of a character in set A or B, or -1 when the set has none.
int SetValue(char16_t c, bool setA)
{
    if (setA) {
        if (c < 32)
            return c + 64;
        return c <= 95 ? c - 32 : -1;
    }
    return c >= 32 && c <= 127 ? c - 32 : -1;
}

} // namespace

QString BuildCode128Pattern(const QString& text, const QString& kind, QString* error)
{
    if (error)
        error->clear();
    if (text.isEmpty())
        return {};

    QList<int> values;
    bool setA = false;
    bool setC = false;
    if (kind == u"128a") {
        values << StartA;
        setA = true;
    } else if (kind == u"128b") {
        values << StartB;
    } else if (kind == u"128c") {
        values << StartC;
        setC = true;
    } else if (kind == u"128e") {
        values << StartC << Fnc1;
        setC = true;
    } else {
        if (error)
            *error = PrintTexts::Code128BadKind.arg(kind);
        return {};
    }

    for (qsizetype i = 0; i < text.size();) {
        if (setC) {
            if (i + 1 < text.size() && IsDigit(text[i]) && IsDigit(text[i + 1])) {
                values << (text[i].unicode() - u'0') * 10 + (text[i + 1].unicode() - u'0');
                i += 2;
                continue;
            }
            values << CodeB;
            setC = false;
        }
        const int value = SetValue(text[i].unicode(), setA);
        if (value < 0) {
            if (error)
                *error = PrintTexts::Code128BadChar.arg(text[i]).arg(i + 1);
            return {};
        }
        values << value;
        ++i;
    }

    int check = values[0];
    for (qsizetype i = 1; i < values.size(); ++i)
        check += static_cast<int>(i) * values[i];
    values << check % 103;

    QString pattern;
    for (int value : values)
        pattern += QLatin1StringView(Patterns[value]);
    pattern += QLatin1StringView(StopPattern);
    return pattern;
}
