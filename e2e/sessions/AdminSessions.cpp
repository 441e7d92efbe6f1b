#include "E2eRun.h"
