#include "ActionFamilies.h"

void RegisterFileActions(CActionDispatcher&)
{
}
