#include "runtime/journal_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "runtime/journal_record.h"

namespace corvan {

std::string journalDevicePath(std::string_view installPath, std::string_view vehicle) {
    std::string path = "\\";
    path += installPath;
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path + "JOURNAL\\" + journalFileName(vehicle);
}

JournalFile::JournalFile(const DeviceRoot& root, const Clock& clock, std::string_view installPath,
                         std::string vehicle)
    : clock_(clock),
      vehicle_(std::move(vehicle)),
      path_(root.toHost(journalDevicePath(installPath, vehicle_))) {}

bool JournalFile::append(const std::string& line) {
    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return healthy_ = false;
    // A torn last line (the terminal was cut off while appending) is closed with a newline
    // first, so this line starts clean and the torn one stays a line the reader drops.
    std::string bytes = line;
    struct stat st {};
    char last = '\n';
    if (::fstat(fd, &st) == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 &&
        last != '\n')
        bytes.insert(bytes.begin(), '\n');
    // One write call per line: with O_APPEND the line lands whole at the end or, cut off,
    // as a prefix without its newline and check.
    ssize_t n;
    do {
        n = ::write(fd, bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    const bool ok = n == static_cast<ssize_t>(bytes.size()) && ::fdatasync(fd) == 0;
    ::close(fd);
    if (!ok) healthy_ = false;
    return ok;
}

int64_t JournalFile::aboutToWrite(const JournalWrite& write) {
    const std::optional<std::string> bytes = readWholeFile(path_);
    const int64_t id = nextJournalId(bytes ? *bytes : std::string());
    append(writeLine(id, journalTime(clock_.civilNow()), vehicle_, write));
    return id;
}

void JournalFile::answered(int64_t id, const std::string& answer, bool done) {
    append(answerLine(id, journalTime(clock_.civilNow()), answer, done));
}

std::vector<JournalEntry> JournalFile::entries() const {
    const std::optional<std::string> bytes = readWholeFile(path_);
    return bytes ? readJournal(*bytes) : std::vector<JournalEntry>{};
}

}  // namespace corvan
