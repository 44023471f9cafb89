#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace corvan {
namespace fs = std::filesystem;

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string bytes;
    // Data files run to megabytes (the vehicle files of the shell): one buffer of the file's
    // size instead of growing it chunk by chunk.
    struct stat st {};
    if (::fstat(::fileno(f), &st) == 0 && st.st_size > 0) bytes.reserve(size_t(st.st_size));
    char buf[16384];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return bytes;
}

namespace {

bool writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

}  // namespace

bool writeFileAtomic(const fs::path& path, std::string_view bytes) {
    // mkstemp gives a unique temporary name in the same folder, so the rename stays on one
    // file system and is atomic.
    fs::path tmpl = path;
    tmpl += ".tmp.XXXXXX";
    std::string name = tmpl.string();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    // mkstemp creates the file 0600; keep the mode of the file it replaces, else 0644.
    if (ok) {
        struct stat old {};
        const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
        ok = ::fchmod(fd, mode) == 0;
    }
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = std::rename(name.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(name.c_str());
        return false;
    }
    // Make the rename itself durable; a folder that cannot be synced is not an error.
    fs::path dir = path.parent_path();
    if (dir.empty()) dir = ".";
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

void removeLeftTemporaries(const fs::path& path) {
    const std::string prefix = path.filename().string() + ".tmp.";
    fs::path dir = path.parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        if (it->path().filename().string().starts_with(prefix)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

}  // namespace corvan
