#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace usbwiz {

// The steps that prepare or inspect the file system around the wizard, on Windows paths. Every
// step throws StepFailed when it cannot do or does not find what it is asked for.
class FileSystemSteps {
  public:
    FileSystemSteps() = default;
    FileSystemSteps(const FileSystemSteps&) = delete;
    FileSystemSteps& operator=(const FileSystemSteps&) = delete;
    ~FileSystemSteps();  // closes every file still held open

    void MakeDirectory(const std::string& path);    // with every missing parent
    void RemoveDirectory(const std::string& path);  // and everything in it; it must exist
    void MakeFile(const std::string& path, const std::string& text);

    // Opens (creating if need be) `path` with no sharing, as another program holding it would,
    // until Release.
    void HoldOpen(const std::string& path);
    void Release(const std::string& path);
    void ReleaseAll();

    void ExpectFile(const std::string& path);
    void ExpectFileText(const std::string& path, const std::string& text);
    void ExpectNoEntry(const std::string& path);
    void ExpectDirectory(const std::string& path);
    // The folder is missing or empty.
    void ExpectNoFiles(const std::string& folder);

  private:
    std::map<std::string, HANDLE> held_;
};

}  // namespace usbwiz
