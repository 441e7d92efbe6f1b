#include "AppState.h"

AppState& theApp()
{
    static AppState state;
    return state;
}
