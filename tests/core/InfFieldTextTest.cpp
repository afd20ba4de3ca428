#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "generate/GeneratePackage.h"
#include "generate/GenerationPlan.h"
#include "inf/InfStem.h"
#include "settings/SettingsFields.h"
#include "tests/core/DefaultRecord.h"
#include "tests/core/InfWriterCases.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TextLines.h"

namespace usbwiz::testing {
namespace {

// The text `writer` renders for the record; when the record's package holds that text, it must
// hold it under `fileName` (a marker text otherwise).
std::string RenderInf(const InfWriterCase& writer, const WizardSettings& settings,
                      const std::string& fileName) {
    for (const PlannedFile& file : GenerationPlan(settings))
        if (file.render == writer.render && file.name != fileName)
            return "(planned as " + file.name + ", not " + fileName + ")";
    return writer.render(settings);
}

using Changes = std::map<int, std::string>;

// A change to a default record, and exactly the lines of one INF file that it changes.
struct FieldCase {
    const char* label;
    Package kind;
    std::function<void(WizardSettings&)> change;
    std::string_view writer;
    std::string fileName;
    Changes changedLines;
};

const std::string kSpecial = "A \"q\" 50% ;c\\d";

std::vector<FieldCase> FieldCases() {
    auto prefix = [](const char* p) { return [p](WizardSettings& s) { s.InfPrefix = p; }; };
    auto comName = [](const char* n) { return [n](WizardSettings& s) { s.ComDeviceName = n; }; };
    auto usbName = [](const char* n) { return [n](WizardSettings& s) { s.UsbDeviceName = n; }; };
    auto certify = [](std::int32_t c) {
        return [c](WizardSettings& s) { s.CertificationChoice = c; };
    };
    auto kind = [](Package k) { return [k](WizardSettings& s) { s.PackageKind = k; }; };
    const auto uninstallKeyLines = [](const std::string& key) {
        return Changes{
            {163, "DELKEY=HKLM,%WINUN%\\" + key},
            {166, "HKLM,%WINUN%,\"" + key + "\""},
            {167, "HKLM,%WINUN%\\" + key +
                      " , \"UninstallString\",,\"%11%\\tarnunin.exe %11%\\tarnunin.u98\""},
            {168, "HKLM,%WINUN%\\" + key +
                      " , \"DisplayName\",,\"KR550x USB to UART Bridge Controller\""},
            {179, "HKLM,%WINUN%,\"" + key + "\""},
            {180, "HKLM,%WINUN%\\" + key +
                      " , \"UninstallString\",,\"%11%\\tarnunin2k.exe %11%\\tarnunin.u2k\""},
            {181, "HKLM,%WINUN%\\" + key +
                      " , \"DisplayName\",,\"KR550x USB to UART Bridge Controller\""},
        };
    };
    const auto ferrolinkKeyLines = [](const std::string& key) {
        return Changes{
            {70, "HKLM,%WINUN%,\"" + key + "\""},
            {71, "HKLM,%WINUN%\\" + key +
                     " , \"UninstallString\",,\"%11%\\tnflunin2k.exe %11%\\tnflunin.u2k\""},
            {72, "HKLM,%WINUN%\\" + key + " , \"DisplayName\",,\"Ferrolink Device Driver Set\""},
            {99, "DELKEY=HKLM,%WINUN%\\" + key},
            {102, "HKLM,%WINUN%,\"" + key + "\""},
            {103, "HKLM,%WINUN%\\" + key +
                      " , \"UninstallString\",,\"%11%\\tnflunin.exe %11%\\tnflunin.u98\""},
            {104, "HKLM,%WINUN%\\" + key + " , \"DisplayName\",,\"Ferrolink Device Driver Set\""},
        };
    };
    auto with = [](Changes base, Changes more) {
        base.merge(more);
        return base;
    };

    return {
        // InfPrefix is written as typed, upper-cased only in the uninstall key name.
        {"lower-case prefix", Package::ComPort, prefix("abc"), "bus", "abcbus.inf",
         with(uninstallKeyLines("ABCCOMM&4E2B&C730"),
              {{3, "; abcbus.inf   -- Install the KR550x USB Composite Device drivers"},
               {22, ";CatalogFile=abcbus.cat"}})},
        {"upper-case prefix",
         Package::ComPort,
         prefix("TARN"),
         "bus",
         "TARNbus.inf",
         {{3, "; TARNbus.inf   -- Install the KR550x USB Composite Device drivers"},
          {22, ";CatalogFile=TARNbus.cat"}}},
        {"lower-case prefix",
         Package::ComPort,
         prefix("abc"),
         "w2k",
         "abcw2k.inf",
         {{3, "; Name:  abcw2k.inf"}, {25, ";CatalogFile=abcser.cat"}}},
        {"lower-case prefix",
         Package::ComPort,
         prefix("abc"),
         "wdm",
         "abcwdm.inf",
         {{3, "; Name:  abcwdm.inf"}, {25, ";CatalogFile=abcser.cat"}}},
        {"lower-case prefix",
         Package::ComPort,
         prefix("abc"),
         "vxd",
         "tarnvxd.inf",
         {{25, ";CatalogFile=abcser.cat"}}},
        {"empty prefix",
         Package::ComPort,
         prefix(""),
         "vxd",
         "tarnvxd.inf",
         {{25, ";CatalogFile=ser.cat"}}},
        {"lower-case InfName", Package::Ferrolink, [](WizardSettings& s) { s.InfName = "mydev"; },
         "ferrolink", "mydev.inf",
         with(ferrolinkKeyLines("MYDEV&4E2B&C731"), {{55, "AddService=MYDEV,2,DriverService"}})},
        {"Pid 1234", Package::Ferrolink, [](WizardSettings& s) { s.Pid = "1234"; }, "ferrolink",
         "tnfrlnk.inf",
         with(ferrolinkKeyLines("TNFRLNK&4E2B&1234"),
              {{33, "%DESCRIPTION%=DriverInstall,USB\\VID_4E2B&PID_1234"}})},
        // Vid and Pid go out exactly as stored, while the InfStem beside them is upper case.
        {"lower-case Vid", Package::ComPort, [](WizardSettings& s) { s.Vid = "4e2b"; }, "bus",
         "tarnbus.inf",
         with(uninstallKeyLines("TARNCOMM&4e2b&C730"),
              {{64, "%TARN.CdcBus.Desc% = TARNWdm.Install, USB\\VID_4e2b&PID_C730"}})},

        // Empty fields leave the rest of their lines.
        {"empty COM device name",
         Package::ComPort,
         comName(""),
         "bus",
         "tarnbus.inf",
         {{168, "HKLM,%WINUN%\\TARNCOMM&4E2B&C730 , \"DisplayName\",,\"\""},
          {181, "HKLM,%WINUN%\\TARNCOMM&4E2B&C730 , \"DisplayName\",,\"\""},
          {197, "CustomerDataPath = \"\""},
          {198, "DriverSet = \" Software\""}}},
        {"empty COM device name",
         Package::ComPort,
         comName(""),
         "vxd",
         "tarnvxd.inf",
         {{6, ";\tInstall the  (VCOMM)"},
          {280, "PortDesc = \"\""},
          {282, "CustomerDataPath = \"\""},
          {283, "DriverSet = \" Software\""}}},
        {"empty COM device name",
         Package::ComPort,
         comName(""),
         "w2k",
         "tarnw2k.inf",
         {{6, ";\tInstall the  (WDM) on Win2000"},
          {125, "DiskString = \" Drivers\""},
          {127, "TARN.Comm.Desc = \"\""},
          {128, "TARN.Service.Name = \" Drivers\""},
          {129, "TARN.Service.Desc = \" Drivers\""},
          {132, "CustomerDataPath = \"\""},
          {133, "DriverSet = \" Driver Set\""}}},
        {"empty COM device name",
         Package::ComPort,
         comName(""),
         "wdm",
         "tarnwdm.inf",
         {{6, ";\tInstall the  (WDM) on Win9x"},
          {133, "DiskString = \" Drivers\""},
          {135, "TARN.Comm.Desc = \"\""},
          {136, "UpperDescription = \"\""},
          {138, "CustomerDataPath = \"\""},
          {139, "DriverSet = \" Driver Set\""}}},
        {"empty USB device name",
         Package::ComPort,
         usbName(""),
         "bus",
         "tarnbus.inf",
         {{3, "; tarnbus.inf   -- Install the  drivers"},
          {191, "DiskString = \" Installation disk\""},
          {194, "TARN.CdcBus.Desc = \"\""},
          {195, "TARN.Service.Desc = \" driver (WDM)\""}}},
        {"empty USB device name",
         Package::Ferrolink,
         usbName(""),
         "ferrolink",
         "tnfrlnk.inf",
         {{72, "HKLM,%WINUN%\\TNFRLNK&4E2B&C731 , \"DisplayName\",,\" Driver Set\""},
          {104, "HKLM,%WINUN%\\TNFRLNK&4E2B&C731 , \"DisplayName\",,\" Driver Set\""},
          {117, "INSTDISK=\"Tarnwell  Installation Disc\""},
          {118, "DESCRIPTION=\"\""},
          {119, "FRIENDLYNAME=\"\""}}},
        {"empty ShortName",
         Package::Ferrolink,
         [](WizardSettings& s) { s.ShortName = ""; },
         "ferrolink",
         "tnfrlnk.inf",
         {{64, "AddReg=DriverHwAddReg, WdmUnInst.NT.Reg"},
          {69, "[WdmUnInst.NT.Reg]"},
          {94, "AddReg=DriverHwAddReg, WdmUnInst.Reg"},
          {95, "RemoveDevice \t= Wdm.RemDev"},
          {98, "[Wdm.RemDev]"},
          {101, "[WdmUnInst.Reg]"},
          {106, "[Wdm.DelFiles]"}}},

        // Quotes, percent signs, semicolons and backslashes are not escaped.
        {"special LongName",
         Package::ComPort,
         [](WizardSettings& s) { s.LongName = kSpecial; },
         "bus",
         "tarnbus.inf",
         {{189, "Provider = \"" + kSpecial + "\""}, {190, "TARN = \"" + kSpecial + "\""}}},
        {"special LongName",
         Package::Ferrolink,
         [](WizardSettings& s) { s.LongName = kSpecial; },
         "ferrolink",
         "tnfrlnk.inf",
         {{116, "MFGNAME=\"" + kSpecial + "\""},
          {117, "INSTDISK=\"" + kSpecial + " Ferrolink Device Installation Disc\""}}},
        {"special COM device name",
         Package::ComPort,
         [](WizardSettings& s) { s.ComDeviceName = kSpecial; },
         "vxd",
         "tarnvxd.inf",
         {{6, ";\tInstall the " + kSpecial + " (VCOMM)"},
          {280, "PortDesc = \"" + kSpecial + "\""},
          {282, "CustomerDataPath = \"" + kSpecial + "\""},
          {283, "DriverSet = \"" + kSpecial + " Software\""}}},

        // Certification activates the catalog line of the four COM port INFs only.
        {"certification",
         Package::ComPort,
         certify(1),
         "bus",
         "tarnbus.inf",
         {{22, "CatalogFile=tarnbus.cat"}}},
        {"certification",
         Package::ComPort,
         certify(1),
         "vxd",
         "tarnvxd.inf",
         {{25, "CatalogFile=tarnser.cat"}}},
        {"certification",
         Package::ComPort,
         certify(1),
         "w2k",
         "tarnw2k.inf",
         {{25, "CatalogFile=tarnser.cat"}}},
        {"certification",
         Package::ComPort,
         certify(1),
         "wdm",
         "tarnwdm.inf",
         {{25, "CatalogFile=tarnser.cat"}}},
        {"certification", Package::Ferrolink, certify(1), "ferrolink", "tnfrlnk.inf", {}},
        {"certification -1",
         Package::ComPort,
         certify(-1),
         "bus",
         "tarnbus.inf",
         {{22, "CatalogFile=tarnbus.cat"}}},

        // Fields and values a file does not use leave it unchanged, byte for byte.
        {"other uninstall name",
         Package::ComPort,
         [](WizardSettings& s) { s.UninstallName = "x"; },
         "w2k",
         "tarnw2k.inf",
         {}},
        {"other uninstall name",
         Package::ComPort,
         [](WizardSettings& s) { s.UninstallName = "x"; },
         "wdm",
         "tarnwdm.inf",
         {}},
        {"other USB device name", Package::ComPort, usbName("x"), "w2k", "tarnw2k.inf", {}},
        {"other USB device name", Package::ComPort, usbName("x"), "wdm", "tarnwdm.inf", {}},
        {"other USB device name", Package::ComPort, usbName("x"), "vxd", "tarnvxd.inf", {}},
        {"other ShortName",
         Package::ComPort,
         [](WizardSettings& s) { s.ShortName = "zq"; },
         "bus",
         "tarnbus.inf",
         {}},
        {"other Vid",
         Package::ComPort,
         [](WizardSettings& s) { s.Vid = "FFFF"; },
         "vxd",
         "tarnvxd.inf",
         {}},
        {"kind 2 record", Package::ComPort, kind(Package::Ferrolink), "vxd", "tarnvxd.inf", {}},
        {"kind 0 record", Package::ComPort, kind(Package::None), "vxd", "tarnvxd.inf", {}},
        {"flags",
         Package::ComPort,
         [](WizardSettings& s) {
             for (const FlagField& f : kFlagFields)
                 if (f.name != "CertificationChoice") s.*(f.member) = 1;
         },
         "bus",
         "tarnbus.inf",
         {}},

        // Without a kind of its own the Ferrolink INF has no InfStem.
        {"kind 0 record", Package::Ferrolink, kind(Package::None), "ferrolink", "tnfrlnk.inf",
         with(ferrolinkKeyLines("&4E2B&C731"), {{55, "AddService=,2,DriverService"}})},
        {"kind 3 record", Package::Ferrolink, kind(Package{3}), "ferrolink", "tnfrlnk.inf",
         with(ferrolinkKeyLines("&4E2B&C731"), {{55, "AddService=,2,DriverService"}})},
    };
}

TEST(InfFieldText, EachChangeAltersExactlyItsLines) {
    for (const FieldCase& c : FieldCases()) {
        SCOPED_TRACE(std::string(c.label) + " in " + std::string(c.writer));
        WizardSettings settings = DefaultRecord(c.kind, "/out/");
        c.change(settings);
        const std::string base = ReadFileBytes(ExpectedInfPath(c.kind, c.writer)).value_or("");
        EXPECT_EQ(ChangedLines(base, RenderInf(InfWriter(c.writer), settings, c.fileName)),
                  c.changedLines);
    }
}

// Whatever the texts hold (short of line breaks), every file keeps its line count and ends
// each line, and only each line, with CR LF.
TEST(InfFieldText, LineCountAndLineEndsDoNotDependOnTheTexts) {
    auto everyText = [](Package kind, const std::string& text) {
        WizardSettings s = DefaultRecord(kind, "/out/");
        for (const TextField& f : kTextFields)
            if (f.name != "GenerationDirectory") s.*(f.member) = text;
        return s;
    };
    const WizardSettings records[] = {
        DefaultRecord(Package::ComPort, "/out/"), DefaultRecord(Package::Ferrolink, "/out/"),
        everyText(Package::ComPort, ""),          everyText(Package::Ferrolink, ""),
        everyText(Package::ComPort, kSpecial),    everyText(Package::Ferrolink, "{{TAB}} {{END}}"),
    };
    for (const WizardSettings& record : records) {
        for (const InfWriterCase& writer : kInfWriters) {
            SCOPED_TRACE(std::string(writer.name) + " with \"" + record.LongName + "\"");
            const std::string text = RenderInf(writer, record, writer.fileName(record));
            EXPECT_TRUE(HasOnlyCrLfLineEnds(text));
            EXPECT_EQ(SplitCrLfLines(text).size(), writer.lineCount);
        }
    }
}

// A marker typed into a field is field text like any other: it is not expanded again.
TEST(InfFieldText, MarkersInsideFieldTextAreWrittenAsTyped) {
    WizardSettings settings = DefaultRecord(Package::ComPort, "/out/");
    settings.LongName = "{{TAB}}{{InfPrefix}}";
    const std::vector<std::string> lines =
        SplitCrLfLines(RenderInf(InfWriter("w2k"), settings, "tarnw2k.inf"));
    EXPECT_EQ(lines.at(122), "Provider = \"{{TAB}}{{InfPrefix}}\"");
}

// Generation upper-cases the COM port package's ShortName in the caller's record, whether the
// files are written or not; the Ferrolink package's stays as typed (it names INF sections).
TEST(InfFieldText, GenerationUpperCasesShortNameInTheCallersRecord) {
    struct Case {
        const char* shortName;
        const char* upper;
    };
    const Case cases[] = {
        {"tarn", "TARN"}, {"Tarn well 7_x", "TARN WELL 7_X"}, {"", ""}, {"TARN", "TARN"}};
    for (const Case& c : cases) {
        for (const Package kind : {Package::ComPort, Package::Ferrolink}) {
            SCOPED_TRACE(std::string(c.shortName) + " kind " +
                         std::to_string(static_cast<int>(kind)));
            WizardSettings settings = DefaultRecord(kind, "/out/");
            settings.ShortName = c.shortName;
            WizardSettings expected = settings;
            if (kind == Package::ComPort) expected.ShortName = c.upper;

            UpperCaseShortNameForGeneration(settings);
            EXPECT_EQ(settings, expected);
        }
    }
}

TEST(InfFieldText, UpperInfStemAndCatalogComment) {
    struct Case {
        Package kind;
        const char* upperStem;
    };
    const Case cases[] = {{Package::None, ""},
                          {Package::ComPort, "MY-PRE_9"},
                          {Package::Ferrolink, "NAME.X"},
                          {Package{3}, ""},
                          {Package{255}, ""}};
    for (const Case& c : cases) {
        WizardSettings s;
        s.PackageKind = c.kind;
        s.InfPrefix = "mY-pre_9";
        s.InfName = "name.x";
        const WizardSettings before = s;
        EXPECT_EQ(GetUpperInfStem(s), c.upperStem) << int(c.kind);
        EXPECT_EQ(s, before);
    }
    for (const std::int32_t choice : {0, 1, 2, -1}) {
        WizardSettings s;
        s.CertificationChoice = choice;
        EXPECT_EQ(CatalogComment(s), choice == 0 ? ";" : "") << choice;
    }
}

}  // namespace
}  // namespace usbwiz::testing
