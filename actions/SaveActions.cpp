#include "ActionFamilies.h"

void RegisterSaveActions(CActionDispatcher&)
{
}
