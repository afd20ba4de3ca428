// Every row of tests/names/names.table through usbdrvgen: refused names write nothing, accepted
// ones write the package (the setup-API test reads the accepted ones back under Wine).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/RunUsbDrvGen.h"
#include "tests/support/RecordingPlatform.h"
#include "tests/support/TestRunContext.h"

namespace usbwiz {
namespace {

struct Row {
    std::string kind, option, value, outcome;
};

std::vector<Row> ReadTable() {
    std::ifstream file(USBWIZ_NAMES_TABLE, std::ios::binary);
    std::vector<Row> rows;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line.front() == '#') continue;
        std::istringstream fields(line);
        Row row;
        std::getline(fields, row.kind, '\t');
        std::getline(fields, row.option, '\t');
        std::getline(fields, row.value, '\t');
        std::getline(fields, row.outcome);
        rows.push_back(row);
    }
    return rows;
}

TEST(NamesTable, RefusedNamesWriteNothingAcceptedOnesThePackage) {
    const std::vector<Row> rows = ReadTable();
    ASSERT_GT(rows.size(), 60u) << USBWIZ_NAMES_TABLE;
    for (const Row& row : rows) {
        testing::RecordingPlatform platform;
        platform.directories = {"/o"};
        testing::TestRunContext run;
        const std::vector<std::string> args{"--kind", row.kind,  "--out",
                                            "/o",     "--quiet", row.option + "=" + row.value};
        const int status = RunUsbDrvGen(args, platform, EmbeddedPayloads(), run.Context());
        const std::ostringstream& errors = run.errors;
        const std::string where = row.option + " '" + row.value + "'";
        if (row.outcome == "accepted") {
            EXPECT_EQ(status, kExitWritten) << where << ": " << errors.str();
            EXPECT_EQ(platform.WrittenPaths().size(), row.kind == "com" ? 20u : 9u) << where;
        } else {
            EXPECT_EQ(status, kExitRefused) << where;
            EXPECT_EQ(errors.str(), "usbdrvgen: " + row.option + ": " + row.outcome + "\n");
            EXPECT_TRUE(platform.writeAttempts.empty()) << where;
        }
    }
}

}  // namespace
}  // namespace usbwiz
