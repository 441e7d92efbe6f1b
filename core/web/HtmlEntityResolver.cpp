#include "web/HtmlEntityResolver.h"

#include <QHash>

namespace {

// Reference names are short; a ";" further away ends no reference, which
// also keeps a page full of lone "&" from being scanned to its end each time.
constexpr qsizetype kMaxReferenceLength = 32;

struct CharEntityRef
{
    const char* name;
    char16_t ch;
};

// The 96 Latin-1 names in code order from U+00A0.
const char* const kLatin1Names[] = {
    "nbsp", "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect",
    "uml", "copy", "ordf", "laquo", "not", "shy", "reg", "macr",
    "deg", "plusmn", "sup2", "sup3", "acute", "micro", "para", "middot",
    "cedil", "sup1", "ordm", "raquo", "frac14", "frac12", "frac34", "iquest",
    "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil",
    "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml",
    "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times",
    "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN", "szlig",
    "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig", "ccedil",
    "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc", "iuml",
    "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide",
    "oslash", "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml",
};

const QHash<QString, QChar>& CharEntityRefs()
{
    static const QHash<QString, QChar> refs = [] {
        QHash<QString, QChar> map;
        const CharEntityRef basic[] = {
            {"quot", 34}, {"amp", 38}, {"apos", 39}, {"lt", 60}, {"gt", 62}};
        for (const CharEntityRef& ref : basic)
            map.insert(QString::fromLatin1(ref.name), QChar(ref.ch));
        char16_t code = 0xA0;
        for (const char* name : kLatin1Names)
            map.insert(QString::fromLatin1(name), QChar(code++));
        return map;
    }();
    return refs;
}

// Brings a reference name to the case of the table.
QString TableCase(const QString& name)
{
    static const char* const kAccents[] = {"grave", "acute", "circ", "uml", "tilde", "cedil", "ring"};
    const QString lower = name.toLower();
    if (lower == QLatin1String("eth") || lower == QLatin1String("thorn"))
        return name.at(0).isUpper() ? name.toUpper() : lower;
    if (lower == QLatin1String("oslash"))
        return QStringLiteral("Oslash");
    if (lower == QLatin1String("aelig"))
        return QStringLiteral("AElig");
    if (name.size() > 1 && name.at(0).isLetter()) {
        const QString rest = lower.mid(1);
        for (const char* accent : kAccents) {
            if (rest == QLatin1String(accent))
                return name.at(0) + rest;
        }
    }
    return lower;
}

int HexValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// The low 16 bits of the number whose digits start at text[pos].
char16_t ReadNumber(const QString& text, qsizetype pos, qsizetype end, int base)
{
    uint32_t value = 0;
    for (; pos < end; ++pos) {
        const int digit = HexValue(text.at(pos));
        if (digit < 0 || digit >= base)
            break;
        value = (value * base + digit) & 0xFFFF;
    }
    return static_cast<char16_t>(value);
}

} // namespace

qsizetype CLiteHTMLEntityResolver::ResolveEntity(const QString& text, qsizetype pos, QChar& ch)
{
    qsizetype start = pos;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    if (start >= text.size() || text.at(start) != u'&')
        return 0;
    const qsizetype semicolon = text.indexOf(u';', start);
    if (semicolon < 0 || semicolon - start < 3 || semicolon - start > kMaxReferenceLength)
        return 0;

    if (text.at(start + 1) == u'#') {
        const QChar kind = text.at(start + 2);
        if (kind.isDigit() && kind.unicode() < 128)
            ch = QChar(ReadNumber(text, start + 2, semicolon, 10));
        else if (kind == u'x' || kind == u'X')
            ch = QChar(ReadNumber(text, start + 3, semicolon, 16));
        else
            return 0;
        return semicolon + 1 - pos;
    }
    const auto& refs = CharEntityRefs();
    const auto found = refs.constFind(TableCase(text.mid(start + 1, semicolon - start - 1)));
    if (found == refs.constEnd())
        return 0;
    ch = *found;
    return semicolon + 1 - pos;
}
