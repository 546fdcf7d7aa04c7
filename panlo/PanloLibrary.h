#pragma once

// Adds the dialog layout library to the program's list of library versions, once however
// often it is called. Every translation unit of the library calls it during static
// initialisation, so the entry is there whichever of its classes a program links.
void RegisterPanloLibrary();
