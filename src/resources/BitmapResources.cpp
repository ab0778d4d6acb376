// Bitmap 105, the About box picture (drawn by draw_about.sh), shipped in the Qt resource system.
#include <QtGlobal>

#include "framework/base/ResourceTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

// A resource file linked from a static library must be registered by hand. The macro declares the
// registration function where it stands, so it must stand at global scope, outside any namespace.
static void InitAboutResource() {
    Q_INIT_RESOURCE(about);
}

namespace resources {

void RegisterBitmaps() {
    InitAboutResource();
    afx::RegisterBitmap(IDB_ABOUT, QStringLiteral(":/martool/about.png"));
}

} // namespace resources
