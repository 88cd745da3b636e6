#pragma once
// Figures as the drawings and checks write them: fixed decimals, '.' whatever the locale.

#include <string>

namespace flametube {

std::string fixed(double value, int decimals);

} // namespace flametube
