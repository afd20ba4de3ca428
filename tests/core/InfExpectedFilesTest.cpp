#include <gtest/gtest.h>

#include <filesystem>

#include "generate/GeneratePackage.h"
#include "inf/NoticeBlock.h"
#include "tests/core/DefaultRecord.h"
#include "tests/core/InfWriterCases.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RealFilesPlatform.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TextLines.h"

namespace usbwiz::testing {
namespace {

constexpr Package kKinds[] = {Package::ComPort, Package::Ferrolink};

std::string Expected(Package kind, std::string_view writer) {
    return ReadFileBytes(ExpectedInfPath(kind, writer)).value_or("(missing expected file)");
}

// What the renderer gives for the defaults of `kind`.
std::string Written(Package kind, std::string_view writer) {
    return InfWriter(writer).render(DefaultRecord(kind, "/out/"));
}

TEST(InfExpectedFiles, EveryRendererGivesItsExpectedFileForBothDefaultRecords) {
    for (Package kind : kKinds) {
        for (const InfWriterCase& writer : kInfWriters) {
            SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)) + " " +
                         std::string(writer.name));
            EXPECT_EQ(writer.render(DefaultRecord(kind, "/out/")), Expected(kind, writer.name));
        }
    }
}

// The files written for the default records hold every quoted line, at its place.
TEST(InfExpectedFiles, QuotedLinesStandAtTheirLineNumbers) {
    struct Case {
        Package kind;
        std::string_view writer;
        std::size_t line;
        const char* text;
    };
    const Case cases[] = {
        {Package::ComPort, "bus", 3,
         "; tarnbus.inf   -- Install the KR550x USB Composite Device drivers"},
        {Package::ComPort, "bus", 22, ";CatalogFile=tarnbus.cat"},
        {Package::ComPort, "bus", 64,
         "%TARN.CdcBus.Desc% = TARNWdm.Install, USB\\VID_4E2B&PID_C730"},
        {Package::ComPort, "bus", 163, "DELKEY=HKLM,%WINUN%\\TARNCOMM&4E2B&C730"},
        {Package::ComPort, "bus", 167,
         "HKLM,%WINUN%\\TARNCOMM&4E2B&C730 , \"UninstallString\",,\"%11%\\tarnunin.exe "
         "%11%\\tarnunin.u98\""},
        {Package::ComPort, "bus", 180,
         "HKLM,%WINUN%\\TARNCOMM&4E2B&C730 , \"UninstallString\",,\"%11%\\tarnunin2k.exe "
         "%11%\\tarnunin.u2k\""},
        {Package::ComPort, "bus", 206, ""},
        {Package::ComPort, "bus", 207, ";*** end of file ***"},
        {Package::ComPort, "w2k", 3, "; Name:  tarnw2k.inf"},
        {Package::ComPort, "w2k", 25, ";CatalogFile=tarnser.cat"},
        {Package::ComPort, "w2k", 58,
         "%TARN.Comm.Desc% = TARN.Install, USB\\VID_4E2B&PID_C730&MI_00&OS_NT"},
        {Package::ComPort, "w2k", 128,
         "TARN.Service.Name = \"KR550x USB to UART Bridge Controller Drivers\""},
        {Package::ComPort, "w2k", 141, ""},
        {Package::ComPort, "w2k", 142, ""},
        {Package::ComPort, "w2k", 143, ";*** end of file ***"},
        {Package::ComPort, "wdm", 3, "; Name:  tarnwdm.inf"},
        {Package::ComPort, "wdm", 25, ";CatalogFile=tarnser.cat"},
        {Package::ComPort, "wdm", 71,
         "%TARN.Comm.Desc% = TARN.Install, USB\\VID_4E2B&PID_C730&MI_00&OS_9X"},
        {Package::ComPort, "wdm", 100, "HKR,,CRGuid,,{7A1C3E92-5B40-4D8E-9F21-3C6B8D0E4A75}"},
        {Package::ComPort, "wdm", 136,
         "UpperDescription = \"KR550x USB to UART Bridge Controller\""},
        {Package::ComPort, "wdm", 148, ""},
        {Package::ComPort, "wdm", 149, ""},
        {Package::ComPort, "wdm", 150, ";*** end of file ***"},
        {Package::ComPort, "vxd", 3, "; Name:  tarnvxd.inf "},
        {Package::ComPort, "vxd", 6, ";\tInstall the KR550x USB to UART Bridge Controller (VCOMM)"},
        {Package::ComPort, "vxd", 25, ";CatalogFile=tarnser.cat"},
        {Package::ComPort, "vxd", 283,
         "DriverSet = \"KR550x USB to UART Bridge Controller Software\""},
        {Package::ComPort, "vxd", 289, ";*** end of file ***"},
        {Package::Ferrolink, "vxd", 25, ";CatalogFile=ser.cat"},
        {Package::Ferrolink, "ferrolink", 1, "; Vexmor Ferrolink V2.0 Driver"},
        {Package::Ferrolink, "ferrolink", 3, ""},
        {Package::Ferrolink, "ferrolink", 4, ""},
        {Package::Ferrolink, "ferrolink", 11, ";CatalogFile=TnFrlnk.cat"},
        {Package::Ferrolink, "ferrolink", 120,
         "WINUN=\"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\""},
        {Package::Ferrolink, "ferrolink", 121, ""},
        {Package::Ferrolink, "ferrolink", 122, ""},
        {Package::Ferrolink, "ferrolink", 123, ""},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> lines = SplitCrLfLines(Written(c.kind, c.writer));
        ASSERT_GE(lines.size(), c.line) << c.writer;
        EXPECT_EQ(lines[c.line - 1], c.text)
            << "kind " << int(c.kind) << " " << c.writer << ":" << c.line;
    }
}

