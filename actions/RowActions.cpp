#include "ActionFamilies.h"

void RegisterRowActions(CActionDispatcher&)
{
}
