#include "ActionFamilies.h"

void RegisterControlStateActions(CActionDispatcher&)
{
}
