// Builds an unsigned catalog from files, for the tests: natively and, from the Windows build,
// under Wine, so that both builds' hashing and catalog code can be compared byte for byte.
// Usage: MakeCatalog [--list-id HEX] sha1|sha256 SECONDS OSATTR OUT.cat NAME=PATH...
// Without --list-id the list identifier is ListIdentifierOf the members.
#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

#include "catalog/CatalogFile.h"
#include "catalog/ListIdentifier.h"

namespace {

std::array<std::uint8_t, 16> ParseListIdentifier(const std::string& hex) {
    std::array<std::uint8_t, 16> identifier{};
    if (hex.size() != 2 * identifier.size())
        throw std::runtime_error("--list-id takes 32 hex digits");
    for (std::size_t i = 0; i < identifier.size(); ++i)
        identifier[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    return identifier;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv) {
    using namespace usbwiz;
    std::optional<std::string> listIdentifier;
    if (argc > 2 && std::string(argv[1]) == "--list-id") {
        listIdentifier = argv[2];
        argv += 2;
        argc -= 2;
    }
    if (argc < 6) {
        std::cerr << "usage: MakeCatalog [--list-id HEX] sha1|sha256 SECONDS OSATTR OUT.cat "
                     "NAME=PATH...\n";
        return 2;
    }
    try {
        CatalogContents contents;
        contents.algorithm =
            std::string(argv[1]) == "sha256" ? HashAlgorithm::Sha256 : HashAlgorithm::Sha1;
        contents.creationTime = std::stoll(argv[2]);
        contents.osAttribute = argv[3];
        for (int i = 5; i < argc; ++i) {
            const std::string arg = argv[i];
            const std::size_t equals = arg.find('=');
            if (equals == std::string::npos) throw std::runtime_error("not NAME=PATH: " + arg);
            contents.members.push_back(
                {arg.substr(0, equals),
                 ComputeMemberDigests(ReadFile(arg.substr(equals + 1)), contents.algorithm)});
        }
        contents.listIdentifier = listIdentifier ? ParseListIdentifier(*listIdentifier)
                                                 : ListIdentifierOf(contents.members);
        const std::string catalog = BuildCatalogFile(contents);
        std::ofstream out(argv[4], std::ios::binary);
        out.write(catalog.data(), static_cast<std::streamsize>(catalog.size()));
        if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[4]);
    } catch (const std::exception& e) {
        std::cerr << "MakeCatalog: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
