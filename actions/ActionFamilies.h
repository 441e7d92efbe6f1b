#pragma once

#include "ActionDispatcher.h"
#include "D_T1.h"
#include "FormActions.h"
#include "xml/XmlNode.h"

#include <QList>

// The registration of each family of handlers, defined in the family's own
// source file.
void RegisterQueryActions(CActionDispatcher& dispatcher);
void RegisterRunSqlActions(CActionDispatcher& dispatcher);
void RegisterControlQueryActions(CActionDispatcher& dispatcher);
void RegisterSaveActions(CActionDispatcher& dispatcher);
void RegisterRowActions(CActionDispatcher& dispatcher);
void RegisterCellActions(CActionDispatcher& dispatcher);
void RegisterControlStateActions(CActionDispatcher& dispatcher);
void RegisterFileActions(CActionDispatcher& dispatcher);
void RegisterWebActions(CActionDispatcher& dispatcher);
void RegisterExcelExport(CActionDispatcher& dispatcher);
void RegisterChartActions(CActionDispatcher& dispatcher);

// The element children of a node, comments and texts left out.
QList<CXmlNode> ElementChildren(const CXmlNode& node);

// A check query lets the guarded work go on only when it ran and found no
// row: a row refuses with its first value as the database's error text, a
// query that could not run refuses with the database's own text.
bool CheckPasses(CDbConnection& db, const QString& check);

// The dispatcher's work for a handler of the form's action object.
using FormActionHandler = bool (CFormActions::*)(const CXmlNode& action, D_T1& form);
inline CActionDispatcher::Work Handler(FormActionHandler handler)
{
    return [handler](D_T1& form, const CXmlNode& action, int, const QString&) {
        return (form.m_actions.*handler)(action, form);
    };
}
