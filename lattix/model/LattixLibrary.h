#pragma once

// Puts the grid library in the program's list of library versions (once, however often
// it is called). Every translation unit that a program using the library must link calls
// it during static initialisation.
void RegisterLattixLibrary();
