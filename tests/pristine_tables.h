// The four parameter tables as the program starts with them, for the tests
// and the fuzz targets that change them and must start again from scratch.
#pragma once

// Puts every table back to its start-up contents (the copy is taken the first
// time this runs or at static initialisation of the calling program, before
// any test or fuzz input has touched the tables) and rebuilds the id
// indices.
void RestorePristineTables();
