#pragma once
// The entries of a search box's list of files. Each entry shows its path as the file system holds it
// and keeps the path's own bytes, so choosing it opens the file even when its name is not valid in the
// file system's encoding (a Windows-1251 name unpacked from an archive) and the shown text cannot be
// turned back into it.

#include <string>
#include <vector>

class QComboBox;

namespace pw {

// Replaces the box's entries by paths (the file system's bytes), in order.
void SetPathEntries(QComboBox* box, const std::vector<std::string>& paths);
// The bytes of the path of entry index; empty when there is no such entry.
std::string PathOfEntry(const QComboBox* box, int index);

} // namespace pw
