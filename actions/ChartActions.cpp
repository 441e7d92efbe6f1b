#include "ActionFamilies.h"

void RegisterChartActions(CActionDispatcher&)
{
}
