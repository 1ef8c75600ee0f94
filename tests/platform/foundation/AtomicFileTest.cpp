#include "platform/foundation/AtomicFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/foundation/SystemCalls.h"

namespace fs = std::filesystem;
using Kind = SystemCalls::Kind;
using Repeat = SystemCalls::Repeat;

namespace {

class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "atomic-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        path_ = folder_ + "/settings.plist";
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string contents() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::vector<std::string> folderNames() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    mode_t permissions() const {
        struct stat status {};
        ::stat(path_.c_str(), &status);
        return status.st_mode & 07777;
    }

    std::string folder_;
    std::string path_;
};

std::string sampleBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + size) % 256);
    }
    return bytes;
}

}  // namespace

TEST_F(AtomicFileTest, EveryWrittenFileReadsBackEqual) {
    for (std::size_t size : {0u, 1u, 4095u, 4096u, 70000u, 1u << 20}) {
        std::string bytes = sampleBytes(size);
        ASSERT_TRUE(AtomicFile::write(path_, bytes).ok()) << size;
        EXPECT_EQ(contents(), bytes) << size;
    }
    EXPECT_EQ(folderNames(), std::vector<std::string>{"settings.plist"});
}

TEST_F(AtomicFileTest, ShortAndInterruptedWritesStillProduceTheWholeFile) {
    std::string bytes = sampleBytes(10000);
    SystemCalls::ScopedFaultPlan plan({{{Kind::Write, 2, EINTR}, {Kind::Write, 5, EINTR}}, 7});
    ASSERT_TRUE(AtomicFile::write(path_, bytes).ok());
    EXPECT_GT(SystemCalls::callCount(Kind::Write), 1000);
    EXPECT_EQ(contents(), bytes);
}

// More pieces than one gathered write takes, empty ones among them, written whole or a few
// bytes at a time; then the file's time as the caller dated it.
TEST_F(AtomicFileTest, PiecesAreWrittenInOrderAndTheFileDatedAsAsked) {
    std::string bytes = sampleBytes(40000);
    std::vector<std::string_view> pieces;
    for (std::size_t at = 0, i = 0; at < bytes.size(); ++i) {
        std::size_t size = std::min(bytes.size() - at, (i * 7) % 23);
        pieces.push_back(std::string_view(bytes).substr(at, size));
        at += size;
    }
    ASSERT_GT(pieces.size(), 2000u);
    const timespec dated{1'700'000'000, 123'456'789};
    for (std::size_t most : {std::size_t{0}, std::size_t{5}}) {
        SystemCalls::ScopedFaultPlan plan({{{Kind::Write, 3, EINTR}}, most});
        ASSERT_TRUE(AtomicFile::write(path_, pieces, {.modified = dated}).ok()) << most;
        EXPECT_EQ(contents(), bytes) << most;
        struct stat status {};
        ::stat(path_.c_str(), &status);
        EXPECT_EQ(status.st_mtim.tv_sec, dated.tv_sec);
        EXPECT_EQ(status.st_mtim.tv_nsec, dated.tv_nsec);
    }
}

TEST_F(AtomicFileTest, KeepsPermissionBitsAndGivesNewFiles0644) {
    mode_t previous = ::umask(077);
    ASSERT_TRUE(AtomicFile::write(path_, "new").ok());
    ::umask(previous);
    EXPECT_EQ(permissions(), 0644u);
    for (mode_t mode : {0600u, 0755u, 0640u}) {
        ::chmod(path_.c_str(), mode);
        ASSERT_TRUE(AtomicFile::write(path_, "again").ok());
        EXPECT_EQ(permissions(), mode);
    }
}

TEST_F(AtomicFileTest, TakenTemporaryNamesAreRetried) {
    {
        SystemCalls::ScopedFaultPlan plan({{{Kind::Open, 1, EEXIST}, {Kind::Open, 2, EINTR}}});
        ASSERT_TRUE(AtomicFile::write(path_, "third try").ok());
        EXPECT_EQ(SystemCalls::callCount(Kind::Open), 3);
    }
    SystemCalls::ScopedFaultPlan plan({{{Kind::Open, 1, EEXIST, Repeat::FromThenOn}}});
    EXPECT_FALSE(AtomicFile::write(path_, "never").ok());
    EXPECT_EQ(contents(), "third try");
}

TEST_F(AtomicFileTest, RefusesFoldersAndMissingFolders) {
    fs::create_directory(path_);
    EXPECT_FALSE(AtomicFile::write(path_, "x").ok());
    EXPECT_TRUE(fs::is_directory(path_));
    Status missing = AtomicFile::write(folder_ + "/absent/file.plist", "x");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find(folder_ + "/absent/file.plist"), std::string::npos);
    EXPECT_NE(missing.error().find("No such file or directory"), std::string::npos);
}

