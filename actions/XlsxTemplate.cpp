#include "XlsxTemplate.h"

#include <QXmlStreamReader>

namespace {

const QString kContentTypes = QStringLiteral("[Content_Types].xml");
const QString kPackageRels = QStringLiteral("_rels/.rels");
const QString kOfficeDocument =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument");
const QString kRelationshipsNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kStyles = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles");

// The main part's content types of a template, and what they become.
const std::pair<QString, QString> kTypeSwitches[] = {
    {QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml"),
     QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml")},
    {QStringLiteral("application/vnd.ms-excel.template.macroEnabled.main+xml"),
     QStringLiteral("application/vnd.ms-excel.sheet.macroEnabled.main+xml")},
};
const QString kMacroWorkbook = QStringLiteral("macroEnabled");

// The folder of a part ("xl/workbook.xml" -> "xl/").
QString PartFolder(const QString& part)
{
    return part.left(part.lastIndexOf(u'/') + 1);
}

// A relationship target seen from a part's folder, as a part name: "/"
// starts from the package's root, ".." climbs one folder.
QString ResolveTarget(const QString& folder, const QString& target)
{
    const QString joined = target.startsWith(u'/') ? target.mid(1) : folder + target;
    QStringList parts;
    for (const QString& piece : joined.split(u'/', Qt::SkipEmptyParts)) {
        if (piece == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (piece != u".") {
            parts.append(piece);
        }
    }
    return parts.join(u'/');
}

// The targets of a relationships part by id, or of one type.
bool ReadRelationships(const QByteArray& xml, QHash<QString, QString>& byId, QHash<QString, QString>& byType)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"Relationship") {
            const QXmlStreamAttributes a = reader.attributes();
            byId.insert(a.value(QStringLiteral("Id")).toString(), a.value(QStringLiteral("Target")).toString());
            byType.insert(a.value(QStringLiteral("Type")).toString(), a.value(QStringLiteral("Target")).toString());
        }
    }
    return !reader.hasError();
}

} // namespace

bool CXlsxTemplate::Fail(Problem problem, const QString& detail)
{
    m_problem = problem;
    m_strDetail = detail;
    return false;
}

bool CXlsxTemplate::ReadPart(const QString& name, QByteArray& bytes)
{
    return m_zip.Read(name, bytes) || Fail(Problem::NotAWorkbook, m_zip.Error());
}

bool CXlsxTemplate::FindSheet1(QString& sheetPart, QString& stylesPart)
{
    QByteArray bytes;
    QHash<QString, QString> byId;
    QHash<QString, QString> byType;
    if (!ReadPart(kPackageRels, bytes))
        return false;
    if (!ReadRelationships(bytes, byId, byType) || !byType.contains(kOfficeDocument))
        return Fail(Problem::NotAWorkbook, kPackageRels);
    const QString workbookPart = ResolveTarget(QString(), byType.value(kOfficeDocument));
    if (!ReadPart(workbookPart, bytes))
        return false;
    QString sheetId;
    QXmlStreamReader workbook(bytes);
    while (!workbook.atEnd()) {
        if (workbook.readNext() == QXmlStreamReader::StartElement && workbook.name() == u"sheet"
            && workbook.attributes().value(QStringLiteral("name")).compare(QStringLiteral("sheet1"), Qt::CaseInsensitive) == 0
            && sheetId.isEmpty())
            sheetId = workbook.attributes().value(kRelationshipsNs, QStringLiteral("id")).toString();
    }
    if (workbook.hasError())
        return Fail(Problem::NotAWorkbook, workbookPart + QStringLiteral(": ") + workbook.errorString());
    if (sheetId.isEmpty())
        return Fail(Problem::NoSheet1, workbookPart);
    const QString folder = PartFolder(workbookPart);
    const QString relsPart = folder + QStringLiteral("_rels/") + workbookPart.mid(folder.size()) + QStringLiteral(".rels");
    byId.clear();
    byType.clear();
    if (!ReadPart(relsPart, bytes))
        return false;
    if (!ReadRelationships(bytes, byId, byType) || !byId.contains(sheetId))
        return Fail(Problem::BadSheet, relsPart);
    sheetPart = ResolveTarget(folder, byId.value(sheetId));
    stylesPart = byType.contains(kStyles) ? ResolveTarget(folder, byType.value(kStyles)) : QString();
    return true;
}

bool CXlsxTemplate::Open(const QByteArray& bytes)
{
    m_problem = Problem::None;
    m_strDetail.clear();
    if (!m_zip.Open(bytes) || !m_zip.CheckEntries())
        return Fail(Problem::NotAWorkbook, m_zip.Error());
    if (!ReadPart(kContentTypes, m_contentTypes) || !FindSheet1(m_strSheetPart, m_strStylesPart))
        return false;
    QByteArray sheet;
    if (!m_zip.Read(m_strSheetPart, sheet))
        return Fail(Problem::BadSheet, m_zip.Error());
    if (!m_sheet.Load(sheet))
        return Fail(Problem::BadSheet, m_strSheetPart + QStringLiteral(": ") + m_sheet.Error());
    // A styles part that cannot be read is left as it is; the cells then
    // stay texts.
    m_styles = CXlsxStyles();
    QByteArray styles;
    if (!m_strStylesPart.isEmpty() && (!m_zip.Read(m_strStylesPart, styles) || !m_styles.Load(styles)))
        m_strStylesPart.clear();
    return true;
}

void CXlsxTemplate::SetCell(int row, int column, const QString& text)
{
    m_sheet.SetCell(row, column, text);
}

QString CXlsxTemplate::WorkbookExtension() const
{
    return m_contentTypes.contains(kMacroWorkbook.toUtf8()) ? QStringLiteral(".xlsm") : QStringLiteral(".xlsx");
}

bool CXlsxTemplate::Save(QByteArray& workbook)
{
    QString types = QString::fromUtf8(m_contentTypes);
    for (const auto& [from, to] : kTypeSwitches)
        types.replace(from, to);
    m_zip.Put(kContentTypes, types.toUtf8());
    m_zip.Put(m_strSheetPart, m_sheet.Save(m_strStylesPart.isEmpty() ? nullptr : &m_styles));
    if (m_styles.Changed())
        m_zip.Put(m_strStylesPart, m_styles.Save());
    return m_zip.Save(workbook) || Fail(Problem::WriteFailed, m_zip.Error());
}
