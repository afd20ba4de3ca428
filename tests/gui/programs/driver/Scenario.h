#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace usbwiz {

// One line of a scenario: a verb and its arguments. The last argument of some verbs is "the rest
// of the line", so texts with spaces need no quoting.
struct Step {
    int line = 0;
    std::string source;  // the line as written, for messages
    std::string verb;
    std::string rest;  // everything after the verb and one space, variables substituted
};

class ScenarioError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a scenario: one step a line; blank lines and lines starting with '#' are skipped;
// ${NAME} is replaced by the variable's value (an unknown name is an error, so a typo cannot
// silently type nothing). Built in: ${CR}, ${LF}.
std::vector<Step> ParseScenario(const std::string& text,
                                const std::map<std::string, std::string>& variables);

// Splits `text` at the first space: {"1002", "tarn unin"} from "1002 tarn unin".
std::pair<std::string, std::string> SplitFirstWord(const std::string& text);

}  // namespace usbwiz
