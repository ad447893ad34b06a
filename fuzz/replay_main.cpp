// The driver of the fuzz programs when they are built without libFuzzer (the
// normal build, with the system compiler): every input of the seed folders
// named on the command line, then a fixed number of inputs made from them by
// small random changes (a fixed seed, so that a failure repeats), each passed
// to the program's LLVMFuzzerTestOneInput. A failed expectation aborts, as
// under libFuzzer.
//
//   fuzz_<name> [-runs=N] [-max_len=N] <seed folder>...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace {

using Input = std::vector<std::uint8_t>;

void run(const Input& input)
{
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

// One small change: a byte set, flipped, removed or repeated, a cut, or a
// piece of another seed spliced in.
Input mutate(Input input, const std::vector<Input>& seeds, std::mt19937& random)
{
    auto pick = [&](std::size_t n) { return n == 0 ? 0 : std::size_t(random() % n); };
    switch (random() % 6) {
    case 0:
        if (!input.empty())
            input[pick(input.size())] = std::uint8_t(random());
        break;
    case 1:
        if (!input.empty())
            input[pick(input.size())] ^= std::uint8_t(1u << (random() % 8));
        break;
    case 2:
        if (!input.empty())
            input.erase(input.begin() + std::ptrdiff_t(pick(input.size())));
        break;
    case 3:
        if (!input.empty()) {
            const std::size_t at = pick(input.size());
            input.insert(input.begin() + std::ptrdiff_t(at), input[at]);
        }
        break;
    case 4:
        input.resize(pick(input.size() + 1));
        break;
    default: {
        const Input& other = seeds[pick(seeds.size())];
        const std::size_t from = pick(other.size() + 1), length = pick(other.size() - from + 1);
        input.insert(input.begin() + std::ptrdiff_t(pick(input.size() + 1)), other.begin() + std::ptrdiff_t(from),
                     other.begin() + std::ptrdiff_t(from + length));
    }
    }
    return input;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    long runs = 500;
    std::size_t maxLen = 65536;
    std::vector<Input> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-runs=", 0) == 0) {
            runs = std::atol(arg.c_str() + 6);
            continue;
        }
        if (arg.rfind("-max_len=", 0) == 0) {
            maxLen = std::size_t(std::atol(arg.c_str() + 9));
            continue;
        }
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(arg, ec)) {
            std::ifstream in(entry.path(), std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    if (seeds.empty())
        seeds.emplace_back();
    for (const Input& seed : seeds)
        run(seed);
    std::mt19937 random(20261211);
    for (long n = 0; n < runs; ++n) {
        Input input = seeds[random() % seeds.size()];
        for (int changes = 1 + int(random() % 4); changes > 0; --changes)
            input = mutate(std::move(input), seeds, random);
        if (input.size() > maxLen)
            input.resize(maxLen);
        run(input);
    }
    std::printf("%zu seeds and %ld generated inputs passed\n", seeds.size(), runs);
    return 0;
}
