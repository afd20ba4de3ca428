#include "pages/CertificationPage.h"
#include "pages/FieldPage.h"
#include "pages/OptionsPage.h"
#include "pages/OutputDirectoryPage.h"
#include "pages/Page.h"
#include "pages/SummaryPage.h"
#include "pages/UsbIdsPage.h"
#include "pages/WarningPage.h"
#include "pages/WelcomePage.h"

namespace usbwiz {

std::unique_ptr<Page> CreatePage(PageId id, const WizardSettings& settings,
                                 PageServices& services) {
    switch (id) {
        case PageId::Welcome:
            return std::make_unique<WelcomePage>(settings, services);
        case PageId::Warning:
            return std::make_unique<WarningPage>(settings, services);
        case PageId::ComNames:
            return std::make_unique<ComNamesPage>(settings, services);
        case PageId::ComDeviceNames:
            return std::make_unique<ComDeviceNamesPage>(settings, services);
        case PageId::ComIds:
            return std::make_unique<ComIdsPage>(settings, services);
        case PageId::FerrolinkNames:
            return std::make_unique<FerrolinkNamesPage>(settings, services);
        case PageId::FerrolinkDeviceName:
            return std::make_unique<FerrolinkDeviceNamePage>(settings, services);
        case PageId::FerrolinkIds:
            return std::make_unique<FerrolinkIdsPage>(settings, services);
        case PageId::Options:
            return std::make_unique<OptionsPage>(settings, services);
        case PageId::Certification:
            return std::make_unique<CertificationPage>(settings, services);
        case PageId::OutputDirectory:
            return std::make_unique<OutputDirectoryPage>(settings, services);
        case PageId::Summary:
            return std::make_unique<SummaryPage>(settings, services);
    }
    return nullptr;
}

}  // namespace usbwiz
