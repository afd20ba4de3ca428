#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace usbwiz {

// One step of a scenario: a verb and its arguments. The last argument of some verbs is "the rest
// of the line", so texts with spaces need no quoting.
struct Step {
    std::string file;  // the scenario file (or included file) the step comes from
    int line = 0;
    std::string source;  // the step as written (its first line), for messages
    std::string verb;
    std::string rest;  // everything after the verb and one space, variables substituted
};

class ScenarioError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a file's whole text; throws ScenarioError when it cannot.
using ScenarioFileReader = std::function<std::string(const std::string& path)>;

// Reads a scenario: one step a line; blank lines and lines starting with '#' are skipped.
// - ${NAME} is replaced by the variable's value (an unknown name is an error, so a typo cannot
//   silently type nothing). Built in: ${CR}, ${LF}, ${SPACE}, and ${EMPTY} to show that a text
//   is meant to be empty.
// - A line starting with '|' continues the text of the step above on a new line: "| text" adds
//   a line feed and "text", a bare "|" adds an empty line. Multi-line message texts stay readable.
// - "include FILE" puts the steps of FILE (relative to the including file's folder) in its place.
std::vector<Step> ParseScenario(const std::string& path,
                                const std::map<std::string, std::string>& variables,
                                const ScenarioFileReader& read);

// Splits `text` at the first space: {"1002", "tarn unin"} from "1002 tarn unin".
std::pair<std::string, std::string> SplitFirstWord(const std::string& text);

// "Z:\a\b\name.txt" -> "Z:\a\b"; a bare name has the empty folder.
std::string FolderOf(const std::string& path);
// "Z:\a\b\name.txt" -> "name.txt"
std::string FileNameOf(const std::string& path);

}  // namespace usbwiz