// Every way a system call can fail, at several points of the write: the target holds the old
// or the new file whole, nothing else is left in the folder, and failure is reported.
struct FaultCase {
    Kind kind;
    int nth;
    Repeat repeat;
};

class AtomicFileFaultTest : public AtomicFileTest,
                            public ::testing::WithParamInterface<FaultCase> {};

TEST_P(AtomicFileFaultTest, LeavesOldOrNewFileAndReportsFailure) {
    const FaultCase c = GetParam();
    const std::string before = "old contents", after = sampleBytes(3000);
    ASSERT_TRUE(AtomicFile::write(path_, before).ok());
    Status status = Status::success();
    bool injected = false;
    {
        SystemCalls::ScopedFaultPlan plan({{{c.kind, c.nth, EIO, c.repeat}}, 1000});
        status = AtomicFile::write(path_, after);
        injected = SystemCalls::callCount(c.kind) >= c.nth;
    }
    EXPECT_EQ(folderNames(), std::vector<std::string>{"settings.plist"});
    if (!injected) {
        EXPECT_TRUE(status.ok()) << status.error();
        EXPECT_EQ(contents(), after);
        return;
    }
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.error().find(path_), std::string::npos) << status.error();
    EXPECT_NE(status.error().find("Input/output error"), std::string::npos) << status.error();
    // Only a failure after the rename (making it durable) leaves the new file in place.
    bool afterRename = c.kind == Kind::DirectoryOpen || c.kind == Kind::DirectoryFsync;
    EXPECT_EQ(contents(), afterRename ? after : before);
}

