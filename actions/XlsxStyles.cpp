#include "XlsxStyles.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

// The number formats every spreadsheet program knows by id alone.
int BuiltInFormatId(const QString& formatCode)
{
    static const QMap<QString, int> builtIn{
        {QStringLiteral("0"), 1},
        {QStringLiteral("0.00"), 2},
        {QStringLiteral("#,##0"), 3},
        {QStringLiteral("#,##0.00"), 4},
    };
    return builtIn.value(formatCode, -1);
}

// Where the element name of a start tag ends.
qsizetype NameEnd(const QString& tag)
{
    static const QRegularExpression nameEnd(QStringLiteral("[\\s/>]"));
    return tag.indexOf(nameEnd, 1);
}

// A start tag with the attribute set to value, in place of one it had; an
// empty element's tag stays empty.
QString WithAttribute(QString tag, const QString& name, const QString& value)
{
    const QRegularExpression existing(QStringLiteral("\\s+%1\\s*=\\s*(\"[^\"]*\"|'[^']*')")
                                          .arg(QRegularExpression::escape(name)));
    tag.remove(existing);
    return tag.insert(NameEnd(tag), QStringLiteral(" %1=\"%2\"").arg(name, value.toHtmlEscaped()));
}

// The start tag of an empty element as an open one.
QString OpenTag(QString tag)
{
    if (tag.endsWith(QStringLiteral("/>"))) {
        tag.chop(2);
        tag = tag.trimmed() + u'>';
    }
    return tag;
}

} // namespace

bool CXlsxStyles::Fail(const QString& what)
{
    m_strError = what;
    return false;
}

CXlsxStyles::Element CXlsxStyles::ElementAt(qsizetype startTagEnd) const
{
    Element element;
    element.whole.begin = m_text.lastIndexOf(u'<', startTagEnd - 1);
    element.startTagEnd = startTagEnd;
    element.empty = QStringView(m_text).first(startTagEnd).endsWith(u"/>");
    return element;
}

bool CXlsxStyles::Load(const QByteArray& xml)
{
    *this = CXlsxStyles();
    m_text = QString::fromUtf8(xml);
    if (m_text.startsWith(QChar(0xFEFF)))
        m_text.remove(0, 1);
    bool cellXfsFound = false;
    QXmlStreamReader reader(m_text);
    if (!reader.readNextStartElement() || reader.name() != u"styleSheet")
        return Fail(reader.hasError() ? reader.errorString() : QStringLiteral("the part is no styleSheet"));
    m_strPrefix = reader.prefix().toString();
    m_rootStartTagEnd = reader.characterOffset();
    while (reader.readNextStartElement()) {
        const qsizetype startTagEnd = reader.characterOffset();
        if (reader.name() == u"numFmts" && !m_bHasNumFmts) {
            m_bHasNumFmts = true;
            m_numFmts = ElementAt(startTagEnd);
            while (reader.readNextStartElement()) {
                if (reader.name() == u"numFmt") {
                    ++m_nNumFmtCount;
                    const int id = reader.attributes().value(QStringLiteral("numFmtId")).toInt();
                    const QString code = reader.attributes().value(QStringLiteral("formatCode")).toString();
                    if (!m_formatIds.contains(code))
                        m_formatIds.insert(code, id);
                    m_nLastFormatId = std::max(m_nLastFormatId, id);
                }
                reader.skipCurrentElement();
            }
            m_numFmts.whole.end = reader.characterOffset();
        } else if (reader.name() == u"cellXfs" && !cellXfsFound) {
            cellXfsFound = true;
            m_cellXfs = ElementAt(startTagEnd);
            while (reader.readNextStartElement()) {
                if (reader.name() != u"xf") {
                    reader.skipCurrentElement();
                    continue;
                }
                Element xf = ElementAt(reader.characterOffset());
                reader.skipCurrentElement();
                xf.whole.end = reader.characterOffset();
                m_xfs.append(xf);
            }
            m_cellXfs.whole.end = reader.characterOffset();
        } else {
            reader.skipCurrentElement();
        }
    }
    if (reader.hasError())
        return Fail(reader.errorString());
    if (m_xfs.isEmpty())
        return Fail(QStringLiteral("the styleSheet has no cell formats"));
    return true;
}

