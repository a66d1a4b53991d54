#pragma once
// A fresh directory for one test, removed with everything in it afterwards.

#include <string>

namespace korvex::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes `content` to `name` inside the directory; returns the full path.
    std::string write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;
    // The whole content of any file ("" when it cannot be read).
    static std::string readFile(const std::string& path);

  private:
    std::string path_;
};

}  // namespace korvex::test
