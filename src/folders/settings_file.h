#pragma once
#include "folders/folder_slots.h"
#include "platform/files.h"
#include "platform/text_codec.h"

#include <optional>
#include <string>
#include <string_view>

// The settings file lumivane.ini, fourteen lines read by position.
namespace lumivane::settings_file {

inline constexpr std::string_view kFileName = "lumivane.ini";
// The folder of the user's own copy, in the user's roaming application data.
inline constexpr std::string_view kPerUserFolder = "Lumivane";

// Which file holds the folders. The copy beside the exe whenever the program
// may write there (a portable copy works as it always has); otherwise the
// user's own copy, which starts from the one beside the exe.
struct Location {
    std::string path;       // the file read at start and written at OK
    std::string besideExe;  // the copy beside the exe
    bool perUser() const { return path != besideExe; }
};
// Asks the file system, and makes nothing.
Location settingsFileLocation(const std::string& besideExe, platform::FileSystem& fs);
// The file a start would take the folders from, without making anything: the
// user's copy once it exists, else the copy beside the exe it would start
// from. When that is missing too, the folders are the defaults.
std::string fileToRead(const Location& location, platform::FileSystem& fs);
// The first time the user's copy is needed: its folder, and the bytes of the
// copy beside the exe when there is one (else the load writes the defaults).
void makePerUserFile(const Location& location, platform::FileSystem& fs);
// Makes the folder the file lives in, when it is missing.
void makeFolderFor(const std::string& file, platform::FileSystem& fs);

// The bytes of the file for the given slots: ANSI with CR LF line ends, or,
// only when a path has no ANSI form, UTF-8 with a byte-order mark.
std::string formatFolders(const FolderList& slots, const platform::AnsiCodec& codec);
std::string defaultFolderBytes(const platform::AnsiCodec& codec);
FolderList defaultFolders();
// Reads slots from lines 5 to 14; missing lines are empty slots. Accepts CR LF,
// LF and CR line ends, and UTF-8 or UTF-16 (either byte order) after its
// byte-order mark.
FolderList parseFolders(std::string_view bytes, const platform::AnsiCodec& codec);

bool settingsFileExists(const std::string& path, platform::FileSystem& fs);
bool writeDefaultFolders(const std::string& path, platform::FileSystem& fs, const platform::AnsiCodec& codec);
// Creates the default file when none exists, then fills the slots from it. A
// file that can be neither read nor created leaves the default list. False
// when a file exists but could not be read (another program holds it): the
// default list shown then is not the user's, and a save would replace theirs.
bool loadFolders(const std::string& path, FolderSlots& slots, platform::FileSystem& fs,
                 const platform::AnsiCodec& codec);
// False when the file could not be replaced; the old file is then untouched.
bool saveFolders(const std::string& path, const FolderSlots& slots, platform::FileSystem& fs,
                 const platform::AnsiCodec& codec);
bool saveFolders(const std::string& path, const FolderList& list, platform::FileSystem& fs,
                 const platform::AnsiCodec& codec);
// The folders as the file holds them, without creating it: the default list
// when it is missing, nothing when it exists but could not be read.
std::optional<FolderList> readFolders(const std::string& path, platform::FileSystem& fs,
                                      const platform::AnsiCodec& codec);

} // namespace lumivane::settings_file
