#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "InfExpectation.h"

namespace usbwiz {

// Reads every expectation back from the INF at `infPath` through the setup API and writes one
// line for each that fails, with what was expected and what was found. Answers the number of
// failed expectations; an INF that the API refuses to open fails every one of them.
int CountFailedExpectations(const std::string& infPath,
                            const std::vector<InfExpectation>& expectations, std::ostream& report);

}  // namespace usbwiz
