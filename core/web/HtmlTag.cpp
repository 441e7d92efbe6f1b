#include "web/HtmlTag.h"

#include "web/HtmlEntityResolver.h"

namespace {

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'.' || c == u':' || c == u'_';
}

qsizetype SkipSpace(const QString& text, qsizetype pos)
{
    while (pos < text.size() && text.at(pos).isSpace())
        ++pos;
    return pos;
}

qsizetype SkipName(const QString& text, qsizetype pos)
{
    while (pos < text.size() && IsNameChar(text.at(pos)))
        ++pos;
    return pos;
}

bool IsAt(const QString& text, qsizetype pos, char16_t c)
{
    return pos < text.size() && text.at(pos) == c;
}

} // namespace

qsizetype CLiteHTMLElemAttr::Parse(const QString& text, qsizetype pos)
{
    qsizetype p = SkipSpace(text, pos);
    if (p >= text.size() || !text.at(p).isLetter())
        return 0;
    const qsizetype nameBegin = p;
    p = SkipName(text, p);
    if (p < text.size()) {
        const QChar c = text.at(p);
        if (!c.isSpace() && c != u'/' && c != u'=' && c != u'>')
            return 0;
    }
    m_strName = text.mid(nameBegin, p - nameBegin);
    m_strValue.clear();
    if (!IsAt(text, p, u'='))
        return p - pos;

    p = SkipSpace(text, p + 1);
    QString value;
    if (p < text.size() && (text.at(p) == u'\'' || text.at(p) == u'"')) {
        const QChar quote = text.at(p);
        qsizetype close = text.indexOf(quote, p + 1);
        if (close < 0)
            close = text.size();
        value = text.mid(p + 1, close - p - 1);
        p = close < text.size() ? close + 1 : close;
    } else if (p < text.size()) {
        const qsizetype valueBegin = p++;
        while (p < text.size() && !text.at(p).isSpace() && text.at(p) != u'/' && text.at(p) != u'>')
            ++p;
        value = text.mid(valueBegin, p - valueBegin);
    }
    if (!value.isEmpty())
        SetValue(value);
    return p - pos;
}

void CLiteHTMLElemAttr::SetValue(const QString& value)
{
    QString v = value.trimmed();
    v.remove(u'\n');
    v.replace(u'\r', u' ');
    v.replace(u'\t', u' ');
    for (qsizetype amp = v.indexOf(u'&'); amp >= 0; amp = v.indexOf(u'&', amp + 1)) {
        QChar ch;
        const qsizetype length = CLiteHTMLEntityResolver::ResolveEntity(v, amp, ch);
        if (length > 0)
            v.replace(v.mid(amp, length), QString(ch));
    }
    m_strValue = v;
}

qsizetype CLiteHTMLAttributes::Parse(const QString& text, qsizetype pos)
{
    auto parsed = std::make_unique<std::vector<CLiteHTMLElemAttr>>();
    qsizetype p = pos;
    while (p < text.size()) {
        CLiteHTMLElemAttr attribute;
        const qsizetype length = attribute.Parse(text, p);
        if (length == 0)
            break;
        parsed->push_back(std::move(attribute));
        p += length;
    }
    if (parsed->empty())
        return 0;
    m_attributes = std::move(parsed);
    return p - pos;
}

int CLiteHTMLAttributes::GetCount() const
{
    return m_attributes ? static_cast<int>(m_attributes->size()) : 0;
}

const CLiteHTMLElemAttr& CLiteHTMLAttributes::GetAttribute(int index) const
{
    return m_attributes->at(index);
}

void CLiteHTMLAttributes::RemoveAll()
{
    m_attributes.reset();
}

qsizetype CLiteHTMLTag::ParseFromText(const QString& text, qsizetype pos, bool& opening,
                                      bool& closing, bool inScript, bool parseAttributes)
{
    const qsizetype begin = SkipSpace(text, pos);
    if (!IsAt(text, begin, u'<') || begin + 1 >= text.size())
        return 0;
    qsizetype p = begin + 1;
    bool isClosing = false;
    if (text.at(p) == u'/') {
        isClosing = true;
        ++p;
    } else if (!text.at(p).isLetter()) {
        return 0;
    }
    const qsizetype nameBegin = p;
    p = SkipName(text, p);
    if (p < text.size()) {
        const QChar c = text.at(p);
        if (!c.isSpace() && c != u'>' && (isClosing || c != u'/'))
            return 0;
    }
    const QString name = text.mid(nameBegin, p - nameBegin).trimmed();
    if (inScript && !(isClosing && name.compare(QLatin1String("script"), Qt::CaseInsensitive) == 0))
        return 0;

    p = SkipSpace(text, p);
    bool isEmpty = false;
    CLiteHTMLAttributes attributes;
    if (isClosing) {
        if (!IsAt(text, p, u'>'))
            return 0;
    } else if (!IsAt(text, p, u'>')) {
        p = SkipSpace(text, p);
        const qsizetype length = parseAttributes ? attributes.Parse(text, p) : 0;
        if (length > 0) {
            p = SkipSpace(text, p + length);
            if (p >= text.size())
                return 0;
        } else {
            qsizetype end = text.indexOf(QLatin1String("/>"), p);
            if (end < 0)
                end = text.indexOf(u'>', p);
            if (end < 0)
                return 0;
            p = end;
        }
        if (text.at(p) == u'/') {
            isEmpty = true;
            p = SkipSpace(text, p + 1);
        }
        if (!IsAt(text, p, u'>'))
            return 0;
    }

    m_strTagName = name;
    m_attributes = std::move(attributes);
    m_nBegin = begin;
    m_nEnd = p + 1;
    m_bIsEmpty = isEmpty;
    opening = !isClosing;
    closing = isClosing || isEmpty;
    return m_nEnd - pos;
}
