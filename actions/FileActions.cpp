// Files in database records: storing a chosen file in a record's BLOB
// column, writing it back to disk and opening it, and pictures shown in a
// picture control.
#include "ActionFamilies.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "FileChooser.h"
#include "FileTexts.h"
#include "StoredFile.h"
#include "QvPicture.h"
#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"
#include "text/AppState.h"
#include "text/MessageSink.h"
#include "web/FileHelpers.h"
#include "web/ShellOpen.h"
#include "xml/XmlNode.h"

#include <QFileInfo>
#include <QUrl>

namespace {

constexpr qint64 kMiB = 1048576;

// The grid a plain description id names.
CListCtrlEx* GridById(const D_T1& form, int id)
{
    return qobject_cast<CListCtrlEx*>(form.GetDlgItem(id + D_T1::ControlIdBase));
}

QVariant BoundNumber(const QString& text)
{
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    return ok ? QVariant(number) : QVariant(text);
}

// The record uid of the selected row of the grid with that description id;
// false when the id names no grid (with the text) or no row is selected.
bool SelectedRecordUid(CDbConnection& db, const D_T1& form, const QString& tableId, QString& uid)
{
    CListCtrlEx* grid = GridById(form, tableId.toInt());
    if (!grid) {
        db.m_strError = ActionTexts::WrongControl + tableId;
        return false;
    }
    return GetSelectedListItemData(grid, uid) && !uid.isEmpty();
}

// The query of upload_pic and download_pic: "values" with the key of the
// selected row of the "table_id" grid (when one is named) and the
// "para_info_where" fragments.
bool FillPictureQuery(CFormActions& actions, const CXmlNode& action, D_T1& form, QString& sql)
{
    sql = action.GetAttribute(QStringLiteral("values"));
    const QString tableId = action.GetAttribute(QStringLiteral("table_id"));
    if (!tableId.isEmpty()) {
        CListCtrlEx* grid = nullptr;
        int row = -1;
        if (!actions.GetGridByRef(form, tableId, grid) || !GetSelectedListItem(grid, row))
            return false;
        const ItemData* record = grid->GetRowKey(row);
        if (!actions.PutValue(sql, QStringLiteral("{{id?uid}}"), record ? record->strKey : QString()))
            return false;
    }
    return actions.FillWhereFragments(action, form, sql);
}

} // namespace

bool CFormActions::StoreFileInRecordMax(const QString& path, const QString& sql, const QString& blobField,
                                        int maxMiB)
{
    QByteArray bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const FileException& e) {
        m_db.m_strError += FileTexts::ReadFailed.arg(path, e.Reason());
        return false;
    }
    if (bytes.size() > maxMiB * kMiB) {
        m_db.m_strError += maxMiB == 2 ? FileTexts::TooLarge2M : FileTexts::TooLarge.arg(maxMiB);
        return false;
    }
    if (!m_db.WriteBlobs(sql, {blobField}, {bytes}, {int(bytes.size())})) {
        m_db.m_strError += FileTexts::UploadFailed + m_db.m_strErrorInfo;
        return false;
    }
    return true;
}

bool CFormActions::StoreFileInRecord(const QString& path, const QString& fileName, const QString& table,
                                     const QString& nameField, const QString& blobField, const QString& uid)
{
    QString sql = FileTexts::SelectRecord.arg(table);
    if (!PutValue(sql, QStringLiteral("{{uid}}"), uid) || !FillValues(sql)
        || !StoreFileInRecordMax(path, sql, blobField, 2))
        return false;
    const QString& kind = theApp().m_strDbType;
    const QString log = kind == u"1" ? FileTexts::UploadLogSqlServer
        : kind == u"3"               ? FileTexts::UploadLogPostgres
                                     : FileTexts::UploadLogAccess;
    // The name goes in bound: whatever characters a file name holds, it is
    // stored as it is.
    if (!m_db.ExecuteCommand(log.arg(table, nameField),
                             {fileName, BoundNumber(theApp().m_strUserUid), BoundNumber(uid)})) {
        m_db.m_strError += FileTexts::UploadLogFailed;
        return false;
    }
    return true;
}

