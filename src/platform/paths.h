#pragma once
// The ten working folders of the program and its companion programs, kept as
// string values in the settings store. Folder texts end in "/".
#include <array>
#include <string>

namespace corvan {

inline constexpr std::array<const char*, 10> kFolderValueNames = {
    "DocumentDir", "ImageDir", "EMFDir", "ProfileDir", "DataDir",
    "CacheDir",    "TempDir",  "RipDir", "CutDir",     "SpoolDir"};

// The stored folder when it exists, else its default; always ends in "/".
std::string ReadPath(const std::string& name);
// Stores the folder (with a trailing "/"), creating it and its parents when
// missing; a folder that cannot be created is stored as empty.
void WritePath(const std::string& name, const std::string& folder);
// The factory default of a folder value.
std::string DefaultPath(const std::string& name);

}  // namespace corvan
