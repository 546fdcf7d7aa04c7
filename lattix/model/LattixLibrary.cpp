#include "lattix/model/LattixLibrary.h"

#include "net/LibraryVersions.h"
#include "net/Version.h"

void RegisterLattixLibrary()
{
    static const CLibraryRegistrar registrar("Farsighter Lattix", FARSIGHTER_VERSION);
}
