#pragma once

#include <string>

namespace usbwiz {

// A new name for a temporary file of ours, as kTemporaryNameForm (Platform.h) describes it:
// recognisably ours, and never a name of a package (those end in .inf, .ini, .u98, .u2k, .cat,
// .cer, .exe, .sys or .vxd). Every temporary name of a platform comes from its one definition of
// this, which numbers its names from a start of its own process through TemporaryFileName(n).
std::string TemporaryFileName();

// The temporary name numbered `number`: its low sixteen bits in four hexadecimal digits, so that
// the name is as long whatever the process or how many names came before.
std::string TemporaryFileName(unsigned number);

// Where a process starts numbering its temporary names: spread out, so that runs with nearby
// process ids start far apart (a name another run holds is passed over anyway).
unsigned FirstTemporaryNumber(unsigned processId);

}  // namespace usbwiz
