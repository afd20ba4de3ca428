#pragma once

#include <array>
#include <string_view>

namespace usbwiz {

// Every control id of the wizard's dialog templates, once. The layouts, the pages, the tests
// and the GUI scenario driver all name controls through these.
inline constexpr int kWelcomeNextButton = 1000;  // Next on the welcome and warning pages
inline constexpr int kUninstallNameEdit = 1002;
inline constexpr int kShortNameEdit = 1003;
inline constexpr int kPidEdit = 1004;
inline constexpr int kLongNameEdit = 1005;
inline constexpr int kNextButton = 1006;  // also Finish on the summary page
inline constexpr int kBackButton = 1007;
inline constexpr int kInfPrefixEdit = 1008;
inline constexpr int kComDeviceNameEdit = 1009;
inline constexpr int kUsbDeviceNameEdit = 1010;
inline constexpr int kVidEdit = 1011;
inline constexpr int kCopyFilesBox = 1012;
inline constexpr int kLeaveFilesBox = 1013;
inline constexpr int kPlanCertificationButton = 1014;
inline constexpr int kNoCertificationButton = 1015;
inline constexpr int kDisplaySetupBox = 1016;
inline constexpr int kDisplayUninstallBox = 1018;
inline constexpr int kBrowseButton = 1019;
inline constexpr int kTargetDirectoryEdit = 1020;
inline constexpr int kOutputDirectoryEdit = 1021;
inline constexpr int kUsePreinstallerBox = 1022;
inline constexpr int kCancelButton = 1024;
inline constexpr int kSummaryValues = 1025;
inline constexpr int kDefaultCatalogsButton = 1026;
inline constexpr int kDisplaySetupHelp = 1027;
inline constexpr int kCopyFilesHelp = 1028;
inline constexpr int kTargetDirectoryHelp = 1029;
inline constexpr int kDisplayUninstallHelp = 1030;
inline constexpr int kLeaveFilesHelp = 1031;
inline constexpr int kUsePreinstallerHelp = 1032;
inline constexpr int kTargetDirectoryLabel = 1033;
inline constexpr int kTargetDirectoryNote = 1034;
inline constexpr int kComPortKindButton = 1035;
inline constexpr int kFerrolinkKindButton = 1036;
inline constexpr int kSysNameEdit = 1037;
inline constexpr int kInfNameEdit = 1038;
inline constexpr int kSummaryLabels = 1039;
// The certification page's own controls beside the template's three answers: where to read
// more, and the catalog files of "Yes" (which catalogs, their hash, and who signs them).
inline constexpr int kCertificationHelp = 1040;
inline constexpr int kCatalogGroup = 1041;
inline constexpr int kNoCatalogsButton = 1042;
inline constexpr int kUnsignedCatalogsButton = 1043;
inline constexpr int kMakerCertificateButton = 1044;
inline constexpr int kTestCertificateButton = 1045;
inline constexpr int kSha1Button = 1046;
inline constexpr int kSha256Button = 1047;
inline constexpr int kCertificateFileLabel = 1048;
inline constexpr int kCertificateFileEdit = 1049;
inline constexpr int kCertificateFileBrowse = 1050;
inline constexpr int kKeyFileLabel = 1051;
inline constexpr int kKeyFileEdit = 1052;
inline constexpr int kKeyFileBrowse = 1053;
inline constexpr int kPasswordLabel = 1054;
inline constexpr int kPasswordEdit = 1055;
inline constexpr int kTestCertificateFolderLabel = 1056;
inline constexpr int kTestCertificateFolderEdit = 1057;
inline constexpr int kTestCertificateFolderBrowse = 1058;

// The ids by name, for the GUI scenarios, which may name a control instead of giving its number.
struct NamedControl {
    std::string_view name;
    int id;
};

inline constexpr std::array<NamedControl, 56> kNamedControls{{
    {"WelcomeNextButton", kWelcomeNextButton},
    {"UninstallNameEdit", kUninstallNameEdit},
    {"ShortNameEdit", kShortNameEdit},
    {"PidEdit", kPidEdit},
    {"LongNameEdit", kLongNameEdit},
    {"NextButton", kNextButton},
    {"BackButton", kBackButton},
    {"InfPrefixEdit", kInfPrefixEdit},
    {"ComDeviceNameEdit", kComDeviceNameEdit},
    {"UsbDeviceNameEdit", kUsbDeviceNameEdit},
    {"VidEdit", kVidEdit},
    {"CopyFilesBox", kCopyFilesBox},
    {"LeaveFilesBox", kLeaveFilesBox},
    {"PlanCertificationButton", kPlanCertificationButton},
    {"NoCertificationButton", kNoCertificationButton},
    {"DisplaySetupBox", kDisplaySetupBox},
    {"DisplayUninstallBox", kDisplayUninstallBox},
    {"BrowseButton", kBrowseButton},
    {"TargetDirectoryEdit", kTargetDirectoryEdit},
    {"OutputDirectoryEdit", kOutputDirectoryEdit},
    {"UsePreinstallerBox", kUsePreinstallerBox},
    {"CancelButton", kCancelButton},
    {"SummaryValues", kSummaryValues},
    {"DefaultCatalogsButton", kDefaultCatalogsButton},
    {"DisplaySetupHelp", kDisplaySetupHelp},
    {"CopyFilesHelp", kCopyFilesHelp},
    {"TargetDirectoryHelp", kTargetDirectoryHelp},
    {"DisplayUninstallHelp", kDisplayUninstallHelp},
    {"LeaveFilesHelp", kLeaveFilesHelp},
    {"UsePreinstallerHelp", kUsePreinstallerHelp},
    {"TargetDirectoryLabel", kTargetDirectoryLabel},
    {"TargetDirectoryNote", kTargetDirectoryNote},
    {"ComPortKindButton", kComPortKindButton},
    {"FerrolinkKindButton", kFerrolinkKindButton},
    {"SysNameEdit", kSysNameEdit},
    {"InfNameEdit", kInfNameEdit},
    {"SummaryLabels", kSummaryLabels},
    {"CertificationHelp", kCertificationHelp},
    {"CatalogGroup", kCatalogGroup},
    {"NoCatalogsButton", kNoCatalogsButton},
    {"UnsignedCatalogsButton", kUnsignedCatalogsButton},
    {"MakerCertificateButton", kMakerCertificateButton},
    {"TestCertificateButton", kTestCertificateButton},
    {"Sha1Button", kSha1Button},
    {"Sha256Button", kSha256Button},
    {"CertificateFileLabel", kCertificateFileLabel},
    {"CertificateFileEdit", kCertificateFileEdit},
    {"CertificateFileBrowse", kCertificateFileBrowse},
    {"KeyFileLabel", kKeyFileLabel},
    {"KeyFileEdit", kKeyFileEdit},
    {"KeyFileBrowse", kKeyFileBrowse},
    {"PasswordLabel", kPasswordLabel},
    {"PasswordEdit", kPasswordEdit},
    {"TestCertificateFolderLabel", kTestCertificateFolderLabel},
    {"TestCertificateFolderEdit", kTestCertificateFolderEdit},
    {"TestCertificateFolderBrowse", kTestCertificateFolderBrowse},
}};

}  // namespace usbwiz
