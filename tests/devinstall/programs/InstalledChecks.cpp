#include "InstalledChecks.h"

// windows.h comes in through InfInstallPlan.h; the crypto headers build on it.
#include <mscat.h>
#include <softpub.h>
#include <wintrust.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

namespace usbwiz {

namespace {

const char kPortsClassKey[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E978-E325-11CE-BFC1-08002BE10318}";
// Where CryptCATAdminAddCatalog puts the catalogs of driver packages.
const char kCatalogFolder[] = "\\catroot\\{F750E6C3-38EE-11D1-85E5-00C04FC295EE}\\";

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool SameName(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

std::string BaseName(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

std::optional<std::string> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

struct ServiceCloser {
    void operator()(SC_HANDLE handle) const { CloseServiceHandle(handle); }
};
using Service = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, ServiceCloser>;

Key OpenKey(HKEY root, const std::string& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    return Key(key);
}

std::optional<std::vector<BYTE>> ValueBytes(HKEY key, const std::string& name, DWORD& type) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<BYTE> data(size);
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return {};
    data.resize(size);
    // A text value may come back with or without its terminating zero.
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && (data.empty() || data.back() != 0))
        data.push_back(0);
    return data;
}

std::optional<std::string> TextValue(HKEY key, const std::string& name) {
    DWORD type = 0;
    auto data = key ? ValueBytes(key, name, type) : std::nullopt;
    if (!data || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    return std::string(reinterpret_cast<const char*>(data->data()));
}

std::string Quoted(const std::optional<std::string>& text) {
    return text ? "\"" + *text + "\"" : "none";
}

std::string ShowValue(DWORD type, const std::vector<BYTE>& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ)
        return Quoted(std::string(reinterpret_cast<const char*>(data.data())));
    if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        return "dword " + std::to_string(number);
    }
    std::string hex = "binary";
    char byte[4];
    for (std::size_t i = 0; i < data.size() && i < 8; ++i) {
        std::snprintf(byte, sizeof byte, " %02X", data[i]);
        hex += byte;
    }
    return data.size() > 8 ? hex + " ... (" + std::to_string(data.size()) + " bytes)" : hex;
}

// A service's image path in the forms Windows keeps it: \SystemRoot\..., a path relative to
// the Windows folder, or a full one.
std::string FullImagePath(std::string path) {
    const std::string windows = WindowsDirectory();
    if (Lower(path).rfind("\\systemroot\\", 0) == 0) return windows + path.substr(11);
    if (path.size() > 1 && path[1] != ':' && path[0] != '\\') return windows + "\\" + path;
    return path;
}

// The checks of one device's installation, each counted, each failure reported.
class Checker {
  public:
    Checker(const InstallPlan& plan, RootDevice& device, std::ostream& report)
        : plan_(plan), device_(device), report_(report) {}

    CheckCount Count() const { return count_; }

    void Check(bool passed, const std::string& found, const std::string& failure) {
        ++count_.total;
        if (passed) {
            report_ << "  " << found << '\n';
        } else {
            ++count_.failed;
            report_ << "  FAIL " << failure << '\n';
        }
    }

    void Files() {
        for (const PlannedFile& file : plan_.files) {
            const auto source = FileBytes(file.source), target = FileBytes(file.target);
            Check(source && target && *source == *target,
                  "file    " + file.target + " (" + std::to_string(target ? target->size() : 0) +
                      " bytes, the package's " + BaseName(file.source) + ")",
                  file.target + ": " +
                      (!target ? std::string("not installed") +
                                     (source ? "" : " (the package has no readable file there)")
                       : !source ? "the package has no " + file.source
                                 : "differs from the package's " + BaseName(file.source)));
        }
    }

