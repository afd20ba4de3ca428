// The yardstick for usbdrvgen's start-up: a program that does nothing but write the bytes of one
// package, compiled in beforehand, with open, write and close. startup.sh generates the file
// list (PACKAGE_FILE(index, "name", "path") lines) and builds this once per run.
// Usage: precomputed-writer DIR
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#define PACKAGE_FILE(n, name, path)                                                     \
    __asm__(".section .rodata\n.balign 16\nfile_" #n ": .incbin \"" path "\"\nfile_" #n \
            "_end:\n.previous\n");                                                      \
    extern const char file_##n[], file_##n##_end[];
#include PACKAGE_FILES
#undef PACKAGE_FILE

static const struct {
    const char* name;
    const char* begin;
    const char* end;
} kFiles[] = {
#define PACKAGE_FILE(n, name, path) {name, file_##n, file_##n##_end},
#include PACKAGE_FILES
#undef PACKAGE_FILE
};

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    // Like usbdrvgen, it creates the package's folder (one level is enough here).
    if (mkdir(argv[1], 0755) != 0 && errno != EEXIST) return 1;
    char path[4096];
    for (size_t i = 0; i < sizeof kFiles / sizeof kFiles[0]; ++i) {
        snprintf(path, sizeof path, "%s/%s", argv[1], kFiles[i].name);
        const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return 1;
        const size_t size = (size_t)(kFiles[i].end - kFiles[i].begin);
        const ssize_t written = write(fd, kFiles[i].begin, size);
        if (close(fd) != 0 || written != (ssize_t)size) return 1;
    }
    return 0;
}
