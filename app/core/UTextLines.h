// The workbench's text files ("base.info", "Result.txt") read line by line, block by block.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <string>

namespace workbench {

using rtl::UnicodeString;

// Reads text as the class library's string list loads a file, without holding the file: UTF-8
// or UTF-16 (LE or BE) after their byte-order signature, else the ANSI code page; lines end at
// CR LF, LF or CR, and a final line break adds no empty line. Memory: one block of the stream
// and the line being read. Stream errors propagate (rtl::EReadError ...).
class TTextLineReader {
public:
    static constexpr size_t DefaultBlockBytes = size_t{1} << 20;

    // Reads from the stream's position to its end, blockBytes at a time (rounded up to an even
    // number, so that UTF-16 units never straddle two blocks); the stream outlives the reader.
    explicit TTextLineReader(rtl::TStream &stream, size_t blockBytes = DefaultBlockBytes);

    // The next line, without its break, into line; false (line untouched) after the last one.
    bool Next(UnicodeString &line);
    // Lines longer than units UTF-16 units are not held whole: Next gives their start, longer
    // than units (so the caller sees that the line is too long), and skips the rest.
    void SetMaxLineUnits(size_t units) { FMaxLineUnits = units; }
    // The number of the line Next gave last, counting every line from 1.
    int64_t GetLineNumber() const { return FLineNumber; }

private:
    bool Fill();
    void DetectEncoding();
    // The position of the first line break unit in the block at or after FPosition, else the
    // end of the block's whole units.
    size_t FindBreak() const;
    uint16_t UnitAt(size_t position) const;
    void Decode(UnicodeString &line) const;

    rtl::TStream &FStream;
    size_t FBlockBytes;
    std::string FBlock;
    size_t FPosition = 0, FEnd = 0;
    bool FAtEnd = false;
    bool FStarted = false;
    bool FSkipLineFeed = false; // the last break was a CR: a LF right after it belongs to it
    rtl::TEncoding FEncoding = rtl::TEncoding::ANSI();
    size_t FUnit = 1; // bytes per code unit: 2 for UTF-16
    size_t FMaxLineUnits = std::string::npos;
    bool FBigEndian = false;
    std::string FLine; // the bytes of the line being read
    int64_t FLineNumber = 0;
};

} // namespace workbench
