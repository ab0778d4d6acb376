#include <QApplication>

#include "app/CDebugApp.h"
#include "resources/ProgramResources.h"

// The one application object, made before anything else runs.
CDebugApp theApp;

int main(int argc, char** argv) {
    QApplication qtApplication(argc, argv);
    resources::RegisterProgramResources();
    return AfxWinMain();
}
