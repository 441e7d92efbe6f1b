#include "ActionFamilies.h"

void RegisterCellActions(CActionDispatcher&)
{
}
