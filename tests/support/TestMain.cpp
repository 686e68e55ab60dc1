// The main function of every test executable: the environment every test runs in, then the
// tests. GUI tests need no display (Qt's offscreen platform, 96 dpi) and results never depend on
// the user's locale; tests that need other settings set them themselves.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
