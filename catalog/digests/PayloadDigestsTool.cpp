// Run while the program is built, on the build machine: writes the digests of the carried files
// that catalogs need (their Authenticode image hash or flat hash, SHA-1 and SHA-256), their
// sizes and SHA-256, so that the program never hashes them at run time.
// Usage: payload-digests OUTPUT.inc ID FILE [ID FILE ...]
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "catalog/MemberDigests.h"

namespace {

// Octal escapes are never extended by the next character, unlike \x; the length is given, as a
// digest may hold a zero byte.
std::string Literal(const std::string& bytes) {
    std::string literal = "std::string_view(\"";
    for (const char c : bytes) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\%03o", static_cast<unsigned char>(c));
        literal += escaped;
    }
    return literal + "\", " + std::to_string(bytes.size()) + ")";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace usbwiz;
    if (argc < 2 || argc % 2 != 0) {
        std::cerr << "usage: payload-digests OUTPUT.inc ID FILE [ID FILE ...]\n";
        return 2;
    }
    std::ostringstream out;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::ifstream file(argv[i + 1], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
        if (!file.good() && !file.eof()) {
            std::cerr << "payload-digests: cannot read " << argv[i + 1] << '\n';
            return 1;
        }
        const MemberDigests digests = ComputeMemberDigests(bytes, HashAlgorithm::Sha256);
        out << "    {" << argv[i] << ", "
            << (digests.kind == MemberKind::PeImage ? "MemberKind::PeImage" : "MemberKind::Flat")
            << ", " << Literal(digests.sha1) << ", " << Literal(digests.digest) << ", "
            << bytes.size() << "u, " << Literal(Digest(HashAlgorithm::Sha256, bytes)) << "},\n";
    }
    std::ofstream(argv[1], std::ios::binary) << out.str();
    return 0;
}
