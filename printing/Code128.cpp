#include "Code128.h"

#include "PrintTexts.h"

#include <QList>

namespace
{

// Bar and space widths of the symbol values 0 to 106; the stop (106) has
// seven widths.
constexpr const char* Patterns[107] = {
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
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};

constexpr int CodeB = 100;
constexpr int Fnc1 = 102;
constexpr int StartA = 103;
constexpr int StartB = 104;
constexpr int StartC = 105;
constexpr int Stop = 106;

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The characters of the sets as their data values: set A holds blank to
// underscore (0..63), set B blank to DEL (0..95). The values above them are
// function, shift and start codes and the stop, never data: a character
// mapped onto one of them would print other bars than its text.
constexpr int LastValueA = 63;
constexpr int LastValueB = 95;

// A character's value in set A or B; -1 when the set does not hold it.
int CharacterValue(QChar c, int lastValue)
{
    const int value = int(c.unicode()) - 32;
    return value >= 0 && value <= lastValue ? value : -1;
}

} // namespace

QString BuildCode128Pattern(const QString& text, const QString& kind, QString* error)
{
    if (error)
        error->clear();
    if (text.isEmpty())
        return {};

    QList<int> values;
    bool setC = false;
    if (kind == u"128a") {
        values << StartA;
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

    const int lastValue = kind == u"128a" ? LastValueA : LastValueB;
    for (qsizetype i = 0; i < text.size();) {
        int value = -1;
        qsizetype taken = 1;
        qsizetype bad = i;
        if (!setC) {
            value = CharacterValue(text[i], lastValue);
        } else if (i + 1 == text.size()) {
            // A lone last digit goes in set B: as a pair with the end of the
            // text it would read back with a 0 before it (12345 as 123405).
            if (IsDigit(text[i])) {
                values << CodeB;
                value = CharacterValue(text[i], LastValueB);
            }
        } else if (IsDigit(text[i]) && IsDigit(text[i + 1])) {
            value = (text[i].unicode() - u'0') * 10 + (text[i + 1].unicode() - u'0');
            taken = 2;
        } else {
            // Set C holds digit pairs only.
            bad = IsDigit(text[i]) ? i + 1 : i;
        }
        if (value < 0) {
            if (error)
                *error = PrintTexts::Code128BadChar.arg(text[bad]).arg(bad + 1);
            return {};
        }
        values << value;
        i += taken;
    }

    int check = values[0];
    for (qsizetype i = 1; i < values.size(); ++i)
        check += static_cast<int>(i) * values[i];
    values << check % 103 << Stop;

    QString pattern;
    for (int value : values)
        pattern += QLatin1StringView(Patterns[value]);
    return pattern;
}