std::vector<FaultCase> allFaults() {
    std::vector<FaultCase> cases;
    for (Kind kind : {Kind::Open, Kind::Write, Kind::Fsync, Kind::Rename, Kind::DirectoryOpen,
                      Kind::DirectoryFsync, Kind::Chmod, Kind::Close}) {
        for (int nth : {1, 2, 3}) {
            // The second close is the folder's, whose failure does not matter.
            if (kind == Kind::Close && nth > 1) {
                continue;
            }
            for (Repeat repeat : {Repeat::Once, Repeat::FromThenOn}) {
                cases.push_back({kind, nth, repeat});
            }
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryCall, AtomicFileFaultTest, ::testing::ValuesIn(allFaults()));

// The file's data must be on disk before the rename makes it the target, and the folder synced
// after it, or a crash could leave an empty target or lose the rename. A write that fails at
// the rename shows which syncs came before it; a clean write shows that each sync happens.
struct SyncOrderCase {
    std::optional<Kind> failing;
    int fileSyncs;
    int renames;
    int folderSyncs;
};

class AtomicFileSyncOrderTest : public AtomicFileTest,
                                public ::testing::WithParamInterface<SyncOrderCase> {};

TEST_P(AtomicFileSyncOrderTest, SyncsTheFileBeforeAndTheFolderAfterTheRename) {
    const SyncOrderCase c = GetParam();
    SystemCalls::FaultPlan faults;
    if (c.failing) {
        faults.faults.push_back({*c.failing, 1, EIO});
    }
    SystemCalls::ScopedFaultPlan plan(faults);
    EXPECT_EQ(AtomicFile::write(path_, "contents").ok(), !c.failing);
    EXPECT_EQ(SystemCalls::callCount(Kind::Fsync), c.fileSyncs);
    EXPECT_EQ(SystemCalls::callCount(Kind::Rename), c.renames);
    EXPECT_EQ(SystemCalls::callCount(Kind::DirectoryFsync), c.folderSyncs);
}

INSTANTIATE_TEST_SUITE_P(Table, AtomicFileSyncOrderTest,
                         ::testing::Values(SyncOrderCase{std::nullopt, 1, 1, 1},
                                           SyncOrderCase{Kind::Fsync, 1, 0, 0},
                                           SyncOrderCase{Kind::Rename, 1, 1, 0},
                                           SyncOrderCase{Kind::DirectoryFsync, 1, 1, 1}));

// A killed write leaves its temporary file; the next write of the same target removes such
// files, but never a file another write is still filling, nor anything of another name.
TEST_F(AtomicFileTest, NextWriteRemovesOnlyAbandonedTemporariesOfItsTarget) {
    const std::vector<std::string> abandoned = {".settings.plist.tmp-Ab3dE9",
                                                ".settings.plist.tmp-000000"};
    const std::vector<std::string> foreign = {
        ".settings.plist.tmp-Ab3dE", ".settings.plist.tmp-Ab3dE99", ".settings.plist.tmp-Ab_dE9",
        ".other.plist.tmp-Ab3dE9",   "settings.plist.tmp-Ab3dE9",   ".settings.plist.Ab3dE9",
        ".settings.plist.backup",    ".settings.plist.tmp-Folder",  ".settings.plist.tmp-Link00"};
    std::string outside = folder_ + "/outside.txt";
    std::ofstream(outside) << "not ours";
    for (const std::string& name : abandoned) {
        std::ofstream(folder_ + "/" + name) << "half a save";
    }
    for (const std::string& name : foreign) {
        if (name == ".settings.plist.tmp-Folder") {
            fs::create_directory(folder_ + "/" + name);
        } else if (name == ".settings.plist.tmp-Link00") {
            fs::create_symlink(outside, folder_ + "/" + name);
        } else {
            std::ofstream(folder_ + "/" + name) << "someone else's";
        }
    }
    ASSERT_TRUE(AtomicFile::write(path_, "new").ok());
    std::vector<std::string> names = folderNames();
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = foreign;
    expected.push_back("settings.plist");
    expected.push_back("outside.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    std::ifstream in(outside);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not ours");
}

TEST_F(AtomicFileTest, TemporaryFileOfALiveWriteIsKeptUntilItsWriterIsGone) {
    std::string live = folder_ + "/.settings.plist.tmp-Live00";
    int fd = ::open(live.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    ASSERT_TRUE(AtomicFile::write(path_, "while locked").ok());
    EXPECT_EQ(AtomicFile::removeAbandonedTemporaries(path_), 0);
    EXPECT_TRUE(fs::exists(live));
    ::close(fd);  // the writer dies: the kernel drops its lock
    EXPECT_EQ(AtomicFile::removeAbandonedTemporaries(path_), 1);
    EXPECT_EQ(folderNames(), std::vector<std::string>{"settings.plist"});
}

// Writes of one file racing each other must never take each other's temporary files for
// abandoned: every write succeeds and the file ends whole.
TEST_F(AtomicFileTest, ConcurrentWritesOfOneFileAllSucceed) {
    constexpr int kWrites = 150;
    std::atomic<int> failures{0};
    auto writer = [&](char fill) {
        for (int i = 0; i < kWrites; ++i) {
            if (!AtomicFile::write(path_, std::string(5000, fill)).ok()) {
                ++failures;
            }
        }
    };
    std::thread first(writer, 'a');
    std::thread second(writer, 'b');
    first.join();
    second.join();
    EXPECT_EQ(failures, 0);
    std::string text = contents();
    EXPECT_TRUE(text == std::string(5000, 'a') || text == std::string(5000, 'b'));
    EXPECT_EQ(folderNames(), std::vector<std::string>{"settings.plist"});
}
