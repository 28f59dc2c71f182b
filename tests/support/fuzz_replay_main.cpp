// Runs a fuzz target's own entry point, with its checks, over every file of the given folders
// and files: the seed corpora become an ordinary test in every build. A target that finds a
// fault aborts, and so does the sanitizer build on a memory error.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code error;
        if (fs::is_directory(arg, error)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(arg))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else if (fs::is_regular_file(arg, error)) {
            inputs.push_back(arg);
        } else {
            std::cerr << "no such file or folder: " << arg << '\n';
            return 1;
        }
    }
    if (inputs.empty()) {
        std::cerr << "nothing to replay\n";
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<char> raw{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.eof() && in.fail()) {
            std::cerr << "cannot read " << path << '\n';
            return 1;
        }
        // A heap block of exactly the file's size, so that the address sanitizer sees any read
        // past its end.
        const std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[std::max<std::size_t>(raw.size(), 1)]);
        std::copy(raw.begin(), raw.end(), bytes.get());
        std::cout << path.filename().string() << " (" << raw.size() << " bytes)\n";
        LLVMFuzzerTestOneInput(bytes.get(), raw.size());
    }
    std::cout << inputs.size() << " inputs replayed\n";
    return 0;
}
