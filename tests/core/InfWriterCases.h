#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "inf/InfWriters.h"
#include "platform/Platform.h"

namespace usbwiz::testing {

// The five INF writers with what a test needs to know of each: its file name, its fixed line
// count and the icon of its open-failure message.
struct InfWriterCase {
    std::string_view name;  // also names the expected files in data/: kind<N>-<name>.inf
    std::optional<WriteFailure> (*write)(const WizardSettings&, Platform&);
    std::string (*fileName)(const WizardSettings&);
    std::size_t lineCount;
    MessageIcon failureIcon;
};

inline const std::array<InfWriterCase, 5> kInfWriters{{
    {"bus", WriteBusInf, [](const WizardSettings& s) { return s.InfPrefix + "bus.inf"; }, 207,
     MessageIcon::Error},
    {"vxd", WriteVxdPortInf, [](const WizardSettings&) { return std::string("tarnvxd.inf"); }, 289,
     MessageIcon::Warning},
    {"w2k", WriteW2kSerialInf, [](const WizardSettings& s) { return s.InfPrefix + "w2k.inf"; }, 143,
     MessageIcon::Error},
    {"wdm", WriteWdmSerialInf, [](const WizardSettings& s) { return s.InfPrefix + "wdm.inf"; }, 150,
     MessageIcon::Error},
    {"ferrolink", WriteFerrolinkInf, [](const WizardSettings& s) { return s.InfName + ".inf"; },
     123, MessageIcon::Error},
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
