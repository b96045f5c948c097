#pragma once
// What the image library window keeps and decides: its folder and file
// histories per mode (kept between runs in "loadpic.ini" of the settings
// folder), the library folder ("ImageFiles" in the registry), the size
// limits of previews and thumbnails, and copying a file into the library.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvan {

class UserInterface;

enum class LibraryMode { Images = 0, Layers = 1 };

struct LibraryHistory {
    std::vector<std::string> dirs[2];   // folders, each ending in "/", newest first
    std::vector<std::string> files[2];  // full paths, newest first
    bool rememberLast = true;

    static LibraryHistory Load();
    bool Store() const;
    // A folder used again moves to the top (letter case ignored); at most 16.
    void AddDir(LibraryMode mode, const std::string& folder);
    void AddFile(LibraryMode mode, const std::string& path);
};

// The library folder when it names an existing folder (ending in "/"), else empty.
std::string ImageFilesFolder();
void SetImageFilesFolder(const std::string& folder);

// "Size: " figures of the status bar: "%.2n Kb", or "%.2n mb" above 999 KB.
std::string LibrarySizeText(std::int64_t bytes);
// A preview is made for files of at most 5120 KB (whole kilobytes) unless big
// files are allowed; a thumbnail for files of at most 5,242,880 bytes.
bool PreviewAllowed(std::int64_t bytes, bool bigFiles);
bool ThumbnailAllowed(std::int64_t bytes, bool bigFiles);

// "Copy to Image Folder": asks where the library is when none is set
// (`askFolder`), asks to copy, copies and tells; the copy's path, or none
// when nothing was copied (the caller keeps its choice).
std::optional<std::string> CopyToImageFiles(
    UserInterface& ui, const std::string& file,
    const std::function<std::optional<std::string>()>& askFolder);

}  // namespace corvan