bool CFormActions::Upload(const CXmlNode& action, D_T1& form)
{
    const CXmlNode para = action.GetChild(QStringLiteral("para_info"));
    const QString tableId = para.GetAttribute(QStringLiteral("table_id"));
    QString uid;
    if (!SelectedRecordUid(m_db, form, tableId, uid))
        return false;
    const QString path = ChooseFileToOpen(nullptr, FileTexts::OpenFileTitle, FileTexts::OpenFileFilter);
    if (path.isEmpty())
        return false;
    if (!StoreFileInRecord(path, QFileInfo(path).fileName(), para.GetAttribute(QStringLiteral("select_table")),
                           para.GetAttribute(QStringLiteral("file_field_name")),
                           para.GetAttribute(QStringLiteral("img_field_name")), uid))
        return false;
    m_strResult = FileTexts::Uploaded;
    return true;
}

bool CFormActions::Download(const CXmlNode& action, D_T1& form)
{
    const CXmlNode para = action.GetChild(QStringLiteral("para_info"));
    const QString tableId = para.GetAttribute(QStringLiteral("table_id"));
    const QString table = para.GetAttribute(QStringLiteral("select_table"));
    const QString nameField = para.GetAttribute(QStringLiteral("file_field_name"));
    const QString blobField = para.GetAttribute(QStringLiteral("img_field_name"));
    QString uid;
    if (!SelectedRecordUid(m_db, form, tableId, uid))
        return false;
    QString nameSql = FileTexts::SelectName.arg(nameField, table);
    QString fileSql = FileTexts::SelectFile.arg(blobField, table);
    if (!PutValue(nameSql, QStringLiteral("{{uid}}"), uid) || !PutValue(fileSql, QStringLiteral("{{uid}}"), uid)
        || !FillValues(nameSql) || !FillValues(fileSql))
        return false;
    QStringList names;
    if (!m_db.QueryToList(nameSql, {nameField}, names) || names.isEmpty())
        return false;
    QList<QByteArray> buffers;
    QList<int> sizes;
    if (!m_db.ReadBlobs(fileSql, {blobField}, buffers, sizes))
        ShowMessage(FileTexts::DownloadFailed, FileTexts::Hint);
    if (buffers.isEmpty())
        return false;
    QString path;
    QString error;
    if (!WriteStoredFile(FileTexts::TempFolder, names.first(), buffers.first(), path, error)) {
        m_db.m_strError = error;
        return false;
    }
    if (!OpenWithShell(path))
        ShowMessage(FileTexts::ShellFailed, FileTexts::Hint);
    return true;
}

bool CFormActions::GetActionValue(const CXmlNode& paraInfo, D_T1& form, const QString& valueAttribute,
                                  QString& value)
{
    const QString tableId = paraInfo.GetAttribute(QStringLiteral("table_id"));
    const QString valueRef = paraInfo.GetAttribute(valueAttribute);
    QWidget* control = nullptr;
    if (!tableId.isEmpty()) {
        if (!GetControlByRef(form, tableId, control))
            return false;
        auto* grid = qobject_cast<CListCtrlEx*>(control);
        if (!grid) {
            m_db.m_strError = ActionTexts::WrongControl + tableId;
            return false;
        }
        int row = -1;
        if (!GetSelectedListItem(grid, row)) {
            m_db.m_strError += ActionTexts::SelectRecord;
            return false;
        }
        const int column = paraInfo.GetAttributeInt(QStringLiteral("col"), 0);
        const ItemData* record = grid->GetRowKey(row);
        value = column == 0 ? (record ? record->strKey : QString()) : grid->GetItemText(row, column - 1);
        return true;
    }
    if (!valueRef.isEmpty()) {
        if (!GetControlByRef(form, valueRef, control))
            return false;
        value = GetControlText(control);
        return true;
    }
    m_db.m_strError += ActionTexts::NoValueControl.arg(valueAttribute);
    return false;
}

