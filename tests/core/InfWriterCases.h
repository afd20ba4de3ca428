#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "inf/InfWriters.h"

namespace usbwiz::testing {

// The five INF renderers with what a test needs to know of each: its file name and its fixed
// line count.
struct InfWriterCase {
    std::string_view name;  // also names the expected files in data/: kind<N>-<name>.inf
    std::string (*render)(const WizardSettings&);
    std::string (*fileName)(const WizardSettings&);
    std::size_t lineCount;
};

inline const std::array<InfWriterCase, 5> kInfWriters{{
    {"bus", RenderBusInf, [](const WizardSettings& s) { return s.InfPrefix + "bus.inf"; }, 207},
    {"vxd", RenderVxdPortInf, [](const WizardSettings&) { return std::string("tarnvxd.inf"); },
     289},
    {"w2k", RenderW2kSerialInf, [](const WizardSettings& s) { return s.InfPrefix + "w2k.inf"; },
     143},
    {"wdm", RenderWdmSerialInf, [](const WizardSettings& s) { return s.InfPrefix + "wdm.inf"; },
     150},
    {"ferrolink", RenderFerrolinkInf, [](const WizardSettings& s) { return s.InfName + ".inf"; },
     123},
}};

inline const InfWriterCase& InfWriter(std::string_view name) {
    for (const InfWriterCase& w : kInfWriters)
        if (w.name == name) return w;
    throw std::out_of_range("no INF writer named " + std::string(name));
}

// The expected file of `writer` for the defaults of `kind`, kept in data/.
inline std::string ExpectedInfPath(Package kind, std::string_view writer) {
    return std::string(USBWIZ_TEST_DATA_DIR) + "/kind" + std::to_string(static_cast<int>(kind)) +
           "-" + std::string(writer) + ".inf";
}

}  // namespace usbwiz::testing
