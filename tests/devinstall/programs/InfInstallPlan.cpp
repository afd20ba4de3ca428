#include "InfInstallPlan.h"

#include <cctype>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>

#include "../../setupapi/programs/SetupApiInf.h"

namespace usbwiz {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The directory ids an NT driver package uses, as Windows documents them.
std::optional<std::string> DirectoryOf(int dirid) {
    switch (dirid) {
        case 10:
            return WindowsDirectory();
        case 11:
            return SystemDirectory();
        case 12:
            return SystemDirectory() + "\\drivers";
        case 17:
            return WindowsDirectory() + "\\inf";
        default:
            return {};
    }
}

// Calls `visit` for each line of the section, or only for those with the given key.
void ForEachLine(const SetupApiInf& inf, const std::string& section, const char* key,
                 const std::function<void(INFCONTEXT&)>& visit) {
    INFCONTEXT line{};
    if (key == nullptr) {
        for (int i = 0; i < inf.LineCount(section); ++i)
            if (auto at = inf.FindLine(section, {{}, i})) visit(*at);
        return;
    }
    for (BOOL found = SetupFindFirstLineA(inf.Handle(), section.c_str(), key, &line); found;
         found = SetupFindNextMatchLineA(&line, key, &line))
        visit(line);
}

// Every field from 1 on: the sections that a CopyFiles= or AddReg= line names.
std::vector<std::string> ValueFields(INFCONTEXT& line) {
    std::vector<std::string> fields;
    for (int i = 1; i <= SetupApiInf::FieldCount(line); ++i)
        if (auto field = SetupApiInf::StringField(line, i); field && !field->empty())
            fields.push_back(*field);
    return fields;
}

std::string Field(INFCONTEXT& line, int field) {
    return SetupApiInf::StringField(line, field).value_or("");
}

// The directives a section may hold for these checks to follow all it does; any other is
// named as a problem rather than passed over.
void NoteOtherDirectives(const SetupApiInf& inf, const std::string& section,
                         const std::set<std::string>& followed, InstallPlan& plan) {
    ForEachLine(inf, section, nullptr, [&](INFCONTEXT& line) {
        const std::string key = Upper(Field(line, 0));
        if (!followed.count(key))
            plan.problems.push_back("[" + section + "] " + key + " is not checked");
    });
}

void PlanCopyList(const SetupApiInf& inf, const std::string& folder, const std::string& list,
                  InstallPlan& plan) {
    auto destination = inf.FindLine("DestinationDirs", {list});
    if (!destination) destination = inf.FindLine("DestinationDirs", {"DefaultDestDir"});
    const auto dirid = destination ? SetupApiInf::IntField(*destination, 1) : std::nullopt;
    const auto directory = dirid ? DirectoryOf(*dirid) : std::nullopt;
    if (!directory) {
        plan.problems.push_back("no known destination directory for [" + list + "]");
        return;
    }
    std::string target = *directory;
    if (const std::string subdirectory = Field(*destination, 2); !subdirectory.empty())
        target += "\\" + subdirectory;
    ForEachLine(inf, list, nullptr, [&](INFCONTEXT& line) {
        const std::string name = Field(line, 1);
        std::string source = Field(line, 2);
        if (source.empty()) source = name;
        plan.files.push_back({target + "\\" + name, folder + "\\" + source});
    });
}

void PlanService(const SetupApiInf& inf, INFCONTEXT& addService, InstallPlan& plan) {
    PlannedService service;
    service.name = Field(addService, 1);
    service.associated =
        (SetupApiInf::IntField(addService, 2).value_or(0) & SPSVCINST_ASSOCSERVICE) != 0;
    const std::string section = Field(addService, 3);
    auto number = [&](const char* key) {
        auto line = inf.FindLine(section, {key});
        return line ? SetupApiInf::IntField(*line, 1).value_or(-1) : -1;
    };
    auto text = [&](const char* key) {
        auto line = inf.FindLine(section, {key});
        return line ? Field(*line, 1) : "";
    };
    service.type = number("ServiceType");
    service.start = number("StartType");
    service.errorControl = number("ErrorControl");
    service.binary = text("ServiceBinary");
    service.displayName = text("DisplayName");
    service.description = text("Description");
    service.loadOrderGroup = text("LoadOrderGroup");
    NoteOtherDirectives(inf, section,
                        {"SERVICETYPE", "STARTTYPE", "ERRORCONTROL", "SERVICEBINARY", "DISPLAYNAME",
                         "DESCRIPTION", "LOADORDERGROUP"},
                        plan);
    plan.services.push_back(std::move(service));
}

// The value's bytes from field 5 on, each field one hex byte as the INF writes it ("01",
// "0x64"). Parsed here rather than with SetupGetBinaryField, which Wine reads differently.
bool ReadBytes(INFCONTEXT& line, PlannedValue& value) {
    for (int i = 5; i <= SetupApiInf::FieldCount(line); ++i) {
        const std::string text = Field(line, i);
        char* end = nullptr;
        const unsigned long byte = std::strtoul(text.c_str(), &end, 16);
        if (text.empty() || *end != 0 || byte > 0xFF) return false;
        value.data.push_back(static_cast<BYTE>(byte));
        const auto digits = text.find_first_not_of("0123456789abcdefABCDEF");
        value.wineReading.push_back(
            static_cast<BYTE>(std::strtoul(text.substr(0, digits).c_str(), nullptr, 16)));
    }
    if (value.wineReading == value.data) value.wineReading.clear();
    return true;
}

// One AddReg line: root, subkey, value name, flags, value (as Windows documents the directive).
void PlanValue(INFCONTEXT& line, RelativeRoot relativeTo, const std::string& section,
               InstallPlan& plan) {
    static const std::pair<const char*, HKEY> roots[] = {{"HKR", nullptr},
                                                         {"HKLM", HKEY_LOCAL_MACHINE},
                                                         {"HKCU", HKEY_CURRENT_USER},
                                                         {"HKCR", HKEY_CLASSES_ROOT},
                                                         {"HKU", HKEY_USERS}};
    PlannedValue value;
    value.rootName = Upper(Field(line, 1));
    value.relativeTo = relativeTo;
    bool known = false;
    for (const auto& [name, key] : roots)
        if (value.rootName == name) value.root = key, known = true;
    const int fields = SetupApiInf::FieldCount(line);
    if (!known || fields < 3) {
        plan.problems.push_back("[" + section + "] " + Field(line, 1) + "," + Field(line, 2) +
                                ": not a value line these checks follow");
        return;
    }
    value.subkey = Field(line, 2);
    value.name = Field(line, 3);
    const int flags = fields >= 4 ? SetupApiInf::IntField(line, 4).value_or(0) : 0;
    // FLG_ADDREG_NOCLOBBER only matters for a value already there: the checks start from none.
    switch (flags & ~FLG_ADDREG_NOCLOBBER) {
        case FLG_ADDREG_TYPE_SZ:
        case FLG_ADDREG_TYPE_EXPAND_SZ: {
            value.type = flags & FLG_ADDREG_TYPE_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ;
            const std::string text = fields >= 5 ? Field(line, 5) : "";
            value.data.assign(text.begin(), text.end());
            value.data.push_back(0);
            break;
        }
        case FLG_ADDREG_TYPE_DWORD:
            value.type = REG_DWORD;
            if (fields == 5) {  // one number; several fields are the value's bytes
                const DWORD number = static_cast<DWORD>(SetupApiInf::IntField(line, 5).value_or(0));
                value.data.assign(reinterpret_cast<const BYTE*>(&number),
                                  reinterpret_cast<const BYTE*>(&number) + sizeof number);
            } else if (!ReadBytes(line, value)) {
                plan.problems.push_back("[" + section + "] " + value.name + ": not hex bytes");
                return;
            }
            break;
        case FLG_ADDREG_TYPE_BINARY:
            value.type = REG_BINARY;
            if (!ReadBytes(line, value)) {
                plan.problems.push_back("[" + section + "] " + value.name + ": not hex bytes");
                return;
            }
            break;
        default:
            plan.problems.push_back("[" + section + "] " + value.name + ": AddReg flags " +
                                    std::to_string(flags) + " are not checked");
            return;
    }
    plan.values.push_back(std::move(value));
}

void PlanValues(const SetupApiInf& inf, const std::string& installSection, RelativeRoot relativeTo,
                InstallPlan& plan) {
    ForEachLine(inf, installSection, "AddReg", [&](INFCONTEXT& addReg) {
        for (const std::string& section : ValueFields(addReg))
            ForEachLine(inf, section, nullptr,
                        [&](INFCONTEXT& line) { PlanValue(line, relativeTo, section, plan); });
    });
}

InstallPlan PlanDevice(const SetupApiInf& inf, const std::string& infPath,
                       const std::string& folder, INFCONTEXT& model) {
    InstallPlan plan;
    plan.infPath = infPath;
    plan.folder = folder;
    plan.description = Field(model, 0);
    plan.section = Field(model, 1);
    plan.hardwareId = Field(model, 2);
    char actual[LINE_LEN] = {};
    if (!SetupDiGetActualSectionToInstallA(inf.Handle(), plan.section.c_str(), actual, LINE_LEN,
                                           nullptr, nullptr)) {
        plan.problems.push_back("no install section for " + plan.section);
        return plan;
    }
    plan.actualSection = actual;
    const std::string section = plan.actualSection;

    ForEachLine(inf, section, "CopyFiles", [&](INFCONTEXT& copyFiles) {
        for (const std::string& list : ValueFields(copyFiles)) {
            if (list[0] == '@')
                plan.problems.push_back("single-file CopyFiles " + list + " is not checked");
            else
                PlanCopyList(inf, folder, list, plan);
        }
    });
    PlanValues(inf, section, RelativeRoot::DriverKey, plan);
    PlanValues(inf, section + ".HW", RelativeRoot::DeviceKey, plan);
    ForEachLine(inf, section + ".Services", "AddService",
                [&](INFCONTEXT& line) { PlanService(inf, line, plan); });

    NoteOtherDirectives(inf, section, {"COPYFILES", "ADDREG", "DRIVERVER"}, plan);
    NoteOtherDirectives(inf, section + ".HW", {"ADDREG"}, plan);
    NoteOtherDirectives(inf, section + ".Services", {"ADDSERVICE"}, plan);
    for (const char* unchecked : {".CoInstallers", ".Interfaces", ".LogConfigOverride"})
        if (inf.LineCount(section + unchecked) >= 0)
            plan.problems.push_back("[" + section + unchecked + "] is not checked");
    if (auto catalog = inf.FindLine("Version", {"CatalogFile"})) plan.catalog = Field(*catalog, 1);
    return plan;
}

}  // namespace

std::string WindowsDirectory() {
    char path[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : "";
}

std::string SystemDirectory() {
    char path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : "";
}

std::vector<InstallPlan> ReadInstallPlans(const std::string& infPath, std::string& error) {
    const SetupApiInf inf(infPath);
    if (!inf.IsOpen()) {
        error = inf.OpenFailure();
        return {};
    }
    const std::string folder = infPath.substr(0, infPath.find_last_of('\\'));
    std::vector<InstallPlan> plans;
    ForEachLine(inf, "Manufacturer", nullptr, [&](INFCONTEXT& manufacturer) {
        if (SetupApiInf::FieldCount(manufacturer) > 1)
            error = "decorated models sections are not followed";
        ForEachLine(inf, Field(manufacturer, 1), nullptr, [&](INFCONTEXT& model) {
            plans.push_back(PlanDevice(inf, infPath, folder, model));
        });
    });
    if (plans.empty() && error.empty()) error = "the INF lists no device";
    return plans;
}

}  // namespace usbwiz
