#pragma once
// The walks over one process's image file during the memory scan: the
// test walk, which only tells whether the image is infected, and the
// disposal walk, which hands it to the user's treatment.
#include "session/scan_context.h"
#include "walk/directory_walk.h"

namespace brisko {

// Walks over the image when it can be read; foundInMemory then tells
// whether it is infected. An image not walked counts as clean.
void walkOverImage(ScanContext& scan, FileVisitor& examiner, const char* imagePath);

// Walks over the image with memoryScanAction set to the user's action.
void disposalWalkOverImage(ScanContext& scan, FileVisitor& examiner, const char* imagePath);

}  // namespace brisko
