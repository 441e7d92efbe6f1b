#include "XlsxSheet.h"

#include "XlsxNumber.h"
#include "XlsxStyles.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cctype>

namespace {

// The workbook escape of one UTF-16 unit: _xHHHH_.
QString WorkbookEscape(char16_t c)
{
    return QStringLiteral("_x%1_").arg(QString::number(c, 16).toUpper().rightJustified(4, u'0'));
}

// A text that a workbook reader would take for an escape: _xHHHH_ (either
// case of the x) from position i.
bool LooksEscaped(const QString& text, qsizetype i)
{
    const auto isHex = [](QChar c) { return c.unicode() < 0x80 && std::isxdigit(c.unicode()); };
    return text[i] == u'_' && i + 6 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X')
        && text[i + 6] == u'_' && std::all_of(text.begin() + i + 2, text.begin() + i + 6, isHex);
}

// The text as XML character data. Characters XML 1.0 cannot hold are left
// out, or with cellEscapes written as workbook escapes, which then also
// stand for a carriage return and keep a literal escape text as it is.
QString XmlText(const QString& text, bool cellEscapes)
{
    QString xml;
    xml.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool xmlChar = (c.unicode() >= 0x20 && !c.isSurrogate() && c.unicode() < 0xFFFE) || c == u'\t'
            || c == u'\n' || c == u'\r';
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            xml += c;
            xml += text[++i];
        } else if (!cellEscapes) {
            if (xmlChar)
                xml += c;
        } else if (LooksEscaped(text, i)) {
            xml += WorkbookEscape(u'_');
        } else if (xmlChar && c != u'\r') {
            xml += c;
        } else {
            xml += WorkbookEscape(c.unicode());
        }
    }
    return xml.toHtmlEscaped();
}

QString XmlSafe(const QString& text)
{
    return XmlText(text, false);
}

QString AttributesText(const QList<QPair<QString, QString>>& attributes)
{
    QString text;
    for (const auto& [name, value] : attributes)
        text += u' ' + name + QStringLiteral("=\"") + XmlSafe(value) + u'"';
    return text;
}

QList<QPair<QString, QString>> AttributeList(const QXmlStreamAttributes& attributes)
{
    QList<QPair<QString, QString>> list;
    for (const QXmlStreamAttribute& a : attributes)
        list.append({a.qualifiedName().toString(), a.value().toString()});
    return list;
}

} // namespace

