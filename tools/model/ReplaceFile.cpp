// Temporary file, written and synced, then renamed over the target.
#include "ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool fail(const std::string& path, const char* what, int error) {
    std::fprintf(stderr, "tovask-model: cannot write %s: %s: %s\n", path.c_str(), what,
                 std::strerror(error));
    return false;
}

// Permission bits for the result: the replaced file's, or what creating it would give.
mode_t targetMode(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0) return info.st_mode & 0777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// A pipe or a device (/dev/stdout, a FIFO) is written in place: renaming over
// it would put a plain file where the device was, and /dev/null is no place
// for one.
bool writeInPlace(const std::string& path, const std::vector<uint8_t>& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return fail(path, "opening", errno);
    const bool written = writeAll(fd, bytes);
    const int error = errno;
    close(fd);
    return written || fail(path, "writing", error);
}

}  // namespace

bool replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return writeInPlace(path, bytes);
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = folder + (slash == std::string::npos ? "/." : ".") + name + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) return fail(path, "no temporary file in its folder", errno);
    const char* what = !writeAll(fd, bytes)                ? "writing"
                       : fchmod(fd, targetMode(path)) != 0 ? "setting permissions"
                       : fsync(fd) != 0                    ? "syncing"
                                                           : nullptr;
    int error = what ? errno : 0;
    if (close(fd) != 0 && !what) what = "closing", error = errno;
    if (!what && std::rename(temporary.c_str(), path.c_str()) != 0)
        what = "renaming", error = errno;
    if (!what) return true;
    unlink(temporary.c_str());
    return fail(path, what, error);
}