    void Services() {
        const Service manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        for (const PlannedService& planned : plan_.services) {
            const Service service(
                manager ? OpenServiceA(manager.get(), planned.name.c_str(), SERVICE_QUERY_CONFIG)
                        : nullptr);
            DWORD size = 0;
            if (service) QueryServiceConfigA(service.get(), nullptr, 0, &size);
            std::vector<BYTE> buffer(size);
            auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
            if (!service || !QueryServiceConfigA(service.get(), config, size, &size)) {
                Check(false, "", "service " + planned.name + " was not added");
                continue;
            }
            const std::string image = FullImagePath(config->lpBinaryPathName);
            Check(static_cast<int>(config->dwServiceType) == planned.type &&
                      static_cast<int>(config->dwStartType) == planned.start &&
                      static_cast<int>(config->dwErrorControl) == planned.errorControl,
                  "service " + planned.name + ": type " + std::to_string(config->dwServiceType) +
                      ", start " + std::to_string(config->dwStartType) + ", error control " +
                      std::to_string(config->dwErrorControl),
                  "service " + planned.name + ": type/start/error control " +
                      std::to_string(config->dwServiceType) + "/" +
                      std::to_string(config->dwStartType) + "/" +
                      std::to_string(config->dwErrorControl) + ", the INF says " +
                      std::to_string(planned.type) + "/" + std::to_string(planned.start) + "/" +
                      std::to_string(planned.errorControl));
            bool copied = false;
            for (const PlannedFile& file : plan_.files) copied |= SameName(file.target, image);
            Check(SameName(image, planned.binary) && copied,
                  "service " + planned.name + ": image " + config->lpBinaryPathName +
                      ", a file the INF copies",
                  "service " + planned.name + ": image " + config->lpBinaryPathName +
                      ", the INF says " + planned.binary +
                      (copied ? "" : ", which the INF does not copy"));
            CheckText("service " + planned.name + ": display name", planned.displayName,
                      config->lpDisplayName);
            CheckText("service " + planned.name + ": load order group", planned.loadOrderGroup,
                      config->lpLoadOrderGroup);
            CheckText("service " + planned.name + ": description", planned.description,
                      Description(service.get()));
            if (planned.associated)
                CheckText("device's service", planned.name,
                          device_.TextProperty(SPDRP_SERVICE).value_or(""));
        }
    }

    void Values() {
        const Key driverKey(device_.OpenKey(DIREG_DRV)), deviceKey(device_.OpenKey(DIREG_DEV));
        for (const PlannedValue& value : plan_.values) {
            HKEY root = value.root;
            std::string where = value.rootName;
            if (!root) {
                const bool driver = value.relativeTo == RelativeRoot::DriverKey;
                root = driver ? driverKey.get() : deviceKey.get();
                where += driver ? "(driver key)" : "(device key)";
            }
            if (!value.subkey.empty()) where += "\\" + value.subkey;
            where += "\\" + (value.name.empty() ? std::string("(default)") : value.name);
            const Key key = root ? OpenKey(root, value.subkey) : nullptr;
            DWORD type = 0;
            const auto data = key ? ValueBytes(key.get(), value.name, type) : std::nullopt;
            if (data && type == value.type && !value.wineReading.empty() &&
                *data == value.wineReading) {
                report_ << "  WINE DIFFERS: " << where << " = " << ShowValue(type, *data)
                        << ": Wine's setup API reads a byte field like \"0x64\" only up to the "
                           "x; the INF's bytes make "
                        << ShowValue(value.type, value.data) << '\n';
                continue;
            }
            Check(data && type == value.type && *data == value.data,
                  "value   " + where + " = " + ShowValue(value.type, value.data),
                  where + ": " +
                      (data ? ShowValue(type, *data) + " (type " + std::to_string(type) + ")"
                            : std::string("missing")) +
                      ", the INF says " + ShowValue(value.type, value.data) + " (type " +
                      std::to_string(value.type) + ")");
        }
    }

