#include <gtest/gtest.h>

#include "cli/SummaryColumns.h"

namespace usbwiz {
namespace {

TEST(SummaryColumns, ValuesStandBesideTheirLabels) {
    struct Case {
        const char* labels;
        const char* values;
        const char* text;
    };
    const Case cases[] = {
        {"* A:\n*Long label:", "1\r\n2", "* A:         1\n*Long label: 2\n"},
        // Empty lines stay, and nothing pads a line without a value.
        {"* A:\n\n* B:", "x\r\n\r\n", "* A: x\n\n* B:\n"},
        // A value keeps its own blanks.
        {"* A:\n* B:", "  v  \r\nw", "* A:   v  \n* B: w\n"},
        // An empty value column (a kind without a summary) leaves the labels alone.
        {"* A:\n* B:", "", "* A:\n* B:\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(SummaryColumns(c.labels, c.values), c.text) << c.labels;
}

}  // namespace
}  // namespace usbwiz