bool CFormActions::OpenFile(const CXmlNode& action, D_T1& form)
{
    QString value;
    if (!GetActionValue(action.GetChild(QStringLiteral("para_info")), form, QStringLiteral("url_id"), value))
        return false;
    if (value.isEmpty()) {
        m_db.m_strError += FileTexts::EmptyFileName;
        return false;
    }
    // The shell's own codes: 2 for a file that is not there, 0 for a
    // refusal of the desktop.
    const bool address = value.contains(QLatin1String("://"));
    if (!address && !QFileInfo::exists(value)) {
        m_db.m_strError = FileTexts::OpenFailed.arg(value).arg(2);
        return false;
    }
    if (!OpenWithShell(value)) {
        m_db.m_strError = FileTexts::OpenFailed.arg(value).arg(0);
        return false;
    }
    return true;
}

bool CFormActions::ShowPic(const CXmlNode& action, D_T1& form)
{
    const CXmlNode para = action.GetChild(QStringLiteral("para_info"));
    QString value;
    if (!GetActionValue(para, form, QStringLiteral("url_id"), value))
        return false;
    const QString targetRef = para.GetAttribute(QStringLiteral("target"));
    QWidget* control = nullptr;
    if (!GetControlByRef(form, targetRef, control))
        return false;
    auto* picture = qobject_cast<QvPicture*>(control);
    if (!picture) {
        m_db.m_strError = ActionTexts::WrongControl + targetRef;
        return false;
    }
    // A file that cannot be read leaves the control empty; the list goes on.
    picture->LoadPicture(value);
    picture->Redraw();
    return true;
}

bool CFormActions::UploadPic(const CXmlNode& action, D_T1& form)
{
    QString sql;
    if (!FillPictureQuery(*this, action, form, sql))
        return false;
    const CXmlNode where = action.GetChild(QStringLiteral("para_info_where"));
    QWidget* source = nullptr;
    if (!GetControlByRef(form, where.GetAttribute(QStringLiteral("source_id")), source))
        return false;
    if (!StoreFileInRecordMax(GetControlText(source), sql, where.GetAttribute(QStringLiteral("img_field_name")),
                              where.GetAttributeInt(QStringLiteral("max"), 2)))
        return false;
    m_strResult = FileTexts::Uploaded;
    return true;
}

bool CFormActions::DownloadPic(const CXmlNode& action, D_T1& form)
{
    QString sql;
    if (!FillPictureQuery(*this, action, form, sql))
        return false;
    const CXmlNode where = action.GetChild(QStringLiteral("para_info_where"));
    QList<QByteArray> buffers;
    QList<int> sizes;
    if (!m_db.ReadBlobs(sql, {where.GetAttribute(QStringLiteral("img_field_name"))}, buffers, sizes)
        && m_db.m_nResult < 0)
        ShowMessage(FileTexts::DownloadPicFailed, FileTexts::Hint);
    if (buffers.isEmpty())
        return false;
    const QString targetRef = action.GetAttribute(QStringLiteral("target_ids"));
    QWidget* control = nullptr;
    if (!GetControlByRef(form, targetRef, control))
        return false;
    auto* picture = qobject_cast<QvPicture*>(control);
    if (!picture) {
        m_db.m_strError = ActionTexts::WrongControl + targetRef;
        return false;
    }
    // Bytes that are no picture leave the control empty; the list goes on.
    if (picture->LoadPictureData(buffers.first()))
        picture->Redraw();
    return true;
}

void RegisterFileActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("upload"), Handler(&CFormActions::Upload));
    dispatcher.Register(QStringLiteral("download"), Handler(&CFormActions::Download));
    dispatcher.Register(QStringLiteral("open_file"), Handler(&CFormActions::OpenFile));
    dispatcher.Register(QStringLiteral("upload_pic"), Handler(&CFormActions::UploadPic));
    dispatcher.Register(QStringLiteral("download_pic"), Handler(&CFormActions::DownloadPic));
    dispatcher.Register(QStringLiteral("show_pic"), Handler(&CFormActions::ShowPic));
}
