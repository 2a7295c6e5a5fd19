// Writes the loader's sample files into a directory, e.g. the fuzz corpus:
//   tga_corpus_writer tests/fuzz/corpus/tga_fuzzer
#include "tests/support/tga_file_builder.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tga_corpus_writer DIRECTORY" << std::endl;
        return 2;
    }
    try {
        for (const zel::test::SampleFile& sample : zel::test::sampleFiles())
            zel::writeFile(std::filesystem::path(argv[1]) / sample.name, sample.bytes);
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << std::endl;
        return 1;
    }
    return 0;
}
