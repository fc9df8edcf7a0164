#pragma once
// Texts that name the program and the family it removes.

namespace brisko {

// Window title, default caption of every question and the key by which a
// second copy finds the first.
constexpr const char* programTitle = "Brisko Ver 1.0";
constexpr const char* familyName = "W32/Krenot";

}  // namespace brisko