    void Names(const TypedNames& names) {
        CheckText("description", names.description,
                  device_.TextProperty(SPDRP_DEVICEDESC).value_or(""));
        const Key deviceKey(device_.OpenKey(DIREG_DEV));
        const auto property = device_.TextProperty(SPDRP_FRIENDLYNAME);
        const auto written = TextValue(deviceKey.get(), "FriendlyName");
        const bool port = SameName(device_.TextProperty(SPDRP_CLASS).value_or(""), "Ports");
        const Key portsClass = OpenKey(HKEY_LOCAL_MACHINE, kPortsClassKey);
        if (port && !TextValue(portsClass.get(), "Installer32")) {
            report_ << "  NOT DONE by this installer: Windows' Ports class installer (this "
                       "system registers none) names the port COMn and sets the friendly name \""
                    << names.description << " (COMn)\"; friendly name here: " << Quoted(property)
                    << '\n';
        } else if (port) {
            const std::string wanted = names.description + " (COM";
            Check(property && property->rfind(wanted, 0) == 0, "friendly name " + Quoted(property),
                  "friendly name " + Quoted(property) + ", expected \"" + wanted + "n)\"");
        } else if (names.friendlyName) {
            // Property first; an INF's FriendlyName in its .HW section lands in the device key.
            const auto found = property ? property : written;
            CheckText(property ? "friendly name" : "friendly name (device key)",
                      *names.friendlyName, found.value_or(""));
        } else {
            Check(!property && !written, "friendly name: none, as the INF sets none",
                  "friendly name " + Quoted(property ? property : written) +
                      " where the INF sets none");
        }
    }

    // The INF as Windows keeps it (%windir%\inf\oemN.inf) and, for a signed package, the
    // catalog in the catalog database, holding the hash of every file copied.
    void InfAndCatalog() {
        const Key driverKey(device_.OpenKey(DIREG_DRV));
        const auto infName = TextValue(driverKey.get(), "InfPath");
        const std::string kept = WindowsDirectory() + "\\inf\\" + infName.value_or("");
        const auto keptBytes = infName ? FileBytes(kept) : std::nullopt;
        Check(keptBytes && keptBytes == FileBytes(plan_.infPath),
              "inf     " + kept + " (the package's " + BaseName(plan_.infPath) + ")",
              "the INF kept for the device (" + Quoted(infName) + ") is not the package's");
        CheckText("install section", plan_.section,
                  TextValue(driverKey.get(), "InfSection").value_or(""));
        if (plan_.catalog.empty()) return;
        const std::string catalog = SystemDirectory() + kCatalogFolder + plan_.catalog;
        const auto catalogBytes = FileBytes(catalog);
        Check(catalogBytes && catalogBytes == FileBytes(plan_.folder + "\\" + plan_.catalog),
              "catalog " + catalog + " (the package's)",
              catalog + ": not the package's " + plan_.catalog);
        Check(Trusted(catalog) == ERROR_SUCCESS, "catalog " + plan_.catalog + ": trusted",
              "catalog " + catalog + " is not trusted: " + DescribeError(Trusted(catalog)));
        for (const PlannedFile& file : plan_.files)
            Check(CatalogHolds(plan_.catalog, file.target),
                  "catalog " + plan_.catalog + " holds the hash of " + BaseName(file.target),
                  "the installed " + plan_.catalog + " does not hold the hash of " + file.target);
    }

  private:
    void CheckText(const std::string& what, const std::string& planned, const std::string& found) {
        if (planned.empty() && found.empty()) return;
        Check(found == planned, what + " \"" + found + "\"",
              what + " \"" + found + "\", expected \"" + planned + "\"");
    }

