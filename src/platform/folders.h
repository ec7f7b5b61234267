// The machine-wide places of the installation. With VELDMARK_ROOT set, every place lies below it
// (config/, appdata/, documents/); otherwise the user's XDG places. Folders end with "/".
#pragma once

#include <filesystem>
#include <string>

namespace vmk::platform {

// Folder numbers of the special folders the program asks for.
inline constexpr int kFolderPersonalDocuments = 5;
inline constexpr int kFolderAppData = 26;
inline constexpr int kFolderLocalAppData = 28;
inline constexpr int kFolderCommonAppData = 35;
inline constexpr int kFolderCommonDocuments = 46;

inline constexpr const char* kDataDirectoryName = "{3A91F2C4-58D0-4E7B-9C16-2F4B8E07D5A3}";
// The folder of the older pack KE2DB.pdb, kept current by the settings library's DBU.
inline constexpr const char* kSecondPackDirectoryName = "{8E2D4B17-C3A9-4F60-A5B8-71D9E6C0F248}";

// The configuration folder: the registry file and veldmark.conf.
std::string ConfigFolder();
// A special folder by number, "" for a number without a place here.
std::string SpecialFolder(int number);
// Folder 35 followed by the data-directory name and "/".
std::string DataDirectory();
// Folder 35 followed by the second pack folder's name and "/".
std::string SecondPackDirectory();
// The folder of the running program's executable, with "/".
std::string ProgramDirectory();
std::string ProgramFile();

}  // namespace vmk::platform
