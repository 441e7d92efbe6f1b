#include "RegisterFormActions.h"

#include "ActionFamilies.h"

void RegisterFormActions()
{
    CActionDispatcher& dispatcher = CActionDispatcher::Instance();
    RegisterQueryActions(dispatcher);
    RegisterRunSqlActions(dispatcher);
    RegisterControlQueryActions(dispatcher);
    RegisterSaveActions(dispatcher);
    RegisterRowActions(dispatcher);
    RegisterCellActions(dispatcher);
    RegisterControlStateActions(dispatcher);
    RegisterFileActions(dispatcher);
    RegisterWebActions(dispatcher);
    RegisterExcelExport(dispatcher);
    RegisterChartActions(dispatcher);
}
