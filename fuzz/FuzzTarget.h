// What a fuzz target defines, and helpers for readers that take files.
//
// A target is one file, fuzz/<name>_fuzz.cpp, that defines wbfuzz::FuzzOne, plus one line in
// fuzz/CMakeLists.txt, wb_add_fuzz(<name> DEPS <modules>), and its seed inputs in
// fuzz/corpus/<name>/. FuzzOne gets every input the fuzzer makes; an rtl::Exception that leaves
// it is the reader's clear refusal and ends that input quietly. Anything else (another
// exception, a crash, a sanitizer report, a hang) is a finding.
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace wbfuzz {

using TInput = std::span<const std::uint8_t>;

// Defined by each target.
void FuzzOne(TInput input);

// For readers that only read files: the input written as the file name (overwritten by each
// call) in a folder of the process's own, removed when the process ends.
rtl::UnicodeString InputFile(TInput input, std::string_view name);

} // namespace wbfuzz
