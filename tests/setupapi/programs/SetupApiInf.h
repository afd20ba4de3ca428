#pragma once

// clang-format off
#include <windows.h>
#include <setupapi.h>
// clang-format on

#include <optional>
#include <string>

#include "InfExpectation.h"

namespace usbwiz {

// An INF file opened as Windows Setup opens a driver INF (INF_STYLE_WIN4), read back only
// through the setup API, so every value comes out as the API reads it: quotes removed, comments
// dropped, %strkey% and %dirid% substituted.
class SetupApiInf {
  public:
    explicit SetupApiInf(const std::string& path);
    ~SetupApiInf();
    SetupApiInf(const SetupApiInf&) = delete;
    SetupApiInf& operator=(const SetupApiInf&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Why the open failed: the error code and the line the API blamed.
    const std::string& OpenFailure() const { return openFailure_; }
    // For the setup API calls this class does not wrap.
    HINF Handle() const { return handle_; }

    std::optional<INFCONTEXT> FindLine(const std::string& section,
                                       const InfLineSelector& line) const;
    // -1 when the section does not exist.
    int LineCount(const std::string& section) const;

    static std::optional<std::string> StringField(INFCONTEXT& line, int field);
    static std::optional<int> IntField(INFCONTEXT& line, int field);
    static std::optional<std::string> LineText(INFCONTEXT& line);
    static int FieldCount(INFCONTEXT& line);

  private:
    HINF handle_ = INVALID_HANDLE_VALUE;
    std::string openFailure_;
};

// The class name and class GUID that SetupDiGetINFClass reports for the file, the GUID in the
// registry form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, upper case.
struct InfClass {
    std::string name;
    std::string guid;
};
std::optional<InfClass> ReadInfClass(const std::string& path);

}  // namespace usbwiz
