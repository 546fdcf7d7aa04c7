#include "velk/VelkLibrary.h"

#include "net/LibraryVersions.h"
#include "net/Version.h"

void RegisterVelkLibrary()
{
    static const CLibraryRegistrar registrar("Farsighter Controls", FARSIGHTER_VERSION);
}
