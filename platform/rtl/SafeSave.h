// Saving a file so that a failed save never costs the old one: a temporary file beside the
// target, every write and the close checked, flushed to disk, then renamed over the target.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <functional>
#include <memory>
#include <string>

namespace rtl {

// A save that failed. The file of that name is as it was before (or still missing) and no
// temporary file is left. Message: "Не удалось сохранить файл \"<full path>\". <reason>",
// the reason in the words of FileErrorMessage ("Недостаточно места на диске", "Отказано в
// доступе", "Системе не удается найти указанный путь", ...). Derived from EFCreateError, so
// callers that handle a file that cannot be created handle it too.
class EFileSaveError : public EFCreateError {
public:
    EFileSaveError(const UnicodeString &fileName, int errorCode);
    // The system's error number that made the save fail.
    int GetErrorCode() const { return FErrorCode; }

private:
    int FErrorCode;
};

// A stream that becomes the file fileName only at Commit. The name is resolved as
// ResolveFileNameForWriting does; a symbolic link is followed, so the file it points to is
// replaced. A new file gets the usual permissions, a replaced one keeps its own.
// Write raises EFileSaveError when the system refuses a write (the stream then stays failed);
// Read gives nothing. An object destroyed without a successful Commit removes its temporary
// file and leaves the target alone.
class TSafeSaveStream : public TStream {
public:
    // EFileSaveError when the temporary file cannot be made (no folder, no access) or the
    // target is a folder, a device or a FIFO.
    explicit TSafeSaveStream(const UnicodeString &fileName);
    ~TSafeSaveStream() override;
    TSafeSaveStream(const TSafeSaveStream &) = delete;
    TSafeSaveStream &operator=(const TSafeSaveStream &) = delete;

    int32_t Read(void *buffer, int32_t count) override;
    int32_t Write(const void *buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;

    // Flushes the temporary file to disk, closes it and renames it over the target. Raises
    // EFileSaveError (the first failure met, also one of an earlier Write) and removes the
    // temporary file when any step fails.
    void Commit();
    // The first failure, or nullptr while every step has succeeded.
    const EFileSaveError *GetFailure() const { return FFailure.get(); }
    // The name the user gave, as shown in messages (a full path).
    const UnicodeString &GetFileName() const { return FShownName; }

private:
    [[noreturn]] void Fail(int errorCode);
    void RemoveTemporary();

    UnicodeString FShownName;
    std::string FTarget, FTemporary;
    int FHandle = -1;
    std::unique_ptr<EFileSaveError> FFailure;
};

// Saves fileName through a TSafeSaveStream: write puts the whole content into the stream, then
// it is committed. An exception out of write (an EFileSaveError of the stream, or the writer's
// own) leaves the old file untouched and no temporary file behind, and goes on to the caller.
void SaveFileSafely(const UnicodeString &fileName, const std::function<void(TStream &)> &write);

// The same for the writers that answer whether they wrote: true once the file is committed;
// false when write answers false or any step raises an rtl::Exception, the old file whole.
bool TrySaveFileSafely(const UnicodeString &fileName, const std::function<bool(TStream &)> &write);

// Saves size bytes as the whole file fileName, as SaveFileSafely does.
void SaveBytesSafely(const UnicodeString &fileName, const void *data, size_t size);

// The steps of a save at which a test can make the system fail.
enum class TSaveStepForTesting { Create, Write, Sync, Close, Rename };

// While it lives, every save fails at step with the system error errorCode (ENOSPC, EACCES,
// ...), as the system would: a failing write has written part of its bytes first.
class TSaveFailureForTesting {
public:
    TSaveFailureForTesting(TSaveStepForTesting step, int errorCode);
    ~TSaveFailureForTesting();
    TSaveFailureForTesting(const TSaveFailureForTesting &) = delete;
    TSaveFailureForTesting &operator=(const TSaveFailureForTesting &) = delete;
};

} // namespace rtl
