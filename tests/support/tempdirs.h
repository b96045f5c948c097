#pragma once
// Every test that touches settings or the program folder gets fresh ones.
#include <QTemporaryDir>

#include <string>

namespace corvan::test {

// Points CORVANRIP_HOME and XDG_CONFIG_HOME at new empty folders for the
// life of the object and restores the previous values afterwards.
class ScratchHome {
public:
    ScratchHome();
    ~ScratchHome();
    std::string Home() const;    // the program folder, ends in "/"
    std::string Config() const;  // XDG_CONFIG_HOME, ends in "/"
    std::string Path(const std::string& name) const { return Home() + name; }

private:
    QTemporaryDir dir_;
    std::string oldHome_, oldConfig_;
    bool hadHome_ = false, hadConfig_ = false;
};

// Caps the size of files this process writes while the object lives, so that
// tests can make a save fail even when running as root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();

private:
    unsigned long oldSoft_ = 0, oldHard_ = 0;
    void (*oldHandler_)(int) = nullptr;
};

// Reads a whole file as bytes (empty when missing).
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace corvan::test
