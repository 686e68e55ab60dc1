// Build-time generator of the sample reference database:
// MakeSampleDatabase <database folder> <real recording> <result file>
#include "tools/SampleDatabase.h"

#include <exception>
#include <iostream>

int main(int argc, char **argv) {
    if (argc != 4) {
        std::cerr << "usage: MakeSampleDatabase <database folder> <real recording .edf> "
                     "<result file>\n";
        return 2;
    }
    try {
        sampledb::WriteSampleDatabase(argv[1], argv[2], argv[3]);
    } catch (const std::exception &e) {
        std::cerr << "MakeSampleDatabase: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
