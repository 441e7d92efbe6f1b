#include "text/AppState.h"

AppState& theApp()
{
    static AppState state;
    return state;
}
