#pragma once
// Where things live on Linux. Every Windows-specific location the program
// knows about is mapped here and nowhere else:
//
//   program folder       $CORVANRIP_HOME, else $XDG_DATA_HOME/CorvanRIP/
//                        (default ~/.local/share/CorvanRIP/)
//   installed data       $CORVANRIP_DATA, else <executable>/../share/corvanrip/
//   registry key         $XDG_CONFIG_HOME/CorvanRip/registry.ini (default ~/.config)
//   window state file    $XDG_CONFIG_HOME/CorvanRip/CorvanRIP.INI
//   system temp folder   $TMPDIR, else /tmp
//   cutter spool folder  $CORVANRIP_CUTTER_SPOOL, else /var/spool/lathepro/current/
//                        (the Windows spooler's C:\LATHEPRO\SPOOL\CURRENT)
//   Windows spool folder /var/spool/cups/ (c:\windows\spool)
//
// Folder texts always end in "/".
#include <string>

namespace corvan {

// The program folder, created on first use in this process with its working
// subfolders and seeded with the installed default data (missing files only).
std::string ProgramFolder();
// The installed data folder (help topics, crop marks, charts, drivers...).
std::string InstalledDataFolder();
std::string ConfigFolder();
std::string RegistryFile();
std::string WindowStateFile();
std::string SystemTempFolder();
std::string CutterSpoolFolder();
std::string SystemSpoolFolder();

// Full path and base name (no extension) of the running executable.
std::string ExecutablePath();
std::string ExecutableBaseName();

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
// Creates the folder and all missing parents; true when it exists afterwards.
bool ForceFolders(const std::string& path);
std::string WithTrailingSlash(std::string path);
// "name" without folder part: the text after the last "/" or "\".
std::string FileNamePart(const std::string& path);
bool HasFolderPart(const std::string& path);

// Copies every file below `from` into `to` that `to` does not have yet.
void SeedMissingFiles(const std::string& from, const std::string& to);

}  // namespace corvan
