#include "ActionFamilies.h"

void RegisterRunSqlActions(CActionDispatcher&)
{
}
