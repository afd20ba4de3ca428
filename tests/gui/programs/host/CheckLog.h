#pragma once

#include <cstdio>
#include <string>

namespace usbwiz {

// Collects the failures of a Windows check program; each is printed when it happens, with
// what was expected and what was found.
class CheckLog {
  public:
    void Expect(bool ok, const std::string& what) {
        ++checks_;
        if (ok) return;
        ++failures_;
        std::printf("FAIL: %s\n", what.c_str());
        std::fflush(stdout);
    }

    template <typename T, typename U>
    void ExpectEqual(const T& found, const U& expected, const std::string& what) {
        Expect(found == expected, what + ": expected " + Show(expected) + ", found " + Show(found));
    }

    int Checks() const { return checks_; }
    int Failures() const { return failures_; }

  private:
    static std::string Show(const std::string& text) {
        // Appended piece by piece: GCC 12 misreads "\"" + text + "\"" as an overlapping copy.
        std::string shown(1, '"');
        shown += Escaped(text);
        shown += '"';
        return shown;
    }
    static std::string Show(const char* text) { return Show(std::string(text)); }
    template <typename T>
    static std::string Show(const T& value) {
        return std::to_string(value);
    }
    static std::string Escaped(const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == '\r')
                out += "\\r";
            else if (c == '\n')
                out += "\\n";
            else
                out += c;
        }
        return out;
    }

    int checks_ = 0;
    int failures_ = 0;
};

}  // namespace usbwiz
