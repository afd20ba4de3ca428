#pragma once

namespace usbwiz {

// How a catalog lists a file: PE images by their Authenticode image hash, everything else
// (INF files, text, anything not a well-formed PE image) by the hash of all its bytes. Decided
// for each carried file when the program is built.
enum class MemberKind { Flat, PeImage };

}  // namespace usbwiz
