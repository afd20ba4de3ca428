#include "SetupApiInf.h"

#include <cstdio>
#include <vector>

namespace usbwiz {

namespace {

std::string HexCode(DWORD code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

std::string GuidText(const GUID& guid) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

// Asks the API for the size first, so values of any length come back whole.
template <typename Reader>
std::optional<std::string> ReadSizedText(Reader read) {
    DWORD required = 0;
    if (!read(nullptr, 0, &required) || required == 0) return {};
    std::vector<char> buffer(required);
    if (!read(buffer.data(), required, &required)) return {};
    return std::string(buffer.data());
}

}  // namespace

SetupApiInf::SetupApiInf(const std::string& path) {
    UINT errorLine = 0;
    handle_ = SetupOpenInfFileA(path.c_str(), nullptr, INF_STYLE_WIN4, &errorLine);
    if (handle_ == INVALID_HANDLE_VALUE)
        openFailure_ = "SetupOpenInfFile failed with error " + HexCode(GetLastError()) +
                       " at line " + std::to_string(errorLine);
}

SetupApiInf::~SetupApiInf() {
    if (IsOpen()) SetupCloseInfFile(handle_);
}

std::optional<INFCONTEXT> SetupApiInf::FindLine(const std::string& section,
                                                const InfLineSelector& line) const {
    INFCONTEXT context{};
    const BOOL found =
        line.ByIndex() ? SetupGetLineByIndexA(handle_, section.c_str(),
                                              static_cast<DWORD>(line.index), &context)
                       : SetupFindFirstLineA(handle_, section.c_str(), line.key.c_str(), &context);
    if (!found) return {};
    return context;
}

int SetupApiInf::LineCount(const std::string& section) const {
    return static_cast<int>(SetupGetLineCountA(handle_, section.c_str()));
}

std::optional<std::string> SetupApiInf::StringField(INFCONTEXT& line, int field) {
    return ReadSizedText([&](char* buffer, DWORD size, DWORD* required) {
        return SetupGetStringFieldA(&line, static_cast<DWORD>(field), buffer, size, required);
    });
}

std::optional<int> SetupApiInf::IntField(INFCONTEXT& line, int field) {
    INT value = 0;
    if (!SetupGetIntField(&line, static_cast<DWORD>(field), &value)) return {};
    return value;
}

std::optional<std::string> SetupApiInf::LineText(INFCONTEXT& line) {
    return ReadSizedText([&](char* buffer, DWORD size, DWORD* required) {
        return SetupGetLineTextA(&line, nullptr, nullptr, nullptr, buffer, size, required);
    });
}

int SetupApiInf::FieldCount(INFCONTEXT& line) {
    return static_cast<int>(SetupGetFieldCount(&line));
}

std::optional<InfClass> ReadInfClass(const std::string& path) {
    GUID guid{};
    char name[MAX_CLASS_NAME] = {};
    DWORD required = 0;
    if (!SetupDiGetINFClassA(path.c_str(), &guid, name, MAX_CLASS_NAME, &required)) return {};
    return InfClass{name, GuidText(guid)};
}

}  // namespace usbwiz
