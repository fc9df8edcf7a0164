#pragma once
// Treatment of an infected file by the user's chosen action: remove, rename
// or leave it, with one report line for every outcome.

namespace brisko {

class Scan;

// Removes an infected file; reports either way.
using RemovalStep = void (*)(Scan& scan, const char* path, const char* threatName);

// The one switch on the user's action. Remove and "remove too" take the
// removal step, rename renames by the rename rule, leave posts the line of
// leftAloneFormat with currentItem and currentThreat; any other action
// does nothing.
void treatByUserAction(Scan& scan, const char* path, const char* threatName, RemovalStep removal,
                       const char* leftAloneFormat);

// Treats a file the matcher has just named; currentItem and currentThreat
// hold the same path and name.
void disposeInfectedFile(Scan& scan, const char* path, const char* threatName);

// What follows every deletion of an infected file: the count, the
// variant's entries, and the "removed" line.
void reportRemoved(Scan& scan, const char* path, const char* threatName);

// Notes what became of a detected file, for front ends that keep a record.
void noteTreatment(Scan& scan, const char* path, const char* threatName, const char* result);

// Renames the file by the rename rule and reports the outcome; a path
// ending in '.' has no character to replace and is not renamed.
void renameInfectedFile(Scan& scan, const char* path, const char* threatName);

// Treats the image of a process the memory scan has already found infected
// and ended, with memoryScanAction as the action; the file is not tested
// again.
void disposeDirectly(Scan& scan, const char* path, const char* threatLabel);

}  // namespace brisko
