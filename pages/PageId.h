#pragma once

#include <array>

namespace usbwiz {

// Every page of the wizard, by the dialog template it is built from.
enum class PageId : int {
    Welcome = 206,
    Warning = 212,
    ComNames = 133,
    ComDeviceNames = 134,
    ComIds = 135,
    FerrolinkNames = 213,
    FerrolinkDeviceName = 214,
    FerrolinkIds = 215,
    Options = 136,
    Certification = 137,  // a template no page of the chain opens
    OutputDirectory = 140,
    Summary = 141,
};

// Every page, for code that visits them all.
inline constexpr std::array<PageId, 12> kAllPages{
    PageId::Welcome,
    PageId::Warning,
    PageId::ComNames,
    PageId::ComDeviceNames,
    PageId::ComIds,
    PageId::FerrolinkNames,
    PageId::FerrolinkDeviceName,
    PageId::FerrolinkIds,
    PageId::Options,
    PageId::Certification,
    PageId::OutputDirectory,
    PageId::Summary,
};

}  // namespace usbwiz
