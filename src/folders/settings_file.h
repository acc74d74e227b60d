#pragma once
#include "folders/folder_slots.h"
#include "platform/files.h"
#include "platform/text_codec.h"

#include <string>
#include <string_view>

// modINI: the settings file lumivane.ini, fourteen lines read by position.
namespace lumivane::modINI {

inline constexpr std::string_view kFileName = "lumivane.ini";

// The bytes of the file for the given slots: ANSI with CR LF line ends, or,
// only when a path has no ANSI form, UTF-8 with a byte-order mark.
std::string FormatFolders(const FolderList& slots, const platform::AnsiCodec& codec);
std::string DefaultFolderBytes(const platform::AnsiCodec& codec);
FolderList DefaultFolders();
// Reads slots from lines 5 to 14; missing lines are empty slots. Accepts CR LF,
// LF and CR line ends and a UTF-8 byte-order mark.
FolderList ParseFolders(std::string_view bytes, const platform::AnsiCodec& codec);

bool SettingsFileExists(const std::string& path, platform::FileSystem& fs);
bool WriteDefaultFolders(const std::string& path, platform::FileSystem& fs, const platform::AnsiCodec& codec);
// Creates the default file when none exists, then fills the slots from it. A
// file that can be neither read nor created leaves the default list. False
// when a file exists but could not be read (another program holds it): the
// default list shown then is not the user's, and a save would replace theirs.
bool LoadFolders(const std::string& path, FolderSlots& slots, platform::FileSystem& fs,
                 const platform::AnsiCodec& codec);
// False when the file could not be replaced; the old file is then untouched.
bool SaveFolders(const std::string& path, const FolderSlots& slots, platform::FileSystem& fs,
                 const platform::AnsiCodec& codec);
bool SaveFolders(const std::string& path, const FolderList& list, platform::FileSystem& fs,
                 const platform::AnsiCodec& codec);

} // namespace lumivane::modINI