QString CXlsxSheet::CellName(int row, int column)
{
    QString letters;
    for (int n = column; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters + QString::number(row);
}

bool CXlsxSheet::ParseCellName(QStringView name, int& row, int& column)
{
    qsizetype i = 0;
    int col = 0;
    for (; i < name.size() && name[i] >= u'A' && name[i] <= u'Z'; ++i) {
        col = col * 26 + (name[i].unicode() - u'A' + 1);
        if (col > MaxColumn)
            return false;
    }
    if (i == 0 || i == name.size())
        return false;
    bool ok = false;
    const int r = name.sliced(i).toInt(&ok);
    if (!ok || r < 1 || r > MaxRow || !name[i].isDigit())
        return false;
    row = r;
    column = col;
    return true;
}

QString CXlsxSheet::CellXmlText(const QString& text)
{
    return XmlText(text, true);
}

bool CXlsxSheet::Fail(const QString& what)
{
    m_strError = what;
    return false;
}

QString CXlsxSheet::Tag(const QString& localName) const
{
    return m_strPrefix.isEmpty() ? localName : m_strPrefix + u':' + localName;
}

bool CXlsxSheet::Load(const QByteArray& xml)
{
    m_text = QString::fromUtf8(xml);
    if (m_text.startsWith(QChar(0xFEFF)))
        m_text.remove(0, 1);
    m_rows.clear();
    m_written.clear();
    m_bHasDimension = false;
    bool sheetDataFound = false;
    QXmlStreamReader reader(m_text);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            const qsizetype end = reader.characterOffset();
            const qsizetype begin = m_text.lastIndexOf(u'<', end - 1);
            if (depth == 1 && reader.name() != u"worksheet")
                return Fail(QStringLiteral("the part is no worksheet"));
            if (depth == 2 && reader.name() == u"dimension" && !sheetDataFound) {
                m_bHasDimension = true;
                m_dimension.begin = begin;
                m_dimensionAttributes = AttributeList(reader.attributes());
                reader.skipCurrentElement();
                --depth;
                m_dimension.end = reader.characterOffset();
            } else if (depth == 2 && reader.name() == u"sheetData") {
                if (sheetDataFound)
                    return Fail(QStringLiteral("two sheetData elements"));
                sheetDataFound = true;
                m_strPrefix = reader.prefix().toString();
                m_sheetData.begin = begin;
                m_sheetDataOpen = QStringLiteral("<%1%2>").arg(reader.qualifiedName().toString(),
                                                                 AttributesText(AttributeList(reader.attributes())));
                if (!ReadSheetData(reader))
                    return false;
                --depth;
                m_sheetData.end = reader.characterOffset();
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    if (reader.hasError())
        return Fail(reader.errorString());
    if (!sheetDataFound)
        return Fail(QStringLiteral("the worksheet has no sheetData"));
    return true;
}

// Reads the rows up to the end of sheetData, keeping where each row and
// cell stands in the text.
bool CXlsxSheet::ReadSheetData(QXmlStreamReader& reader)
{
    int lastRow = 0;
    while (reader.readNextStartElement()) {
        if (reader.name() != u"row") {
            reader.skipCurrentElement();
            continue;
        }
        Row row;
        row.span.begin = m_text.lastIndexOf(u'<', reader.characterOffset() - 1);
        row.attributes = AttributeList(reader.attributes());
        int number = lastRow + 1;
        const QStringView r = reader.attributes().value(QStringLiteral("r"));
        if (!r.isEmpty()) {
            bool ok = false;
            number = r.toInt(&ok);
            if (!ok)
                return Fail(QStringLiteral("a row number that is no number"));
        }
        if (number <= lastRow || number > MaxRow)
            return Fail(QStringLiteral("rows out of order"));
        lastRow = number;
        int lastColumn = 0;
        while (reader.readNextStartElement()) {
            if (reader.name() != u"c") {
                reader.skipCurrentElement();
                continue;
            }
            Cell cell;
            cell.span.begin = m_text.lastIndexOf(u'<', reader.characterOffset() - 1);
            cell.style = reader.attributes().value(QStringLiteral("s")).toString();
            int cellRow = number;
            int column = lastColumn + 1;
            const QStringView name = reader.attributes().value(QStringLiteral("r"));
            if (!name.isEmpty() && !ParseCellName(name, cellRow, column))
                return Fail(QStringLiteral("a cell reference that names no cell"));
            if (cellRow != number || column <= lastColumn || column > MaxColumn)
                return Fail(QStringLiteral("cells out of order"));
            lastColumn = column;
            reader.skipCurrentElement();
            cell.span.end = reader.characterOffset();
            row.cells.insert(column, cell);
        }
        if (reader.hasError())
            return Fail(reader.errorString());
        row.span.end = reader.characterOffset();
        m_rows.insert(number, row);
    }
    if (reader.hasError())
        return Fail(reader.errorString());
    return true;
}

void CXlsxSheet::SetCell(int row, int column, const QString& text)
{
    if (row >= 1 && row <= MaxRow && column >= 1 && column <= MaxColumn)
        m_written[row][column] = text;
}

QString CXlsxSheet::WrittenCell(int row, int column, const QString& text, const QString& style,
                                CXlsxStyles* styles) const
{
    QString cell = u'<' + Tag(QStringLiteral("c")) + QStringLiteral(" r=\"") + CellName(row, column) + u'"';
    const std::optional<XlsxNumber> number = styles ? XlsxNumber::FromText(text) : std::nullopt;
    if (number) {
        return cell + QStringLiteral(" s=\"") + styles->NumberStyle(style, number->format) + QStringLiteral("\"><")
            + Tag(QStringLiteral("v")) + u'>' + number->value + QStringLiteral("</") + Tag(QStringLiteral("v"))
            + QStringLiteral("></") + Tag(QStringLiteral("c")) + u'>';
    }
    if (!style.isEmpty())
        cell += QStringLiteral(" s=\"") + XmlSafe(style) + u'"';
    if (text.isEmpty())
        return cell + QStringLiteral("/>");
    return cell + QStringLiteral(" t=\"inlineStr\"><") + Tag(QStringLiteral("is")) + QStringLiteral("><") + Tag(QStringLiteral("t"))
        + QStringLiteral(" xml:space=\"preserve\">") + CellXmlText(text) + QStringLiteral("</") + Tag(QStringLiteral("t"))
        + QStringLiteral("></") + Tag(QStringLiteral("is")) + QStringLiteral("></") + Tag(QStringLiteral("c")) + u'>';
}

QString CXlsxSheet::WrittenRow(int number, const Row* row, const QMap<int, QString>& cells,
                               CXlsxStyles* styles) const
{
    // The row's style stands for new cells of a row that is formatted whole.
    QString rowStyle;
    QList<QPair<QString, QString>> attributes{{QStringLiteral("r"), QString::number(number)}};
    if (row) {
        attributes.clear();
        bool customFormat = false;
        for (const auto& [name, value] : row->attributes) {
            // The span hint would no longer hold.
            if (name != u"spans")
                attributes.append({name, value});
            if (name == u"customFormat")
                customFormat = value == u"1" || value == u"true";
            if (name == u"s")
                rowStyle = value;
        }
        if (!customFormat)
            rowStyle.clear();
    }
    QString text = u'<' + Tag(QStringLiteral("row")) + AttributesText(attributes) + u'>';
    auto existing = row ? row->cells.constBegin() : QMap<int, Cell>::const_iterator();
    const auto existingEnd = row ? row->cells.constEnd() : QMap<int, Cell>::const_iterator();
    auto written = cells.constBegin();
    while (existing != existingEnd || written != cells.constEnd()) {
        if (written == cells.constEnd() || (existing != existingEnd && existing.key() < written.key())) {
            text += QStringView(m_text).sliced(existing->span.begin, existing->span.end - existing->span.begin);
            ++existing;
        } else if (existing != existingEnd && existing.key() == written.key()) {
            text += WrittenCell(number, written.key(), written.value(), existing->style, styles);
            ++existing;
            ++written;
        } else {
            if (!written.value().isEmpty())
                text += WrittenCell(number, written.key(), written.value(), rowStyle, styles);
            ++written;
        }
    }
    return text + QStringLiteral("</") + Tag(QStringLiteral("row")) + u'>';
}

QString CXlsxSheet::Dimension() const
{
    int top = MaxRow + 1, left = MaxColumn + 1, bottom = 0, right = 0;
    auto take = [&](int row, int column) {
        top = qMin(top, row);
        bottom = qMax(bottom, row);
        left = qMin(left, column);
        right = qMax(right, column);
    };
    for (auto row = m_rows.constBegin(); row != m_rows.constEnd(); ++row) {
        for (auto cell = row->cells.constBegin(); cell != row->cells.constEnd(); ++cell)
            take(row.key(), cell.key());
    }
    for (auto row = m_written.constBegin(); row != m_written.constEnd(); ++row) {
        for (auto cell = row->constBegin(); cell != row->constEnd(); ++cell)
            take(row.key(), cell.key());
    }
    if (bottom == 0)
        return QStringLiteral("A1");
    const QString first = CellName(top, left);
    return top == bottom && left == right ? first : first + u':' + CellName(bottom, right);
}

QByteArray CXlsxSheet::Save(CXlsxStyles* styles) const
{
    QString sheet;
    sheet.reserve(m_text.size() + 64 * m_written.size());
    qsizetype from = 0;
    if (m_bHasDimension) {
        QList<QPair<QString, QString>> attributes = m_dimensionAttributes;
        for (auto& [name, value] : attributes) {
            if (name == u"ref")
                value = Dimension();
        }
        sheet += QStringView(m_text).sliced(0, m_dimension.begin);
        sheet += u'<' + Tag(QStringLiteral("dimension")) + AttributesText(attributes) + QStringLiteral("/>");
        from = m_dimension.end;
    }
    sheet += QStringView(m_text).sliced(from, m_sheetData.begin - from);
    sheet += m_sheetDataOpen;
    auto row = m_rows.constBegin();
    auto written = m_written.constBegin();
    while (row != m_rows.constEnd() || written != m_written.constEnd()) {
        if (written == m_written.constEnd() || (row != m_rows.constEnd() && row.key() < written.key())) {
            sheet += QStringView(m_text).sliced(row->span.begin, row->span.end - row->span.begin);
            ++row;
        } else if (row != m_rows.constEnd() && row.key() == written.key()) {
            sheet += WrittenRow(row.key(), &*row, written.value(), styles);
            ++row;
            ++written;
        } else {
            sheet += WrittenRow(written.key(), nullptr, written.value(), styles);
            ++written;
        }
    }
    sheet += QStringLiteral("</") + Tag(QStringLiteral("sheetData")) + u'>';
    sheet += QStringView(m_text).sliced(m_sheetData.end);
    return sheet.toUtf8();
}
