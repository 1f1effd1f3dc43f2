#pragma once
// A fresh empty folder that becomes the working folder for one test, as the program's working
// folder holds "protokol.bmp". The previous working folder comes back at the end.

#include <windows.h>

#include <string>

class ScratchFolder {
  public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::string previous_;
};