// Lines quoted without a line number: how many lines of the file hold the text.
TEST(InfExpectedFiles, QuotedTextsOccurAsOftenAsDescribed) {
    struct Case {
        Package kind;
        std::string_view writer;
        const char* text;
        int lines;
    };
    const Case cases[] = {
        {Package::ComPort, "bus", "TARNCOMM&4E2B&C730", 7},
        {Package::ComPort, "bus", "DriverVer=12/16/2004, 4.28.0.2700", 3},
        {Package::ComPort, "bus", "RemoveDevice \t= TARNWdm.RemDev", 1},
        {Package::ComPort, "wdm", "DriverVer=12/16/2004, 4.28.0.2700", 2},
        {Package::ComPort, "vxd", "\t", 2},
        {Package::ComPort, "vxd", "AddReg\t\t= TARN.W95AddReg,TARN.W95Overrides", 1},
        {Package::ComPort, "vxd", "TARNCR\\{7A1C3E92-5B40-4D8E-9F21-3C6B8D0E4A75}", 1},
        {Package::Ferrolink, "ferrolink", "AddService=TNFRLNK,2,DriverService", 1},
        {Package::Ferrolink, "ferrolink", "ServiceBinary=%10%\\system32\\drivers\\tnfrlnk.sys", 1},
        {Package::Ferrolink, "ferrolink", "%DESCRIPTION%=DriverInstall,USB\\VID_4E2B&PID_C731", 1},
        {Package::Ferrolink, "ferrolink", "[tarnWdmUnInst.NT.Reg]", 1},
        {Package::Ferrolink, "ferrolink", "[tarnWdm.RemDev]", 1},
        {Package::Ferrolink, "ferrolink", "[tarnWdmUnInst.Reg]", 1},
        {Package::Ferrolink, "ferrolink", "[tarnWdm.DelFiles]", 1},
        {Package::Ferrolink, "ferrolink", "TNFRLNK&4E2B&C731", 7},
        {Package::Ferrolink, "ferrolink", "DriverCopyFiles2=11 \t\t;System32", 1},
        {Package::Ferrolink, "ferrolink", "\t\t\t\t\t\t", 1},
        {Package::ComPort, "ferrolink", "AddService=TARN,2,DriverService", 1},
        {Package::ComPort, "ferrolink", "TARN&4E2B&C730", 7},
    };
    for (const Case& c : cases) {
        int found = 0;
        for (const std::string& line : SplitCrLfLines(Written(c.kind, c.writer)))
            if (line.find(c.text) != std::string::npos) ++found;
        EXPECT_EQ(found, c.lines) << "kind " << int(c.kind) << " " << c.writer << ": " << c.text;
    }
    // Exactly three tabs in the VxD file, and its function line is one of the two that hold them.
    const std::string vxd = Written(Package::ComPort, "vxd");
    EXPECT_EQ(std::count(vxd.begin(), vxd.end(), '\t'), 3);
}

