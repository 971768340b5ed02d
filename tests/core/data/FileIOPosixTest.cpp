// The data layer's file handling where it meets what only POSIX systems have: FIFOs, sockets, devices,
// symbolic links, permission bits and owners, mounts, truncation under a reader.

#include "core/data/FileIO.h"

#include "core/data/Platform.h"
#include "core/data/ProfileIni.h"
#include "FolderNames.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace pw;
using pwtest::FolderNames;
using pwtest::ReadBytes;
using pwtest::WriteBytes;

namespace {

void MakeFifo(const std::string& path) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
}

// A listening Unix socket at path, closed (and its file left) when the object goes.
class Socket {
public:
    explicit Socket(const std::string& path) : mFd(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        if (::bind(mFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            throw std::runtime_error("cannot bind " + path);
    }
    ~Socket() { ::close(mFd); }

private:
    int mFd;
};

bool IsFifo(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

bool IsLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

} // namespace

TEST(FileWrite, SpecialFilesAsTargetsAreRefusedAndLeftAlone) {
    pwtest::TempDir dir;
    const std::string fifo = dir.File("pipe.ini");
    MakeFifo(fifo);
    const Socket socket(dir.File("socket.ini"));
    ASSERT_EQ(::symlink(fifo.c_str(), dir.File("link-to-pipe.ini").c_str()), 0);
    for (const char* name : {"pipe.ini", "socket.ini", "link-to-pipe.ini"}) {
        std::string reason;
        EXPECT_FALSE(WriteFileAtomic(dir.File(name), "x", &reason)) << name;
        EXPECT_EQ(reason, "Not a regular file") << name;
        EXPECT_FALSE(ProfileWriteString(dir.File(name), "S", "k", "v", &reason)) << name;
        EXPECT_EQ(reason, "Not a regular file") << name;
    }
    EXPECT_TRUE(IsFifo(fifo));
    EXPECT_TRUE(IsLink(dir.File("link-to-pipe.ini")));
    EXPECT_EQ(FolderNames(dir.Path()),
              (std::vector<std::string>{"link-to-pipe.ini", "pipe.ini", "socket.ini"}));
}

TEST(FileWrite, LinksAreWrittenThroughEvenWhenDangling) {
    pwtest::TempDir dir;
    WriteBytes(dir.File("real/table.ini"), "old");
    ASSERT_EQ(::symlink("real/table.ini", dir.File("live.ini").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomic(dir.File("live.ini"), "new", nullptr));
    EXPECT_TRUE(IsLink(dir.File("live.ini")));
    EXPECT_EQ(ReadBytes(dir.File("real/table.ini")), "new");

    // A link whose file does not exist yet creates that file and stays a link, through a chain too.
    ASSERT_EQ(::symlink("real/later.ini", dir.File("dangling.ini").c_str()), 0);
    ASSERT_EQ(::symlink("dangling.ini", dir.File("chain.ini").c_str()), 0);
    ASSERT_TRUE(ProfileWriteString(dir.File("chain.ini"), "S", "k", "v"));
    EXPECT_TRUE(IsLink(dir.File("dangling.ini")));
    EXPECT_TRUE(IsLink(dir.File("chain.ini")));
    EXPECT_EQ(ReadBytes(dir.File("real/later.ini")), "[S]\r\nk=v\r\n");

    ASSERT_EQ(::symlink("loop.ini", dir.File("loop.ini").c_str()), 0);
    std::string reason;
    EXPECT_FALSE(WriteFileAtomic(dir.File("loop.ini"), "x", &reason));
    EXPECT_EQ(reason, SystemErrorText(ELOOP));
}

TEST(FileWrite, ReplacedFilesKeepModeOwnerAndGroup) {
    pwtest::TempDir dir;
    const std::string path = dir.File("kept.ini");
    WriteBytes(path, "[S]\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
    }
    ASSERT_TRUE(ProfileWriteString(path, "S", "k", "v"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 8765u);
    }
}

TEST(FileWrite, MessagesCarryTheSystemsReason) {
    EXPECT_EQ(UnableToWriteMessage("t.ini", "No space left on device"),
              "Unable to write to t.ini. No space left on device");
    pwtest::TempDir dir;
    std::string reason;
    EXPECT_FALSE(WriteFileAtomic(dir.File("none/x.ini"), "x", &reason));
    EXPECT_EQ(reason, SystemErrorText(ENOENT));
    EXPECT_FALSE(WriteFileAtomic(dir.Path(), "x", &reason));
    EXPECT_EQ(reason, SystemErrorText(EISDIR));
    EXPECT_FALSE(WriteFileAtomic("", "x", &reason));
    EXPECT_EQ(reason, SystemErrorText(ENOENT));
}

TEST(FileWrite, AFullDiskAndAnImmutableFileAreNamed) {
    pwtest::TempDir dir;
    const std::string small = dir.File("small");
    ASSERT_EQ(::mkdir(small.c_str(), 0755), 0);
    // A file system of 64 KB; only where this test may mount one (as root, in most containers).
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    const std::string table = small + "/stringtable.ini";
    const std::string bytes = "[LocAdmin_Strings]\r\n" + std::string(40000, 'x') + "=1;\r\n";
    WriteBytes(table, bytes);
    std::string reason;
    EXPECT_FALSE(ProfileWriteString(table, "LocAdmin_Strings", "NEW", "text;", &reason));
    EXPECT_EQ(reason, SystemErrorText(ENOSPC));
    EXPECT_EQ(ReadBytes(table), bytes);
    EXPECT_EQ(FolderNames(small), std::vector<std::string>{"stringtable.ini"});
    ::umount(small.c_str());

    const std::string fixed = dir.File("fixed.ini");
    WriteBytes(fixed, "[S]\r\n");
    const int fd = ::open(fixed.c_str(), O_RDONLY);
    int flags = 0;
    const bool immutable = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                           (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    if (immutable) {
        EXPECT_FALSE(ProfileWriteString(fixed, "S", "k", "v", &reason));
        EXPECT_EQ(reason, SystemErrorText(EPERM));
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
    EXPECT_EQ(ReadBytes(fixed), "[S]\r\n");
}

TEST(FileRead, SpecialFilesAreRefusedWithoutWaiting) {
    pwtest::TempDir dir;
    const std::string fifo = dir.File("pipe.info");
    MakeFifo(fifo);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        try {
            ReadWholeFile(path);
            FAIL() << "no error for " << path;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\". Not a regular file");
        }
        EXPECT_EQ(TryReadWholeFile(path), std::nullopt);
        EXPECT_EQ(ProfileGetString(path, "S", "k", "default"), "default");
        BlockReader reader;
        std::string reason;
        EXPECT_FALSE(reader.Open(path, &reason));
        EXPECT_EQ(reason, "Not a regular file");
    }
    EXPECT_EQ(ReadWholeFile(dir.File("missing")), std::nullopt);
}

TEST(FileRead, AFileChangingUnderAReaderNeverKillsIt) {
    pwtest::TempDir dir;
    const std::string path = dir.File("stringtable.ini");
    std::string table = "[LocAdmin_Strings]\r\n";
    for (int i = 0; i < 40000; ++i)
        table += "ID_" + std::to_string(i) + "=text " + std::to_string(i) + ";\r\n";
    WriteBytes(path, table);
    // Another program truncating and refilling the file in place: a reader that mapped it would die of
    // a bus error when its pages vanish.
    std::atomic<bool> stop{false};
    std::thread other([&] {
        while (!stop) {
            ::truncate(path.c_str(), 0);
            ::truncate(path.c_str(), static_cast<off_t>(table.size()));
        }
    });
    for (int i = 0; i < 200; ++i)
        ProfileGetString(path, "LocAdmin_Strings", "ID_39999", "");
    stop = true;
    other.join();
    SUCCEED();
}

TEST(LibraryFolders, SystemFoldersAreKnownWhereverReached) {
    platform::NodeId id;
    std::vector<platform::FolderEntry> entries;
    for (const char* folder : {"/proc", "/proc/self", "/sys", "/sys/class", "/dev"}) {
        if (platform::ListFolder(folder, id, entries))
            continue; // not on this system
        EXPECT_TRUE(platform::IsSystemFolder(id)) << folder;
    }
    pwtest::TempDir dir;
    ASSERT_FALSE(platform::ListFolder(dir.Path(), id, entries));
    EXPECT_FALSE(platform::IsSystemFolder(id));
    ASSERT_FALSE(platform::ListFolder("/", id, entries));
    EXPECT_FALSE(platform::IsSystemFolder(id));
}
