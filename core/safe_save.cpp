#include "core/safe_save.h"

#include "core/cp949.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <csignal>
#include <cstring>
#include <random>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace lavodc {

namespace {

constexpr std::string_view kTemporaryPrefix = ".lvodc-";
constexpr std::size_t kRandomLength = 6;
constexpr std::size_t kMostHostBytes = 32;

[[noreturn]] void throwIoError(int error)
{
    throw FileError(std::strerror(error), error);
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The host part of temporary names: a process id says nothing about a process on another
// machine that saves into the same shared folder.
const std::string& hostTag()
{
    static const std::string tag = [] {
        char name[HOST_NAME_MAX + 1] = {};
        if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
            return std::string("host");
        std::string tag;
        for (const char* c = name; *c != '\0' && tag.size() < kMostHostBytes; ++c) {
            const bool plain = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9')
                               || *c == '.' || *c == '_';
            tag += plain ? *c : '_';
        }
        return tag;
    }();
    return tag;
}

std::string randomLetters()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string letters;
    for (std::size_t i = 0; i < kRandomLength; ++i)
        letters += kLetters[pick(generator)];
    return letters;
}

std::string temporaryName()
{
    return std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" + hostTag() + "-" + randomLetters();
}

// The process id of one of this host's temporary names, or 0 for any other name.
pid_t temporaryOwner(std::string_view name)
{
    if (name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix)
        return 0;
    name.remove_prefix(kTemporaryPrefix.size());
    const std::string hostPart = "-" + hostTag() + "-";
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || name.size() != dash + hostPart.size() + kRandomLength
        || name.substr(dash, hostPart.size()) != hostPart)
        return 0;
    long long pid = 0;
    for (const char c : name.substr(0, dash)) {
        if (c < '0' || c > '9' || pid > INT_MAX / 10)
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return static_cast<pid_t>(pid);
}

// Removes what saves of ended processes of this host left in `folder`; a save still running
// (this process's too) keeps its file.
void removeLeftovers(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = temporaryOwner(entry->d_name);
        if (owner <= 0 || owner == ::getpid())
            continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

bool folderRefusesNewFiles(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// An existing target must be a regular file that this process may write and that is not
// marked read-only for everybody: renaming over it would otherwise replace a file a write is
// refused for.
void checkExistingTarget(const std::string& path, const struct stat& info)
{
    if (S_ISLNK(info.st_mode))
        throw FileError(kSymbolicLink, ELOOP);
    if (S_ISDIR(info.st_mode))
        throwIoError(EISDIR);
    if (!S_ISREG(info.st_mode))
        throw FileError(kNotARegularFile);
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        throwIoError(EACCES);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        throwIoError(errno);
    ::close(fd);
}

std::uint64_t rotateLeft(std::uint64_t value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

} // namespace

std::string FolderTakesNoNewFileText()
{
    return K("이 폴더에는 새 파일을 만들 수 없어서 저장하지 않았습니다. 딴이름으로저장으로 다른 폴더에 저장하십시오.");
}

std::string OwnerCannotBeKeptText()
{
    return K("다른 사용자의 파일이라 소유자를 그대로 둘 수 없어서 저장하지 않았습니다. "
             "딴이름으로저장으로 다른 이름에 저장하십시오.");
}

// ---- stamps ----------------------------------------------------------------

void ContentHash::mix(std::uint64_t word)
{
    state_ = rotateLeft(state_ ^ (word * 0x87C37B91114253D5ull), 31) * 0x4CF5AD432745937Full;
}

void ContentHash::add(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    length_ += size;
    while (size > 0 && tailSize_ > 0) {
        tail_[tailSize_++] = *bytes++;
        --size;
        if (tailSize_ == 8) {
            std::uint64_t word;
            std::memcpy(&word, tail_, 8);
            mix(word);
            tailSize_ = 0;
        }
    }
    for (; size >= 8; size -= 8, bytes += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes, 8);
        mix(word);
    }
    std::memcpy(tail_, bytes, size);
    tailSize_ += size;
}

std::uint64_t ContentHash::value() const
{
    ContentHash last = *this;
    std::uint64_t word = 0;
    std::memcpy(&word, tail_, tailSize_);
    last.mix(word ^ (static_cast<std::uint64_t>(tailSize_) << 56));
    last.mix(length_);
    std::uint64_t h = last.state_;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

FileStamp StampOf(const struct stat& info, std::uint64_t hash)
{
    FileStamp stamp;
    stamp.known = true;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.hash = hash;
    return stamp;
}

FileState CompareWithStamp(const std::string& path, const FileStamp& stamp)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return FileState::Missing;   // nothing there to lose; a save says itself why it fails
    const FileStamp now = StampOf(info, stamp.hash);
    if (now.size != stamp.size || !S_ISREG(info.st_mode))
        return FileState::Changed;
    if (now.device == stamp.device && now.inode == stamp.inode && now.modifiedNs == stamp.modifiedNs)
        return FileState::Same;
    // Touched or put back by another program: the bytes decide.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return FileState::Changed;
    ContentHash hash;
    std::vector<unsigned char> chunk(1 << 16);
    ssize_t got = 0;
    while ((got = ::read(fd, chunk.data(), chunk.size())) != 0) {
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return FileState::Changed;
        }
        hash.add(chunk.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    return hash.value() == stamp.hash ? FileState::Same : FileState::Changed;
}

// ---- saving ----------------------------------------------------------------

SafeSave::SafeSave(std::string path) : target_(std::move(path)), folder_(folderOf(target_))
{
    if (::lstat(target_.c_str(), &targetInfo_) == 0) {
        checkExistingTarget(target_, targetInfo_);
        replacing_ = true;
    } else if (errno != ENOENT) {
        throwIoError(errno);
    }
    removeLeftovers(folder_);
    // Private while it is written when it is to replace a file (which may be private); a new
    // file is as readable as it will be.
    createTemporary(replacing_ ? 0600 : 0666);
}

SafeSave::SafeSave(NewFileTag, const std::string& folder) : folder_(folder.empty() ? std::string(".") : folder)
{
    removeLeftovers(folder_);
    createTemporary(0666);
}

SafeSave SafeSave::NewFileIn(const std::string& folder)
{
    return SafeSave(NewFileTag{}, folder);
}

SafeSave::SafeSave(SafeSave&& other) noexcept
    : target_(std::move(other.target_)), folder_(std::move(other.folder_)),
      temporaryPath_(std::move(other.temporaryPath_)), fd_(other.fd_), replacing_(other.replacing_),
      private_(other.private_), targetInfo_(other.targetInfo_), written_(other.written_), writtenSize_(other.writtenSize_),
      stamp_(other.stamp_), finished_(other.finished_), committed_(other.committed_)
{
    other.fd_ = -1;
    other.temporaryPath_.clear();
}

SafeSave::~SafeSave()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_ && !temporaryPath_.empty())
        ::unlink(temporaryPath_.c_str());
}

void SafeSave::createTemporary(mode_t mode)
{
    const std::string prefix = folder_ == "/" ? std::string("/") : folder_ + "/";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = prefix + temporaryName();
        // Read and write: what a writer put in by name is read back for its hash.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            fd_ = fd;
            temporaryPath_ = std::move(path);
            return;
        }
        if (errno == EEXIST)
            continue;
        if (folderRefusesNewFiles(errno))
            throw FileError(FolderTakesNoNewFileText(), errno);
        throwIoError(errno);
    }
    throwIoError(EEXIST);
}

