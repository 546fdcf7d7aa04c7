#include "format/FormatLibrary.h"

#include "net/LibraryVersions.h"
#include "net/Version.h"

void RegisterFormatLibrary()
{
    static const CLibraryRegistrar registrar("Farsighter Formats", FARSIGHTER_VERSION);
}
