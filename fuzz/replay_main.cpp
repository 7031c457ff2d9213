// Runs a fuzz target without libFuzzer: over every file of the seed folders given on the
// command line, then over a fixed series of pseudo-random inputs, so CI keeps each target
// compiled and exercised under the sanitizers.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i)
    {
        std::error_code ec;
        if (!std::filesystem::is_directory(argv[i], ec))
            continue;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(argv[i]))
        {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                             std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++runs;
        }
    }

    std::mt19937 random(20261207);
    for (int round = 0; round < 300; ++round)
    {
        std::vector<uint8_t> bytes(random() % 4096);
        // Mostly printable bytes with a sprinkling of everything else, so text readers see
        // words and line breaks and binary readers see every byte value.
        for (uint8_t &byte : bytes)
            byte = random() % 4 ? static_cast<uint8_t>(32 + random() % 95)
                                : static_cast<uint8_t>(random());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++runs;
    }
    std::printf("%d inputs replayed\n", runs);
    return 0;
}