int CXlsxStyles::FormatId(const QString& formatCode)
{
    const int builtIn = BuiltInFormatId(formatCode);
    if (builtIn >= 0)
        return builtIn;
    const auto known = m_formatIds.constFind(formatCode);
    if (known != m_formatIds.constEnd())
        return *known;
    // Ids from 164 on are the workbook's own.
    const int id = ++m_nLastFormatId;
    m_formatIds.insert(formatCode, id);
    m_addedFormats.append({id, formatCode});
    return id;
}

QString CXlsxStyles::NumberStyle(const QString& style, const QString& formatCode)
{
    bool ok = false;
    int base = style.toInt(&ok);
    if (!ok || base < 0 || base >= m_xfs.size())
        base = 0;
    const QPair<int, int> key{base, FormatId(formatCode)};
    const auto made = m_addedIndex.constFind(key);
    if (made != m_addedIndex.constEnd())
        return QString::number(*made);
    const int index = static_cast<int>(m_xfs.size() + m_added.size());
    m_added.append(key);
    m_addedIndex.insert(key, index);
    return QString::number(index);
}

QString CXlsxStyles::StartTag(const Element& element) const
{
    return m_text.sliced(element.whole.begin, element.startTagEnd - element.whole.begin);
}

QString CXlsxStyles::NumberFormatsText() const
{
    const QString tag = m_strPrefix.isEmpty() ? QStringLiteral("numFmt") : m_strPrefix + QStringLiteral(":numFmt");
    QString text;
    for (const auto& [id, code] : m_addedFormats)
        text += QStringLiteral("<%1 numFmtId=\"%2\" formatCode=\"%3\"/>").arg(tag).arg(id).arg(code.toHtmlEscaped());
    return text;
}

QString CXlsxStyles::CellFormatsText() const
{
    QString text;
    for (const auto& [base, formatId] : m_added) {
        const Element& xf = m_xfs[base];
        QString tag = WithAttribute(StartTag(xf), QStringLiteral("applyNumberFormat"), QStringLiteral("1"));
        tag = WithAttribute(tag, QStringLiteral("numFmtId"), QString::number(formatId));
        text += tag + m_text.sliced(xf.startTagEnd, xf.whole.end - xf.startTagEnd);
    }
    return text;
}

QByteArray CXlsxStyles::Save() const
{
    // The pieces replaced, from the back, so that earlier positions hold.
    struct Splice
    {
        Span span;
        QString text;
    };
    QList<Splice> splices;
    const auto closedWith = [this](const Element& element, const QString& count, const QString& added) {
        const QString tag = WithAttribute(StartTag(element), QStringLiteral("count"), count);
        if (element.empty) {
            const QString name = tag.mid(1, NameEnd(tag) - 1);
            return OpenTag(tag) + added + QStringLiteral("</") + name + u'>';
        }
        const qsizetype endTag = m_text.lastIndexOf(u'<', element.whole.end - 1);
        return tag + m_text.sliced(element.startTagEnd, endTag - element.startTagEnd) + added
            + m_text.sliced(endTag, element.whole.end - endTag);
    };
    if (!m_addedFormats.isEmpty()) {
        const QString count = QString::number(m_nNumFmtCount + m_addedFormats.size());
        if (m_bHasNumFmts) {
            splices.append({m_numFmts.whole, closedWith(m_numFmts, count, NumberFormatsText())});
        } else {
            // The number formats come first in a styleSheet.
            const QString tag = m_strPrefix.isEmpty() ? QStringLiteral("numFmts") : m_strPrefix + QStringLiteral(":numFmts");
            splices.append({{m_rootStartTagEnd, m_rootStartTagEnd},
                            QStringLiteral("<%1 count=\"%2\">").arg(tag, count) + NumberFormatsText()
                                + QStringLiteral("</%1>").arg(tag)});
        }
    }
    if (!m_added.isEmpty()) {
        splices.append({m_cellXfs.whole, closedWith(m_cellXfs, QString::number(m_xfs.size() + m_added.size()),
                                                    CellFormatsText())});
    }
    // An insertion where a replaced element begins goes in after it is replaced.
    std::sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) {
        return a.span.begin != b.span.begin ? a.span.begin > b.span.begin : a.span.end > b.span.end;
    });
    QString text = m_text;
    for (const Splice& splice : std::as_const(splices))
        text.replace(splice.span.begin, splice.span.end - splice.span.begin, splice.text);
    return text.toUtf8();
}
