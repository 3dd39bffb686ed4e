// Replays a fuzz target's corpus without libFuzzer: every file below the folders named on the
// command line is handed once to LLVMFuzzerTestOneInput. Used by the test build, so that every
// input the fuzzer ever kept (and every crash once fixed) is checked under the sanitizers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path root(argv[i]);
        if (fs::is_regular_file(root)) {
            files.push_back(root);
        } else if (fs::is_directory(root)) {
            for (const auto& entry : fs::recursive_directory_iterator(root))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        }
    }
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
}
