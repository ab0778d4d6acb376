#include "app/AppOptions.h"

AppOptions g_appOptions;
