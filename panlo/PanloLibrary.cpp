#include "panlo/PanloLibrary.h"

#include "net/LibraryVersions.h"
#include "net/Version.h"

void RegisterPanloLibrary()
{
    static const CLibraryRegistrar registrar("Farsighter Dialog Layout", FARSIGHTER_VERSION);
}
