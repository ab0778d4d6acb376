#pragma once
// The application-wide values: what the terminal options dialog starts from, and whether the
// operating system is of the NT family (whose serial driver reports DTR and RTS and keeps byte
// counts). One static record, set at start-up, alive for the whole run.

#include "platform/base/WinTypes.h"

struct AppOptions {
    BOOL localEcho;
    BOOL sendCrOnly;
    BOOL filterLf;
    BOOL ntFamily;
};

extern AppOptions g_appOptions;
