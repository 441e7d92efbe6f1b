#include "ActionFamilies.h"

void RegisterWebActions(CActionDispatcher&)
{
}
