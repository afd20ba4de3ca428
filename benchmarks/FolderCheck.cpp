#include "benchmarks/FolderCheck.h"

#include <fstream>
#include <iterator>
#include <set>

namespace usbwiz {

std::string FolderMismatch(const std::filesystem::path& folder,
                           const std::vector<CapturedFile>& files) {
    std::string mismatch;
    std::set<std::filesystem::path> expected;
    for (const CapturedFile& file : files) {
        expected.insert(std::filesystem::path(file.path).filename());
        std::ifstream in(file.path, std::ios::binary);
        if (!in) {
            mismatch += "cannot read " + file.path + "\n";
            continue;
        }
        const std::string actual{std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>()};
        if (actual != file.Bytes()) mismatch += file.path + " does not hold the expected bytes\n";
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (expected.count(entry.path().filename()) == 0)
            mismatch += "unexpected entry " + entry.path().string() + "\n";
    return mismatch;
}

}  // namespace usbwiz
