#include "ActionFamilies.h"

void RegisterExcelExport(CActionDispatcher&)
{
}
