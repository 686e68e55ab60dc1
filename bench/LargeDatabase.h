// A generated reference database of 100,000 ECGs with a matching result file, for the
// benchmarks of the workbench core and of the report.
#pragma once

#include "app/core/UWorkbenchData.h"
#include "ecg/EncDecHelper.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace workbench::bench {

constexpr int EcgCount = 100000;

// A database folder with "base.info" and a matching "Result.txt" in a fresh temporary folder;
// codes drawn from a fixed seed, the result agreeing with the reference about two times in
// three.
class TLargeDatabase {
public:
    TLargeDatabase() {
        std::string leaf = "wb_large_database_";
        leaf += std::to_string(::getpid());
        FFolder = std::filesystem::temp_directory_path() / leaf;
        std::filesystem::create_directories(FFolder);
        Write();
    }
    ~TLargeDatabase() {
        std::error_code ec;
        std::filesystem::remove_all(FFolder, ec);
    }
    TLargeDatabase(const TLargeDatabase &) = delete;
    TLargeDatabase &operator=(const TLargeDatabase &) = delete;

    UnicodeString Folder() const { return rtl::Utf8ToUtf16(FFolder.string() + "/"); }
    UnicodeString ResultPath() const { return rtl::Utf8ToUtf16((FFolder / "Result.txt").string()); }

private:
    void Write() {
        std::mt19937 random(20261210);
        std::uniform_int_distribution<int> count(0, 5);
        std::uniform_int_distribution<int> code(1, 30);
        std::uniform_int_distribution<int> agree(0, 2);
        const workbench::TBaseInfoKey key = workbench::MakeBaseInfoKey();
        std::string baseInfo;
        std::string result;
        char name[16];
        for (int i = 0; i < EcgCount; ++i) {
            std::snprintf(name, sizeof name, "ECG%06d  ", i + 1);
            ecg::byte_array payload(key.begin(), key.end()); // every byte "no code"
            std::string codes;
            const int n = count(random);
            for (int k = 0; k < n; ++k) {
                const int c = code(random);
                payload[k] = static_cast<uint8_t>(c ^ key[k]);
                const int set = agree(random) == 0 ? code(random) : c;
                codes += static_cast<char>('0' + set / 10);
                codes += static_cast<char>('0' + set % 10);
            }
            baseInfo += std::string(name, 10) + "     " +
                        rtl::Utf16ToUtf8(ecg::TEncDecHelper::GetBase64StringFromBA(payload)) +
                        "\r\n";
            result += std::string(name, 10) + "     " + codes + "\r\n";
        }
        std::ofstream(FFolder / "base.info", std::ios::binary) << baseInfo;
        std::ofstream(FFolder / "Result.txt", std::ios::binary) << result;
    }

    std::filesystem::path FFolder;
};

} // namespace workbench::bench
