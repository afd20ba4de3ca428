#pragma once

#include <string_view>

namespace usbwiz {

// What verify says of one file of a package (or of a catalog's signature, or of a member no file
// has). The notes (Unsigned, NotNamed, NoFile) are facts Windows does not refuse a package for.
enum class Verdict {
    Ok,
    Missing,            // an INF names it; the folder has no file of that name
    Ambiguous,          // more than one file of the folder has that name but for case
    Unreadable,         // the file cannot be read
    Changed,            // its catalog lists another digest under its name
    WrongCatalog,       // listed in another catalog of the folder, not in the one its INF names
    NotListed,          // its digest is not in the catalog its INF names
    NoCatalog,          // its INF names no catalog, or one the folder does not hold
    Stray,              // a driver file (.sys, .dll, .vxd, .drv, .cat) that no INF names
    BadSignature,       // the catalog's signature does not hold
    CannotCheck,        // the signature uses an algorithm this build cannot check
    Expired,            // a certificate of the signature expired before now
    NotYetValid,        // a certificate of the signature is not valid yet
    NotForCodeSigning,  // the signer's certificate may not sign code
    Untrusted,          // the signer does not chain to a given root (or the catalog is unsigned)
    Unsigned,           // note: the catalog has no signature, and no root was given
    NotNamed,           // note: any other file of the folder that no INF names
    NoFile,             // note: a catalog member that no file the INF files name has
};

struct VerdictText {
    Verdict verdict;
    std::string_view word;
    bool fails;
};

inline constexpr VerdictText kVerdicts[] = {
    {Verdict::Ok, "ok", false},
    {Verdict::Missing, "missing", true},
    {Verdict::Ambiguous, "ambiguous", true},
    {Verdict::Unreadable, "unreadable", true},
    {Verdict::Changed, "changed", true},
    {Verdict::WrongCatalog, "wrong catalog", true},
    {Verdict::NotListed, "not listed", true},
    {Verdict::NoCatalog, "no catalog", true},
    {Verdict::Stray, "stray", true},
    {Verdict::BadSignature, "bad signature", true},
    {Verdict::CannotCheck, "cannot check", true},
    {Verdict::Expired, "expired", true},
    {Verdict::NotYetValid, "not yet valid", true},
    {Verdict::NotForCodeSigning, "not for code signing", true},
    {Verdict::Untrusted, "untrusted", true},
    {Verdict::Unsigned, "unsigned", false},
    {Verdict::NotNamed, "not named", false},
    {Verdict::NoFile, "no file", false},
};

constexpr const VerdictText& TextOf(Verdict verdict) {
    return kVerdicts[static_cast<int>(verdict)];
}

}  // namespace usbwiz
