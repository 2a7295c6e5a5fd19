#pragma once

#include <string>
#include <vector>

namespace zel::bench {

// The viewer's command line for a triangulation file and its images, in a window of the
// given size (freeglut's -geometry), as the start-up sequence takes it: argc and argv
// point into this object, which must outlive them.
class ViewerCommandLine {
public:
    ViewerCommandLine(const char* program, const char* fileName, int width, int height,
                      const std::vector<std::string>& imageNames)
        : words_{program, fileName, "-geometry",
                 std::to_string(width) + 'x' + std::to_string(height)} {
        words_.insert(words_.end(), imageNames.begin(), imageNames.end());
        for (std::string& word : words_) {
            pointers_.push_back(word.data());
        }
        pointers_.push_back(nullptr);
        argc = static_cast<int>(words_.size());
    }
    ViewerCommandLine(const ViewerCommandLine&) = delete;
    ViewerCommandLine& operator=(const ViewerCommandLine&) = delete;

    char** argv() { return pointers_.data(); }

    int argc = 0;

private:
    std::vector<std::string> words_;
    std::vector<char*> pointers_;
};

} // namespace zel::bench
