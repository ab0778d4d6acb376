#include "resources/ProgramResources.h"

namespace resources {

void RegisterProgramResources() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterMenuAndAccelerators();
    RegisterStrings();
    RegisterBitmaps();
    RegisterAboutDialog();
    RegisterTerminalOptionsDialog();
    RegisterPortSettingsDialog();
}

} // namespace resources
