#include "user_file.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace userfile {

namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it calls it a loop.
constexpr int kMaxLinks = 40;
constexpr std::string_view kTempMark = ".saving-";

std::string reason(std::string_view what) {
    return std::string(what) + ": " + std::strerror(errno);
}

fs::path folderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// The temporary name .NAME.saving-PID-N must fit the file system's limit on a name (255 bytes)
// whatever the name; a long name is cut, which O_EXCL keeps safe.
constexpr std::size_t kLongestNameKept = 200;

std::string tempPrefix(const fs::path& target) {
    return "." + target.filename().string().substr(0, kLongestNameKept) + std::string(kTempMark);
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void syncFolder(const fs::path& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

} // namespace

std::optional<std::string> resolveLinks(const fs::path& file, fs::path& target) {
    target = file;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return std::nullopt; // missing (a broken link's end) or not a link
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0)
            return reason("cannot follow the link " + target.string());
        link.resize(static_cast<std::size_t>(n));
        const fs::path next(link);
        target = next.is_absolute() ? next : folderOf(target) / next;
    }
    return "the links from " + file.string() + " go round in a loop";
}

std::optional<std::string> write(const fs::path& file, std::string_view data) {
    fs::path target;
    if (auto problem = resolveLinks(file, target))
        return problem;
    const fs::path folder = folderOf(target);

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return target.string() + " is a folder";
    if (exists && !S_ISREG(old.st_mode))
        return target.string() + " is not a file a document can be saved in (a device or a pipe)";
    if (exists) {
        // Renaming over the file needs only the folder's permission; the file's own is asked here.
        const int probe = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (probe < 0)
            return reason("cannot write " + target.string());
        ::close(probe);
    }
    removeLeftovers(target);

    // A new name beside the target, created here and nowhere else (O_EXCL).
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = folder /
               (tempPrefix(target) + std::to_string(::getpid()) + "-" + std::to_string(attempt));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return reason("cannot create a file in " + folder.string());
    }
    if (fd < 0)
        return "cannot create a temporary file in " + folder.string();

    std::string problem;
    if (exists)
        (void)::fchmod(fd, old.st_mode & 07777); // the old file's permissions stay
    if (!writeAll(fd, data))
        problem = reason("writing failed");
    else if (::fsync(fd) != 0)
        problem = reason("flushing to the disk failed");
    if (::close(fd) != 0 && problem.empty())
        problem = reason("closing failed");
    if (problem.empty() && ::rename(temp.c_str(), target.c_str()) != 0)
        problem = reason("cannot replace " + target.string());
    if (!problem.empty()) {
        ::unlink(temp.c_str());
        return problem;
    }
    // The rename itself is made durable by syncing the folder; the new file is already whole.
    syncFolder(folder);
    return std::nullopt;
}

int removeLeftovers(const fs::path& file) {
    const fs::path folder = folderOf(file);
    const std::string prefix = tempPrefix(file);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (!name.starts_with(prefix))
            continue;
        // .NAME.saving-PID-N: a process that still runs may be saving it right now.
        const std::string_view rest = name.substr(prefix.size());
        long pid = 0;
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
        if (ec != std::errc() || end == rest.data() || *end != '-' || pid <= 0)
            continue;
        if (pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) == 0)
            continue;
        if (pid != ::getpid() && errno == EPERM)
            continue; // another user's process runs under that number
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

std::string sizeText(std::size_t bytes) {
    constexpr std::size_t kMega = std::size_t{1} << 20;
    if (bytes >= kMega && bytes % kMega == 0)
        return std::to_string(bytes / kMega) + " MB";
    return std::to_string(bytes) + " bytes";
}

ReadOutcome readWhole(const fs::path& file, std::size_t maxBytes, Source source) {
    const auto refused = [](std::string why) { return ReadOutcome{{}, std::move(why)}; };
    const bool fileOnly = source == Source::FileOnly;
    const int fd =
        ::open(file.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC | (fileOnly ? O_NONBLOCK : 0));
    if (fd < 0)
        return refused(reason("cannot open"));
    struct stat st {};
    std::string why;
    if (::fstat(fd, &st) != 0)
        why = reason("cannot read");
    else if (S_ISDIR(st.st_mode))
        why = "is a folder, not a file";
    else if (fileOnly && !S_ISREG(st.st_mode))
        why = "is not a file but a device, pipe or socket, which is not read";
    else if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) > maxBytes)
        why = "is larger than " + sizeText(maxBytes) + ", more than such a file holds";
    if (!why.empty()) {
        ::close(fd);
        return refused(why);
    }
    // A regular file's size is known; a pipe's is not, so it is read in steps up to the limit.
    // One byte past the limit tells a file that grew or a stream that goes on.
    ReadOutcome out;
    std::size_t have = 0;
    const std::size_t first =
        S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) + 1 : std::size_t{1} << 16;
    out.data.resize(std::min(first, maxBytes + 1));
    for (;;) {
        if (have == out.data.size()) {
            if (have > maxBytes) {
                why = "is larger than " + sizeText(maxBytes) + ", more than such a file holds";
                break;
            }
            out.data.resize(std::min(out.data.size() * 2, maxBytes + 1));
        }
        const ssize_t n = ::read(fd, out.data.data() + have, out.data.size() - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            why = reason("reading failed");
            break;
        }
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (!why.empty())
        return refused(why);
    out.data.resize(have);
    return out;
}

Stamp stampOf(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        return {};
    return {true,
            static_cast<std::uint64_t>(st.st_dev),
            static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec),
            static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

} // namespace userfile
