// Installs driver packages with Windows' own device installer and checks what it left: for each
// device an INF lists, a root-enumerated device with that hardware ID is registered, the INF's
// driver installed for it, and the files, services, registry values and names compared with
// what the INF says (read back through the setup API) and with the names the package was made
// with. The device is removed afterwards; what the installation makes outside the device is
// removed before it, so that only this installation can have made what the checks find.
// Usage: DeviceInstallCheck [--trust CERTIFICATE.cer] [--hardware-id ID] INF NAMES [INF NAMES ...]
// NAMES holds "description=TEXT" and, where the INF gives the device one, "friendly=TEXT", in
// the ANSI code page. --trust first puts a test certificate into the machine's Root and
// TrustedPublisher stores, for signed packages. --hardware-id gives the devices another
// hardware ID than the INF's, for an installation that must fail.
// Exit status: 0 when every check passed, 1 when any failed, 2 for unusable arguments.
#include <windows.h>
// windows.h first: the crypto header builds on it.
#include <wincrypt.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "InfInstallPlan.h"
#include "InstalledChecks.h"
#include "RootDevice.h"

namespace usbwiz {

namespace {

bool LoadNames(const std::string& path, TypedNames& names) {
    std::ifstream file(path, std::ios::binary);
    bool described = false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("description=", 0) == 0) {
            names.description = line.substr(12);
            described = true;
        } else if (line.rfind("friendly=", 0) == 0) {
            names.friendlyName = line.substr(9);
        }
    }
    if (!described) std::cerr << path << ": no description= line\n";
    return described;
}

bool TrustInMachineStores(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string certificate((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    if (certificate.empty()) return false;
    for (const wchar_t* name : {L"Root", L"TrustedPublisher"}) {
        HCERTSTORE store =
            CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, name);
        const bool added =
            store != nullptr &&
            CertAddEncodedCertificateToStore(
                store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(certificate.data()),
                static_cast<DWORD>(certificate.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
        if (store != nullptr) CertCloseStore(store, 0);
        if (!added) return false;
    }
    return true;
}

// The report holds the package's names in the ANSI code page; the log reads UTF-8.
std::string Utf8(const std::string& ansi) {
    const int wideLength =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                        wideLength);
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, text.data(), length, nullptr, nullptr);
    return text;
}

CheckCount InstallAndCheck(const std::string& infPath, const TypedNames& names,
                           const std::string& otherHardwareId, std::ostream& report) {
    CheckCount count;
    auto fail = [&](const std::string& what) {
        ++count.total;
        ++count.failed;
        report << "  FAIL " << what << '\n';
    };
    std::string error;
    const auto plans = ReadInstallPlans(infPath, error);
    if (!error.empty()) fail(infPath + ": " + error);
    for (const InstallPlan& plan : plans) {
        for (const std::string& left : ClearPlannedResults(plan)) fail(left);
        const std::string& hardwareId = otherHardwareId.empty() ? plan.hardwareId : otherHardwareId;
        RootDevice device(hardwareId, infPath);
        if (!device.RegisterFailure().empty()) {
            fail("registering a device " + hardwareId + ": " + device.RegisterFailure());
            continue;
        }
        report << "  device " << device.InstanceId() << ", hardware ID " << hardwareId
               << ", installed from [" << plan.actualSection << "]\n";
        if (const std::string failure = device.InstallDriver(); !failure.empty()) {
            fail("installation: " + failure);
            continue;
        }
        const CheckCount checked = CheckInstalled(plan, device, names, report);
        count.total += checked.total;
        count.failed += checked.failed;
    }
    return count;
}

}  // namespace

}  // namespace usbwiz

int main(int argc, char** argv) {
    using namespace usbwiz;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string certificate, otherHardwareId;
    while (args.size() >= 2 && (args[0] == "--trust" || args[0] == "--hardware-id")) {
        (args[0] == "--trust" ? certificate : otherHardwareId) = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || args.size() % 2 != 0) {
        std::cerr << "usage: DeviceInstallCheck [--trust CERTIFICATE.cer] [--hardware-id ID] INF "
                     "NAMES [...]\n";
        return 2;
    }
    std::vector<TypedNames> names(args.size() / 2);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (!LoadNames(args[2 * i + 1], names[i])) return 2;

    std::cout << "The driver files are stand-ins that cannot run: the checks stop at what the\n"
                 "installer wrote (files, services, registry values, names); whether a driver "
                 "starts is not checked.\n";
    if (!certificate.empty()) {
        if (!TrustInMachineStores(certificate)) {
            std::cerr << certificate << ": cannot put it into the Root and TrustedPublisher "
                      << "stores: " << DescribeError(GetLastError()) << '\n';
            return 2;
        }
        std::cout << "Trusted " << certificate << " (machine Root and TrustedPublisher).\n"
                  << "NOT DONE by this installer: checking the catalog's signature before "
                     "installing (it adds the catalog unchecked),\n"
                     "  and checking that each file's hash is in the catalog (the checks "
                     "below do both themselves).\n";
    }

    CheckCount all;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::ostringstream report;
        const CheckCount count = InstallAndCheck(args[2 * i], names[i], otherHardwareId, report);
        all.total += count.total;
        all.failed += count.failed;
        std::cout << Utf8("== " + args[2 * i] + "\n" + report.str())
                  << (count.failed == 0 ? "ok   " : "FAIL ") << count.total - count.failed << " of "
                  << count.total << " checks passed\n";
    }
    std::cout << (all.failed == 0 ? "PASS" : "FAIL") << ": " << all.total - all.failed << " of "
              << all.total << " checks passed\n";
    return all.failed == 0 && all.total > 0 ? 0 : 1;
}
