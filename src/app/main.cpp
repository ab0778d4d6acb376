#include <QApplication>

#include "app/CDebugApp.h"
#include "resources/ProgramResources.h"

// The one application object, made before anything else runs.
CDebugApp theApp;

int main(int argc, char** argv) {
    QApplication qtApplication(argc, argv);
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.marloven.DebugUtility"));
    resources::RegisterProgramResources();
    return AfxWinMain();
}
