// Save paths against faults: small tmpfs mounts (full, read-only) and injected failures.
#include "tests/support/SaveFaults.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SafeSave.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sys/mount.h>

namespace wbtest {

namespace {

// A tmpfs of a few pages mounted on a temporary folder while the object lives.
class TSmallDisk {
public:
    TSmallDisk() {
        FMounted = ::mount("tmpfs", FFolder.Path().c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~TSmallDisk() {
        if (FMounted) {
            ::umount2(FFolder.Path().c_str(), MNT_DETACH);
        }
    }
    TSmallDisk(const TSmallDisk &) = delete;
    TSmallDisk &operator=(const TSmallDisk &) = delete;

    bool Mounted() const { return FMounted; }
    const std::filesystem::path &Path() const { return FFolder.Path(); }
    bool MakeReadOnly() {
        return ::mount("tmpfs", Path().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
    }
    // Fills the disk with a file of the given name until the system says it is full.
    void Fill(std::string_view name) {
        std::ofstream filler(Path() / name, std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), std::streamsize(block.size())) && filler.flush()) {
        }
    }

private:
    TTempFolder FFolder;
    bool FMounted = false;
};

std::set<std::string> Entries(const std::filesystem::path &folder) {
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

const char16_t *ReasonOf(TSaveFault fault) {
    return fault == TSaveFault::InjectedDiskFull || fault == TSaveFault::FullDisk
               ? u"Недостаточно места на диске"
               : u"Отказано в доступе";
}

const char *NameOf(TSaveFault fault) {
    static const char *const names[] = {"injected disk full", "injected no access", "full disk",
                                        "read-only folder"};
    return names[int(fault)];
}

void ExpectOne(TSaveFault fault, std::string_view name, std::string_view oldBytes,
               const std::function<void(const rtl::UnicodeString &)> &save) {
    SCOPED_TRACE(NameOf(fault));
    const bool mounted = fault == TSaveFault::FullDisk || fault == TSaveFault::ReadOnlyFolder;
    TSmallDisk disk;
    TTempFolder plain;
    if (mounted && !disk.Mounted()) {
        std::cout << "[  NOTE    ] " << NameOf(fault) << " skipped: cannot mount a tmpfs\n";
        return;
    }
    const std::filesystem::path folder = mounted ? disk.Path() : plain.Path();
    WriteFileBytes(folder / name, oldBytes);
    std::set<std::string> expected = {std::string(name)};
    if (fault == TSaveFault::FullDisk) {
        disk.Fill("filler");
        expected.insert("filler");
    }
    if (fault == TSaveFault::ReadOnlyFolder) {
        ASSERT_TRUE(disk.MakeReadOnly());
    }
    std::unique_ptr<rtl::TSaveFailureForTesting> injected;
    if (fault == TSaveFault::InjectedDiskFull) {
        injected =
            std::make_unique<rtl::TSaveFailureForTesting>(rtl::TSaveStepForTesting::Write, ENOSPC);
    } else if (fault == TSaveFault::InjectedNoAccess) {
        injected =
            std::make_unique<rtl::TSaveFailureForTesting>(rtl::TSaveStepForTesting::Rename, EACCES);
    }
    const rtl::UnicodeString fileName = rtl::Utf8ToUtf16((folder / name).string());
    try {
        save(fileName);
        ADD_FAILURE() << "the save reported success";
    } catch (const rtl::Exception &e) {
        EXPECT_NE(e.Message().find(fileName), rtl::UnicodeString::npos) << e.what();
        EXPECT_NE(e.Message().find(ReasonOf(fault)), rtl::UnicodeString::npos) << e.what();
    }
    injected.reset();
    EXPECT_EQ(ReadFileBytes(folder / name), oldBytes);
    EXPECT_EQ(Entries(folder), expected);
}

} // namespace

void ExpectSaveFailuresKeepTheOldFile(std::string_view name, std::string_view oldBytes,
                                      const std::function<void(const rtl::UnicodeString &)> &save) {
    for (const TSaveFault fault : {TSaveFault::InjectedDiskFull, TSaveFault::InjectedNoAccess,
                                   TSaveFault::FullDisk, TSaveFault::ReadOnlyFolder}) {
        ExpectOne(fault, name, oldBytes, save);
    }
}

} // namespace wbtest
