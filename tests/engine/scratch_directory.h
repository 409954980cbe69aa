// A fresh temporary folder as the working directory, for tests that touch the hours file.
#pragma once

#include <string>

// A fresh temporary folder as the working directory for the life of the object, so that the
// hours file lands there; the old working directory comes back at the end.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};
