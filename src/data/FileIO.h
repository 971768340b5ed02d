#pragma once
// File mechanics shared by every reader and writer. Nothing else in the program opens a file for writing.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pw {

// The system's text for the last failure (errno), as shown after the program's own error texts.
std::string SystemErrorText(int errorNumber);

bool FileExists(const std::string& path); // a regular file (or anything that is not a folder)
bool DirectoryExists(const std::string& path);
bool PathExists(const std::string& path);

// Whole contents of a file. std::nullopt when nothing exists at the path.
// Throws std::runtime_error("Cannot open file \"%s\". %s") when it exists but cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Like ReadWholeFile, but returns std::nullopt for every failure instead of throwing.
std::optional<std::string> TryReadWholeFile(const std::string& path);

// Replaces the file at path with bytes atomically: a temporary file in the same folder is written,
// flushed to disk and renamed over the target, so a failure never leaves a half-written file.
// An existing target keeps its permission bits. Returns false and sets *reason (the system's
// text) on failure; nothing at the path has changed then.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* reason);
// The same for a file made of several pieces written one after the other, so a caller that changes a
// few bytes of a large file need not first copy it into one buffer.
bool WriteFileAtomic(const std::string& path, std::span<const std::string_view> pieces, std::string* reason);

// The absolute form of path: a relative path is taken from the current folder, and "." and ".."
// parts are resolved without looking at the disk.
std::string ExpandFileName(const std::string& path);

// "Cannot open file "%s". %s" / "Cannot create file "%s". %s" (both with the expanded path) /
// "Unable to write to %s" (the path as given)
std::string CannotOpenFileMessage(const std::string& path, const std::string& reason);
std::string CannotCreateFileMessage(const std::string& path, const std::string& reason);
std::string UnableToWriteMessage(const std::string& path);

// Path helpers for the program's own paths (folder + separator + name).
char PathSeparator();
std::string JoinPath(const std::string& folder, const std::string& name);
// Creates one folder; true when it exists afterwards. Otherwise *reason (when given) gets the
// system's text for why it could not be made.
bool MakeDirectory(const std::string& path, std::string* reason = nullptr);

} // namespace pw