    static std::string Description(SC_HANDLE service) {
        DWORD size = 0;
        QueryServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION, nullptr, 0, &size);
        std::vector<BYTE> buffer(size + 1);
        if (!QueryServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION, buffer.data(), size, &size))
            return "";
        const char* text = reinterpret_cast<SERVICE_DESCRIPTIONA*>(buffer.data())->lpDescription;
        return text ? text : "";
    }

    static LONG Trusted(const std::string& path) {
        std::wstring wide(path.size() + 1, L'\0');
        wide.resize(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(),
                                        static_cast<int>(wide.size())));
        WINTRUST_FILE_INFO file{};
        file.cbStruct = sizeof file;
        file.pcwszFilePath = wide.c_str();
        WINTRUST_DATA data{};
        data.cbStruct = sizeof data;
        data.dwUIChoice = WTD_UI_NONE;
        data.fdwRevocationChecks = WTD_REVOKE_NONE;
        data.dwUnionChoice = WTD_CHOICE_FILE;
        data.pFile = &file;
        data.dwStateAction = WTD_STATEACTION_VERIFY;
        GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
        const LONG status = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
        data.dwStateAction = WTD_STATEACTION_CLOSE;
        WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
        return status;
    }

    // Whether the installed catalog of that name lists the file's hash, as Windows looks a
    // driver file up in the catalog database.
    static bool CatalogHolds(const std::string& catalogName, const std::string& path) {
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        BYTE hash[64];
        DWORD size = sizeof hash;
        const BOOL hashed = CryptCATAdminCalcHashFromFileHandle(file, &size, hash, 0);
        CloseHandle(file);
        HCATADMIN admin = nullptr;
        GUID driverCatalogs = DRIVER_ACTION_VERIFY;
        if (!hashed || !CryptCATAdminAcquireContext(&admin, &driverCatalogs, 0)) return false;
        bool holds = false;
        HCATINFO previous = nullptr;  // each call releases the one before
        while (HCATINFO info = CryptCATAdminEnumCatalogFromHash(admin, hash, size, 0, &previous)) {
            CATALOG_INFO catalog{};
            catalog.cbStruct = sizeof catalog;
            char narrow[MAX_PATH] = {};
            if (CryptCATCatalogInfoFromContext(info, &catalog, 0))
                WideCharToMultiByte(CP_ACP, 0, catalog.wszCatalogFile, -1, narrow, MAX_PATH,
                                    nullptr, nullptr);
            holds |= SameName(BaseName(narrow), catalogName);
            previous = info;
        }
        CryptCATAdminReleaseContext(admin, 0);
        return holds;
    }

    const InstallPlan& plan_;
    RootDevice& device_;
    std::ostream& report_;
    CheckCount count_;
};

}  // namespace

std::vector<std::string> ClearPlannedResults(const InstallPlan& plan) {
    std::vector<std::string> left;
    for (const PlannedFile& file : plan.files) {
        DeleteFileA(file.target.c_str());
        if (GetFileAttributesA(file.target.c_str()) != INVALID_FILE_ATTRIBUTES)
            left.push_back("cannot remove " + file.target);
    }
    const Service manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    for (const PlannedService& planned : plan.services) {
        if (const Service service(
                manager ? OpenServiceA(manager.get(), planned.name.c_str(), DELETE) : nullptr);
            service && !DeleteService(service.get()))
            left.push_back("cannot delete service " + planned.name + ": " +
                           DescribeError(GetLastError()));
    }
    // Setup keeps one copy of an INF: an earlier copy would stand in for this installation's,
    // and with it, its catalog would not be added again.
    const std::string infFolder = WindowsDirectory() + "\\inf\\";
    const auto infBytes = FileBytes(plan.infPath);
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((infFolder + "*.inf").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const std::string kept = infFolder + found.cFileName;
        if (FileBytes(kept) == infBytes && !DeleteFileA(kept.c_str()))
            left.push_back("cannot remove " + kept);
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    if (!plan.catalog.empty()) {
        const std::string catalog = SystemDirectory() + kCatalogFolder + plan.catalog;
        DeleteFileA(catalog.c_str());
        if (GetFileAttributesA(catalog.c_str()) != INVALID_FILE_ATTRIBUTES)
            left.push_back("cannot remove " + catalog);
    }
    for (const PlannedValue& value : plan.values) {
        if (!value.root) continue;  // the device's own keys are new with the device
        HKEY key = nullptr;
        if (RegOpenKeyExA(value.root, value.subkey.c_str(), 0, KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
            continue;
        const LONG status = RegDeleteValueA(key, value.name.c_str());
        RegCloseKey(key);
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            left.push_back("cannot delete value " + value.rootName + "\\" + value.subkey + "\\" +
                           value.name + ": " + DescribeError(static_cast<DWORD>(status)));
    }
    return left;
}

CheckCount CheckInstalled(const InstallPlan& plan, RootDevice& device, const TypedNames& names,
                          std::ostream& report) {
    Checker checker(plan, device, report);
    for (const std::string& problem : plan.problems) checker.Check(false, "", problem);
    checker.Files();
    checker.Services();
    checker.Values();
    checker.Names(names);
    checker.InfAndCatalog();
    return checker.Count();
}

}  // namespace usbwiz
