#include "ActionFamilies.h"

void RegisterQueryActions(CActionDispatcher&)
{
}
