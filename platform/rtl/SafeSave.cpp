// Safe saving: the temporary file beside the target, checked writes, flush, close and rename.
#include "platform/rtl/SafeSave.h"

#include "platform/rtl/Files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace rtl {

namespace {

struct TInjectedFailure {
    TSaveStepForTesting Step = TSaveStepForTesting::Create;
    int Error = 0;
};

TInjectedFailure gInjected;

int InjectedError(TSaveStepForTesting step) {
    return gInjected.Error != 0 && gInjected.Step == step ? gInjected.Error : 0;
}

std::string FolderOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name no other save picks: the process, a counter and the clock.
std::string TemporarySuffix() {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(static_cast<unsigned long long>(ticks) % 1000000007ULL) + ".tmp";
}

// Makes the target's folder durable after the rename; a folder that refuses is no failure of
// the save (the data is on disk and renamed).
void SyncFolder(const std::string &folder) {
    const int handle =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

} // namespace

EFileSaveError::EFileSaveError(const UnicodeString &fileName, int errorCode)
    : EFCreateError(u"Не удалось сохранить файл \"" + fileName + u"\". " +
                    FileErrorMessage(errorCode, fileName)),
      FErrorCode(errorCode) {}

TSafeSaveStream::TSafeSaveStream(const UnicodeString &fileName)
    : FShownName(ExpandFileName(fileName)),
      FTarget(Utf16ToUtf8(ResolveFileNameForWriting(fileName))) {
    struct stat info {};
    const bool exists = ::stat(FTarget.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        Fail(EISDIR);
    }
    if (exists && !S_ISREG(info.st_mode)) {
        Fail(ENODEV);
    }
    if (char *real = exists ? ::realpath(FTarget.c_str(), nullptr) : nullptr) {
        FTarget = real;
        std::free(real);
    }
    if (const int injected = InjectedError(TSaveStepForTesting::Create)) {
        Fail(injected);
    }
    const std::string stem = FolderOf(FTarget) + "." + NameOf(FTarget);
    for (int attempt = 0; FHandle < 0; ++attempt) {
        FTemporary = stem + TemporarySuffix();
        FHandle = ::open(FTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (FHandle < 0 && (errno != EEXIST || attempt >= 100)) {
            const int error = errno;
            FTemporary.clear();
            Fail(error);
        }
    }
    if (exists) {
        ::fchmod(FHandle, info.st_mode & 07777);
    }
}

TSafeSaveStream::~TSafeSaveStream() {
    RemoveTemporary();
}

void TSafeSaveStream::RemoveTemporary() {
    if (FHandle >= 0) {
        ::close(FHandle);
        FHandle = -1;
    }
    if (!FTemporary.empty()) {
        ::unlink(FTemporary.c_str());
        FTemporary.clear();
    }
}

void TSafeSaveStream::Fail(int errorCode) {
    RemoveTemporary();
    if (!FFailure) {
        FFailure = std::make_unique<EFileSaveError>(FShownName, errorCode);
    }
    throw EFileSaveError(*FFailure);
}

int32_t TSafeSaveStream::Read(void *, int32_t) {
    return 0;
}

int32_t TSafeSaveStream::Write(const void *buffer, int32_t count) {
    if (FFailure) {
        throw EFileSaveError(*FFailure);
    }
    const auto *bytes = static_cast<const uint8_t *>(buffer);
    int32_t done = 0;
    const int injected = InjectedError(TSaveStepForTesting::Write);
    const int32_t allowed = injected != 0 ? count / 2 : count;
    while (done < allowed) {
        const ssize_t n = ::write(FHandle, bytes + done, static_cast<size_t>(allowed - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            Fail(n < 0 ? errno : ENOSPC);
        }
        done += static_cast<int32_t>(n);
    }
    if (injected != 0 && count > 0) {
        Fail(injected);
    }
    return done;
}

int64_t TSafeSaveStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    return FHandle < 0 ? 0 : ::lseek(FHandle, offset, whence);
}

void TSafeSaveStream::SetSize(int64_t newSize) {
    if (FHandle < 0 || newSize < 0 || ::ftruncate(FHandle, newSize) != 0) {
        Fail(FHandle < 0 || newSize < 0 ? EINVAL : errno);
    }
    Seek(newSize, soBeginning);
}

void TSafeSaveStream::Commit() {
    if (FFailure || FHandle < 0) {
        throw EFileSaveError(FFailure ? *FFailure : EFileSaveError(FShownName, EBADF));
    }
    int error = InjectedError(TSaveStepForTesting::Sync);
    if (error == 0 && ::fsync(FHandle) != 0) {
        error = errno;
    }
    if (error != 0) {
        Fail(error);
    }
    error = InjectedError(TSaveStepForTesting::Close);
    const int closed = ::close(FHandle);
    FHandle = -1;
    if (error == 0 && closed != 0) {
        error = errno;
    }
    if (error != 0) {
        Fail(error);
    }
    error = InjectedError(TSaveStepForTesting::Rename);
    if (error == 0 && ::rename(FTemporary.c_str(), FTarget.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        Fail(error);
    }
    FTemporary.clear();
    SyncFolder(FolderOf(FTarget));
}

void SaveFileSafely(const UnicodeString &fileName, const std::function<void(TStream &)> &write) {
    TSafeSaveStream stream(fileName);
    write(stream);
    stream.Commit();
}

bool TrySaveFileSafely(const UnicodeString &fileName, const std::function<bool(TStream &)> &write) {
    try {
        TSafeSaveStream stream(fileName);
        if (!write(stream)) {
            return false;
        }
        stream.Commit();
        return true;
    } catch (const Exception &) {
        return false;
    }
}

void SaveBytesSafely(const UnicodeString &fileName, const void *data, size_t size) {
    SaveFileSafely(fileName, [&](TStream &file) {
        const auto *bytes = static_cast<const uint8_t *>(data);
        for (size_t done = 0; done < size;) {
            const auto part = static_cast<int32_t>(std::min<size_t>(size - done, 1 << 30));
            file.WriteBuffer(bytes + done, part);
            done += size_t(part);
        }
    });
}

TSaveFailureForTesting::TSaveFailureForTesting(TSaveStepForTesting step, int errorCode) {
    gInjected = {step, errorCode};
}

TSaveFailureForTesting::~TSaveFailureForTesting() {
    gInjected = {};
}

} // namespace rtl
