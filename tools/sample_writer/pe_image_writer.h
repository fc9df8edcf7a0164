#pragma once
// Turns an image plan into bytes: PE32 headers, filler, and the record's
// probe bytes at their planned places.
#include <cstdint>
#include <vector>

#include "matcher/threat_signature.h"
#include "tools/sample_writer/image_plan.h"

namespace brisko {

// Throws std::out_of_range if the plan puts anything outside its file.
std::vector<std::uint8_t> writeImage(const ImagePlan& plan, const ThreatSignature& record);

}  // namespace brisko
