#include "StoredFormOpener.h"

#include "D_T1.h"
#include "FormDescription.h"
#include "FormEventRunner.h"
#include "FormTexts.h"
#include "db/DbConnection.h"
#include "text/MessageSink.h"
#include "text/TextSplit.h"
#include "text/TreeItems.h"
#include "web/LzwDecode.h"

#include <QTreeWidget>

namespace {

FormSetUp& CurrentSetUp()
{
    static FormSetUp setUp;
    return setUp;
}

// Shorter texts cannot be a form description.
constexpr int kShortestForm = 20;

// The database's text for the user and, on a line of its own, the driver's
// message (without the SQL it failed on).
QString FailureOf(const CDbConnection& db, const QString& sql = QString())
{
    QString detail = db.m_strErrorInfo;
    if (!sql.isEmpty() && detail.startsWith(sql))
        detail.remove(0, sql.size());
    return db.m_strError.trimmed() + u'\n' + detail.trimmed();
}

// Reads a stored form into out.form and notes in out.problem why a form that
// is there, or should be, cannot be opened. An entry without a row (not a
// leaf, or gone) has no form by design and opens nothing without a word.
void ReadMenuForm(CDbConnection& db, const QString& sql, StoredMenuForm& out, bool formExpected)
{
    StoredFormRead how = StoredFormRead::NoRow;
    QString reason;
    out.form = ReadStoredForm(db, sql, &how, &reason);
    if (how == StoredFormRead::Failed)
        out.problem = FailureOf(db, sql);
    else if (how == StoredFormRead::Undecodable)
        out.problem = reason;
    else if (formExpected && how == StoredFormRead::Empty)
        out.problem = FormTexts::MenuFormEmpty;
}

// Lets the read wait for another program's lock no longer than SQLite does.
void LimitLockWait(CDbConnection& db)
{
    const QString kind = db.GetDbTypeText();
    if (kind == u"1")
        db.ExecuteCommand(FormTexts::LockWaitSqlServer);
    else if (kind == u"3")
        db.ExecuteCommand(FormTexts::LockWaitPostgreSql);
}

} // namespace

QString ReadStoredForm(CDbConnection& db, const QString& sql, StoredFormRead* how, QString* reason)
{
    StoredFormRead ignored;
    StoredFormRead& result = how ? *how : ignored;
    QList<QByteArray> buffers;
    QList<int> sizes;
    if (!db.ReadBlobs(sql, {QStringLiteral("form_0")}, buffers, sizes) || buffers.isEmpty()) {
        result = db.m_nResult == 0 ? StoredFormRead::NoRow : StoredFormRead::Failed;
        if (reason)
            *reason = db.m_strError;
        return QString();
    }
    if (buffers.first().isEmpty()) {
        result = StoredFormRead::Empty;
        return QString();
    }
    QByteArray decoded;
    if (!LzwDecode(buffers.first(), decoded, reason)) {
        result = StoredFormRead::Undecodable;
        return QString();
    }
    result = StoredFormRead::Decoded;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(decoded.constData()),
                              decoded.size() / 2);
}

bool ReadSelectedMenuForm(QTreeWidget* tree, StoredMenuForm& out)
{
    QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
    if (!item || item->childCount() > 0)
        return false;
    out.menuUid = QString::number(item->data(0, kTreeItemDataRole).toInt());
    out.menuName = item->text(0);

    CDbConnection db;
    db.Configure();
    if (!db.Connect()) {
        out.problem = FailureOf(db);
        return true;
    }
    LimitLockWait(db);
    ReadMenuForm(db, FormTexts::SelectLeafForm.arg(out.menuUid), out, true);

    CFormDescription doc;
    QString error;
    const bool loaded = doc.LoadForm(out.form, error);
    // A problem said already, or no form by design, needs no other word.
    if (out.problem.isEmpty() && !out.form.isEmpty()) {
        if (out.form.size() < kShortestForm)
            out.problem = FormTexts::MenuFormTooShort;
        else if (!loaded)
            out.problem = error;
    }
    if (loaded) {
        const CXmlNodePtr head = doc.SelectSingleNode(QStringLiteral("//html/head"));
        out.type = head->GetAttribute(QStringLiteral("type"));
        const QString popup = head->GetAttribute(QStringLiteral("popup"));
        if (!popup.isEmpty()) {
            QStringList parts;
            SplitToList(popup, QStringLiteral(":"), parts);
            out.menuUid = parts.value(1);
            if (parts.size() > 2)
                out.disabledIds = parts.at(2);
            if (parts.size() > 3)
                out.hiddenIds = parts.at(3);
            // The uid stands unquoted in the query: only a number is looked up.
            bool isNumber = false;
            const int uid = out.menuUid.trimmed().toInt(&isNumber);
            if (isNumber)
                ReadMenuForm(db, FormTexts::SelectForm.arg(uid), out, false);
            else
                out.form.clear();
            if (out.form.isEmpty() && out.problem.isEmpty())
                out.form = CFormDescription::EmptyForm;
            else if (out.problem.isEmpty() && !doc.LoadForm(out.form, error))
                out.problem = error;
        }
    }
    db.Close();
    return true;
}

D_T1* StartPopupFormThread(const StoredMenuForm& stored)
{
    if (stored.form.size() < kShortestForm)
        return nullptr;
    auto* form = new D_T1(nullptr);
    if (!form->LoadDescription(stored.form)) {
        delete form;
        return nullptr;
    }
    form->m_strDisabledIds = stored.disabledIds;
    form->m_strHiddenIds = stored.hiddenIds;
    form->m_strMenuUid = stored.menuUid;
    form->m_strMenuName = stored.menuName;
    form->m_strType = stored.type;
    form->m_strInput.clear();
    if (CurrentSetUp())
        CurrentSetUp()(*form);
    form->Create();
    return form;
}

bool OpenSelectedMenuForm(QTreeWidget* tree)
{
    StoredMenuForm stored;
    if (!ReadSelectedMenuForm(tree, stored))
        return true;
    if (stored.problem.isEmpty()) {
        StartPopupFormThread(stored);
        return true;
    }
    const QString text = FormTexts::MenuFormUnusable.arg(stored.menuName, stored.problem);
    CFormEventRunner::WriteLog(text + QStringLiteral("\n\n") + FormTexts::SelectForm.arg(stored.menuUid));
    ShowMessage(text);
    return true;
}

void SetStoredFormSetUp(FormSetUp setUp)
{
    CurrentSetUp() = std::move(setUp);
}
