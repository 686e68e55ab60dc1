// Line-by-line reading of the workbench's text files.
#include "app/core/UTextLines.h"

#include <algorithm>

namespace workbench {

namespace {

constexpr uint16_t CarriageReturn = 0x0D, LineFeed = 0x0A;

} // namespace

TTextLineReader::TTextLineReader(rtl::TStream &stream, size_t blockBytes)
    : FStream(stream), FBlockBytes(std::max<size_t>(2, (blockBytes + 1) & ~size_t{1})) {}

bool TTextLineReader::Fill() {
    if (FAtEnd) {
        return false;
    }
    if (!FStarted) {
        // No larger than the text (a small file takes a small buffer), and holding at least a
        // whole byte-order signature.
        const int64_t rest = std::max<int64_t>(FStream.GetSize() - FStream.GetPosition(), 0);
        const size_t wanted =
            (static_cast<size_t>(std::min<int64_t>(rest, 1 << 30)) + 1) & ~size_t{1};
        FBlockBytes = std::max<size_t>(std::min(FBlockBytes, wanted), 4);
    }
    const size_t size = FBlockBytes;
    FBlock.resize(size);
    const int32_t read = FStream.Read(FBlock.data(), static_cast<int32_t>(size));
    FPosition = 0;
    FEnd = read > 0 ? static_cast<size_t>(read) : 0;
    FAtEnd = FEnd < size;
    if (!FStarted) {
        FStarted = true;
        DetectEncoding();
    }
    return FPosition < FEnd;
}

void TTextLineReader::DetectEncoding() {
    size_t preamble = 0;
    if (!rtl::TEncoding::DetectPreamble(std::string_view(FBlock.data(), FEnd), FEncoding,
                                        preamble)) {
        FEncoding = rtl::TEncoding::ANSI();
        preamble = 0;
    }
    FPosition = preamble;
    FUnit =
        FEncoding == rtl::TEncoding::Unicode() || FEncoding == rtl::TEncoding::BigEndianUnicode()
            ? 2
            : 1;
    FBigEndian = FEncoding == rtl::TEncoding::BigEndianUnicode();
}

uint16_t TTextLineReader::UnitAt(size_t position) const {
    const auto byte = [this](size_t at) { return static_cast<uint8_t>(FBlock[at]); };
    if (FUnit == 1) {
        return byte(position);
    }
    return FBigEndian ? static_cast<uint16_t>(byte(position) << 8 | byte(position + 1))
                      : static_cast<uint16_t>(byte(position) | byte(position + 1) << 8);
}

size_t TTextLineReader::FindBreak() const {
    if (FUnit == 1) {
        const char *begin = FBlock.data() + FPosition, *end = FBlock.data() + FEnd;
        return static_cast<size_t>(
            std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; }) -
            FBlock.data());
    }
    size_t at = FPosition;
    for (; at + FUnit <= FEnd; at += FUnit) {
        const uint16_t unit = UnitAt(at);
        if (unit == CarriageReturn || unit == LineFeed) {
            return at;
        }
    }
    return at; // the end of the whole units
}

// ASCII reads alike in ANSI and UTF-8; most lines of these files are ASCII, and widening them
// here keeps the caller's string buffer.
void TTextLineReader::Decode(UnicodeString &line) const {
    const bool ascii = FUnit == 1 && std::all_of(FLine.begin(), FLine.end(), [](char c) {
                           return static_cast<unsigned char>(c) < 0x80;
                       });
    if (ascii) {
        line.assign(FLine.begin(), FLine.end());
    } else {
        line = FEncoding.GetString(FLine);
    }
}

bool TTextLineReader::Next(UnicodeString &line) {
    FLine.clear();
    bool started = false; // a character of a new line was read
    for (;;) {
        if (FPosition >= FEnd && !Fill()) {
            break;
        }
        if (FSkipLineFeed) {
            FSkipLineFeed = false;
            if (FPosition + FUnit <= FEnd && UnitAt(FPosition) == LineFeed) {
                FPosition += FUnit;
                continue;
            }
        }
        const size_t at = FindBreak();
        if (at > FPosition) {
            // Three bytes or more a unit in every encoding read here, rounded to whole units.
            const size_t kept = FMaxLineUnits == std::string::npos
                                    ? std::string::npos
                                    : ((FMaxLineUnits + 1) * 3 + 1) / 2 * 2;
            const size_t room = kept - std::min(kept, FLine.size());
            FLine.append(FBlock, FPosition, std::min(at - FPosition, room));
            started = true;
        }
        if (at + FUnit > FEnd) {
            // The line goes on in the next block; an incomplete unit can only end the file
            // (blocks are whole units), and it is dropped as a whole-file decoding drops it.
            FPosition = FEnd;
            continue;
        }
        FSkipLineFeed = UnitAt(at) == CarriageReturn;
        FPosition = at + FUnit;
        started = true;
        break;
    }
    if (!started) {
        return false;
    }
    Decode(line);
    ++FLineNumber;
    return true;
}

} // namespace workbench