// Trailing blanks belong to the text; an editor that strips them would break the files.
TEST(InfExpectedFiles, LinesEndingInBlanksAsDescribed) {
    struct Case {
        std::string_view writer;
        int endingInSpace;
        int endingInTab;
    };
    const Case cases[] = {
        {"bus", 5, 0}, {"w2k", 1, 1}, {"wdm", 1, 0}, {"vxd", 1, 0}, {"ferrolink", 0, 1},
    };
    for (const Case& c : cases) {
        int spaces = 0;
        int tabs = 0;
        for (const std::string& line : SplitCrLfLines(Written(Package::ComPort, c.writer))) {
            spaces += line.ends_with(' ');
            tabs += line.ends_with('\t');
        }
        EXPECT_EQ(spaces, c.endingInSpace) << c.writer;
        EXPECT_EQ(tabs, c.endingInTab) << c.writer;
    }
}

TEST(InfExpectedFiles, LineCountsLineEndsAndNoticeBlocks) {
    struct Notice {
        std::string_view writer;
        std::size_t firstLine;
    };
    const Notice notices[] = {{"bus", 5}, {"w2k", 8}, {"wdm", 8}, {"vxd", 8}};
    for (Package kind : kKinds) {
        for (const InfWriterCase& writer : kInfWriters) {
            SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)) + " " +
                         std::string(writer.name));
            const std::string text = Expected(kind, writer.name);
            EXPECT_TRUE(HasOnlyCrLfLineEnds(text));
            EXPECT_EQ(SplitCrLfLines(text).size(), writer.lineCount);
        }
        for (const Notice& n : notices) {
            const std::vector<std::string> lines = SplitCrLfLines(Expected(kind, n.writer));
            for (std::size_t i = 0; i < kDriverNotice.size(); ++i)
                EXPECT_EQ(lines.at(n.firstLine - 1 + i), kDriverNotice[i]) << n.writer << " " << i;
        }
        EXPECT_EQ(SplitCrLfLines(Expected(kind, "ferrolink")).at(1), kDriverNoticeLine[0]);
    }
}

// On a real disk the file is the text and nothing more: its size is the sum of its line lengths
// plus two bytes per line.
TEST(InfExpectedFiles, WrittenFilesOnDiskHoldExactlyTheText) {
    for (Package kind : kKinds) {
        TempDirectory dir;
        RealFilesPlatform platform;
        const WizardSettings settings = DefaultRecord(kind, dir.Path());
        ASSERT_TRUE(GeneratePackage(settings, platform, EmbeddedPayloads()).written);
        for (const InfWriterCase& writer : kInfWriters) {
            if ((writer.name == "ferrolink") != (kind == Package::Ferrolink)) continue;
            SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)) + " " +
                         std::string(writer.name));
            const std::string path = dir.Path() + writer.fileName(settings);
            const std::string expected = Expected(kind, writer.name);
            EXPECT_EQ(ReadFileBytes(path), expected);

            std::size_t lineBytes = 0;
            for (const std::string& line : SplitCrLfLines(expected)) lineBytes += line.size();
            EXPECT_EQ(std::filesystem::file_size(path), lineBytes + 2 * writer.lineCount);
        }
        EXPECT_TRUE(platform.messages.empty());
    }
}

}  // namespace
}  // namespace usbwiz::testing
