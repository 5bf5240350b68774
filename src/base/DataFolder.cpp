// Where the game's data folder lies: beside the running executable, else the compiled-in one.
#include "DataFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool isDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// dir (absolute, no trailing slash except for the root) joined with a
// relative path of plain names and ".." parts, resolved without asking the
// file system, so the result names the folder the way a player reads it.
std::string joinLexically(std::string dir, const char* relative) {
    const char* part = relative;
    while (*part) {
        const char* end = std::strchr(part, '/');
        const size_t n = end ? static_cast<size_t>(end - part) : std::strlen(part);
        const std::string name(part, n);
        if (name == "..") {
            const size_t slash = dir.find_last_of('/');
            dir.erase(slash == 0 ? 1 : slash);  // the root's parent is the root
        } else if (!name.empty() && name != ".") {
            if (dir.back() != '/') dir += '/';
            dir += name;
        }
        part += n;
        if (*part == '/') ++part;
    }
    return dir;
}

}  // namespace

bool findDataDirBeside(const char* exePath, char* out, int outSize) {
    const char* slash = std::strrchr(exePath, '/');
    if (exePath[0] != '/' || !slash) return false;
    const std::string exeDir = slash == exePath ? "/" : std::string(exePath, slash);
    for (const char* relative : DATA_DIRS_BESIDE_EXECUTABLE) {
        const std::string dir = joinLexically(exeDir, relative);
        const int length = static_cast<int>(dir.size());
        if (length > DATA_DIR_MAX_LENGTH || length >= outSize) continue;
        if (!isDirectory(dir)) continue;
        std::memcpy(out, dir.c_str(), dir.size() + 1);
        return true;
    }
    return false;
}

const char* startingDataDir(const char* compiledIn) {
    static char found[DATA_DIR_MAX_LENGTH + 1];  // written once, before main
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        exe[n] = '\0';
        if (findDataDirBeside(exe, found, sizeof found)) return found;
    } else if (std::strchr(program_invocation_name, '/')) {  // GCOVR_EXCL_START: see below
        // Tried by a test inside a chroot, where gcov cannot write its counts.
        // No /proc (a bare chroot): argv[0] when it names a path; a bare
        // command name would need the PATH search the shell did.
        if (char* real = realpath(program_invocation_name, nullptr)) {
            const bool ok = findDataDirBeside(real, found, sizeof found);
            std::free(real);
            if (ok) return found;
        }
        // GCOVR_EXCL_STOP
    }
    return compiledIn;
}