void SafeSave::makePrivate()
{
    if (::fchmod(fd_, 0600) != 0)
        throwIoError(errno);
    private_ = true;
}

void SafeSave::write(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    written_.add(bytes, size);
    writtenSize_ += size;
    while (size > 0) {
        const ssize_t done = ::write(fd_, bytes, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            throwIoError(errno);
        }
        bytes += done;
        size -= static_cast<std::size_t>(done);
    }
}

void SafeSave::finish()
{
    if (finished_)
        return;
    // A writer that opened the file by name must have written into this very file.
    struct stat info {};
    struct stat named {};
    if (::fstat(fd_, &info) != 0)
        throwIoError(errno);
    if (::lstat(temporaryPath_.c_str(), &named) != 0)
        throwIoError(errno);
    if (named.st_dev != info.st_dev || named.st_ino != info.st_ino)
        throw FileError(kNotARegularFile);
    if (::fsync(fd_) != 0)
        throwIoError(errno);
    // The target as it is now: its owner and mode may have changed, or a file (or something
    // else) may have come in its place since the save began.
    struct stat current {};
    if (!target_.empty() && ::lstat(target_.c_str(), &current) == 0) {
        checkExistingTarget(target_, current);
        targetInfo_ = current;
        replacing_ = true;
    }
    if (replacing_) {
        if (targetInfo_.st_uid != info.st_uid || targetInfo_.st_gid != info.st_gid) {
            if (::fchown(fd_, targetInfo_.st_uid, targetInfo_.st_gid) != 0)
                throw FileError(OwnerCannotBeKeptText(), errno);
        }
        if (::fchmod(fd_, private_ ? 0600 : targetInfo_.st_mode & 07777) != 0)
            throwIoError(errno);
        if (::fstat(fd_, &info) != 0)
            throwIoError(errno);
    }
    // Whatever wrote the file, its bytes are what a later look compares with.
    std::uint64_t hash = written_.value();
    if (writtenSize_ != static_cast<std::uint64_t>(info.st_size)) {
        ContentHash reread;
        std::vector<unsigned char> chunk(1 << 16);
        for (off_t at = 0;;) {
            const ssize_t got = ::pread(fd_, chunk.data(), chunk.size(), at);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                throwIoError(errno);
            }
            if (got == 0)
                break;
            reread.add(chunk.data(), static_cast<std::size_t>(got));
            at += got;
        }
        hash = reread.value();
    }
    stamp_ = StampOf(info, hash);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throwIoError(errno);
    finished_ = true;
}

FileStamp SafeSave::commit()
{
    finish();
    if (::rename(temporaryPath_.c_str(), target_.c_str()) != 0)
        throwIoError(errno);
    committed_ = true;
    // The new name reaches the disk too; a folder that cannot be flushed still holds it.
    const int dirFd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return stamp_;
}

bool SafeSave::commitAsNew(const std::string& path)
{
    finish();
    if (::renameat2(AT_FDCWD, temporaryPath_.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0) {
        const int error = errno;
        if (error == EEXIST)
            return false;
        if (error != EINVAL && error != ENOSYS)
            throwIoError(error);
        // A file system that cannot rename without replacing: look first.
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0)
            return false;
        if (::rename(temporaryPath_.c_str(), path.c_str()) != 0)
            throwIoError(errno);
    }
    committed_ = true;
    return true;
}

FileStamp WriteWholeFile(const std::string& path, std::string_view bytes)
{
    SafeSave save(path);
    save.write(bytes.data(), bytes.size());
    return save.commit();
}

} // namespace lavodc
