#include "cli/SystemErrorText.h"

#ifdef _WIN32
#include "platform/Win32Platform.h"
#else
#include <cerrno>
#include <cstring>
#endif

namespace usbwiz {

std::string SystemErrorText() {
#ifdef _WIN32
    return LastErrorText();
#else
    return std::strerror(errno);
#endif
}

}  // namespace usbwiz
