// Spreadsheet export: a grid's cells written into a new workbook made from
// a template stored in the database, opened with the desktop's spreadsheet
// program.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "ExcelTexts.h"
#include "StoredFile.h"
#include "XlsxTemplate.h"
#include "grid/ListCtrlEx.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/TextSplit.h"
#include "web/FileHelpers.h"
#include "web/ShellOpen.h"
#include "xml/XmlNode.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

// A name for the new workbook that no earlier export has taken.
QString NewWorkbookName(const QString& templateName, const QString& extension)
{
    const QString folder = GetModuleFolder() + ExcelTexts::WorkbookFolder + u'/';
    const QString stem = QFileInfo(templateName).completeBaseName() + u'_'
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_hhmmss"));
    QString name = stem + extension;
    for (int n = 2; QFileInfo::exists(folder + name); ++n)
        name = stem + u'_' + QString::number(n) + extension;
    return name;
}

} // namespace

bool CFormActions::FetchExcelTemplate(const CXmlNode& action, D_T1& form, QString& fileName)
{
    const CXmlNode para = action.GetChild(QStringLiteral("para_info"));
    const QString uid =
        GetDlgItemValue(form, para.GetAttributeInt(QStringLiteral("target_id"), 0) + D_T1::ControlIdBase);
    if (uid.isEmpty())
        return false;
    const QString table = para.GetAttribute(QStringLiteral("select_table"));
    const QString nameField = para.GetAttribute(QStringLiteral("file_field_name"));
    const QString blobField = para.GetAttribute(QStringLiteral("img_field_name"));
    QString nameSql = ExcelTexts::SelectName.arg(nameField, table);
    QString fileSql = ExcelTexts::SelectFile.arg(blobField, table);
    if (!PutValue(nameSql, QStringLiteral("{{uid}}"), uid) || !PutValue(fileSql, QStringLiteral("{{uid}}"), uid)
        || !FillValues(nameSql) || !FillValues(fileSql))
        return false;
    QStringList names;
    if (!m_db.QueryToList(nameSql, {nameField}, names) || names.isEmpty()) {
        // A failed query has given its own texts.
        if (m_db.m_nResult >= 0)
            m_db.m_strError = ExcelTexts::TemplateMissing.arg(uid);
        return false;
    }
    QList<QByteArray> buffers;
    QList<int> sizes;
    if (!m_db.ReadBlobs(fileSql, {blobField}, buffers, sizes) || buffers.isEmpty()) {
        m_db.m_strError = ExcelTexts::TemplateUnreadable;
        return false;
    }
    QString path;
    QString error;
    if (!WriteStoredFile(ExcelTexts::TemplateFolder, names.first(), buffers.first(), path, error)) {
        m_db.m_strError = error;
        return false;
    }
    fileName = QFileInfo(path).fileName();
    return true;
}

bool CFormActions::ExportExcel(const CXmlNode& action, D_T1& form, const QString& fileName)
{
    const QString start = action.GetAttribute(QStringLiteral("target_ids"), ExcelTexts::DefaultStart);
    const qsizetype comma = start.indexOf(u',');
    const int startRow = comma < 0 ? 0 : TextToInt(QStringView(start).left(comma));
    const int startColumn = TextToInt(comma < 0 ? QStringView(start) : QStringView(start).sliced(comma + 1));
    if (startRow < 1 || startColumn < 1 || startRow > CXlsxSheet::MaxRow || startColumn > CXlsxSheet::MaxColumn) {
        m_db.m_strError = ExcelTexts::BadStart.arg(start);
        return false;
    }
    const QString tableId = action.GetAttribute(QStringLiteral("table_id"));
    auto* grid = qobject_cast<CListCtrlEx*>(form.GetDlgItem(tableId.toInt() + D_T1::ControlIdBase));
    if (!grid) {
        m_db.m_strError = ActionTexts::WrongControl + tableId;
        return false;
    }
    if (grid->GetItemCount() == 0)
        return false;
    QList<int> columns;
    const QString values = action.GetAttribute(QStringLiteral("values"));
    if (!values.isEmpty()) {
        QStringList entries;
        SplitString(values, QStringLiteral(","), entries);
        for (const QString& entry : std::as_const(entries))
            columns.append(TextToInt(entry));
    }

    const QString templatePath = GetModuleFolder() + ExcelTexts::TemplateFolder + u'/' + fileName;
    CXlsxTemplate workbook;
    try {
        if (!workbook.Open(ReadWholeFile(templatePath))) {
            const QString& text = workbook.GetProblem() == CXlsxTemplate::Problem::NoSheet1 ? ExcelTexts::NoSheet1
                : workbook.GetProblem() == CXlsxTemplate::Problem::BadSheet             ? ExcelTexts::BadSheet
                                                                                        : ExcelTexts::NotAWorkbook;
            m_db.m_strError = text.arg(fileName);
            m_db.m_strErrorInfo = workbook.Detail();
            return false;
        }
    } catch (const FileException& e) {
        m_db.m_strError = ExcelTexts::TemplateFileUnreadable.arg(templatePath, e.Reason());
        return false;
    }
    for (int row = 0; row < grid->GetItemCount(); ++row) {
        for (int i = 0; i < columns.size(); ++i)
            workbook.SetCell(startRow + row, startColumn + i, grid->GetItemText(row, columns[i]));
    }
    QByteArray bytes;
    if (!workbook.Save(bytes)) {
        m_db.m_strError = ExcelTexts::WriteFailed;
        m_db.m_strErrorInfo = workbook.Detail();
        return false;
    }
    QString path;
    QString error;
    if (!WriteStoredFile(ExcelTexts::WorkbookFolder, NewWorkbookName(fileName, workbook.WorkbookExtension()), bytes,
                         path, error)) {
        m_db.m_strError = error;
        return false;
    }
    // Without a program for it the workbook still stands in the folder.
    if (!OpenWithShell(path))
        ShowMessage(ExcelTexts::NoSpreadsheetProgram);
    return true;
}

void RegisterExcelExport(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("export_excel"), [](D_T1& form, const CXmlNode& action, int, const QString&) {
        QString fileName;
        return form.m_actions.FetchExcelTemplate(action, form, fileName)
            && form.m_actions.ExportExcel(action, form, fileName);
    });
}
